// GDI conformance cases: raster operations between every pair of formats, mask blits,
// stretching, parallelogram blits, clipping, colour tables, palettes, bits and object rules.
// Each case draws with the platform's GDI subset only and reports what came out: pixels read
// from DIB memory or through a 32-bit DIB section, then the calls' results.
#include "scripts/gdi/gdi_cases.h"

#include <stdarg.h>

enum {
    MAX_VALUES = 1604 * 1004 + 1024, // the largest picture, 1600 x 1000 with margins; results
    CROWDED = 1, // colour tables of near colours, where rounding decides the nearest entry
    TWICE = 2,   // colour tables of eight colours over and over: indices and colours part
    SHARED = 4,  // an indexed source and destination share one table
    RESET = 8,   // ... and the destination's is set again, which clears the reserved bytes
    FEW = 16,    // 32-bit sources of four colours around their DC's background colour
    ALL = -1,    // all 256 operations at three places
    GRID = -2,   // mask blits: every pair of MASK_ROPS
    PAIRS = -3,  // mask blits: MASK_PAIRS
};

// A bitmap selected into a memory DC, or the screen itself.
typedef struct {
    char kind; // 'W' screen, 'C' compatible DDB, 'M' monochrome DDB, '1' '4' '8' 'X': DIB 1/4/8/32
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ displaced;
    uint8_t *bits; // DIB sections
    int width, height, bpp, stride, colors;
    bool bottomUp;
} Pic;

static struct {
    GdiCasesReport report;
    HDC screen;
    uint32_t random;
    int cases, n; // cases reported; values gathered for the next one
    uint32_t values[MAX_VALUES];
    RGBQUAD table[256];
} s;

static uint32_t Random(void)
{
    uint32_t x = s.random; // xorshift32
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return s.random = x;
}

static void Add(uint32_t value)
{
    s.values[s.n++] = value;
}

static void Report(const char *format, ...)
{
    char name[128];
    va_list args;
    va_start(args, format);
    vsnprintf(name, sizeof name, format, args);
    va_end(args);
    uint32_t h = 2166136261u; // FNV-1a over the values' bytes
    for (int i = 0; i < s.n; i++)
        for (int b = 0; b < 32; b += 8)
            h = (h ^ ((s.values[i] >> b) & 0xFF)) * 16777619u;
    s.report(name, h, s.values, s.n);
    s.cases++, s.n = 0;
}

static void RandomTable(int options)
{
    for (int i = 0; i < 256; i++) {
        uint32_t r = Random(), c = (options & CROWDED) ? 0x707070 + (r & 0x1F1F1F) : r;
        memcpy(&s.table[i], &c, 4);
    }
    for (int i = 8; (options & TWICE) && i < 256; i++)
        s.table[i] = s.table[i % 8];
}

// A BITMAPINFO with room for 256 colours or palette indices, its header filled in.
typedef struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
} Info;

static void Info_Set(Info *info, int width, int height, int bpp, int used)
{
    memset(info, 0, sizeof *info);
    info->header.biSize = sizeof info->header, info->header.biPlanes = 1;
    info->header.biWidth = width, info->header.biHeight = height;
    info->header.biBitCount = (WORD)bpp, info->header.biClrUsed = (DWORD)used;
}

static Pic Pic_Make(char kind, int width, int height, int used)
{
    Pic p;
    memset(&p, 0, sizeof p);
    p.kind = kind, p.dc = s.screen, p.width = width, p.height = height;
    if (kind == 'W')
        return p;
    if (kind == 'M' || kind == 'C') {
        p.bitmap = kind == 'M' ? CreateBitmap(width, height, 1, 1, 0)
                               : CreateCompatibleBitmap(s.screen, width, height);
    } else {
        p.bpp = kind == 'X' ? 32 : kind - '0', p.bottomUp = Random() & 1;
        p.stride = (width * p.bpp + 31) / 32 * 4;
        p.colors = p.bpp > 8 ? 0 : used ? used : 1 << p.bpp;
        Info info;
        Info_Set(&info, width, p.bottomUp ? height : -height, p.bpp, p.bpp <= 8 ? used : 0);
        memcpy(info.colors, s.table, sizeof info.colors);
        p.bitmap = CreateDIBSection(s.screen, (const BITMAPINFO *)&info, DIB_RGB_COLORS,
                                    (void **)&p.bits, 0, 0);
    }
    p.dc = CreateCompatibleDC(s.screen);
    p.displaced = SelectObject(p.dc, p.bitmap);
    return p;
}

static void Pic_Free(Pic *p)
{
    if (p->kind == 'W' || !p->dc)
        return;
    SelectObject(p->dc, p->displaced);
    DeleteDC(p->dc);
    DeleteObject(p->bitmap);
}

static uint8_t *Pic_Row(const Pic *p, int y)
{
    return p->bits + (p->bottomUp ? p->height - 1 - y : y) * p->stride;
}

