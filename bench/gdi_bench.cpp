// Times the native GDI on what the render modes draw every frame, 640 x 400, and prints the
// median and 90th percentile of each sequence in milliseconds. Prints figures; checks nothing.
//
//   gdi_bench [repetitions (default 300)]
#include "platform/gdi/gdi.h"

#include <chrono>

enum { W = 640, H = 400, PLANE_BYTES = W / 8 * H };

static struct {
    HDC screen;
    uint32_t pixels[800 * 600];
    HBITMAP planes[8];
    HBITMAP graphics, text, mask; // 4-bit DIB sections and the 1-bit DIB mask of even modes
    HBITMAP buffer;               // the 640 x 400 compatible buffer of stretched modes
    uint32_t random;
} s_bench;

static uint32_t Bench_Random(void)
{
    uint32_t x = s_bench.random;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return s_bench.random = x;
}

static int Bench_Compare(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : x > y;
}

static double Bench_Now(void)
{
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A 640 x 400 top-down DIB section of `bpp` bits with random pixels and colours.
static HBITMAP Bench_Dib(int bpp)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[16];
    } info;
    memset(&info, 0, sizeof info);
    info.header.biSize = sizeof info.header;
    info.header.biWidth = W;
    info.header.biHeight = -H;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)bpp;
    for (int i = 0; i < 16; i++) {
        uint32_t c = Bench_Random() & 0xFFFFFF;
        memcpy(&info.colors[i], &c, 4);
    }
    if (bpp == 1) {
        memset(&info.colors[0], 0, 4);
        memset(&info.colors[1], 0xFF, 3);
    }
    uint8_t *bits = 0;
    HBITMAP made = CreateDIBSection(s_bench.screen, (const BITMAPINFO *)&info, DIB_RGB_COLORS,
                                    (void **)&bits, 0, 0);
    for (int i = 0; bits && i < W * bpp / 8 * H; i++)
        bits[i] = (uint8_t)Bench_Random();
    return made;
}

// The plane merge as the front-end does it: one memory DC per plane, the target's colour
// table exchanged for an identity grey table around the blits.
static void Bench_Merge(HDC target, const HBITMAP *planes, int count)
{
    static RGBQUAD grey[16];
    for (int i = 0; i < 16; i++)
        grey[i].rgbBlue = grey[i].rgbGreen = grey[i].rgbRed = (BYTE)i;
    HDC dcs[8];
    HGDIOBJ old[8];
    for (int i = 0; i < count; i++) {
        dcs[i] = CreateCompatibleDC(target);
        old[i] = SelectObject(dcs[i], planes[i]);
    }
    RGBQUAD saved[16];
    UINT n = GetDIBColorTable(target, 0, 16, saved);
    SetDIBColorTable(target, 0, n, grey);
    for (int i = 0; i < count; i++) {
        SetBkColor(target, (COLORREF)(1u << i) * 0x010101u);
        BitBlt(target, 0, 0, W, H, dcs[i], 0, 0, i ? SRCPAINT : SRCCOPY);
    }
    SetBkColor(target, 0xFFFFFF);
    SetDIBColorTable(target, 0, n, saved);
    for (int i = 0; i < count; i++) {
        SelectObject(dcs[i], old[i]);
        DeleteDC(dcs[i]);
    }
}

// MaskBlt with the two compositions' operations: graphics where the mask is 0, text where 1.
static void Bench_MaskBlts(HDC target, HDC graphics, HDC text, HBITMAP mask)
{
    MaskBlt(target, 0, 0, W, H, graphics, 0, 0, mask, 0, 0, 0xCCAA0029);
    MaskBlt(target, 0, 0, W, H, text, 0, 0, mask, 0, 0, 0xAACC0020);
}

// The emulated mask blit's eight plain blits, for one operation pair.
static void Bench_EmulatedMaskBlt(HDC target, HDC source, HDC maskDC, DWORD background,
                                  DWORD foreground)
{
    HDC s1 = CreateCompatibleDC(target), s2 = CreateCompatibleDC(target);
    HBITMAP b1 = CreateCompatibleBitmap(target, W, H), b2 = CreateCompatibleBitmap(target, W, H);
    HGDIOBJ o1 = SelectObject(s1, b1), o2 = SelectObject(s2, b2);
    BitBlt(s1, 0, 0, W, H, source, 0, 0, SRCCOPY);
    BitBlt(s1, 0, 0, W, H, target, 0, 0, background);
    BitBlt(s1, 0, 0, W, H, maskDC, 0, 0, 0x00220326);
    BitBlt(s2, 0, 0, W, H, target, 0, 0, SRCCOPY);
    BitBlt(s2, 0, 0, W, H, source, 0, 0, foreground);
    BitBlt(s2, 0, 0, W, H, maskDC, 0, 0, SRCAND);
    BitBlt(s1, 0, 0, W, H, s2, 0, 0, SRCPAINT);
    BitBlt(target, 0, 0, W, H, s1, 0, 0, SRCCOPY);
    SelectObject(s1, o1);
    SelectObject(s2, o2);
    DeleteObject(b1);
    DeleteObject(b2);
    DeleteDC(s1);
    DeleteDC(s2);
}

