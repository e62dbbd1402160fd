// Renderer front over the fakes (mode 3): creation, palette rebuilds, fetch, resize, the
// failure of surface creation, and the choice of presentation path.
#include "render/render.h"
#include "tests/unit/fake_core.h"
#include "tests/unit/present_check.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

typedef std::vector<std::string> Calls;

struct RenderTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
        FakeCore_Reset();
    }
    std::string Initialize()
    {
        testing::internal::CaptureStdout();
        Render_Initialize(FAKE_WINDOW);
        return testing::internal::GetCapturedStdout();
    }
    static size_t IndexOf(const std::string &prefix)
    {
        const Calls &calls = Fake().calls;
        for (size_t i = 0; i < calls.size(); i++)
            if (calls[i].rfind(prefix, 0) == 0)
                return i;
        return calls.size();
    }
};

TEST_F(RenderTest, CapsLineShowsOneLetterPerCapability)
{
    const struct {
        int caps;
        const char *line;
    } cases[] = {
        {0xBE99, "[Render] Caps: _ B 6 D I _ _ S s\n"}, // a 32-bit display
        {0, "[Render] Caps: _ _ _ _ _ _ _ _ _\n"},
        {0xFFFF, "[Render] Caps: b B 6 D I P C S s\n"},
        {0x0106, "[Render] Caps: b _ _ _ _ P C _ _\n"},
    };
    for (const auto &c : cases) {
        Fake().rasterCaps = c.caps;
        EXPECT_EQ(Initialize(), c.line);
    }
    // Initialised again and again: still one palette and one set of surfaces.
    EXPECT_EQ(Fake_LiveObjects('P'), 1);
    EXPECT_EQ(Fake_LiveObjects('B'), 8);
    EXPECT_EQ(Fake_LiveObjects('I'), 2);
}

TEST_F(RenderTest, PaletteMirrorsTheCoreAndReachesTheSurfacesAtCreation)
{
    uint16_t *graphics = FakeCore_State().colors[0];
    uint16_t *text = FakeCore_State().colors[1];
    for (int i = 0; i < 16; i++)
        graphics[i] = (uint16_t)(0x111 * (i % 3) + i);
    graphics[0] = 0xF00;  // blue only
    graphics[1] = 0x00F;  // red only
    graphics[2] = 0x123;  // red 3, green 2, blue 1
    graphics[3] = 0xF123; // bits 12-15 are not colour
    for (int i = 0; i < 8; i++)
        text[i] = (uint16_t)(0x0F0 + i);
    Initialize();

    const LOGPALETTE *logical = Render_GetLogicalPalette();
    EXPECT_EQ(logical->palVersion, 0x300);
    EXPECT_EQ(logical->palNumEntries, 24);
    const PALETTEENTRY *e = &logical->palPalEntry[0];
    auto rgbf = [](const PALETTEENTRY &p) {
        return (p.peRed << 24) | (p.peGreen << 16) | (p.peBlue << 8) | p.peFlags;
    };
    EXPECT_EQ(rgbf(e[0]), 0x0000FF00);
    EXPECT_EQ(rgbf(e[1]), 0xFF000000);
    EXPECT_EQ(rgbf(e[2]), 0x33221100);
    EXPECT_EQ(rgbf(e[3]), 0x33221100);
    EXPECT_EQ(rgbf(e[16 + 5]), 0x55FF0000); // text colour 5 is logical entry 21

    // Each graphics entry asked once, the text palette for 0..7 only.
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(
            Fake_CallsMatching({("GDCPal_GetColor(1, " + std::to_string(i) + ")").c_str()}).size(),
            1u);
    EXPECT_EQ(Fake_CallsMatching({"GDCPal_GetColor(2, "}).size(), 8u);
    EXPECT_TRUE(Fake_CallsMatching({"GDCPal_GetColor(2, 8)", "GDCPal_GetColor(2, 9)"}).empty());

    // Selected and realized in the window's context before any surface is made.
    EXPECT_LT(IndexOf("RealizePalette(window)"), IndexOf("CreateBitmap"));
    EXPECT_LT(IndexOf("SelectPalette(window"), IndexOf("RealizePalette(window)"));

    // Both surfaces carry the logical colours from the start, not a zeroed table.
    const RenderSurfaces *s = Render_GetSurfaces();
    const std::vector<RGBQUAD> &g = Fake().objects[(uintptr_t)s->graphics].colorTable;
    const std::vector<RGBQUAD> &t = Fake().objects[(uintptr_t)s->text].colorTable;
    ASSERT_EQ(g.size(), 16u);
    ASSERT_EQ(t.size(), 16u);
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(g[i].rgbRed, e[i].peRed) << i;
        EXPECT_EQ(g[i].rgbGreen, e[i].peGreen) << i;
        EXPECT_EQ(g[i].rgbBlue, e[i].peBlue) << i;
        EXPECT_EQ(g[i].rgbReserved, 0) << i;
    }
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(t[i].rgbRed, e[16 + i].peRed) << i;
        EXPECT_EQ(t[i].rgbGreen, e[16 + i].peGreen) << i;
        EXPECT_EQ(t[i].rgbBlue, e[16 + i].peBlue) << i;
    }
    EXPECT_EQ(Fake_LiveObjects('D'), 0) << "every temporary context released";
}

