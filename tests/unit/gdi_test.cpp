// The native GDI against the conformance table of published expectations, and on the generated
// cases (scripts/gdi) against Wine's recorded digests, but for the cases listed where this GDI
// follows Windows instead, which must give their own.
#include "platform/gdi/gdi.h"
#include "scripts/gdi/gdi_cases.h"
#include "scripts/gdi/gdi_table.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <fstream>
#include <map>
#include <string>

namespace {

void Fail(int line, const char *source, const char *statement, const char *differs)
{
    ADD_FAILURE() << "line " << line << ": " << statement << ": " << differs << " (" << source
                  << ")";
}

TEST(GdiConformance, TableOfPublishedExpectations)
{
#if !defined(__SANITIZE_ADDRESS__)
    // A stretch must cost what is visible: far less memory than this.
    struct rlimit limit = {1u << 30, 1u << 30};
    setrlimit(RLIMIT_AS, &limit);
#endif
    EXPECT_GT(GdiTable_Run(TEST_DATA "gdi_conformance.tsv", Fail), 200)
        << TEST_DATA "gdi_conformance.tsv";
}

std::map<std::string, std::string> s_expected;
std::map<std::string, int> s_seen;
std::string s_differing;
int s_wrong;

// name -> the rest of the row (a digest, then any reason), comments left out.
std::map<std::string, std::string> Load(const char *path)
{
    std::map<std::string, std::string> rows;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (!line.empty() && line[0] != '#')
            rows[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
    EXPECT_TRUE(file.eof() && !rows.empty()) << path;
    return rows;
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
        s_differing += std::string("\n  ") + name;
}

TEST(GdiWineCases, SameDigestsAsRecordedButWhereWindowsDiffers)
{
    s_expected = Load(TEST_DATA "gdi_wine_digests.tsv");
    // A digest, a tab and why this GDI follows Windows there.
    for (const auto &row : Load(TEST_DATA "gdi_windows_over_wine.tsv")) {
        std::string digest = row.second.substr(0, row.second.find('\t'));
        ASSERT_TRUE(s_expected.count(row.first)) << "not a recorded case: " << row.first;
        ASSERT_NE(s_expected[row.first], digest) << "Wine agrees: " << row.first;
        ASSERT_GT(row.second.size(), digest.size() + 1) << "no reason given: " << row.first;
        s_expected[row.first] = digest;
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
