// The picture model: the core's frame functions (each recorded) over known planes and palettes,
// the picture these must give, and the window's picture read back.
#include "tests/core/picture.h"

enum { PICTURE_ROW_BYTES = PICTURE_WIDTH / 8 };
enum { PICTURE_GRAPHICS_PALETTE = 0x6701, PICTURE_TEXT_PALETTE = 0x7E02 }; // the core's handles

// Core colours of 12 bits (red bits 0-3, green 4-7, blue 8-11): graphics 0-15, then text 0-7.
typedef uint16_t PicturePalette[24];

static struct {
    uint8_t planes[8][CORE_PLANE_BYTES];         // what the core hands over at the next fetch
    uint8_t fetched[8][CORE_PLANE_BYTES];        // what it handed over at the last one
    uint8_t graphicsSurface[CORE_SURFACE_BYTES]; // the frame at 4 bits a pixel, left high
    uint8_t textSurface[CORE_SURFACE_BYTES];
    PicturePalette palette;  // the core's palette now
    PicturePalette reported; // as it stood at the last reported change
    bool reportDone;         // the palette as it stands was reported (not at first)
    uint32_t fetches[2];
    uint32_t expected[PICTURE_WIDTH * PICTURE_HEIGHT];
    HDC readDC;
    uint32_t *readBits;
    int width, height; // the size checked
    uint32_t presented[PICTURE_READ_WIDTH * PICTURE_READ_HEIGHT];
} s_picture;

// Pixel (x, y) of the n planes from first on, plane first in bit 0.
static int Picture_Bits(const uint8_t planes[8][CORE_PLANE_BYTES], int first, int n, int x, int y)
{
    int value = 0;
    for (int b = 0; b < n; b++)
        value |= (planes[first + b][y * PICTURE_ROW_BYTES + x / 8] >> (7 - x % 8) & 1) << b;
    return value;
}

void Picture_SetFrame(uint32_t seed)
{
    uint32_t state = seed * 2654435761u + 1;
    for (int p = 0; p < 8; p++)
        for (int i = 0; i < CORE_PLANE_BYTES; i++)
            s_picture.planes[p][i] = (uint8_t)(Test_Random(&state) >> 11);
    static const int fixed[] = {0, 1, 2, 3, PICTURE_HEIGHT - 1}; // rows 0-1 all 0, others all 1
    for (int p = 0; p < 8; p++)
        for (int row : fixed)
            memset(&s_picture.planes[p][row * PICTURE_ROW_BYTES], row < 2 ? 0 : 0xFF,
                   PICTURE_ROW_BYTES);
    // The core's other form of the same frame, for GDC_RenderSep: the left pixel comes first.
    for (int i = 0; i < 2 * CORE_SURFACE_BYTES; i++) {
        int x = i % PICTURE_WIDTH, y = i / PICTURE_WIDTH, odd = x & 1;
        uint8_t *g = &s_picture.graphicsSurface[i / 2], *t = &s_picture.textSurface[i / 2];
        *g = (uint8_t)((odd ? *g : 0) | Picture_Bits(s_picture.planes, 0, 4, x, y) << 4 * !odd);
        *t = (uint8_t)((odd ? *t : 0) | Picture_Bits(s_picture.planes, 5, 3, x, y) << 4 * !odd);
    }
}

// Entries of the seed's palette are all distinct and none pure black or white (263 is prime
// to 4094); with repeats, each odd entry repeats the one before.
void Picture_SetColors(PictureColors colors, uint32_t seed, bool graphics, bool text, bool report)
{
    for (uint32_t i = graphics ? 0 : 16; i < (text ? 24u : 16u); i++) {
        uint32_t entry = colors == COLORS_REPEATS ? i & ~1u : i;
        s_picture.palette[i] = (uint16_t)(1 + (seed * 2654435761u + entry * 263) % 0xFFE);
    }
    if (graphics && (colors == COLORS_DEFAULT || colors == COLORS_WHITE_AT_7)) {
        s_picture.palette[0] = 0x000;
        s_picture.palette[colors == COLORS_DEFAULT ? 15 : 7] = 0xFFF;
    }
    s_picture.reportDone = s_picture.reportDone && !report;
}

uint32_t Picture_Fetches(bool buffer)
{
    return s_picture.fetches[buffer ? 1 : 0];
}