// Random pixels; `few`: 32-bit ones of four colours around `key`.
static void Pic_Fill(Pic *p, bool few, uint32_t key)
{
    if (p->kind == 'M') {
        static uint8_t bytes[32000]; // a 640 x 400 plane
        int count = (p->width + 15) / 16 * 2 * p->height;
        for (int i = 0; i < count; i++)
            bytes[i] = (uint8_t)Random();
        SetBitmapBits(p->bitmap, count, bytes);
    } else if (!p->bits) { // the screen and compatible bitmaps: through a copy
        Pic source = Pic_Make('X', p->width, p->height, 0);
        Pic_Fill(&source, few, key);
        BitBlt(p->dc, 0, 0, p->width, p->height, source.dc, 0, 0, SRCCOPY);
        Pic_Free(&source);
    }
    for (int y = 0; p->bits && y < p->height; y++)
        for (int x = 0; x < p->width; x++) {
            uint32_t r = Random();
            const uint32_t choice[4] = {key, key | 0x7F000000, key ^ 1, r & 0xFFFFFF};
            uint8_t *row = Pic_Row(p, y);
            if (p->bpp == 32) {
                ((uint32_t *)row)[x] = few ? choice[r >> 30] : r;
                continue;
            }
            int bit = x * p->bpp, shift = 8 - p->bpp - (bit & 7);
            row[bit >> 3] = (uint8_t)((row[bit >> 3] & ~(((1 << p->bpp) - 1) << shift)) |
                                      (r % p->colors) << shift);
        }
}

// Adds a picture's pixels to the values: DIB memory as stored, anything else read through
// a 32-bit DIB section first filled with a marker.
static void Pic_Add(const Pic *p)
{
    if (!p->bits) {
        Pic r = Pic_Make('X', p->width, p->height, 0);
        memset(r.bits, 0xA5, (size_t)r.stride * r.height);
        BitBlt(r.dc, 0, 0, p->width, p->height, p->dc, 0, 0, SRCCOPY);
        Pic_Add(&r);
        Pic_Free(&r);
        return;
    }
    for (int y = 0; y < p->height; y++)
        for (int x = 0; x < p->width; x++) {
            const uint8_t *row = Pic_Row(p, y);
            int bit = x * p->bpp;
            Add(p->bpp == 32 ? ((const uint32_t *)row)[x]
                             : (row[bit >> 3] >> (8 - p->bpp - (bit & 7))) & ((1 << p->bpp) - 1));
        }
}

