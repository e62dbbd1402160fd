// The stand-in core through its exports: palettes, input echo on the text layer, the mask.
#include "core/core.h"
#include "kernel/font.h"
#include "kernel/palette.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

uint32_t clockNow = 1000; // what Time_Get answers

// The palettes as the front-end sees them while its window is created, before any test
// (and so before Kernel_Initialize) runs.
struct EarlyPalette {
    uint32_t graphicsHandle, textHandle;
    uint16_t graphics[16], text[8];
    uint8_t changed;
    EarlyPalette()
    {
        graphicsHandle = GDCGraph_GetPalette();
        textHandle = GDCText_GetPalette();
        for (int i = 0; i < 16; ++i)
            graphics[i] = GDCPal_GetColor(graphicsHandle, (uint8_t)i);
        for (int i = 0; i < 8; ++i)
            text[i] = GDCPal_GetColor(textHandle, (uint8_t)i);
        changed = GDCGraph_IsPaletteChanged();
    }
};
const EarlyPalette early;

uint8_t graphicsSurface[CORE_SURFACE_BYTES];
uint8_t textSurface[CORE_SURFACE_BYTES];
uint8_t maskSurface[CORE_PLANE_BYTES];

int MaskBit(int x, int y)
{
    return maskSurface[y * 80 + x / 8] >> (7 - x % 8) & 1;
}

int Nibble(const uint8_t *surface, int x, int y)
{
    uint8_t b = surface[y * 320 + x / 2];
    return x % 2 == 0 ? b >> 4 : b & 0xF;
}

// Reads the character in a text cell from the mask: the glyph whose rows match exactly,
// ' ' for an empty cell, '~' when no glyph matches.
char ReadCell(int col, int row)
{
    uint8_t rows[16];
    bool empty = true;
    for (int y = 0; y < 16; ++y) {
        rows[y] = maskSurface[(row * 16 + y) * 80 + col];
        empty = empty && rows[y] == 0;
    }
    if (empty)
        return ' ';
    for (int c = 0x21; c < 0x60; ++c) {
        bool same = true;
        for (int y = 0; y < 16 && same; ++y)
            same = Font_Row((char)c, y) == rows[y];
        if (same)
            return (char)c;
    }
    return '~';
}

std::string ReadPage()
{
    std::string page;
    for (int row = 0; row < 25; ++row) {
        for (int col = 0; col < 80; ++col)
            page += ReadCell(col, row);
        page += '\n';
    }
    return page;
}

// One frame step, then the frame as the even render modes fetch it.
std::string StepAndRead()
{
    clockNow += 17;
    Kernel_Step();
    GDC_RenderSep(graphicsSurface, textSurface, maskSurface);
    return ReadPage();
}

// The page is read back by glyph, so every character must have a glyph of its own.
TEST(StandinFont, GlyphsAreDistinctAndFitTheirCell)
{
    auto same = [](char a, char b) {
        for (int y = 0; y < 16; ++y) {
            if (Font_Row(a, y) != Font_Row(b, y))
                return false;
        }
        return true;
    };
    for (int a = 0x20; a < 0x60; ++a) {
        EXPECT_EQ(Font_Row((char)a, 0), 0) << (char)a;
        EXPECT_EQ(Font_Row((char)a, 15), 0) << (char)a;
        for (int y = 0; y < 16; ++y)
            EXPECT_EQ(Font_Row((char)a, y) & 0x83, 0) << (char)a << " spills out of columns 1-5";
        EXPECT_FALSE(same((char)a, '\x7F')) << (char)a << " looks like an unknown character";
        for (int b = 0x20; b < a; ++b)
            EXPECT_FALSE(same((char)a, (char)b)) << (char)a << " and " << (char)b;
    }
    for (char c : {'a', 'q', 'z'})
        EXPECT_TRUE(same(c, (char)(c - 32))) << c;
    for (char c : {'{', '~', '\x80', '\t'})
        EXPECT_TRUE(same(c, '\x7F')) << (int)c;
}

TEST(StandinKernel, PalettesAnswerBeforeInitialize)
{
    EXPECT_NE(early.graphicsHandle, early.textHandle);
    EXPECT_EQ(early.changed, 0);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(early.graphics[i], Palette_Color(PALETTE_GRAPHICS_HANDLE, (uint8_t)i)) << i;
        EXPECT_EQ(early.graphics[i] & 0xF000, 0) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(early.graphics[i], early.graphics[j]) << i << " and " << j;
    }
    EXPECT_EQ(early.graphics[0], 0x000);  // black background
    EXPECT_EQ(early.graphics[15], 0xFFF); // white border
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(early.text[i] & 0xF000, 0) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(early.text[i], early.text[j]) << i << " and " << j;
    }
    EXPECT_EQ(GDCPal_GetColor(early.textHandle, 8), 0);
    EXPECT_EQ(GDCPal_GetColor(0xDEAD, 3), 0);
}

