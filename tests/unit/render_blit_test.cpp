// The ROP table against the published table, operand swapping against a truth-table model,
// and the emulated mask blit's and plane merge's refusals and clean-up, over the fakes.
#include "render/render.h"
#include "tests/unit/fake_core.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

typedef std::vector<std::string> Calls;

// A reverse Polish formula over P, S, D evaluated on the 8 combinations at once.
uint8_t EvaluateRpn(const std::string &rpn)
{
    if (rpn == "0" || rpn == "1")
        return rpn == "1" ? 0xFF : 0x00;
    std::vector<uint8_t> stack;
    for (char c : rpn) {
        if (c == 'P' || c == 'S' || c == 'D') {
            stack.push_back(c == 'P' ? 0xF0 : c == 'S' ? 0xCC : 0xAA);
        } else if (c == 'n') {
            stack.back() = (uint8_t)~stack.back();
        } else {
            uint8_t b = stack.back();
            stack.pop_back();
            uint8_t &a = stack.back();
            a = c == 'a' ? a & b : c == 'o' ? a | b : a ^ b;
        }
    }
    return stack.back();
}

TEST(RopTable, IsThePublishedTable)
{
    std::ifstream file(ROP_TABLE_FILE);
    ASSERT_TRUE(file.good()) << ROP_TABLE_FILE;
    std::string line;
    std::getline(file, line); // column names
    int rows = 0;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string index, code, rpn;
        fields >> index >> code >> rpn;
        unsigned i = std::stoul(index, nullptr, 16);
        ASSERT_EQ(EvaluateRpn(rpn), i) << "the data itself: " << line;
        EXPECT_EQ(Render_GetRopCode((uint8_t)i), std::stoul(code, nullptr, 16)) << line;
        rows++;
    }
    EXPECT_EQ(rows, 256);
}

TEST(SwapRopOperands, ExchangesSourceAndDestination)
{
    const uint8_t examples[][2] = {{0xCC, 0xAA}, {0xAA, 0xCC}, {0x44, 0x22}, {0xBB, 0xDD},
                                   {0x33, 0x55}, {0x00, 0x00}, {0x66, 0x66}, {0x88, 0x88},
                                   {0xEE, 0xEE}, {0xF0, 0xF0}, {0xFF, 0xFF}};
    for (const auto &e : examples)
        EXPECT_EQ(Render_SwapRopOperands(e[0]), e[1]) << std::hex << (int)e[0];
    for (int i = 0; i < 256; i++) {
        uint8_t swapped = Render_SwapRopOperands((uint8_t)i);
        EXPECT_EQ(Render_SwapRopOperands(swapped), i);
        // f(p, s, d) = g(p, d, s) for every operand combination.
        for (int p = 0; p < 2; p++)
            for (int s = 0; s < 2; s++)
                for (int d = 0; d < 2; d++)
                    ASSERT_EQ((i >> (4 * p + 2 * s + d)) & 1, (swapped >> (4 * p + 2 * d + s)) & 1)
                        << i;
    }
}

struct BlitTest : ::testing::Test {
    HDC source = 0;
    HBITMAP mask = 0;
    void SetUp() override
    {
        Fake_Reset();
        source = CreateCompatibleDC(FAKE_DC);
        mask = CreateBitmap(640, 400, 1, 1, nullptr);
        Fake().calls.clear();
        Fake().callsCompatibleDC = Fake().callsBitmap = 0;
    }
    // Objects still alive besides the test's own source context and mask.
    int Leftovers()
    {
        return Fake_LiveObjects('D') - 1 + Fake_LiveObjects('B') - 1;
    }
};

TEST_F(BlitTest, MaskBltWithoutMaskIsOneForegroundBlit)
{
    EXPECT_EQ(Render_EmulatedMaskBlt(FAKE_DC, 1, 2, 30, 40, source, 5, 6, 0, 0, 0, 0xCCAA0029),
              TRUE);
    EXPECT_EQ(Fake().calls, (Calls{"BitBlt(window, 1, 2, 30, 40, dc1, 5, 6, 00aa0029)"}));
}

TEST_F(BlitTest, MaskBltWritesTheDestinationOnceAndReleasesEverything)
{
    EXPECT_EQ(Render_EmulatedMaskBlt(FAKE_DC, 10, 20, 64, 32, source, 3, 4, mask, 7, 8, 0xCCAA0029),
              TRUE);
    Calls blits = Fake_CallsMatching({"BitBlt"});
    ASSERT_EQ(blits.size(), 8u);
    for (size_t i = 0; i + 1 < blits.size(); i++)
        EXPECT_NE(blits[i].rfind("BitBlt(window", 0), 0u) << blits[i];
    EXPECT_EQ(blits.back().rfind("BitBlt(window, 10, 20, 64, 32, ", 0), 0u);
    // The background operation (source alone) runs with the operands exchanged.
    EXPECT_NE(blits[1].find(", window, 10, 20, 00aa0029)"), std::string::npos) << blits[1];
    EXPECT_EQ(Leftovers(), 0);
    // Each displaced object goes back before anything is deleted.
    size_t firstDelete = 0, lastSelect = 0;
    for (size_t i = 0; i < Fake().calls.size(); i++) {
        if (Fake().calls[i].rfind("Delete", 0) == 0 && !firstDelete)
            firstDelete = i;
        if (Fake().calls[i].rfind("SelectObject", 0) == 0)
            lastSelect = i;
    }
    EXPECT_LT(lastSelect, firstDelete);
}