// ---- the blits: each row names its call, pictures, rectangles, settings and operations ----
//   B BitBlt, S StretchBlt, M MaskBlt, P PlgBlt (an axis-aligned one: corner, width, height)
//   <dst><-<src>[/<mask>]: kinds as Pic's; source N: none, =: the destination itself; mask M:
//   monochrome DDB, 1: black and white DIB, I: white and black DIB, R: coloured DIB
//   x,y WxH [<- x,y [WxH]] [mask x,y WxH]: rectangles (without them: the three PLACES)
//   all grid pairs / rop XX (MaskBlt: back and fore, XXYY); brush N; used N (table entries);
//   colours TEXT BACK; crowded twice shared reset few
static const char *const BLITS[] = {
    "B X<-X all", "B X<-4 all", "B X<-8 all used 20", "B X<-M all", "B X<-1 all", "B X<-N all",
    "B X<-X all brush 2", "B X<-N all brush 4", "B C<-C all", "B C<-M all", "B C<-X all few",
    "B W<-4 all", "B W<-M all", "B W<-N all", "B X<-W all", "B 4<-M all", "B 4<-1 all",
    "B 4<-X all", "B 4<-X all crowded", "B 4<-4 all", "B 4<-4 all crowded", "B 4<-4 all shared",
    "B 4<-4 all shared twice", "B 4<-4 all twice", "B 4<-4 all shared twice reset",
    "B 8<-8 all shared twice", "B X<-X all brush 5", "B X<-N all brush 5", "B 4<-N all brush 5",
    "B M<-N all brush 2", "B M<-X all brush 2 few", "B 4<-8 all", "B 4<-N all",
    "B 4<-X all brush 2", "B 4<-4 all used 6", "B 8<-4 all", "B 8<-X all few", "B M<-X all few",
    "B M<-4 all few", "B M<-M all", "B M<-1 all", "B M<-N all", "B 1<-X all few", "B 1<-M all",
    "B 1<-1 all",
    // Clipping: rectangles partly or wholly outside either side, negative and zero sizes.
    "B X<-X -3,-2 10x6 <- 0,0", "B X<-4 65,3 20x9 <- 0,0 rop EE", "B X<-X 2,2 10x6 <- -4,-3",
    "B X<-4 2,2 10x6 <- 66,4 rop EE", "B X<-X 2,2 -10x6 <- 20,1", "B X<-4 20,2 10x-6 <- 3,7",
    "B X<-X 20,6 -10x-4 <- 9,5", "B X<-4 20,6 -10x-4 <- 9,5 rop EE", "B X<-X 2,2 0x6 <- 1,1",
    "B X<-4 2,2 10x0 <- 1,1", "B X<-X 80,0 10x5 <- 0,0", "B X<-4 2,2 10x5 <- 80,0",
    "B X<-X -20,0 10x5 <- 0,0", "B X<-4 2,2 10x5 <- -20,-9", "B X<-X -5,-5 90x20 <- -3,-2",
    "B X<-4 -5,-5 90x20 <- -3,-2 rop EE",
    // One bitmap on both sides, overlapping every way. Not here: a monochrome DDB moved right
    // onto itself, where Wine also changes pixels beyond the rectangle's last byte.
    "B X<-= 2,1 60x5 <- 0,0", "B X<-= 0,0 60x5 <- 2,1", "B X<-= 3,0 60x5 <- 0,0 rop EE",
    "B X<-= 0,2 60x5 <- 0,0", "B X<-= 1,0 60x5 <- 0,2", "B 4<-= 2,1 60x5 <- 0,0 rop EE",
    "B 4<-= 0,0 60x5 <- 3,0", "B 4<-= 1,0 60x5 <- 0,2", "B M<-= 0,1 60x5 <- 2,0",
    "B M<-= 0,0 60x5 <- 2,1 rop EE", "B M<-= 0,0 60x5 <- 3,0", "B M<-= 0,2 60x5 <- 0,0",
    // Monochrome sources with palette indices, palette-relative colours, DIBINDEX.
    "B X<-M 0,0 24x3 <- 0,0 colours 01000003 0100000D",
    "B 4<-M 0,0 24x3 <- 0,0 colours 02123456 02FEDCBA",
    "B X<-M 0,0 24x3 <- 0,0 colours 01000019 01000300",
    "B X<-M 0,0 24x3 <- 0,0 colours 10FF0002 04808080",
    "B 4<-M 0,0 24x3 <- 0,0 colours 10FF0002 04808080",
    // Mask blits.
    "M X<-4/M 3,1 37x5 <- 5,2 mask 6,1 48x8 grid", "M X<-4/1 3,1 37x5 <- 5,2 mask 6,1 48x8 grid",
    "M X<-4/M 0,0 48x8 <- 0,0 mask 0,0 48x8 pairs", "M X<-4/M 1,1 40x6 <- 4,1 mask 6,1 48x8 pairs",
    "M X<-4/1 1,1 41x6 <- 5,1 mask 7,1 48x8 pairs", "M X<-4/I 3,1 37x5 <- 5,2 mask 6,1 48x8 pairs",
    "M X<-4/R 3,1 37x5 <- 5,2 mask 6,1 48x8 pairs", "M X<-4/M 1,0 45x8 <- 2,0 mask 3,2 10x3 pairs",
    "M X<-4 3,1 37x5 <- 5,2 pairs", "M X<-M/M 3,1 37x5 <- 5,2 mask 6,1 48x8 pairs",
    "M X<-X/1 3,1 37x5 <- 5,2 mask 6,1 48x8 pairs", "M W<-4/M 3,1 37x5 <- 5,2 mask 6,1 48x8 pairs",
    "M C<-4/1 3,1 37x5 <- 5,2 mask 6,1 48x8 pairs", "M 4<-4/M 3,1 37x5 <- 5,2 mask 6,1 48x8 pairs",
    "M X<-4/M 3,1 37x5 <- 20,-2 mask 6,1 48x8 pairs",
    "M X<-4/M -5,4 37x7 <- 5,0 mask 6,1 48x8 pairs",
    "M X<-4/1 3,1 37x5 <- 5,2 mask 30,5 48x8 pairs", "M X<-4/M 25,2 -20x4 <- 1,1 mask 2,1 32x8",
    "M X<-4/M 25,2 20x0 <- 1,1 mask 2,1 32x8", "M X<-N/M 25,2 20x4 <- 1,1 mask 2,1 32x8 rop 55AA",
    "M M<-4/M 25,2 20x4 <- 1,1 mask 2,1 32x8", "M M<-4/M 25,2 20x4 <- 1,1 mask 2,1 32x8 rop 66EE",
    "M 1<-4/M 25,2 20x4 <- 1,1 mask 2,1 32x8 rop AACC",
    // Stretching: growing, shrinking, mirrored, clipped, between formats.
    "S X<-X 2,2 800x600 <- 2,2 640x400", "S X<-C 2,2 1280x800 <- 2,2 640x400",
    "S X<-X 2,2 641x401 <- 2,2 640x400", "S X<-X 2,2 320x200 <- 2,2 640x400",
    "S X<-X 2,2 500x300 <- 2,2 640x400", "S X<-X 2,2 1x1 <- 2,2 640x400",
    "S X<-X 0,0 1600x1000 <- 2,2 640x400", "S X<-X 2,2 13x11 <- 2,2 7x5",
    "S X<-X 2,2 7x5 <- 2,2 13x11", "S X<-X 2,2 3x3 <- 2,2 10x10", "S X<-X 2,2 10x10 <- 2,2 3x3",
    "S X<-X 2,2 1x1 <- 2,2 2x1", "S X<-X 2,2 1x1 <- 2,2 3x1", "S X<-X 2,2 9x7 <- 2,2 1x1",
    "S X<-X 2,2 1x9 <- 2,2 100x3", "S X<-X 2,2 5x12 <- 2,2 5x5", "S X<-X 2,2 16x9 <- 2,2 17x9",
    "S X<-X 2,2 17x9 <- 2,2 16x9", "S X<-X 16,2 -13x11 <- 2,2 7x5", "S X<-X 2,2 13x11 <- 9,2 -7x5",
    "S X<-X 2,2 13x11 <- 2,7 7x-5", "S X<-X 2,14 13x-11 <- 2,2 7x5",
    "S X<-X 16,14 -13x-11 <- 9,7 -7x-5", "S X<-X 10,2 -7x5 <- 2,2 13x11",
    "S X<-X 2,2 7x5 <- 15,2 -13x11", "S X<-X 2,2 7x5 <- 2,2 7x5", "S X<-X 10,2 -7x5 <- 2,2 7x5",
    "S X<-X 2,2 13x11 <- 2,2 7x5 rop EE", "S X<-X 2,2 7x5 <- 2,2 13x11 rop 88",
    "S X<-X 2,2 7x5 <- 2,2 13x11 rop 66", "S X<-X -4,-3 13x11 <- 2,2 7x5",
    "S X<-X 8,9 13x11 <- 2,2 7x5", "S X<-X 2,2 13x11 <- -2,-1 7x5", "S X<-X 2,2 13x11 <- 6,4 7x5",
    "S X<-X 2,2 7x5 <- -4,5 13x11", "S X<-X 2,2 0x11 <- 2,2 7x5", "S X<-X 2,2 13x11 <- 2,2 0x5",
    "S X<-4 2,2 13x11 <- 2,2 7x5", "S X<-4 2,2 7x5 <- 2,2 13x11", "S X<-M 2,2 13x11 <- 2,2 7x5",
    "S X<-M 2,2 7x5 <- 2,2 13x11", "S 4<-X 2,2 7x5 <- 2,2 13x11", "S 4<-4 2,2 7x5 <- 2,2 13x11",
    "S M<-M 2,2 7x5 <- 2,2 13x11", "S W<-C 0,0 800x600 <- 2,2 640x400",
    "S W<-C 0,0 320x200 <- 2,2 640x400",
    // Parallelogram blits of a 16 x 16 tile: upright, mirrored, scaled, at the edges.
    "P X<-X 8,10 16x16 <- 0,0 16x16", "P X<-4 8,25 16x-16 <- 0,0 16x16",
    "P X<-X 8,25 16x-16 <- 0,0 16x16", "P X<-4 8,15 16x-16 <- 0,0 16x16",
    "P X<-4 23,10 -16x16 <- 0,0 16x16", "P X<-X 23,25 -16x-16 <- 0,0 16x16",
    "P X<-4 8,10 32x32 <- 0,0 16x16", "P X<-X 8,10 8x8 <- 0,0 16x16",
    "P X<-4 -12,10 16x16 <- 0,0 16x16"};

