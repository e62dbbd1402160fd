// The picture tests' model: known frames and palettes handed to the renderer, the picture they
// must give (computed per pixel from the planes), and the window's picture read back.
#include "core/core.h"
#include "testcore.h"
#include "pixels.h"

enum { PIXELS_QUIET_FRAMES = 3 }; // frames without WM_SIZE before a size counts as settled

static struct {
    PixelsFrame core;                            // what the core hands over at the next fetch
    PixelsFrame fetched;                         // what it handed over at the last one
    uint8_t graphicsSurface[CORE_SURFACE_BYTES]; // the core's frame drawn at 4 bits a pixel
    uint8_t textSurface[CORE_SURFACE_BYTES];
    PixelsPalette palette;  // the core's palette now
    PixelsPalette reported; // as it stood at the last reported change
    uint16_t lastText[8];   // text colours of the previous palette made
    bool reportPending;
    uint32_t fetches[2]; // [1] through GDC_RenderBuffer, [0] through GDC_RenderSep
    uint32_t expected[PIXELS_WIDTH * PIXELS_HEIGHT];
    HDC readDC;
    uint32_t *readBits;
    uint32_t sizeMessages, seenSizeMessages, quietSince;
} s_pixels;

uint32_t Pixels_Random(uint32_t *state)
{
    // xorshift32: the same frames on every run and every machine.
    uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return *state = x;
}

PixelsRule Pixels_Rule(int32_t mode)
{
    if (mode == 0 || mode == 1)
        return PIXELS_RULE_NONE;
    return (mode == 6 || mode == 7) ? PIXELS_RULE_OR : PIXELS_RULE_MASK;
}

void Pixels_MakeFrame(PixelsFrame *frame, uint32_t seed)
{
    uint32_t state = seed * 2654435761u + 1;
    for (int p = 0; p < 8; p++)
        for (int i = 0; i < CORE_PLANE_BYTES; i++)
            frame->planes[p][i] = (uint8_t)(Pixels_Random(&state) >> 11);
    static const struct {
        int row;
        uint8_t value;
    } fixed[] = {{0, 0x00}, {1, 0x00}, {2, 0xFF}, {3, 0xFF}, {PIXELS_HEIGHT - 1, 0xFF}};
    for (uint32_t r = 0; r < sizeof fixed / sizeof fixed[0]; r++)
        for (int p = 0; p < 8; p++)
            memset(&frame->planes[p][fixed[r].row * PIXELS_ROW_BYTES], fixed[r].value,
                   PIXELS_ROW_BYTES);
}

static bool Pixels_Contains(const uint16_t *colors, int count, uint16_t color)
{
    for (int i = 0; i < count; i++)
        if (colors[i] == color)
            return true;
    return false;
}

void Pixels_MakePalette(PixelsPalette *palette, uint32_t seed)
{
    uint32_t state = seed * 2246822519u + 7;
    palette->graphics[0] = 0x000;
    palette->graphics[15] = 0xFFF;
    for (int i = 1; i < 15; i++) {
        uint16_t c;
        do
            c = (uint16_t)(Pixels_Random(&state) & 0xFFF);
        while (Pixels_Contains(palette->graphics, i, c) || c == 0xFFF);
        palette->graphics[i] = c;
    }
    for (int i = 0; i < 8; i++) {
        uint16_t c;
        do
            c = (uint16_t)(Pixels_Random(&state) & 0xFFF);
        while (Pixels_Contains(palette->text, i, c) || Pixels_Contains(s_pixels.lastText, 8, c));
        palette->text[i] = c;
    }
    memcpy(s_pixels.lastText, palette->text, sizeof s_pixels.lastText);
}

static int Pixels_Bit(const PixelsFrame *frame, int plane, int x, int y)
{
    return frame->planes[plane][y * PIXELS_ROW_BYTES + x / 8] >> (7 - x % 8) & 1;
}