void Picture_Install(uint32_t frameSeed, PictureColors colors, uint32_t paletteSeed)
{
    Picture_SetFrame(frameSeed);
    Picture_SetColors(colors, paletteSeed, true, true, true);
}

CORE_API uint8_t GDCGraph_IsPaletteChanged(void)
{
    Record_Add(CALL_GDCGRAPH_ISPALETTECHANGED, 0, 0);
    if (s_picture.reportDone)
        return 0;
    s_picture.reportDone = true;
    memcpy(s_picture.reported, s_picture.palette, sizeof s_picture.reported);
    return 1;
}

RECORDED(uint32_t, GDCGraph_GetPalette, (void), CALL_GDCGRAPH_GETPALETTE, 0, 0,
         PICTURE_GRAPHICS_PALETTE)
RECORDED(uint32_t, GDCText_GetPalette, (void), CALL_GDCTEXT_GETPALETTE, 0, 0, PICTURE_TEXT_PALETTE)

CORE_API uint16_t GDCPal_GetColor(uint32_t palette, uint8_t index)
{
    Record_Add(CALL_GDCPAL_GETCOLOR, palette, index);
    if (palette == PICTURE_GRAPHICS_PALETTE && index < 16)
        return s_picture.palette[index];
    if (palette == PICTURE_TEXT_PALETTE && index < 8)
        return s_picture.palette[16 + index];
    return 0x0F0; // a question the core has no answer to
}

CORE_API void GDC_RenderBuffer(uint8_t **graphics, uint8_t **maskAndText)
{
    Record_Add(CALL_GDC_RENDERBUFFER, 0, 0);
    s_picture.fetches[1]++;
    memcpy(s_picture.fetched, s_picture.planes, sizeof s_picture.fetched);
    *graphics = s_picture.planes[0];
    *maskAndText = s_picture.planes[4];
}

CORE_API void GDC_RenderSep(void *graphicsBits, void *textBits, void *maskBits)
{
    Record_Add(CALL_GDC_RENDERSEP, 0, 0);
    s_picture.fetches[0]++;
    memcpy(s_picture.fetched, s_picture.planes, sizeof s_picture.fetched);
    memcpy(graphicsBits, s_picture.graphicsSurface, CORE_SURFACE_BYTES);
    memcpy(textBits, s_picture.textSurface, CORE_SURFACE_BYTES);
    memcpy(maskBits, s_picture.planes[4], CORE_PLANE_BYTES);
}

static uint32_t Picture_Rgb(uint16_t color)
{
    return (color & 0xFu) * 0x110000u + (color >> 4 & 0xFu) * 0x1100u + (color >> 8 & 0xFu) * 0x11u;
}

// The read-back bitmap's device context, made at the first use; null when it cannot be.
static HDC Picture_ReadDC(void)
{
    void *bits = NULL;
    HBITMAP bitmap = s_picture.readDC ? NULL
                                      : Test_MakeDIB(PICTURE_READ_WIDTH, PICTURE_READ_HEIGHT, 32,
                                                     NULL, 0, &bits);
    if (bitmap) {
        s_picture.readDC = CreateCompatibleDC(0);
        SelectObject(s_picture.readDC, bitmap);
        s_picture.readBits = (uint32_t *)bits;
    }
    return s_picture.readDC;
}

const uint32_t *Picture_Read(HWND window, int width, int height)
{
    if (width > PICTURE_READ_WIDTH || height > PICTURE_READ_HEIGHT || !Picture_ReadDC() ||
        !BitBlt(s_picture.readDC, 0, 0, width, height, GetDC(window), 0, 0, SRCCOPY))
        return NULL;
    for (int y = 0; y < height; y++) // the fourth byte of a 32-bit pixel is no colour
        for (int x = 0; x < width; x++)
            s_picture.readBits[y * PICTURE_READ_WIDTH + x] &= 0xFFFFFF;
    return s_picture.readBits;
}

void Picture_Fill(HWND window, uint32_t rgb, int width, int height)
{
    if (!Picture_ReadDC())
        return;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            s_picture.readBits[y * PICTURE_READ_WIDTH + x] = rgb;
    BitBlt(GetDC(window), 0, 0, width, height, s_picture.readDC, 0, 0, SRCCOPY);
}