// The three places of "all": moved left, byte-aligned, moved right.
static const int PLACES[3][6] = {{3, 1, 37, 5, 5, 2}, {0, 0, 64, 3, 8, 1}, {6, 2, 30, 5, 3, 1}};
static const uint8_t MASK_ROPS[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x5A, 0x66,
                                      0x88, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xF0, 0xFF};
static const uint16_t MASK_PAIRS[8] = {0xCCAA, 0xAACC, 0xCCCC, 0x8866,
                                       0xFF00, 0xF05A, 0x22EE, 0xBB33};

typedef struct {
    char call, dst, src, mask;
    int g[10]; // x, y, width, height, source x, y, width, height, mask x, y
    int maskWidth, maskHeight, brush, options, used, rop;
    unsigned colors[2]; // text and background (0, 0: random)
} Blit;

static void Blit_Parse(const char *text, Blit *b)
{
    memset(b, 0, sizeof *b);
    b->brush = -1, b->rop = 0xCC, b->mask = 'N';
    char words[160], *w[24];
    snprintf(words, sizeof words, "%s ", text);
    int n = 0; // the words, each ended where its space was
    for (char *p = words, *space; n < 24 && (space = strchr(p, ' ')); p = space + 1)
        *space = 0, w[n++] = p;
    b->call = w[0][0];
    b->dst = w[1][0], b->src = w[1][3], b->mask = w[1][4] == '/' ? w[1][5] : 'N';
    int part = 0; // 0: destination, 1: source, 2: mask
    for (int i = 2; i < n; i++) {
        int a, c;
        if (!strcmp(w[i], "<-") || !strcmp(w[i], "mask"))
            part = w[i][0] == '<' ? 1 : 2;
        else if (sscanf(w[i], "%d,%d", &a, &c) == 2)
            b->g[part == 2 ? 8 : 4 * part] = a, b->g[part == 2 ? 9 : 4 * part + 1] = c;
        else if (sscanf(w[i], "%dx%d", &a, &c) == 2 && part == 2)
            b->maskWidth = a, b->maskHeight = c;
        else if (sscanf(w[i], "%dx%d", &a, &c) == 2)
            b->g[4 * part + 2] = a, b->g[4 * part + 3] = c;
        else if (!strcmp(w[i], "rop"))
            b->rop = (int)strtol(w[++i], 0, 16);
        else if (!strcmp(w[i], "brush") || !strcmp(w[i], "used"))
            *(w[i][0] == 'b' ? &b->brush : &b->used) = atoi(w[i + 1]), i++;
        else if (!strcmp(w[i], "colours"))
            b->colors[0] = (unsigned)strtoul(w[i + 1], 0, 16),
            b->colors[1] = (unsigned)strtoul(w[i + 2], 0, 16), i += 2;
        else {
            static const char *const flags[] = {"crowded", "twice", "shared", "reset",
                                                "few",     "all",   "grid",   "pairs"};
            static const int values[] = {CROWDED, TWICE, SHARED, RESET, FEW, ALL, GRID, PAIRS};
            for (int k = 0; k < 8; k++)
                if (!strcmp(w[i], flags[k]) && k < 5)
                    b->options |= values[k];
                else if (!strcmp(w[i], flags[k]))
                    b->rop = values[k];
        }
    }
}