typedef enum { SEQ_MODE3, SEQ_MODE2, SEQ_MODE6, SEQ_EMULATED, SEQ_STRETCH, SEQ_COUNT } Sequence;

static const char *const SEQUENCE_NAMES[SEQ_COUNT] = {
    "mode 3: 7 plane merges + 2 MaskBlt (mono DDB mask)",
    "mode 2: 2 MaskBlt (1-bit DIB mask)",
    "mode 6: copy + OR of 4-bit surfaces",
    "mode 4: emulated mask blit, 2 x 8 BitBlt",
    "StretchBlt 640x400 -> 800x600 (32 -> 32)",
};

static void Bench_Run(Sequence sequence)
{
    HDC screen = s_bench.screen;
    HDC graphics = CreateCompatibleDC(screen), text = CreateCompatibleDC(screen);
    HGDIOBJ og = SelectObject(graphics, s_bench.graphics), ot = SelectObject(text, s_bench.text);
    switch (sequence) {
    case SEQ_MODE3:
        Bench_Merge(graphics, &s_bench.planes[0], 4);
        Bench_Merge(text, &s_bench.planes[5], 3);
        Bench_MaskBlts(screen, graphics, text, s_bench.planes[4]);
        break;
    case SEQ_MODE2:
        Bench_MaskBlts(screen, graphics, text, s_bench.mask);
        break;
    case SEQ_MODE6:
        BitBlt(screen, 0, 0, W, H, graphics, 0, 0, SRCCOPY);
        BitBlt(screen, 0, 0, W, H, text, 0, 0, SRCPAINT);
        break;
    case SEQ_EMULATED: {
        HDC maskDC = CreateCompatibleDC(screen);
        HGDIOBJ om = SelectObject(maskDC, s_bench.mask);
        Bench_EmulatedMaskBlt(screen, graphics, maskDC, 0x00CC0020, 0x00AA0029);
        Bench_EmulatedMaskBlt(screen, text, maskDC, 0x00AA0029, 0x00CC0020);
        SelectObject(maskDC, om);
        DeleteDC(maskDC);
        break;
    }
    case SEQ_STRETCH: {
        HDC buffer = CreateCompatibleDC(screen);
        HGDIOBJ ob = SelectObject(buffer, s_bench.buffer);
        StretchBlt(screen, 0, 0, 800, 600, buffer, 0, 0, W, H, SRCCOPY);
        SelectObject(buffer, ob);
        DeleteDC(buffer);
        break;
    }
    default:
        break;
    }
    SelectObject(graphics, og);
    SelectObject(text, ot);
    DeleteDC(graphics);
    DeleteDC(text);
}

int main(int argc, char **argv)
{
    int repetitions = argc > 1 ? atoi(argv[1]) : 300;
    if (repetitions < 1)
        repetitions = 1;
    s_bench.random = 0x600DCAFE;
    s_bench.screen = Gdi_CreateSurfaceDC();
    static uint8_t bits[PLANE_BYTES];
    for (int k = 0; k < 8; k++) {
        s_bench.planes[k] = CreateBitmap(W, H, 1, 1, 0);
        for (int i = 0; i < PLANE_BYTES; i++)
            bits[i] = (uint8_t)Bench_Random();
        SetBitmapBits(s_bench.planes[k], PLANE_BYTES, bits);
    }
    s_bench.graphics = Bench_Dib(4);
    s_bench.text = Bench_Dib(4);
    s_bench.mask = Bench_Dib(1);
    s_bench.buffer = CreateCompatibleBitmap(s_bench.screen, W, H);
    printf("%-52s %9s %9s\n", "sequence (native GDI)", "median ms", "p90 ms");
    double *times = (double *)malloc(sizeof(double) * (size_t)repetitions);
    if (!times)
        return 1;
    for (int q = 0; q < SEQ_COUNT; q++) {
        bool stretch = q == SEQ_STRETCH;
        Gdi_SetSurface(s_bench.screen, s_bench.pixels, stretch ? 800 : W, stretch ? 600 : H,
                       (stretch ? 800 : W) * 4);
        for (int r = 0; r < 10; r++) // warm the caches and the allocator first
            Bench_Run((Sequence)q);
        for (int r = 0; r < repetitions; r++) {
            double start = Bench_Now();
            Bench_Run((Sequence)q);
            times[r] = Bench_Now() - start;
        }
        qsort(times, (size_t)repetitions, sizeof(double), Bench_Compare);
        printf("%-52s %9.3f %9.3f\n", SEQUENCE_NAMES[q], times[repetitions / 2],
               times[repetitions * 9 / 10]);
    }
    // What the set-up made: 8 planes, 3 DIB sections and the buffer; every run cleans up.
    printf("objects alive after the runs: %u of the set-up's 12\n", Gdi_LiveObjects());
    free(times);
    return 0;
}
