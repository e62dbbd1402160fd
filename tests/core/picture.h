// The picture model: known frames and palettes for the renderer, and the window's picture.
#pragma once

#include "tests/core/testcore.h"

enum { PICTURE_WIDTH = CORE_SCREEN_WIDTH, PICTURE_HEIGHT = CORE_SCREEN_HEIGHT };
// The largest read: a screen, or a window maximized on a 1920-wide desktop.
enum { PICTURE_READ_WIDTH = 1920, PICTURE_READ_HEIGHT = 1200 };

// How a mode shows the layers: text where the mask is 1; text OR graphics (6, 7); nothing (0, 1).
enum PictureRule { PICTURE_MASK, PICTURE_OR, PICTURE_NONE };

// Core palettes: black at graphics 0 and white at 15 (or 7); neither; entries repeated in pairs.
enum PictureColors { COLORS_DEFAULT, COLORS_WHITE_AT_7, COLORS_NO_BLACK_OR_WHITE, COLORS_REPEATS };

// The core's frame and palette (reported at the next question) from now on; before: black.
void Picture_Install(uint32_t frameSeed, PictureColors colors, uint32_t paletteSeed);
// The core's next frame: random planes, with rows 0-1 all 0 and rows 2-3 and 399 all 1.
void Picture_SetFrame(uint32_t seed);
// The core's palette changes; reported at the next question when report is set.
void Picture_SetColors(PictureColors colors, uint32_t seed, bool graphics, bool text, bool report);
// Fetches through GDC_RenderBuffer and GDC_RenderSep so far, [1] and [0].
uint32_t Picture_Fetches(bool buffer);

// Reads the client area (up to 1920 x 1200) as 0xRRGGBB, PICTURE_READ_WIDTH a row.
const uint32_t *Picture_Read(HWND window, int width, int height);
// Fills the client area with one colour (0xRRGGBB) through the window's device context.
void Picture_Fill(HWND window, uint32_t rgb, int width, int height);

// What the window must show at (x, y), else false; null: exactly the expected picture.
typedef bool (*PictureExpect)(const uint32_t *expected, int x, int y, uint32_t got);
// The frame stretched to the size checked: the pixel at the source position or a neighbour's
// (where a stretch samples near it is the platform's choice).
bool Picture_Stretched(const uint32_t *expected, int x, int y, uint32_t got);
// Checks the client, width x height, against the last frame fetched, in the palette reported;
// logs a digest. Where the platform tells, what the screen shows of it must be those pixels.
bool Picture_Check(HWND window, const char *what, int width, int height, PictureRule rule,
                   PictureExpect expect);