static BOOL Blit_Call(const Blit *b, const int *g, HDC dst, HDC src, HBITMAP mask, int rop)
{
    switch (b->call) {
    case 'S':
        return StretchBlt(dst, g[0], g[1], g[2], g[3], src, g[4], g[5], g[6], g[7],
                          (DWORD)rop << 16);
    case 'M':
        return MaskBlt(dst, g[0], g[1], g[2], g[3], src, g[4], g[5], mask, g[8], g[9],
                       (DWORD)(rop >> 8) << 24 | (DWORD)(rop & 0xFF) << 16);
    case 'P': {
        const POINT corners[3] = {{g[0], g[1]}, {g[0] + g[2], g[1]}, {g[0], g[1] + g[3]}};
        return PlgBlt(dst, corners, src, g[4], g[5], g[6], g[7], 0, 0, 0);
    }
    default:
        return BitBlt(dst, g[0], g[1], g[2], g[3], src, g[4], g[5], (DWORD)rop << 16);
    }
}

static void Cases_Blit(const char *text, int index)
{
    Blit b;
    Blit_Parse(text, &b);
    s.random = 0x1234567u + 7919u * (uint32_t)index;
    RandomTable(b.options);
    // Pictures: 72 x 8, or room for a stretch's rectangles, or a tile and its surroundings.
    int dw = 72, dh = 8, sw = 72, sh = 8;
    if (b.call == 'S')
        dw = abs(b.g[2]) + 4, dh = abs(b.g[3]) + 4, sw = abs(b.g[6]) + 4, sh = abs(b.g[7]) + 4;
    if (b.call == 'P')
        dw = dh = 48, sw = b.g[6], sh = b.g[7];
    if (b.dst == 'W') // the screen's top left corner, as much of it as the blit needs
        dw = dw < 640 ? dw : 640, dh = dh < 400 ? dh : 400;
    const uint32_t key = Random() & 0xFFFFFF;
    Pic src, mask;
    memset(&src, 0, sizeof src);
    memset(&mask, 0, sizeof mask);
    if (b.src != 'N' && b.src != '=') {
        src = Pic_Make(b.src, sw, sh, b.used);
        Pic_Fill(&src, (b.options & FEW) != 0, key);
        RGBQUAD entry; // the key among the colours, for indexed sources onto monochrome
        memcpy(&entry, &key, 4);
        if (src.bpp == 4 || src.bpp == 8)
            SetDIBColorTable(src.dc, 1, 1, &entry);
        SetBkColor(src.dc, key);
        SetTextColor(src.dc, Random() & 0xFFFFFF);
    }
    if (!(b.options & SHARED))
        RandomTable(b.options);
    Pic dst = Pic_Make(b.dst, dw, dh, b.used);
    if (b.src == '=')
        src = dst;
    uint32_t textColor = Random() & 0xFFFFFF, back = Random() & 0xFFFFFF;
    SetTextColor(dst.dc, b.colors[0] || b.colors[1] ? b.colors[0] : textColor);
    SetBkColor(dst.dc, b.colors[0] || b.colors[1] ? b.colors[1] : back);
    if (b.options & RESET)
        SetDIBColorTable(dst.dc, 0, 256, s.table);
    HGDIOBJ brush = b.brush >= 0 ? SelectObject(dst.dc, GetStockObject(b.brush)) : 0;
    if (b.mask != 'N') {
        static const uint32_t tables[3][2] = {{0, 0xFFFFFF}, {0xFFFFFF, 0}, {0x3366CC, 0xCC9933}};
        const char *dib = strchr("1IR", b.mask);
        if (dib)
            memcpy(s.table, tables[dib - "1IR"], sizeof tables[0]);
        mask = Pic_Make(dib ? '1' : 'M', b.maskWidth, b.maskHeight, 2);
        Pic_Fill(&mask, false, 0);
    }
    const uint32_t fill = Random();
    int count = b.rop == ALL ? 3 * 256 : b.rop == GRID ? 256 : b.rop == PAIRS ? 8 : 1;
    for (int k = 0; k < count; k++) {
        int g[10], rop = b.rop == ALL ? k & 0xFF : b.rop;
        memcpy(g, b.g, sizeof g);
        if (b.rop == ALL)
            memcpy(g, PLACES[k >> 8], sizeof PLACES[0]);
        if (b.rop == GRID)
            rop = MASK_ROPS[k & 15] << 8 | MASK_ROPS[k >> 4];
        if (b.rop == PAIRS)
            rop = MASK_PAIRS[k];
        s.random = fill;
        Pic_Fill(&dst, false, 0);
        BOOL ok = Blit_Call(&b, g, dst.dc, b.src == 'N' ? 0 : src.dc, mask.bitmap, rop);
        Pic_Add(&dst);
        Add((uint32_t)ok);
        if (b.rop == ALL)
            Report("%s %c %02X", text, 'a' + (k >> 8), rop);
        else
            Report(b.rop < 0 ? "%s %04X" : "%s", text, rop);
    }
    if (brush)
        SelectObject(dst.dc, brush);
    SetBkColor(s.screen, 0xFFFFFF);
    SetTextColor(s.screen, 0);
    Pic_Free(&mask);
    Pic_Free(&dst);
    if (b.src != '=')
        Pic_Free(&src);
}