TEST(StandinKernel, PaletteChangeIsReportedOncePerChange)
{
    Kernel_Initialize(nullptr);
    GDCGraph_IsPaletteChanged(); // forget a change pending from earlier tests
    uint16_t before[16];
    for (int i = 0; i < 16; ++i)
        before[i] = GDCPal_GetColor(GDCGraph_GetPalette(), (uint8_t)i);
    int reports = 0, framesToFirst = -1;
    for (int frame = 1; frame <= 3 * PALETTE_CYCLE_FRAMES; ++frame) {
        StepAndRead();
        if (GDCGraph_IsPaletteChanged()) {
            ++reports;
            if (framesToFirst < 0)
                framesToFirst = frame;
            EXPECT_EQ(GDCGraph_IsPaletteChanged(), 0) << "a second report for one change";
        }
    }
    EXPECT_EQ(reports, 3);
    ASSERT_GT(framesToFirst, 0);
    EXPECT_LE(framesToFirst, PALETTE_CYCLE_FRAMES);
    // After three steps of a six-step cycle every cycling entry differs; the rest stay.
    for (int i = 0; i < 16; ++i) {
        uint16_t now = GDCPal_GetColor(GDCGraph_GetPalette(), (uint8_t)i);
        bool cycles = i >= PALETTE_CYCLE_FIRST && i < PALETTE_CYCLE_FIRST + PALETTE_CYCLE_COUNT;
        if (cycles)
            EXPECT_NE(now, before[i]) << i;
        else
            EXPECT_EQ(now, before[i]) << i;
    }
}

// Each input call, after one frame step, must show on the text layer.
struct EchoCase {
    const char *name;
    void (*send)();
    const char *expected[2];
};

const EchoCase ECHO_CASES[] = {
    {"key press", [] { Keyboard_Press(0x41); }, {"KEY PRESS   VK 0X41 A", "KEYS DOWN: 41"}},
    {"sided shift", [] { Keyboard_Press(0xA0); }, {"VK 0XA0 LSHIFT", "KEYS DOWN: 41 A0"}},
    {"key release", [] { Keyboard_Release(0x41); }, {"KEY RELEASE VK 0X41 A", "KEYS DOWN: A0"}},
    {"key event", [] { Input_Event(0x41, 8); }, {"EVENT 0X0041 = 8   KEY A DOWN", nullptr}},
    {"joystick button",
     [] { Input_Event(0x4103, 8); },
     {"JOY 1 BUTTON 3 DOWN", "JOY 1 BUTTONS 31-0 00000000000000000000000000001000"}},
    {"joystick hat diagonal",
     [] {
         Input_Event(0x4121, 8);
         Input_Event(0x4122, 8);
     },
     {"JOY 1 HAT RIGHT BACK  OTHER CODES DOWN: NONE", nullptr}},
    {"joystick code past the hat", [] { Input_Event(0x4130, 8); }, {"DOWN: 30", nullptr}},
    {"joystick axis",
     [] { Input_Event(0x5202, 200); },
     {"EVENT 0X5202 = 200 JOY 2 AXIS Z", "JOY 2 AXES X   0 Y   0 Z 200"}},
    {"mouse move", [] { Mouse_Move(123, 45); }, {"MOUSE X 123 Y  45", nullptr}},
    {"mouse enter", [] { Mouse_EnterWindow(); }, {"INSIDE ", "ENTER CALLS 1 "}},
    {"mouse right", [] { Mouse_KeyPress(2); }, {"RIGHT DOWN", "MOUSE PRESS   BUTTON 2 RIGHT"}},
    {"mouse leave twice",
     [] {
         Mouse_LeaveWindow();
         Mouse_LeaveWindow();
     },
     {"OUTSIDE", "LEAVE CALLS 2"}},
};

TEST(StandinKernel, InputIsEchoedOnTheTextLayer)
{
    Kernel_Initialize("--pace 0 \"x\"");
    std::string page = StepAndRead();
    EXPECT_NE(page.find("TAIL: --PACE 0 \"X\""), std::string::npos) << page;
    for (const EchoCase &c : ECHO_CASES) {
        c.send();
        page = StepAndRead();
        for (const char *text : c.expected) {
            if (text) {
                EXPECT_NE(page.find(text), std::string::npos) << c.name << ": " << text << "\n"
                                                              << page;
            }
        }
    }
}

TEST(StandinKernel, InsideFlagFollowsEnterAndLeave)
{
    const struct {
        void (*call)();
        uint8_t inside;
    } steps[] = {{Mouse_LeaveWindow, 0},
                 {Mouse_EnterWindow, 1},
                 {Mouse_EnterWindow, 1},
                 {Mouse_LeaveWindow, 0},
                 {Mouse_LeaveWindow, 0}};
    for (const auto &step : steps) {
        step.call();
        EXPECT_EQ(Mouse_IsInWindow() != 0, step.inside != 0);
    }
}

