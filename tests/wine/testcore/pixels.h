// The picture tests' model of the emulated display: frames of eight planes, the core's two
// palettes, what the scripted core hands the renderer, the expected picture, the window read back.
#pragma once

#include "core/core.h"

enum {
    PIXELS_WIDTH = CORE_SCREEN_WIDTH,
    PIXELS_HEIGHT = CORE_SCREEN_HEIGHT,
    PIXELS_ROW_BYTES = CORE_SCREEN_WIDTH / 8,
    PIXELS_READ_WIDTH = 1280, // the largest client area read back
    PIXELS_READ_HEIGHT = 800
};

// A frame as the core keeps it: graphics planes 0-3, then the mask and text planes 0-2, each
// 400 rows of 80 bytes, most significant bit leftmost.
struct PixelsFrame {
    uint8_t planes[8][CORE_PLANE_BYTES];
};

// The core's palettes as 12-bit colours: red bits 0-3, green 4-7, blue 8-11.
struct PixelsPalette {
    uint16_t graphics[16];
    uint16_t text[8];
};

// How a render mode shows the layers: text where the mask is 1, else graphics; text OR-ed over
// graphics (modes 6 and 7); or nothing at all (modes 0 and 1).
enum PixelsRule { PIXELS_RULE_MASK, PIXELS_RULE_OR, PIXELS_RULE_NONE };
PixelsRule Pixels_Rule(int32_t mode);

// Random planes (from the seed) with rows 0-1 all 0 and rows 2-3 and 399 all 1 in every plane.
void Pixels_MakeFrame(PixelsFrame *frame, uint32_t seed);
// Distinct random colours, none repeating the previous palette's text colours; graphics 0 is
// black and graphics 15 white, which modes 8 and 9 need: their AND and OR work on colour-table
// indices and give the true colours only while index 0 is black and index 15 white.
void Pixels_MakePalette(PixelsPalette *palette, uint32_t seed);

// The scripted core's display: a new frame to hand over from the next fetch on (the core also
// draws it into 4-bit surfaces for GDC_RenderSep), and the palette the core answers with.
void Pixels_SetCoreFrame(uint32_t seed);
PixelsPalette *Pixels_CorePalette(void);
// The next GDCGraph_IsPaletteChanged answers non-zero (once).
void Pixels_ReportPaletteChange(void);
// From here on the renderer's questions to the core are answered from this model.
void Pixels_Install(void);

// What the renderer has been given: the frame of the last fetch and the palette as it stood at
// the last reported change; how many fetches went through GDC_RenderBuffer and GDC_RenderSep.
const PixelsFrame *Pixels_Fetched(void);
uint32_t Pixels_FetchCount(bool buffer);

// The expected 640 x 400 picture (0xRRGGBB, row by row): the last fetched frame under the last
// reported palette, computed pixel by pixel from the planes.
const uint32_t *Pixels_Expected(PixelsRule rule);

// Reads the window's client area (up to 1280 x 800) as 0xRRGGBB, PIXELS_READ_WIDTH a row.
const uint32_t *Pixels_ReadWindow(HWND window, int width, int height);
// Fills the whole client area with one colour (0xRRGGBB) through the window's device context.
void Pixels_FillWindow(HWND window, uint32_t rgb);

// Window size: asks for a client area (moving the window to the screen's corner when it would
// not fit where it is), notes WM_SIZE from the scenario's message hook, and tells when the
// client area has the size and no WM_SIZE has come for a few frames.
void Pixels_SetClientSize(HWND window, int width, int height);
void Pixels_NoteMessage(UINT message);
bool Pixels_SizeSettled(HWND window, int width, int height, uint32_t frame);

// xorshift32: the same pseudo-random sequence on every run and every machine.
uint32_t Pixels_Random(uint32_t *state);

// A top-down DIB section with up to 16 colours in its table (count 0: none given).
HBITMAP Pixels_MakeDIB(int width, int height, int bits, const RGBQUAD *colors, int count,
                       void **pixels);