// ---- colour tables, palettes, bits and objects ----

static void AddTable(const RGBQUAD *colors, int n)
{
    for (int i = 0; i < n; i++)
        Add((uint32_t)colors[i].rgbReserved << 24 | (uint32_t)colors[i].rgbRed << 16 |
            colors[i].rgbGreen << 8 | colors[i].rgbBlue);
}

// DIB sections made with palette indices: through the screen with a 24-entry palette
// selected, and through a memory DC with the default palette.
static void Cases_PaletteIndices(void)
{
    struct {
        WORD version, count;
        PALETTEENTRY entries[24];
    } logical = {0x300, 24, {}};
    s.random = 0x5555u;
    for (int i = 0; i < 24; i++)
        logical.entries[i] = {(BYTE)Random(), (BYTE)Random(), (BYTE)Random(), 0};
    HPALETTE palette = CreatePalette((const LOGPALETTE *)&logical);
    HPALETTE displaced = SelectPalette(s.screen, palette, FALSE);
    Add(RealizePalette(s.screen));
    for (int start = 20; start <= 24; start += 2) // partly and wholly past the end
        Add(SetPaletteEntries(palette, start, 4, logical.entries));
    HDC memory = CreateCompatibleDC(s.screen);
    static const int rows[][3] = {{4, 0, 1}, {4, 16, 1}, {4, 10, 1}, {4, 30, 17}, {8, 0, 7}};
    for (int k = 0; k < 5; k++) { // depth, first index, step between indices
        Info info;
        Info_Set(&info, 8, -2, rows[k][0], 0);
        for (int i = 0; i < 256; i++)
            ((WORD *)info.colors)[i] = (WORD)(rows[k][1] + i * rows[k][2]);
        void *bits = 0;
        HBITMAP made = CreateDIBSection(k & 1 ? memory : s.screen, (const BITMAPINFO *)&info,
                                        DIB_PAL_COLORS, &bits, 0, 0);
        HGDIOBJ old = SelectObject(memory, made);
        memset(info.colors, 0xEE, sizeof info.colors);
        Add(GetDIBColorTable(memory, 0, 256, info.colors));
        AddTable(info.colors, 1 << rows[k][0]);
        SelectObject(memory, old);
        DeleteObject(made);
    }
    Report("palette indices into colour tables");
    SelectPalette(s.screen, displaced, FALSE);
    DeleteDC(memory);
    DeleteObject(palette);
}

// Get/SetDIBColorTable counts and contents at the edges; SetBitmapBits with awkward widths
// and counts.
static void Cases_TablesAndBits(void)
{
    static const struct {
        char kind;
        int used, start, count;
    } tables[] = {{'4', 0, 0, 16}, {'4', 0, 14, 5}, {'4', 0, 16, 1},   {'4', 6, 0, 16},
                  {'4', 6, 5, 3},  {'1', 0, 0, 2},  {'1', 0, 1, 9},    {'8', 0, 250, 10},
                  {'X', 0, 0, 4},  {'M', 0, 0, 2},  {'8', 20, 0, 256}, {'4', 0, 0, 0}};
    for (int k = 0; k < (int)(sizeof tables / sizeof tables[0]); k++) {
        s.random = 0x1111u + k;
        RandomTable(0);
        Pic p = Pic_Make(tables[k].kind, 4, 2, tables[k].used);
        RandomTable(0);
        RGBQUAD colors[2][256];
        memset(colors, 0xEE, sizeof colors);
        Add(SetDIBColorTable(p.dc, tables[k].start, tables[k].count, s.table));
        Add(GetDIBColorTable(p.dc, tables[k].start, tables[k].count, colors[0]));
        Add(GetDIBColorTable(p.dc, 0, 256, colors[1]));
        AddTable(colors[0], 2 * 256);
        Report("colour table %c/%d from %d count %d", p.kind, tables[k].used, tables[k].start,
               tables[k].count);
        Pic_Free(&p);
    }
    static const int bits[][4] = {{'M', 640, 400, 32000}, {'M', 13, 5, 10}, {'M', 13, 5, 7},
                                  {'M', 13, 5, 40},       {'M', 17, 3, 12}, {'M', 8, 4, 0},
                                  {'C', 9, 3, 108},       {'4', 9, 3, 15}};
    static uint8_t bytes[32768];
    for (int k = 0; k < 8; k++) {
        s.random = 0x2222u + k;
        for (size_t i = 0; i < sizeof bytes; i++)
            bytes[i] = (uint8_t)Random();
        Pic p = Pic_Make((char)bits[k][0], bits[k][1], bits[k][2], 0);
        if (p.kind == 'M')
            SetBitmapBits(p.bitmap, 32000, bytes + 1); // then partly overwritten
        Add((uint32_t)SetBitmapBits(p.bitmap, bits[k][3], bytes));
        Pic_Add(&p);
        Report("SetBitmapBits %c %dx%d count %d", p.kind, p.width, p.height, bits[k][3]);
        Pic_Free(&p);
    }
}

