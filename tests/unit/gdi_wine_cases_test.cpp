// The generated GDI cases (scripts/gdi) on the native GDI against Wine's recorded digests, but
// for the cases listed where this GDI follows Windows instead, which must give their own.
#include "platform/gdi/gdi.h"
#include "scripts/gdi/gdi_cases.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

std::map<std::string, std::string> s_expected, s_reasons;
std::map<std::string, int> s_seen;
std::string s_differing;
int s_wrong;

// name -> digest (and the third column, if any, into `third`).
bool Load(const char *path, std::map<std::string, std::string> &digests,
          std::map<std::string, std::string> *third)
{
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name, digest, why;
        std::getline(fields, name, '\t'), std::getline(fields, digest, '\t');
        std::getline(fields, why, '\t');
        digests[name] = digest;
        if (third)
            (*third)[name] = why;
    }
    return file.eof() && !digests.empty();
}

void Check(const char *name, uint32_t digest, const uint32_t *, int)
{
    char hex[16];
    snprintf(hex, sizeof hex, "%08x", (unsigned)digest);
    s_seen[name]++;
    auto expected = s_expected.find(name);
    if (expected != s_expected.end() && expected->second == hex)
        return;
    if (++s_wrong <= 20)
        s_differing += std::string("\n  ") + name + (s_reasons.count(name) ? " (listed)" : "");
}

TEST(GdiWineCases, SameDigestsAsRecordedButWhereWindowsDiffers)
{
    std::map<std::string, std::string> windows;
    ASSERT_TRUE(Load(GDI_WINE_FILE, s_expected, 0)) << GDI_WINE_FILE;
    ASSERT_TRUE(Load(GDI_WINDOWS_FILE, windows, &s_reasons)) << GDI_WINDOWS_FILE;
    for (const auto &entry : windows) {
        ASSERT_TRUE(s_expected.count(entry.first)) << "not a recorded case: " << entry.first;
        ASSERT_NE(s_expected[entry.first], entry.second) << "Wine agrees: " << entry.first;
        ASSERT_FALSE(s_reasons[entry.first].empty()) << "no reason given: " << entry.first;
        s_expected[entry.first] = entry.second;
    }
    static uint32_t pixels[640 * 400];
    HDC screen = Gdi_CreateSurfaceDC();
    Gdi_SetSurface(screen, pixels, 640, 400, 640 * 4);
    int cases = GdiCases_Run(screen, Check);
    Gdi_DeleteSurfaceDC(screen);
    EXPECT_EQ(cases, (int)s_expected.size());
    EXPECT_EQ(s_seen.size(), s_expected.size()) << "a case reported twice or not recorded";
    EXPECT_EQ(s_wrong, 0) << "cases whose digests differ (the first 20):" << s_differing;
}

} // namespace
