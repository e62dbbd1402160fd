// The renderer front built in another render mode: 10 (placeholder, no surfaces) or 8 (an
// even mode, where the core draws straight into the surfaces).
#include "render/render.h"
#include "tests/unit/fake_core.h"
#include "tests/unit/present_check.h"

#include <gtest/gtest.h>

namespace {

typedef std::vector<std::string> Calls;

struct RenderModeTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
        FakeCore_Reset();
        for (int i = 0; i < 16; i++)
            FakeCore_State().colors[0][i] = 0x0F0; // green: must not show in mode 10
        for (int i = 0; i < 8; i++)
            FakeCore_State().colors[1][i] = (uint16_t)(0x100 * i + 0x0F);
        testing::internal::CaptureStdout();
        Render_Initialize(FAKE_WINDOW);
        testing::internal::GetCapturedStdout();
    }
};

#if RENDER_MODE >= 10

TEST_F(RenderModeTest, PlaceholderModesUseThePlaceholderColoursAndNoSurfaces)
{
    EXPECT_EQ(Fake_LiveObjects('B') + Fake_LiveObjects('I'), 0);
    const PALETTEENTRY *e = &Render_GetLogicalPalette()->palPalEntry[0];
    const uint8_t greys[8] = {0x00, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(e[i].peRed, greys[i]);
        EXPECT_EQ(e[i].peGreen, greys[i]);
        EXPECT_EQ(e[i].peBlue, greys[i]);
    }
    const uint8_t blues[7] = {0x11, 0x33, 0x66, 0x77, 0x99, 0xCC, 0xFF};
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(e[8 + i].peRed, 0);
        EXPECT_EQ(e[8 + i].peGreen, 0);
        EXPECT_EQ(e[8 + i].peBlue, blues[i]) << 8 + i;
    }
    EXPECT_EQ(e[15].peRed & e[15].peGreen & e[15].peBlue, 0xFF);
    for (int i = 0; i < 8; i++) { // text colours still the core's
        EXPECT_EQ(e[16 + i].peRed, 0xFF);
        EXPECT_EQ(e[16 + i].peBlue, i * 0x11);
    }
    for (int i = 0; i < 24; i++)
        EXPECT_EQ(e[i].peFlags, 0);
}

TEST_F(RenderModeTest, PlaceholderModesStillAskForPaletteChangesAndRepaint)
{
    Fake().calls.clear();
    for (int i = 0; i < 3; i++)
        Render_Step(FAKE_WINDOW);
    EXPECT_EQ(Fake_CallsMatching({"GDCGraph_IsPaletteChanged"}).size(), 3u);
    EXPECT_EQ(Fake_CallsMatching({"RedrawWindow"}).size(), 3u);
    EXPECT_TRUE(Fake_CallsMatching({"GDC_Render"}).empty());
    EXPECT_EQ(Render_Shutdown(FAKE_WINDOW), 0);
    EXPECT_TRUE(Fake_CallsMatching({"DeleteObject"}).empty());
}

// Paints until the next drawing; the tiles it drew, "U" upright and "M" mirrored, by column.
std::string PaintTiles(uint16_t width, uint16_t height, int paints)
{
    testing::internal::CaptureStdout();
    Render_Resize(width, height, 0);
    testing::internal::GetCapturedStdout();
    Fake().calls.clear();
    for (int i = 0; i < paints; i++)
        Render_Paint(FAKE_WINDOW);
    std::string tiles;
    for (const std::string &call : Fake_CallsMatching({"BitBlt(window", "PlgBlt(window"}))
        tiles += call[0] == 'B' ? 'U' : 'M';
    return tiles;
}

// What the C runtime's generator predicts for a seed and a grid, column by column.
std::string Predict(unsigned seed, int columns, int rows)
{
    srand(seed);
    std::string tiles;
    for (int i = 0; i < columns * rows; i++)
        tiles += (rand() & 1) ? 'U' : 'M';
    return tiles;
}

TEST_F(RenderModeTest, PlaceholderIsDrawnOnOnePaintIn64WithTheSeedsInTurn)
{
    EXPECT_EQ(PaintTiles(640, 400, 1), Predict(0, 40, 25)); // counter 0, seed 0
    EXPECT_EQ(PaintTiles(640, 400, 63), "");                // counters 1..63 draw nothing
    EXPECT_EQ(PaintTiles(640, 400, 1), Predict(1, 40, 25));
    EXPECT_EQ(PaintTiles(640, 400, 64), Predict(2, 40, 25)); // the drawing at counter 128
    EXPECT_EQ(PaintTiles(640, 400, 64), Predict(3, 40, 25));
    EXPECT_EQ(PaintTiles(640, 400, 64), Predict(0, 40, 25)) << "the counter wraps after 255";
    EXPECT_EQ(Fake_CallsMatching({"CreateDIBSection"}).size(), 0u) << "the tile is made once";
}