TEST_F(BlitTest, MaskBltThatCannotAllocateLeavesTheDestinationAlone)
{
    const struct {
        const char *what;
        int dc, bitmap, select;
    } faults[] = {
        {"mask context", 1, 0, 0},        {"mask selection", 0, 0, 1},
        {"scratch context 1", 2, 0, 0},   {"scratch bitmap 1", 0, 1, 0},
        {"scratch selection 1", 0, 0, 2}, {"scratch context 2", 3, 0, 0},
        {"scratch bitmap 2", 0, 2, 0},    {"scratch selection 2", 0, 0, 3},
    };
    for (const auto &f : faults) {
        SetUp();
        Fake().failCompatibleDC = f.dc;
        Fake().failCompatibleBitmap = f.bitmap;
        Fake().failSelect = f.select;
        EXPECT_EQ(
            Render_EmulatedMaskBlt(FAKE_DC, 0, 0, 16, 16, source, 0, 0, mask, 0, 0, 0xAACC0020),
            FALSE)
            << f.what;
        EXPECT_TRUE(Fake_CallsMatching({"BitBlt(window"}).empty()) << f.what;
        EXPECT_EQ(Leftovers(), 0) << f.what;
    }
}

TEST_F(BlitTest, MergeRefusesPlaneCountsOutside2To8)
{
    HBITMAP planes[16] = {};
    for (uint8_t count : {0, 1, 9, 255}) {
        Fake().calls.clear();
        EXPECT_EQ(Render_MergePlanes(FAKE_DC, 0, 0, 640, 400, planes, count, 0, 0), 0);
        EXPECT_TRUE(Fake().calls.empty()) << (int)count;
    }
    HDC dcs[1] = {source};
    EXPECT_EQ(Render_MergePlaneDCs(FAKE_DC, 0, 0, 640, 400, dcs, 1, 0, 0), 0);
    EXPECT_TRUE(Fake().calls.empty());
}

TEST_F(BlitTest, MergeNeedsATargetWithAColourTable)
{
    HDC target = CreateCompatibleDC(FAKE_DC);
    SelectObject(target, CreateCompatibleBitmap(FAKE_DC, 640, 400)); // true colour
    HBITMAP planes[4] = {mask, mask, mask, mask};
    Fake().calls.clear();
    EXPECT_EQ(Render_MergePlanes(target, 0, 0, 640, 400, planes, 4, 0, 0), 0);
    EXPECT_TRUE(Fake_CallsMatching({"BitBlt", "SetDIBColorTable", "SetBkColor"}).empty());
}

TEST_F(BlitTest, MergeSetsOneBackgroundGreyPerPlaneAndPutsTheColoursBack)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[16];
    } info = {};
    info.header = {40, 640, -400, 1, 4, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP surface = CreateDIBSection(FAKE_DC, (BITMAPINFO *)&info, DIB_RGB_COLORS, &bits, 0, 0);
    HDC target = CreateCompatibleDC(FAKE_DC);
    SelectObject(target, surface);
    std::vector<RGBQUAD> &table = Fake().objects[(uintptr_t)surface].colorTable;
    for (int i = 0; i < 16; i++)
        table[i] = RGBQUAD{(BYTE)(i * 3), (BYTE)(i * 5), (BYTE)(i * 7), 0};
    const std::vector<RGBQUAD> before = table;

    for (uint8_t count : {3, 8}) {
        std::vector<HBITMAP> planes(count, mask);
        Fake().calls.clear();
        EXPECT_NE(Render_MergePlanes(target, 0, 0, 640, 400, planes.data(), count, 0, 0), 0);
        Calls colours = Fake_CallsMatching({"SetBkColor", "SetTextColor"});
        ASSERT_EQ(colours.size(), count + 1u);
        for (int i = 0; i < count; i++) {
            char expected[40];
            snprintf(expected, sizeof expected, "SetBkColor(%s, %06x)", Fake_Name(target).c_str(),
                     (1u << i) * 0x010101u);
            EXPECT_EQ(colours[i], expected);
        }
        EXPECT_EQ(colours.back(), "SetBkColor(" + Fake_Name(target) + ", ffffff)");
        Calls blits = Fake_CallsMatching({"BitBlt"});
        ASSERT_EQ(blits.size(), (size_t)count);
        EXPECT_NE(blits[0].find("00cc0020"), std::string::npos);
        for (int i = 1; i < count; i++)
            EXPECT_NE(blits[i].find("00ee0086"), std::string::npos);
        for (int i = 0; i < 16; i++)
            EXPECT_EQ(memcmp(&table[i], &before[i], sizeof(RGBQUAD)), 0) << i;
        EXPECT_EQ(Fake_LiveObjects('D'), 2) << "only the test's own contexts remain";
    }
}

} // namespace