// Pixel (x, y) of a width x height picture, rows stride apart, or one of its neighbours, is
// the colour.
static bool Picture_Near(const uint32_t *picture, int stride, int width, int height, int x, int y,
                         uint32_t colour)
{
    for (int v = y - 1; v <= y + 1; v++)
        for (int u = x - 1; u <= x + 1; u++)
            if (u >= 0 && v >= 0 && u < width && v < height && picture[v * stride + u] == colour)
                return true;
    return false;
}

bool Picture_Stretched(const uint32_t *expected, int x, int y, uint32_t got)
{
    return Picture_Near(expected, PICTURE_WIDTH, PICTURE_WIDTH, PICTURE_HEIGHT,
                        x * PICTURE_WIDTH / s_picture.width, y * PICTURE_HEIGHT / s_picture.height,
                        got);
}

// What the screen shows against the client read back (w x h): the same pixels, or, where the
// window covers a larger desktop (fullscreen in a virtual mode), the client scaled to fit the
// desktop, aspect kept, centred between black bands.
static void Picture_CheckPresented(HWND window, const char *what, const uint32_t *client, int w,
                                   int h)
{
    int width, height;
    if (!Probe_ReadPresented(window, s_picture.presented, PICTURE_READ_WIDTH * PICTURE_READ_HEIGHT,
                             &width, &height))
        return;
    bool wide = width * h > height * w; // the side that limits the scale is filled
    int shownWidth = wide ? w * height / h : width, shownHeight = wide ? height : h * width / w;
    int left = (width - shownWidth) / 2, top = (height - shownHeight) / 2;
    uint32_t wrong = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            uint32_t pixel = s_picture.presented[y * width + x];
            int u = x - left, v = y - top;
            bool band = u < 0 || v < 0 || u >= shownWidth || v >= shownHeight;
            int cx = band ? 0 : u * w / shownWidth, cy = band ? 0 : v * h / shownHeight;
            bool right = band ? pixel == 0
                         : shownWidth == w
                             ? pixel == client[cy * PICTURE_READ_WIDTH + cx]
                             : Picture_Near(client, PICTURE_READ_WIDTH, w, h, cx, cy, pixel);
            if (!right && wrong++ < 4)
                Log_Line("  %s, presented: (%d, %d) is %06x", what, x, y, (unsigned)pixel);
        }
    char name[192];
    snprintf(name, sizeof name, "%s; presented %d x %d at (%d, %d) on %d x %d", what, shownWidth,
             shownHeight, left, top, width, height);
    Log_Check(wrong == 0, name, "%u pixels wrong", wrong);
}

bool Picture_Check(HWND window, const char *what, int width, int height, PictureRule rule,
                   PictureExpect expect)
{
    // The last fetched frame under the palette of the last reported change, 0xRRGGBB.
    uint32_t *expected = s_picture.expected;
    for (int y = 0; y < PICTURE_HEIGHT; y++)
        for (int x = 0; x < PICTURE_WIDTH; x++) {
            const uint16_t *p = s_picture.reported;
            uint32_t g = Picture_Rgb(p[Picture_Bits(s_picture.fetched, 0, 4, x, y)]);
            uint32_t t = Picture_Rgb(p[16 + Picture_Bits(s_picture.fetched, 5, 3, x, y)]);
            uint32_t shown = Picture_Bits(s_picture.fetched, 4, 1, x, y) ? t : g;
            expected[y * PICTURE_WIDTH + x] = rule == PICTURE_OR ? (g | t) : shown;
        }
    s_picture.width = width;
    s_picture.height = height;
    const uint32_t *got = Picture_Read(window, width, height);
    if (!Log_Check(got != NULL, what, "the window's picture could not be read"))
        return false;
    uint32_t wrong = 0, digest = TEST_HASH_START;
    for (int y = 0; y < height; y++) {
        digest = Test_Hash(digest, got + y * PICTURE_READ_WIDTH, (uint32_t)width);
        for (int x = 0; x < width; x++) {
            uint32_t pixel = got[y * PICTURE_READ_WIDTH + x];
            bool right =
                expect ? expect(expected, x, y, pixel) : pixel == expected[y * PICTURE_WIDTH + x];
            if (!right && wrong++ < 4)
                Log_Line("  %s: (%d, %d) is %06x", what, x, y, (unsigned)pixel);
        }
    }
    Log_Digest(what, digest);
    Log_Check(wrong == 0, what, "%u of %d pixels wrong", wrong, width * height);
    Picture_CheckPresented(window, what, got, width, height);
    return wrong == 0;
}