// SetDIBits: an 8-bit core-header description into the 4-bit tile made from it (as the
// placeholder does it), and info-header descriptions of other depths, row orders, palette
// indices and runs of lines into other bitmaps.
static void Cases_SetDIBits(void)
{
    static const struct {
        char into; // T: the tile, a 4-bit DIB section made from the core description
        int bpp, height, start, lines, usage;
        bool same; // pixels of the tile's 16 colours only
    } rows[] = {{'T', 8, 16, 0, 16, 0, 1}, {'T', 8, 16, 0, 16, 0, 0}, {'T', 8, 16, 4, 8, 0, 1},
                {'T', 8, 16, 0, 20, 0, 1}, {'X', 4, -6, 0, 6, 0, 0},  {'X', 4, -6, 2, 3, 0, 0},
                {'X', 4, 6, 2, 3, 0, 0},   {'4', 1, 6, 0, 6, 0, 0},   {'8', 32, 6, 0, 6, 0, 0},
                {'X', 8, 6, 0, 6, 1, 0},   {'C', 4, 4, 0, 4, 0, 0},   {'M', 32, -6, 1, 5, 0, 0},
                {'X', 32, 6, 1, 9, 0, 0},  {'X', 32, -6, 4, 2, 0, 0}, {'X', 32, -6, 7, 2, 0, 0},
                {'X', 32, 6, 7, 2, 0, 0}};
    static uint32_t data[16 * 32]; // more lines than any description, read or not
    for (int k = 0; k < (int)(sizeof rows / sizeof rows[0]); k++) {
        s.random = 0x3333u + k;
        RandomTable(0);
        Info info;
        Info_Set(&info, 10, rows[k].height, rows[k].bpp, 0);
        memcpy(info.colors, s.table, sizeof info.colors);
        struct {
            BITMAPCOREHEADER header;
            RGBTRIPLE colors[256];
        } core = {{sizeof(BITMAPCOREHEADER), 16, 16, 1, 4}, {}};
        for (int i = 0; i < 256; i++)
            core.colors[i] = {s.table[i].rgbBlue, s.table[i].rgbGreen, s.table[i].rgbRed};
        const BITMAPINFO *description =
            rows[k].into == 'T' ? (const BITMAPINFO *)&core : (const BITMAPINFO *)&info;
        for (int i = 0; i < 16 * 32; i++)
            data[i] = Random() & (rows[k].same ? 0x0F0F0F0F : 0xFFFFFFFF);
        Pic p;
        if (rows[k].into == 'T') { // 16 x 16, bottom-up
            memset(&p, 0, sizeof p);
            p.kind = '4', p.width = p.height = 16, p.bpp = 4, p.stride = 8, p.bottomUp = true;
            p.bitmap =
                CreateDIBSection(s.screen, description, DIB_RGB_COLORS, (void **)&p.bits, 0, 0);
            p.dc = CreateCompatibleDC(s.screen);
            p.displaced = SelectObject(p.dc, p.bitmap);
            core.header.bcBitCount = 8;
        } else {
            RandomTable(0);
            p = Pic_Make(rows[k].into, 12, 8, 0);
            Pic_Fill(&p, false, 0);
        }
        Add((uint32_t)SetDIBits(p.dc, p.bitmap, rows[k].start, rows[k].lines, data, description,
                                rows[k].usage));
        Pic_Add(&p);
        Report("SetDIBits %d bits height %d lines %d+%d usage %d into %c%s", rows[k].bpp,
               rows[k].height, rows[k].start, rows[k].lines, rows[k].usage, rows[k].into,
               rows[k].same ? " same colours" : "");
        Pic_Free(&p);
    }
}