void Pixels_SetCoreFrame(uint32_t seed)
{
    PixelsFrame *frame = &s_pixels.core;
    Pixels_MakeFrame(frame, seed);
    // The core's other form of the same frame: two pixels a byte, the left one high.
    for (int y = 0; y < PIXELS_HEIGHT; y++)
        for (int x = 0; x < PIXELS_WIDTH; x++) {
            int graphics = 0, text = 0;
            for (int b = 0; b < 4; b++)
                graphics |= Pixels_Bit(frame, b, x, y) << b;
            for (int b = 0; b < 3; b++)
                text |= Pixels_Bit(frame, 5 + b, x, y) << b;
            int at = y * (PIXELS_WIDTH / 2) + x / 2, shift = (x & 1) ? 0 : 4;
            uint8_t keep = (uint8_t)(0xF0 >> shift);
            s_pixels.graphicsSurface[at] =
                (uint8_t)((s_pixels.graphicsSurface[at] & keep) | graphics << shift);
            s_pixels.textSurface[at] = (uint8_t)((s_pixels.textSurface[at] & keep) | text << shift);
        }
}

PixelsPalette *Pixels_CorePalette(void)
{
    return &s_pixels.palette;
}

void Pixels_ReportPaletteChange(void)
{
    s_pixels.reportPending = true;
}

static uint8_t Pixels_AnswerPaletteChanged(void)
{
    if (!s_pixels.reportPending)
        return 0;
    s_pixels.reportPending = false;
    s_pixels.reported = s_pixels.palette;
    return 1;
}

static uint16_t Pixels_AnswerColor(uint32_t palette, uint8_t index)
{
    if (palette == TESTCORE_GRAPHICS_PALETTE && index < 16)
        return s_pixels.palette.graphics[index];
    if (palette == TESTCORE_TEXT_PALETTE && index < 8)
        return s_pixels.palette.text[index];
    return 0x0F0; // a question the core has no answer to
}

static void Pixels_AnswerBuffer(uint8_t **graphics, uint8_t **maskAndText)
{
    s_pixels.fetches[1]++;
    s_pixels.fetched = s_pixels.core;
    *graphics = s_pixels.core.planes[0];
    *maskAndText = s_pixels.core.planes[4];
}

static void Pixels_AnswerSep(void *graphicsBits, void *textBits, void *maskBits)
{
    s_pixels.fetches[0]++;
    s_pixels.fetched = s_pixels.core;
    memcpy(graphicsBits, s_pixels.graphicsSurface, CORE_SURFACE_BYTES);
    memcpy(textBits, s_pixels.textSurface, CORE_SURFACE_BYTES);
    memcpy(maskBits, s_pixels.core.planes[4], CORE_PLANE_BYTES);
}

void Pixels_Install(void)
{
    static const FrameAnswers answers = {Pixels_AnswerPaletteChanged, Pixels_AnswerColor,
                                         Pixels_AnswerBuffer, Pixels_AnswerSep};
    Exports_SetFrameAnswers(&answers);
}

const PixelsFrame *Pixels_Fetched(void)
{
    return &s_pixels.fetched;
}

uint32_t Pixels_FetchCount(bool buffer)
{
    return s_pixels.fetches[buffer ? 1 : 0];
}

static uint32_t Pixels_Rgb(uint16_t color)
{
    uint32_t red = (color & 0xF) * 0x11, green = (color >> 4 & 0xF) * 0x11;
    uint32_t blue = (color >> 8 & 0xF) * 0x11;
    return red << 16 | green << 8 | blue;
}