TEST_F(RenderModeTest, PlaceholderGridCoversTheClientArea)
{
    const struct {
        uint16_t width, height;
        int columns, rows;
    } cases[] = {{16, 16, 1, 1}, {17, 16, 2, 1}, {1, 1, 1, 1}, {0, 400, 0, 25}, {641, 33, 41, 3}};
    for (const auto &c : cases) {
        Fake().calls.clear();
        testing::internal::CaptureStdout();
        Render_Resize(c.width, c.height, 0);
        testing::internal::GetCapturedStdout();
        Render_PaintPlaceholder(FAKE_DC, c.width, c.height, 2);
        std::string tiles;
        for (const std::string &call : Fake_CallsMatching({"BitBlt(window", "PlgBlt(window"}))
            tiles += call[0] == 'B' ? 'U' : 'M';
        EXPECT_EQ(tiles, Predict(2, c.columns, c.rows)) << c.width << "x" << c.height;
    }
    // The first mirrored tile maps its corners so as to flip it top to bottom in its cell.
    std::string predicted = Predict(0, 4, 4);
    size_t first = predicted.find('M');
    ASSERT_NE(first, std::string::npos);
    int x = 16 * (int)(first / 4), y = 16 * (int)(first % 4);
    Fake().calls.clear();
    Render_PaintPlaceholder(FAKE_DC, 64, 64, 0);
    char corners[64];
    snprintf(corners, sizeof corners, "(%d,%d) (%d,%d) (%d,%d)", x, y + 15, x + 16, y + 15, x,
             y - 1);
    Calls mirrored = Fake_CallsMatching({"PlgBlt"});
    ASSERT_FALSE(mirrored.empty());
    EXPECT_NE(mirrored[0].find(corners), std::string::npos) << mirrored[0];
}

TEST_F(RenderModeTest, ATileThatCannotBeMadeIsTriedAgainAtTheNextDrawing)
{
    Fake().dibSectionsFail = true;
    EXPECT_EQ(PaintTiles(640, 400, 64), "");
    EXPECT_EQ(Fake_LiveObjects('D'), 0);
    Fake().dibSectionsFail = false;
    EXPECT_EQ(PaintTiles(640, 400, 1), Predict(1, 40, 25));
    Calls tile = Fake_CallsMatching({"CreateDIBSection", "SetDIBits"});
    ASSERT_EQ(tile.size(), 2u);
    EXPECT_EQ(tile[0].rfind("CreateDIBSection(window, 16, 16, 4, ", 0), 0u) << tile[0];
    EXPECT_NE(tile[1].find("core 12, 8 bits"), std::string::npos) << tile[1];
}

#else

TEST_F(RenderModeTest, EvenModesHandTheCoreTheSurfacesThemselves)
{
    // Graphics and text from palette indices, the mask black and white from its own table.
    EXPECT_EQ(Fake_CallsMatching({"CreateDIBSection"}),
              (std::vector<std::string>{"CreateDIBSection(window, 640, -400, 4, 0, 1) = dib2",
                                        "CreateDIBSection(window, 640, -400, 4, 8, 1) = dib3",
                                        "CreateDIBSection(window, 640, -400, 1, 2, 0) = dib4"}));
    EXPECT_TRUE(Fake_CallsMatching({"CreateBitmap"}).empty());
    const RenderSurfaces *s = Render_GetSurfaces();
    const std::vector<RGBQUAD> &mask = Fake().objects[(uintptr_t)s->mask].colorTable;
    EXPECT_EQ(mask[0].rgbRed | mask[0].rgbGreen | mask[0].rgbBlue, 0);
    EXPECT_EQ(mask[1].rgbRed & mask[1].rgbGreen & mask[1].rgbBlue, 0xFF);
    // The text surface's 8 colours are the text palette, whatever creation made of them.
    const std::vector<RGBQUAD> &text = Fake().objects[(uintptr_t)s->text].colorTable;
    ASSERT_EQ(text.size(), 8u);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(text[i].rgbBlue, i * 0x11);

    EXPECT_EQ(s->graphicsBits, Fake().objects[(uintptr_t)s->graphics].bits.data());
    Fake().calls.clear();
    Render_Step(FAKE_WINDOW);
    EXPECT_EQ(Fake_CallsMatching({"GDC_Render", "SetBitmapBits"}),
              (std::vector<std::string>{"GDC_RenderSep()"}));
    EXPECT_EQ(Render_Shutdown(FAKE_WINDOW), TRUE);
    EXPECT_EQ(Fake_LiveObjects('I'), 0);
}

TEST_F(RenderModeTest, Mode6AlwaysComposesInTheBuffer)
{
    Render_Resize(640, 400, 0);
    const PresentCase cases[] = {
        {6, 640, 400, 0, 0, {"BitBlt(window, 0, 0, 640, 400, buf, 0, 0, 00cc0020)"}},
        {6, 640, 600, 0, 0, {"BitBlt(window, 0, 0, 640, 600, buf, 0, 0, 00cc0020)"}},
        {6, 700, 500, 0, 0, {"StretchBlt(window, 0, 0, 700, 500, buf, 0, 0, 640, 400, 00cc0020)"}},
        {8,
         640,
         400,
         0,
         40,
         {"BitBlt(window, 0, 40, 640, 400", "BitBlt(window, 0, 40, 640, 400",
          "BitBlt(window, 0, 40, 640, 400"}},
    };
    for (const PresentCase &c : cases)
        ExpectPresent(c, 0);
}

#endif

} // namespace