TEST_F(RenderTest, StepRebuildsOnReportedChangesFetchesThePlanesAndRepaints)
{
    std::vector<uint8_t> planes(8 * CORE_PLANE_BYTES);
    for (int k = 0; k < 8; k++)
        planes[(size_t)k * CORE_PLANE_BYTES] = (uint8_t)(0xA0 + k);
    FakeCore_State().planes = planes.data();
    Initialize();
    const RenderSurfaces *s = Render_GetSurfaces();

    Fake().calls.clear();
    Render_Step(FAKE_WINDOW);
    EXPECT_TRUE(Fake_CallsMatching({"GDCPal_GetColor", "SetPaletteEntries"}).empty());
    Calls fetch = Fake_CallsMatching({"GDC_RenderBuffer", "SetBitmapBits", "RedrawWindow"});
    ASSERT_EQ(fetch.size(), 10u);
    EXPECT_EQ(fetch[0], "GDC_RenderBuffer()");
    for (int k = 0; k < 8; k++) {
        char expected[64];
        snprintf(expected, sizeof expected, "SetBitmapBits(%s, 32000, %02x)",
                 Fake_Name(s->planes[k]).c_str(), 0xA0 + k);
        EXPECT_EQ(fetch[1 + k], expected);
    }
    EXPECT_EQ(fetch[9], "RedrawWindow(all, none, 0x0101)");
    EXPECT_EQ(s->mask, s->planes[4]) << "plane 4 is the priority mask";

    // A reported change: all 24 colours again, before the fetch.
    FakeCore_State().paletteChanged = 1;
    FakeCore_State().colors[1][7] = 0x00F;
    Fake().calls.clear();
    Render_Step(FAKE_WINDOW);
    EXPECT_EQ(Fake_CallsMatching({"GDCPal_GetColor"}).size(), 24u);
    EXPECT_LT(IndexOf("SetPaletteEntries"), IndexOf("GDC_RenderBuffer"));
    EXPECT_EQ(Fake().objects[(uintptr_t)s->text].colorTable[7].rgbRed, 0xFF);
}

TEST_F(RenderTest, ResizeLogsAndKeepsTheClientSize)
{
    const struct {
        uint16_t width, height;
        uint8_t maximized;
        const char *line;
    } cases[] = {
        {640, 400, 0, "[Render] Resize: 640, 400 \n"},
        {1600, 1177, 1, "[Render] Resize: 1600, 1177 (Maximized)\n"},
        {0, 0, 0, "[Render] Resize: 0, 0 \n"},
    };
    for (const auto &c : cases) {
        testing::internal::CaptureStdout();
        Render_Resize(c.width, c.height, c.maximized);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line);
    }
}

TEST_F(RenderTest, FailedSurfacesAreLoggedFallBackToMode5AndNeverCrash)
{
    // The first DIB section fails: logged, cleaned up, and mode 5 succeeds.
    Fake().failDIBSection = 1;
    std::string out = Initialize();
    EXPECT_NE(out.find("[Render] CreateSurfaces: the frame surfaces for render mode 3 could not"),
              std::string::npos)
        << out;
    EXPECT_EQ(Render_GetMode(), 5);
    EXPECT_EQ(Fake_LiveObjects('B'), 8);
    EXPECT_EQ(Fake_LiveObjects('I'), 2);
}

TEST_F(RenderTest, NoSurfacesAtAllMeansNothingIsDrawnOrFetched)
{
    Fake().dibSectionsFail = true;
    std::string out = Initialize();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out; // caps and two failures
    EXPECT_EQ(Fake_LiveObjects('B') + Fake_LiveObjects('I'), 0);
    Render_Resize(640, 400, 0);
    Fake().calls.clear();
    Render_Step(FAKE_WINDOW);
    Render_Resize(800, 600, 0);
    Render_Paint(FAKE_WINDOW);
    EXPECT_TRUE(Fake_CallsMatching({"GDC_", "MaskBlt", "BitBlt", "StretchBlt"}).empty());
    EXPECT_EQ(Render_Shutdown(FAKE_WINDOW), 0);
}

TEST_F(RenderTest, PresentDrawsDirectlyOrThroughABuffer)
{
    Initialize();
    const PresentCase cases[] = {
        {3, 640, 400, 0, 0, {"MaskBlt(window, 0, 0, 640, 400", "MaskBlt(window, 0, 0, 640, 400"}},
        {3, 640, 600, 0, 0, {"MaskBlt(window, 0, 0, 640, 400", "MaskBlt(window, 0, 0, 640, 400"}},
        {7, 1000, 400, 0, 0, {"BitBlt(window, 0, 0, 640, 400", "BitBlt(window, 0, 0, 640, 400"}},
        {3, 800, 600, 0, 0, {"StretchBlt(window, 0, 0, 800, 600, buf, 0, 0, 640, 400, 00cc0020)"}},
        {1, 640, 400, 0, 0, {}},
        // A centring offset keeps the whole stretched picture on the client area.
        {3,
         800,
         600,
         80,
         100,
         {"StretchBlt(window, 80, 100, 640, 400, buf, 0, 0, 640, 400, 00cc0020)"}},
        {9,
         1280,
         800,
         0,
         0,
         {"StretchBlt(window, 0, 0, 1280, 800, buf, 0, 0, 640, 400, 00cc0020)"}},
    };
    for (const PresentCase &c : cases)
        ExpectPresent(c, 8);
}

} // namespace