const uint32_t *Pixels_Expected(PixelsRule rule)
{
    const PixelsFrame *frame = &s_pixels.fetched;
    const PixelsPalette *palette = &s_pixels.reported;
    for (int y = 0; y < PIXELS_HEIGHT; y++)
        for (int x = 0; x < PIXELS_WIDTH; x++) {
            int graphics = Pixels_Bit(frame, 0, x, y) | Pixels_Bit(frame, 1, x, y) << 1 |
                           Pixels_Bit(frame, 2, x, y) << 2 | Pixels_Bit(frame, 3, x, y) << 3;
            int text = Pixels_Bit(frame, 5, x, y) | Pixels_Bit(frame, 6, x, y) << 1 |
                       Pixels_Bit(frame, 7, x, y) << 2;
            uint32_t g = Pixels_Rgb(palette->graphics[graphics]);
            uint32_t t = Pixels_Rgb(palette->text[text]);
            uint32_t shown = Pixels_Bit(frame, 4, x, y) ? t : g;
            s_pixels.expected[y * PIXELS_WIDTH + x] = rule == PIXELS_RULE_OR ? (g | t) : shown;
        }
    return s_pixels.expected;
}

const uint32_t *Pixels_ReadWindow(HWND window, int width, int height)
{
    if (width > PIXELS_READ_WIDTH || height > PIXELS_READ_HEIGHT)
        return NULL;
    if (!s_pixels.readDC) {
        BITMAPINFO info;
        memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = PIXELS_READ_WIDTH;
        info.bmiHeader.biHeight = -PIXELS_READ_HEIGHT; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits = NULL;
        HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        if (!bitmap)
            return NULL;
        s_pixels.readDC = CreateCompatibleDC(NULL);
        SelectObject(s_pixels.readDC, bitmap);
        s_pixels.readBits = (uint32_t *)bits;
    }
    GdiFlush();
    HDC dc = GetDC(window);
    BOOL ok = BitBlt(s_pixels.readDC, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    if (!ok)
        return NULL;
    // The fourth byte of a 32-bit pixel is no colour.
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            s_pixels.readBits[y * PIXELS_READ_WIDTH + x] &= 0xFFFFFF;
    return s_pixels.readBits;
}

void Pixels_FillWindow(HWND window, uint32_t rgb)
{
    COLORREF color = RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
    GdiFlush();
}

void Pixels_SetClientSize(HWND window, int width, int height)
{
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    int frameWidth = (outer.right - outer.left) - client.right;
    int frameHeight = (outer.bottom - outer.top) - client.bottom;
    int x = outer.left, y = outer.top;
    // Drawing off the screen is clipped, and the picture must be read back whole.
    if (x + width + frameWidth > GetSystemMetrics(SM_CXSCREEN) ||
        y + height + frameHeight > GetSystemMetrics(SM_CYSCREEN))
        x = y = 0;
    SetWindowPos(window, NULL, x, y, width + frameWidth, height + frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Pixels_NoteMessage(UINT message)
{
    if (message == WM_SIZE)
        s_pixels.sizeMessages++;
}

bool Pixels_SizeSettled(HWND window, int width, int height, uint32_t frame)
{
    // Without a window manager a late WM_SIZE may follow the move: wait until none comes.
    if (s_pixels.sizeMessages != s_pixels.seenSizeMessages || s_pixels.quietSince == 0) {
        s_pixels.seenSizeMessages = s_pixels.sizeMessages;
        s_pixels.quietSince = frame;
    }
    RECT client;
    GetClientRect(window, &client);
    if (client.right != width || client.bottom != height) {
        s_pixels.quietSince = frame;
        return false;
    }
    return frame - s_pixels.quietSince >= PIXELS_QUIET_FRAMES;
}

HBITMAP Pixels_MakeDIB(int width, int height, int bits, const RGBQUAD *colors, int count,
                       void **pixels)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[16];
    } info;
    memset(&info, 0, sizeof info);
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height; // top-down, as CreateBitmap's rows
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)bits;
    info.header.biClrUsed = (DWORD)count;
    if (count)
        memcpy(info.colors, colors, (size_t)count * sizeof(RGBQUAD));
    *pixels = NULL;
    return CreateDIBSection(NULL, (const BITMAPINFO *)&info, DIB_RGB_COLORS, pixels, NULL, 0);
}