TEST(StandinKernel, StatusLineShowsFrameTimeAndStep)
{
    Kernel_Initialize(nullptr);
    std::string page = StepAndRead();
    EXPECT_NE(page.find("TAIL: (NONE)"), std::string::npos) << page;
    clockNow += 3; // this frame comes 20 ms after the last
    page = StepAndRead();
    char expected[64];
    snprintf(expected, sizeof expected, "TIME %9u MS  STEP  20 MS", (unsigned)clockNow);
    EXPECT_NE(page.find(expected), std::string::npos) << page;
}

// The mask is set on lit glyph pixels only; hidden text pixels carry index 0, and one cell
// is drawn in one colour.
TEST(StandinKernel, MaskIsSetExactlyWhereTextShows)
{
    Kernel_Initialize("ABC");
    Keyboard_Press('Q');
    std::string page = StepAndRead();
    EXPECT_EQ(page.find('~'), std::string::npos) << "a cell with stray mask bits\n" << page;
    int cells = 0;
    for (int row = 0; row < 25; ++row) {
        for (int col = 0; col < 80; ++col) {
            int colour = -1;
            for (int y = row * 16; y < row * 16 + 16; ++y) {
                for (int x = col * 8; x < col * 8 + 8; ++x) {
                    int text = Nibble(textSurface, x, y);
                    if (!MaskBit(x, y)) {
                        ASSERT_EQ(text, 0) << "hidden text pixel at " << x << "," << y;
                        continue;
                    }
                    if (colour < 0)
                        colour = text;
                    ASSERT_EQ(text, colour) << "cell " << col << "," << row;
                }
            }
            cells += colour >= 0;
        }
    }
    EXPECT_GT(cells, 200); // the page has a good deal of text
    // All eight text colours are shown, in order, in the colour sample row.
    for (int c = 0; c < 8; ++c) {
        int col = 15 + 3 * c, shown = -1;
        for (int y = 22 * 16; y < 23 * 16 && shown < 0; ++y) {
            for (int x = col * 8; x < col * 8 + 8; ++x) {
                if (MaskBit(x, y))
                    shown = Nibble(textSurface, x, y);
            }
        }
        EXPECT_EQ(shown, c);
    }
}

TEST(StandinKernel, PictureIsFramedAndTheBarMovesOneStepPerFrame)
{
    Kernel_Initialize(nullptr);
    int previous = -1;
    for (int frame = 0; frame < 5; ++frame) {
        StepAndRead();
        for (int x = 0; x < 640; ++x) {
            EXPECT_EQ(Nibble(graphicsSurface, x, 0), 15);
            EXPECT_EQ(Nibble(graphicsSurface, x, 399), 15);
        }
        for (int y = 0; y < 400; ++y) {
            EXPECT_EQ(Nibble(graphicsSurface, 0, y), 15);
            EXPECT_EQ(Nibble(graphicsSurface, 639, y), 15);
        }
        int bar = -1; // leftmost white pixel along the middle of the sweep track
        for (int x = 1; x < 639 && bar < 0; ++x) {
            if (Nibble(graphicsSurface, x, 112) == 15)
                bar = x;
        }
        ASSERT_GE(bar, 0);
        if (previous >= 0 && bar > previous) {
            EXPECT_EQ(bar - previous, 8);
        }
        previous = bar;
    }
}

TEST(StandinKernel, CrosshairFollowsThePointerWhileInside)
{
    Kernel_Initialize(nullptr);
    Mouse_EnterWindow();
    Mouse_Move(300, 250);
    StepAndRead();
    EXPECT_EQ(Nibble(graphicsSurface, 300, 250), 15);
    EXPECT_EQ(Nibble(graphicsSurface, 294, 250), 15);
    EXPECT_EQ(Nibble(graphicsSurface, 300, 256), 15);
    Mouse_LeaveWindow();
    StepAndRead();
    EXPECT_NE(Nibble(graphicsSurface, 294, 250), 15);
}

TEST(StandinKernel, FrameStepAndHandOverAreCheap)
{
    Kernel_Initialize(nullptr);
    uint8_t *first, *second;
    const int frames = 60;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        Kernel_Step();
        GDC_RenderBuffer(&first, &second);
        GDC_RenderSep(graphicsSurface, textSurface, maskSurface);
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count() /
                frames;
    printf("frame step plus both hand-overs: %.3f ms\n", ms);
    EXPECT_LT(ms, 2.0);
}

} // namespace

CORE_API uint32_t Time_Get(void)
{
    return clockNow;
}