// The plane merge as the render modes do it: monochrome planes into a 4-bit DIB section
// through an identity grey table; and what CreateCompatibleBitmap makes for each kind of DC
// (a 32-bit picture drawn into it and read back shows its format).
static void Cases_MergeAndCompatible(void)
{
    for (int dib = 0; dib < 2; dib++) {
        s.random = 0x4444u + dib;
        RandomTable(0);
        Pic target = Pic_Make('4', 640, 400, 16);
        Pic_Fill(&target, false, 0);
        RGBQUAD grey[16], saved[16];
        for (int i = 0; i < 16; i++)
            grey[i] = {(BYTE)i, (BYTE)i, (BYTE)i, 0};
        s.table[0] = {0, 0, 0, 0}, s.table[1] = {255, 255, 255, 0}; // DIB planes
        GetDIBColorTable(target.dc, 0, 16, saved);
        SetDIBColorTable(target.dc, 0, 16, grey);
        for (int i = 0; i < 4; i++) {
            Pic plane = Pic_Make(dib ? '1' : 'M', 640, 400, 2);
            Pic_Fill(&plane, false, 0);
            SetBkColor(target.dc, (1u << i) * 0x010101u);
            Add(BitBlt(target.dc, 0, 0, 640, 400, plane.dc, 0, 0, i ? SRCPAINT : SRCCOPY));
            Pic_Free(&plane);
        }
        SetDIBColorTable(target.dc, 0, 16, saved);
        Pic_Add(&target);
        Report(dib ? "merge of four DIB planes" : "merge of four DDB planes");
        Pic_Free(&target);
    }
    static const char kinds[] = "0418XMCW"; // 0: a new memory DC with its 1 x 1 bitmap
    for (int k = 0; kinds[k]; k++) {
        s.random = 0x7777u + k;
        RandomTable(0);
        Pic holder = Pic_Make(kinds[k] == '0' ? 'W' : kinds[k], 4, 4, 0);
        HDC base = kinds[k] == '0' ? CreateCompatibleDC(s.screen) : holder.dc;
        Pic p = Pic_Make('W', 24, 3, 0), source = Pic_Make('X', 24, 3, 0);
        p.kind = 'C', p.bitmap = CreateCompatibleBitmap(base, 24, 3);
        p.dc = CreateCompatibleDC(s.screen), p.displaced = SelectObject(p.dc, p.bitmap);
        Pic_Fill(&source, false, 0);
        BitBlt(p.dc, 0, 0, 24, 3, source.dc, 0, 0, SRCCOPY);
        Pic_Add(&p);
        Add(p.bitmap != 0);
        Report("compatible bitmap of %c", kinds[k]);
        Pic_Free(&source);
        Pic_Free(&p);
        if (kinds[k] == '0')
            DeleteDC(base);
        Pic_Free(&holder);
    }
}

// Object rules: deleting selected and stock objects, double selection, bad handles, caps,
// and the descriptions CreateDIBSection refuses or takes.
static void Cases_Objects(void)
{
    HDC a = CreateCompatibleDC(s.screen), b = CreateCompatibleDC(0);
    Pic p = Pic_Make('X', 2, 2, 0);
    HGDIOBJ original = SelectObject(a, p.bitmap);
    Add(SelectObject(b, p.bitmap) == 0);             // already selected elsewhere
    Add(DeleteObject(p.bitmap));                     // deleted once deselected
    Add(BitBlt(a, 0, 0, 1, 1, 0, 0, 0, 0x00550009)); // still drawn into
    Add(*(uint32_t *)p.bits);
    Add(SelectObject(a, original) == p.bitmap);
    Add(SelectObject(a, p.bitmap) == 0); // gone now
    Add(DeleteObject(p.bitmap));
    Add(DeleteObject(GetStockObject(WHITE_BRUSH)));
    Add(DeleteObject(0) + 2 * DeleteDC(0));
    Add(SetBkColor(0, 5));
    Add(SetTextColor(0, 5));
    Add(SetBkColor(a, 0x123456));
    Add(SetBkColor(a, 0x1000000));
    Add(BitBlt(a, 0, 0, 1, 1, 0, 0, 0, SRCCOPY));
    Add(GetDeviceCaps(s.screen, RASTERCAPS));
    Add(GetDeviceCaps(a, RASTERCAPS));
    Add(CreateCompatibleBitmap(s.screen, 0, 0) == original); // the default 1 x 1 bitmap
    Add(CreateCompatibleBitmap(a, 3, 0) == original);
    Add(GetDIBColorTable(a, 0, 2, s.table));
    Add(GetDIBColorTable(s.screen, 0, 2, s.table));
    Add(SetDIBColorTable(s.screen, 0, 2, s.table));
    Add(SelectObject(a, GetStockObject(NULL_BRUSH)) == GetStockObject(WHITE_BRUSH));
    Add(RealizePalette(a));
    Add(SelectPalette(a, (HPALETTE)GetStockObject(DEFAULT_PALETTE), FALSE) ==
        GetStockObject(DEFAULT_PALETTE));
    Add(DeleteDC(a) + 2 * DeleteDC(b) + 4 * DeleteDC(a));
    static const int rows[][5] = {// width, height, bit count, planes, compression
                                  {8, 8, 4, 1, 0},  {0, 8, 4, 1, 0}, {8, 0, 4, 1, 0},
                                  {-8, 8, 4, 1, 0}, {8, 8, 3, 1, 0}, {8, 8, 4, 2, 0},
                                  {8, 8, 4, 1, 2},  {8, 8, 1, 1, 0}, {8, -8, 8, 1, 0}};
    for (int k = 0; k < 9; k++) {
        Info info;
        Info_Set(&info, rows[k][0], rows[k][1], rows[k][2], 1);
        info.header.biPlanes = (WORD)rows[k][3], info.header.biCompression = (DWORD)rows[k][4];
        void *bits = &info;
        HBITMAP made =
            CreateDIBSection(s.screen, (const BITMAPINFO *)&info, DIB_RGB_COLORS, &bits, 0, 0);
        Add((made != 0) + 2 * (bits != 0));
        DeleteObject(made);
    }
    Report("object rules");
}

int GdiCases_Run(HDC screen, GdiCasesReport report)
{
    s.report = report, s.screen = screen, s.cases = 0;
    for (int k = 0; k < (int)(sizeof BLITS / sizeof BLITS[0]); k++)
        Cases_Blit(BLITS[k], k);
    Cases_PaletteIndices();
    Cases_TablesAndBits();
    Cases_SetDIBits();
    Cases_MergeAndCompatible();
    Cases_Objects();
    return s.cases;
}
