// GDI conformance cases: raster operations for every pair of formats, mask blits, stretching,
// parallelogram blits, DIB colour tables and bits, object rules. Each case draws with the
// platform's GDI subset only and reports what came out, read back through a 32-bit DIB section
// or straight from DIB memory.
#include "tests/gdi/gdi_cases.h"

enum { MAX_VALUES = 1604 * 1004 + 16 }; // the largest picture, 1600 x 1000 and its margins

// A bitmap selected into a memory device context, or the screen itself (kind 'W').
typedef struct {
    char kind; // 'W' screen, 'C' compatible DDB, 'M' mono DDB, '1' '4' '8' 'X': DIB 1/4/8/32
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
    int count;
    uint32_t values[MAX_VALUES];
    RGBQUAD table[256];
} s;

static uint32_t Cases_Random(void)
{
    uint32_t x = s.random;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return s.random = x;
}

static void Cases_Report(const char *name, int count)
{
    uint32_t h = 2166136261u; // FNV-1a over the values' bytes
    for (int i = 0; i < count; i++)
        for (int b = 0; b < 32; b += 8)
            h = (h ^ ((s.values[i] >> b) & 0xFF)) * 16777619u;
    s.report(name, h, s.values, count);
    s.count++;
}

static void Cases_ReportResults(const char *name, const uint32_t *results, int count)
{
    memcpy(s.values, results, count * sizeof *results);
    Cases_Report(name, count);
}

enum { TABLE_RANDOM, TABLE_CROWDED, TABLE_TWICE };

// Random colour tables; crowded: near colours in a small cube, where rounding decides the
// nearest entry; twice: the first eight colours again and again, where indices and colours
// part ways.
static void Cases_RandomTable(int n, int kind)
{
    for (int i = 0; i < n; i++) {
        uint32_t r = Cases_Random();
        uint32_t c = kind == TABLE_CROWDED ? 0x707070 + (r & 0x1F1F1F) : r;
        memcpy(&s.table[i], &c, 4);
    }
    if (kind == TABLE_TWICE)
        for (int i = 0; i < n; i++)
            s.table[i] = s.table[i % 8];
}

static Pic Pic_Dib(char kind, int width, int height, bool bottomUp, int colors)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info;
    memset(&info, 0, sizeof info);
    int bpp = kind == 'X' ? 32 : kind - '0';
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = bottomUp ? height : -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = (WORD)bpp;
    info.header.biClrUsed = bpp <= 8 ? colors : 0;
    memcpy(info.colors, s.table, sizeof info.colors);
    Pic p;
    memset(&p, 0, sizeof p);
    p.kind = kind;
    p.bitmap = CreateDIBSection(s.screen, (const BITMAPINFO *)&info, DIB_RGB_COLORS,
                                (void **)&p.bits, 0, 0);
    p.width = width, p.height = height, p.bpp = bpp, p.bottomUp = bottomUp;
    p.stride = (width * bpp + 31) / 32 * 4;
    p.colors = bpp > 8 ? 0 : colors ? colors : 1 << bpp;
    return p;
}

static void Pic_Select(Pic *p)
{
    p->dc = CreateCompatibleDC(s.screen);
    p->displaced = SelectObject(p->dc, p->bitmap);
}

static void Pic_Free(Pic *p)
{
    if (p->kind == 'W')
        return;
    SelectObject(p->dc, p->displaced);
    DeleteDC(p->dc);
    DeleteObject(p->bitmap);
}

// Pixel (x, y) of a DIB section: an index, or the whole 32-bit value.
static uint32_t Pic_Get(const Pic *p, int x, int y)
{
    const uint8_t *row = p->bits + (p->bottomUp ? p->height - 1 - y : y) * p->stride;
    if (p->bpp == 32)
        return ((const uint32_t *)row)[x];
    int bit = x * p->bpp;
    return (row[bit >> 3] >> (8 - p->bpp - (bit & 7))) & ((1 << p->bpp) - 1);
}

static void Pic_Put(Pic *p, int x, int y, uint32_t v)
{
    uint8_t *row = p->bits + (p->bottomUp ? p->height - 1 - y : y) * p->stride;
    if (p->bpp == 32) {
        ((uint32_t *)row)[x] = v;
        return;
    }
    int bit = x * p->bpp, shift = 8 - p->bpp - (bit & 7), mask = ((1 << p->bpp) - 1) << shift;
    row[bit >> 3] = (uint8_t)((row[bit >> 3] & ~mask) | ((v << shift) & mask));
}

// Random pixels; `few` draws 32-bit pixels from four colours around `key`.
static void Pic_Fill(Pic *p, bool few, uint32_t key)
{
    if (p->bits) {
        for (int y = 0; y < p->height; y++)
            for (int x = 0; x < p->width; x++) {
                uint32_t r = Cases_Random();
                const uint32_t choice[4] = {key, key | 0x7F000000, key ^ 1, r & 0xFFFFFF};
                Pic_Put(p, x, y, p->bpp == 32 ? (few ? choice[r >> 30] : r) : r % p->colors);
            }
        return;
    }
    if (p->kind == 'M') {
        static uint8_t bytes[32000]; // a 640 x 400 plane
        int count = (p->width + 15) / 16 * 2 * p->height;
        for (int i = 0; i < count; i++)
            bytes[i] = (uint8_t)Cases_Random();
        SetBitmapBits(p->bitmap, count, bytes);
        return;
    }
    Pic source = Pic_Dib('X', p->width, p->height, false, 0); // 'W' and 'C': through a copy
    Pic_Select(&source);
    Pic_Fill(&source, few, key);
    BitBlt(p->dc, 0, 0, p->width, p->height, source.dc, 0, 0, SRCCOPY);
    Pic_Free(&source);
}

static Pic Pic_Make(char kind, int width, int height, int colors)
{
    Pic p;
    memset(&p, 0, sizeof p);
    if (kind == 'W') {
        p.kind = kind, p.dc = s.screen, p.width = width, p.height = height;
        return p;
    }
    if (kind == 'M' || kind == 'C') {
        p.kind = kind, p.width = width, p.height = height;
        p.bitmap = kind == 'M' ? CreateBitmap(width, height, 1, 1, 0)
                               : CreateCompatibleBitmap(s.screen, width, height);
    } else {
        p = Pic_Dib(kind, width, height, (Cases_Random() & 1) != 0, colors);
    }
    Pic_Select(&p);
    return p;
}

// Reads a rectangle of any device context through a 32-bit DIB section first filled with a
// marker, into s.values from `at`; returns the end.
static int Cases_Read(HDC dc, int x, int y, int width, int height, int at)
{
    Pic r = Pic_Dib('X', width, height, false, 0);
    Pic_Select(&r);
    memset(r.bits, 0xA5, (size_t)r.stride * height);
    BitBlt(r.dc, 0, 0, width, height, dc, x, y, SRCCOPY);
    memcpy(s.values + at, r.bits, (size_t)r.stride * height);
    Pic_Free(&r);
    return at + width * height;
}

// A picture's pixels into s.values from `at`: DIB memory as stored, anything else read back.
static int Pic_Read(const Pic *p, int at)
{
    if (!p->bits)
        return Cases_Read(p->dc, 0, 0, p->width, p->height, at);
    for (int y = 0; y < p->height; y++)
        for (int x = 0; x < p->width; x++)
            s.values[at++] = Pic_Get(p, x, y);
    return at;
}

static void Pic_Report(const char *name, const Pic *p, uint32_t result)
{
    int n = Pic_Read(p, 0);
    s.values[n] = result;
    Cases_Report(name, n + 1);
}

// ---- raster operations between formats ----

typedef struct {
    const char *name;
    char dst, src;  // Pic kinds; src 'N': no source
    int brush;      // stock brush selected into the destination, or -1
    int8_t colors;  // colour-table entries of indexed pictures (0: all)
    uint8_t shared; // indexed source and destination share one table (2: set again, which
                    // clears the reserved bytes)
    uint8_t tables; // TABLE_*
    uint8_t few;    // 32-bit sources of four colours around the source's background colour
} RopPair;

static const RopPair ROP_PAIRS[] = {
    {"32<-32", 'X', 'X', -1, 0, 0, 0, 0},
    {"32<-4", 'X', '4', -1, 0, 0, 0, 0},
    {"32<-8", 'X', '8', -1, 20, 0, 0, 0},
    {"32<-1ddb", 'X', 'M', -1, 0, 0, 0, 0},
    {"32<-1dib", 'X', '1', -1, 0, 0, 0, 0},
    {"32<-none", 'X', 'N', -1, 0, 0, 0, 0},
    {"32<-32 grey brush", 'X', 'X', GRAY_BRUSH, 0, 0, 0, 0},
    {"32<-none black brush", 'X', 'N', BLACK_BRUSH, 0, 0, 0, 0},
    {"ddb32<-ddb32", 'C', 'C', -1, 0, 0, 0, 0},
    {"ddb32<-4", 'C', '4', -1, 0, 0, 0, 0},
    {"ddb32<-1ddb", 'C', 'M', -1, 0, 0, 0, 0},
    {"screen<-4", 'W', '4', -1, 0, 0, 0, 0},
    {"screen<-1ddb", 'W', 'M', -1, 0, 0, 0, 0},
    {"screen<-none", 'W', 'N', -1, 0, 0, 0, 0},
    {"32<-screen", 'X', 'W', -1, 0, 0, 0, 0},
    {"4<-1ddb", '4', 'M', -1, 0, 0, 0, 0},
    {"4<-1dib", '4', '1', -1, 0, 0, 0, 0},
    {"4<-32", '4', 'X', -1, 0, 0, 0, 0},
    {"4<-32 near", '4', 'X', -1, 0, 0, 1, 0},
    {"4<-4", '4', '4', -1, 0, 0, 0, 0},
    {"4<-4 near", '4', '4', -1, 0, 0, 1, 0},
    {"4<-4 shared table", '4', '4', -1, 0, 1, 0, 0},
    {"4<-4 shared doubled table", '4', '4', -1, 0, 1, TABLE_TWICE, 0},
    {"4<-4 doubled tables", '4', '4', -1, 0, 0, TABLE_TWICE, 0},
    {"4<-4 table set again", '4', '4', -1, 0, 2, TABLE_TWICE, 0},
    {"8<-8 shared doubled table", '8', '8', -1, 0, 1, TABLE_TWICE, 0},
    {"32<-32 null brush", 'X', 'X', NULL_BRUSH, 0, 0, 0, 0},
    {"32<-none null brush", 'X', 'N', NULL_BRUSH, 0, 0, 0, 0},
    {"4<-none null brush", '4', 'N', NULL_BRUSH, 0, 0, 0, 0},
    {"1ddb<-none grey brush", 'M', 'N', GRAY_BRUSH, 0, 0, 0, 0},
    {"1ddb<-32 grey brush", 'M', 'X', GRAY_BRUSH, 0, 0, 0, 1},
    {"4<-8", '4', '8', -1, 0, 0, 0, 0},
    {"4<-none", '4', 'N', -1, 0, 0, 0, 0},
    {"4<-32 grey brush", '4', 'X', GRAY_BRUSH, 0, 0, 0, 0},
    {"4(6 colours)<-4", '4', '4', -1, 6, 0, 0, 0},
    {"8<-4", '8', '4', -1, 0, 0, 0, 0},
    {"8<-32", '8', 'X', -1, 0, 0, 0, 1},
    {"1ddb<-32", 'M', 'X', -1, 0, 0, 0, 1},
    {"1ddb<-4", 'M', '4', -1, 0, 0, 0, 1},
    {"1ddb<-1ddb", 'M', 'M', -1, 0, 0, 0, 0},
    {"1ddb<-1dib", 'M', '1', -1, 0, 0, 0, 0},
    {"1ddb<-none", 'M', 'N', -1, 0, 0, 0, 0},
    {"1dib<-32", '1', 'X', -1, 0, 0, 0, 1},
    {"1dib<-1ddb", '1', 'M', -1, 0, 0, 0, 0},
    {"1dib<-1dib", '1', '1', -1, 0, 0, 0, 0},
    {"ddb32<-32", 'C', 'X', -1, 0, 0, 0, 1},
};

// Where the blits land inside a 72 x 8 picture: moved left, byte-aligned, moved right.
static const struct {
    int x, y, width, height, sourceX, sourceY;
} ROP_PLACES[] = {
    {3, 1, 37, 5, 5, 2},
    {0, 0, 64, 3, 8, 1},
    {6, 2, 30, 5, 3, 1},
};

static void Cases_RopPair(const RopPair *pair)
{
    const int w = 72, h = 8;
    s.random = 0x1234567u + (uint32_t)(pair - ROP_PAIRS);
    Cases_RandomTable(256, pair->tables);
    Pic src;
    memset(&src, 0, sizeof src);
    const uint32_t key = Cases_Random() & 0xFFFFFF;
    if (pair->src == 'W') {
        src = Pic_Make('W', w, h, 0);
        Pic_Fill(&src, false, key);
    } else if (pair->src != 'N') {
        src = Pic_Make(pair->src, w, h, pair->colors);
        Pic_Fill(&src, pair->few, key);
        // The key colour sits in the table too, for indexed sources onto monochrome.
        if (src.bpp && src.bpp <= 8 && src.bpp != 1) {
            RGBQUAD entry;
            memcpy(&entry, &key, 4);
            SetDIBColorTable(src.dc, 1, 1, &entry);
        }
        SetBkColor(src.dc, key);
        SetTextColor(src.dc, Cases_Random() & 0xFFFFFF);
    }
    if (!pair->shared)
        Cases_RandomTable(256, pair->tables);
    Pic dst = Pic_Make(pair->dst, w, h, pair->colors);
    SetBkColor(dst.dc, Cases_Random() & 0xFFFFFF);
    SetTextColor(dst.dc, Cases_Random() & 0xFFFFFF);
    if (pair->shared == 2)
        SetDIBColorTable(dst.dc, 0, 256, s.table);
    HGDIOBJ brush = pair->brush >= 0 ? SelectObject(dst.dc, GetStockObject(pair->brush)) : 0;
    const uint32_t fill = Cases_Random();
    char name[64];
    for (int place = 0; place < 3; place++)
        for (int rop = 0; rop < 256; rop++) {
            s.random = fill;
            Pic_Fill(&dst, false, 0);
            BOOL ok =
                BitBlt(dst.dc, ROP_PLACES[place].x, ROP_PLACES[place].y, ROP_PLACES[place].width,
                       ROP_PLACES[place].height, src.dc, ROP_PLACES[place].sourceX,
                       ROP_PLACES[place].sourceY, (DWORD)rop << 16);
            snprintf(name, sizeof name, "rop %s %c %02X", pair->name, 'a' + place, rop);
            Pic_Report(name, &dst, ok);
        }
    if (brush)
        SelectObject(dst.dc, brush);
    SetBkColor(s.screen, 0xFFFFFF);
    SetTextColor(s.screen, 0);
    Pic_Free(&dst);
    if (pair->src != 'N')
        Pic_Free(&src);
}

// ---- mask blits ----

typedef struct {
    const char *name;
    char dst, src, mask; // mask: 'M' mono DDB, '1' DIB section, 'I' DIB with inverted table,
                         // 'R' DIB with coloured table, 'N' none
    int x, y, width, height, sourceX, sourceY, maskWidth, maskHeight, maskX, maskY;
    uint8_t grid; // every pair of ROPs below; else the short list
} MaskCase;

static const uint8_t MASK_ROPS[] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x5A, 0x66,
                                    0x88, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xF0, 0xFF};
static const uint8_t MASK_PAIRS[][2] = {{0xAA, 0xCC}, {0xCC, 0xAA}, {0xCC, 0xCC}, {0x66, 0x88},
                                        {0x00, 0xFF}, {0x5A, 0xF0}, {0xEE, 0x22}, {0x33, 0xBB}};

static const MaskCase MASK_CASES[] = {
    {"32<-4 ddb", 'X', '4', 'M', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 1},
    {"32<-4 dib", 'X', '4', '1', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 1},
    {"32<-4 aligned", 'X', '4', 'M', 0, 0, 48, 8, 0, 0, 48, 8, 0, 0, 0},
    {"32<-4 source and mask bytes apart", 'X', '4', 'M', 1, 1, 40, 6, 4, 1, 48, 8, 6, 1, 0},
    {"32<-4 source and mask bytes apart, text", 'X', '4', '1', 1, 1, 41, 6, 5, 1, 48, 8, 7, 1, 0},
    {"32<-4 inverted dib", 'X', '4', 'I', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"32<-4 coloured dib", 'X', '4', 'R', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"32<-4 tiled mask", 'X', '4', 'M', 1, 0, 45, 8, 2, 0, 10, 3, 3, 2, 0},
    {"32<-4 no mask", 'X', '4', 'N', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"32<-1ddb", 'X', 'M', 'M', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"32<-32", 'X', 'X', '1', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"screen<-4", 'W', '4', 'M', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"ddb32<-4", 'C', '4', '1', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"4<-4", '4', '4', 'M', 3, 1, 37, 5, 5, 2, 48, 8, 6, 1, 0},
    {"32<-4 source outside", 'X', '4', 'M', 3, 1, 37, 5, 20, -2, 48, 8, 6, 1, 0},
    {"32<-4 destination outside", 'X', '4', 'M', -5, 4, 37, 7, 5, 0, 48, 8, 6, 1, 0},
    {"32<-4 mask outside", 'X', '4', '1', 3, 1, 37, 5, 5, 2, 48, 8, 30, 5, 0},
};

static void Cases_Mask(const MaskCase *c)
{
    const int w = 48, h = 8;
    s.random = 0x7654321u + (uint32_t)(c - MASK_CASES);
    Cases_RandomTable(256, TABLE_RANDOM);
    Pic src = Pic_Make(c->src, w, h, 0);
    Pic_Fill(&src, false, 0);
    Cases_RandomTable(256, TABLE_RANDOM);
    Pic dst = Pic_Make(c->dst, w, h, 0);
    SetBkColor(dst.dc, Cases_Random() & 0xFFFFFF);
    SetTextColor(dst.dc, Cases_Random() & 0xFFFFFF);
    Pic mask;
    memset(&mask, 0, sizeof mask);
    if (c->mask != 'N') {
        const uint32_t tables[3][2] = {{0, 0xFFFFFF}, {0xFFFFFF, 0}, {0x3366CC, 0xCC9933}};
        const char *kinds = "1IR";
        const char *k = strchr(kinds, c->mask);
        if (k)
            memcpy(s.table, tables[k - kinds], sizeof tables[0]);
        mask = Pic_Make(k ? '1' : 'M', c->maskWidth, c->maskHeight, 2);
        Pic_Fill(&mask, false, 0);
    }
    const uint32_t fill = Cases_Random();
    char name[80];
    int n = c->grid ? 256 : (int)(sizeof MASK_PAIRS / sizeof MASK_PAIRS[0]);
    for (int i = 0; i < n; i++) {
        uint8_t fore = c->grid ? MASK_ROPS[i >> 4] : MASK_PAIRS[i][0];
        uint8_t back = c->grid ? MASK_ROPS[i & 15] : MASK_PAIRS[i][1];
        s.random = fill;
        Pic_Fill(&dst, false, 0);
        BOOL ok =
            MaskBlt(dst.dc, c->x, c->y, c->width, c->height, src.dc, c->sourceX, c->sourceY,
                    mask.bitmap, c->maskX, c->maskY, ((DWORD)back << 24) | ((DWORD)fore << 16));
        snprintf(name, sizeof name, "maskblt %s %02X/%02X", c->name, fore, back);
        Pic_Report(name, &dst, ok);
    }
    if (c->mask != 'N')
        Pic_Free(&mask);
    SetBkColor(s.screen, 0xFFFFFF);
    SetTextColor(s.screen, 0);
    Pic_Free(&dst);
    Pic_Free(&src);
}

// ---- stretching ----

typedef struct {
    char dst, src;
    int sourceWidth, sourceHeight, width, height;
    int x, y, sourceX, sourceY; // placement in pictures of |size| + 4
    uint8_t rop;
} StretchCase;

static const StretchCase STRETCH_CASES[] = {
    {'X', 'X', 640, 400, 800, 600, 2, 2, 2, 2, 0xCC},
    {'X', 'C', 640, 400, 1280, 800, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 640, 400, 641, 401, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 640, 400, 320, 200, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 640, 400, 500, 300, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 640, 400, 1, 1, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 640, 400, 1024, 768, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 640, 400, 1600, 1000, 0, 0, 2, 2, 0xCC},
    {'X', 'X', 7, 5, 13, 11, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 13, 11, 7, 5, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 10, 10, 3, 3, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 3, 3, 10, 10, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 2, 1, 1, 1, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 3, 1, 1, 1, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 1, 1, 9, 7, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 100, 3, 1, 9, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 5, 5, 5, 12, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 17, 9, 16, 9, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 16, 9, 17, 9, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 7, 5, -13, 11, 16, 2, 2, 2, 0xCC},
    {'X', 'X', -7, 5, 13, 11, 2, 2, 9, 2, 0xCC},
    {'X', 'X', 7, -5, 13, 11, 2, 2, 2, 7, 0xCC},
    {'X', 'X', 7, 5, 13, -11, 2, 14, 2, 2, 0xCC},
    {'X', 'X', -7, -5, -13, -11, 16, 14, 9, 7, 0xCC},
    {'X', 'X', 13, 11, -7, 5, 10, 2, 2, 2, 0xCC},
    {'X', 'X', -13, 11, 7, 5, 2, 2, 15, 2, 0xCC},
    {'X', 'X', 7, 5, 7, 5, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 7, 5, -7, 5, 10, 2, 2, 2, 0xCC},
    {'X', 'X', 7, 5, 13, 11, 2, 2, 2, 2, 0xEE},
    {'X', 'X', 13, 11, 7, 5, 2, 2, 2, 2, 0x88},
    {'X', 'X', 13, 11, 7, 5, 2, 2, 2, 2, 0x66},
    {'X', 'X', 7, 5, 13, 11, -4, -3, 2, 2, 0xCC},
    {'X', 'X', 7, 5, 13, 11, 8, 9, 2, 2, 0xCC},
    {'X', 'X', 7, 5, 13, 11, 2, 2, -2, -1, 0xCC},
    {'X', 'X', 7, 5, 13, 11, 2, 2, 6, 4, 0xCC},
    {'X', 'X', 13, 11, 7, 5, 2, 2, -4, 5, 0xCC},
    {'X', 'X', 7, 5, 0, 11, 2, 2, 2, 2, 0xCC},
    {'X', 'X', 0, 5, 13, 11, 2, 2, 2, 2, 0xCC},
    {'X', '4', 7, 5, 13, 11, 2, 2, 2, 2, 0xCC},
    {'X', '4', 13, 11, 7, 5, 2, 2, 2, 2, 0xCC},
    {'X', 'M', 7, 5, 13, 11, 2, 2, 2, 2, 0xCC},
    {'X', 'M', 13, 11, 7, 5, 2, 2, 2, 2, 0xCC},
    {'4', 'X', 13, 11, 7, 5, 2, 2, 2, 2, 0xCC},
    {'4', '4', 13, 11, 7, 5, 2, 2, 2, 2, 0xCC},
    {'M', 'M', 13, 11, 7, 5, 2, 2, 2, 2, 0xCC},
    {'W', 'C', 640, 400, 800, 600, 0, 0, 2, 2, 0xCC},
    {'W', 'C', 640, 400, 320, 200, 0, 0, 2, 2, 0xCC},
};

static void Cases_Stretch(const StretchCase *c)
{
    s.random = 0x3141592u + (uint32_t)(c - STRETCH_CASES);
    Cases_RandomTable(256, TABLE_RANDOM);
    Pic src = Pic_Make(c->src, abs(c->sourceWidth) + 4, abs(c->sourceHeight) + 4, 0);
    Pic_Fill(&src, false, 0);
    Cases_RandomTable(256, TABLE_RANDOM);
    int w = abs(c->width) + 4, h = abs(c->height) + 4;
    Pic dst = Pic_Make(c->dst, c->dst == 'W' ? 640 : w, c->dst == 'W' ? 400 : h, 0);
    Pic_Fill(&dst, false, 0);
    BOOL ok = StretchBlt(dst.dc, c->x, c->y, c->width, c->height, src.dc, c->sourceX, c->sourceY,
                         c->sourceWidth, c->sourceHeight, (DWORD)c->rop << 16);
    char name[80];
    snprintf(name, sizeof name, "stretch %c<-%c %dx%d@%d,%d -> %dx%d@%d,%d %02X", c->dst, c->src,
             c->sourceWidth, c->sourceHeight, c->sourceX, c->sourceY, c->width, c->height, c->x,
             c->y, c->rop);
    Pic_Report(name, &dst, ok);
    Pic_Free(&dst);
    Pic_Free(&src);
}

// ---- parallelogram blits ----

static const struct {
    const char *name;
    POINT points[3]; // relative to (8, 10); the tile is 16 x 16
    int y;           // added to every point's y
} PLG_CASES[] = {
    {"upright", {{0, 0}, {16, 0}, {0, 16}}, 0},
    {"top to bottom", {{0, 15}, {16, 15}, {0, -1}}, 0},
    {"top to bottom at the top edge", {{0, 15}, {16, 15}, {0, -1}}, -10},
    {"left to right", {{15, 0}, {-1, 0}, {15, 16}}, 0},
    {"both ways", {{15, 15}, {-1, 15}, {15, -1}}, 0},
    {"doubled", {{0, 0}, {32, 0}, {0, 32}}, 0},
    {"halved", {{0, 0}, {8, 0}, {0, 8}}, 0},
    {"outside", {{-20, 0}, {-4, 0}, {-20, 16}}, 0},
};

static void Cases_Plg(void)
{
    char name[80];
    for (int k = 0; k < (int)(sizeof PLG_CASES / sizeof PLG_CASES[0]); k++) {
        for (int depth = 0; depth < 2; depth++) {
            s.random = 0x2718281u + k;
            Cases_RandomTable(16, TABLE_RANDOM);
            Pic src = Pic_Make(depth ? '4' : 'X', 16, 16, 16);
            Pic_Fill(&src, false, 0);
            Pic dst = Pic_Make('X', 48, 48, 0);
            Pic_Fill(&dst, false, 0);
            POINT points[3];
            for (int i = 0; i < 3; i++) {
                points[i].x = PLG_CASES[k].points[i].x + 8;
                points[i].y = PLG_CASES[k].points[i].y + 10 + PLG_CASES[k].y;
            }
            BOOL ok = PlgBlt(dst.dc, points, src.dc, 0, 0, 16, 16, 0, 0, 0);
            snprintf(name, sizeof name, "plgblt %s from %d bits", PLG_CASES[k].name,
                     depth ? 4 : 32);
            Pic_Report(name, &dst, ok);
            Pic_Free(&dst);
            Pic_Free(&src);
        }
    }
}

// ---- colour tables, palettes and bits ----

// 4-bit DIB sections made with palette indices, through the screen with a 24-entry palette
// selected and through a memory device context with the default palette.
static void Cases_PaletteColors(void)
{
    struct {
        WORD version, count;
        PALETTEENTRY entries[24];
    } logical;
    logical.version = 0x300;
    logical.count = 24;
    s.random = 0x5555u;
    for (int i = 0; i < 24; i++) {
        uint32_t r = Cases_Random();
        memcpy(&logical.entries[i], &r, 4);
        logical.entries[i].peFlags = 0;
    }
    HPALETTE palette = CreatePalette((const LOGPALETTE *)&logical);
    HPALETTE displaced = SelectPalette(s.screen, palette, FALSE);
    uint32_t results[4 + 4 * 16];
    results[0] = RealizePalette(s.screen);
    results[1] = SetPaletteEntries(palette, 20, 4, logical.entries);
    results[2] = SetPaletteEntries(palette, 22, 4, logical.entries);
    results[3] = SetPaletteEntries(palette, 24, 1, logical.entries);
    HDC memory = CreateCompatibleDC(s.screen);
    struct {
        BITMAPINFOHEADER header;
        WORD indices[16];
    } info;
    const WORD firsts[4] = {0, 16, 10, 30};
    for (int k = 0; k < 4; k++) {
        memset(&info, 0, sizeof info);
        info.header.biSize = sizeof info.header;
        info.header.biWidth = 8;
        info.header.biHeight = -2;
        info.header.biPlanes = 1;
        info.header.biBitCount = 4;
        for (int i = 0; i < 16; i++)
            info.indices[i] = (WORD)(firsts[k] + i * (k == 3 ? 17 : 1));
        void *bits = 0;
        HBITMAP made = CreateDIBSection(k & 1 ? memory : s.screen, (const BITMAPINFO *)&info,
                                        DIB_PAL_COLORS, &bits, 0, 0);
        HGDIOBJ old = SelectObject(memory, made);
        RGBQUAD table[16];
        memset(table, 0xEE, sizeof table);
        GetDIBColorTable(memory, 0, 16, table);
        memcpy(&results[4 + 16 * k], table, sizeof table);
        SelectObject(memory, old);
        DeleteObject(made);
    }
    Cases_ReportResults("palette indices into colour tables", results, 4 + 4 * 16);
    SelectPalette(s.screen, displaced, FALSE);
    DeleteDC(memory);
    DeleteObject(palette);
}

// Get/SetDIBColorTable counts and contents at the edges, for each indexed depth and a DDB.
static void Cases_ColorTables(void)
{
    static const struct {
        char kind;
        int colors, start, count;
    } rows[] = {{'4', 0, 0, 16},   {'4', 0, 14, 5}, {'4', 0, 16, 1}, {'4', 6, 0, 16},
                {'4', 6, 5, 3},    {'1', 0, 0, 2},  {'1', 0, 1, 9},  {'8', 0, 250, 10},
                {'8', 20, 0, 256}, {'X', 0, 0, 4},  {'M', 0, 0, 2},  {'C', 0, 0, 2},
                {'4', 0, 0, 0},    {'8', 0, 255, 1}};
    char name[64];
    for (int k = 0; k < (int)(sizeof rows / sizeof rows[0]); k++) {
        s.random = 0x1111u + k;
        Cases_RandomTable(256, TABLE_RANDOM);
        Pic p = Pic_Make(rows[k].kind, 4, 2, rows[k].colors);
        uint32_t results[3 + 512];
        RGBQUAD colors[256];
        Cases_RandomTable(256, TABLE_RANDOM);
        results[0] = SetDIBColorTable(p.dc, rows[k].start, rows[k].count, s.table);
        memset(colors, 0xEE, sizeof colors);
        results[1] = GetDIBColorTable(p.dc, rows[k].start, rows[k].count, colors);
        memcpy(&results[3], colors, sizeof colors);
        memset(colors, 0xEE, sizeof colors);
        results[2] = GetDIBColorTable(p.dc, 0, 256, colors);
        memcpy(&results[3 + 256], colors, sizeof colors);
        snprintf(name, sizeof name, "colour table %c/%d from %d count %d", rows[k].kind,
                 rows[k].colors, rows[k].start, rows[k].count);
        Cases_ReportResults(name, results, 3 + 512);
        Pic_Free(&p);
    }
}

// SetBitmapBits on monochrome bitmaps of awkward widths, with short and long counts.
static void Cases_BitmapBits(void)
{
    static const struct {
        int width, height;
        DWORD count;
    } rows[] = {{640, 400, 32000}, {13, 5, 10}, {13, 5, 7}, {13, 5, 40}, {17, 3, 12}, {8, 4, 0}};
    static uint8_t bytes[32768];
    char name[64];
    for (int k = 0; k < (int)(sizeof rows / sizeof rows[0]); k++) {
        s.random = 0x2222u + k;
        for (size_t i = 0; i < sizeof bytes; i++)
            bytes[i] = (uint8_t)Cases_Random();
        Pic p = Pic_Make('M', rows[k].width, rows[k].height, 0);
        SetBitmapBits(p.bitmap, 32000, bytes + 1); // then partly overwritten
        LONG result = SetBitmapBits(p.bitmap, rows[k].count, bytes);
        snprintf(name, sizeof name, "SetBitmapBits %dx%d count %lu", rows[k].width, rows[k].height,
                 (unsigned long)rows[k].count);
        Pic_Report(name, &p, (uint32_t)result);
        Pic_Free(&p);
    }
}

// SetDIBits from an 8-bit core-header description into the 16 x 16 4-bit tile and others.
static void Cases_SetDIBits(void)
{
    static const struct {
        char kind;
        int start, lines, height; // height of the description; negative: top-down
        uint8_t sameColors;
    } rows[] = {{'4', 0, 16, 16, 1}, {'4', 0, 16, 16, 0}, {'4', 4, 8, 16, 1},
                {'X', 0, 16, 16, 0}, {'4', 0, 20, 16, 1}, {'M', 0, 16, 16, 0}};
    char name[64];
    static uint8_t pixels[16 * 16];
    for (int k = 0; k < (int)(sizeof rows / sizeof rows[0]); k++) {
        s.random = 0x3333u + k;
        struct {
            BITMAPCOREHEADER header;
            RGBTRIPLE colors[256];
        } info;
        memset(&info, 0, sizeof info);
        Cases_RandomTable(256, TABLE_RANDOM);
        for (int i = 0; i < 256; i++) {
            info.colors[i].rgbtRed = s.table[i].rgbRed;
            info.colors[i].rgbtGreen = s.table[i].rgbGreen;
            info.colors[i].rgbtBlue = s.table[i].rgbBlue;
        }
        if (!rows[k].sameColors)
            Cases_RandomTable(256, TABLE_RANDOM);
        info.header.bcSize = sizeof info.header;
        info.header.bcWidth = 16;
        info.header.bcHeight = (WORD)rows[k].height;
        info.header.bcPlanes = 1;
        info.header.bcBitCount = 4;
        Pic p;
        memset(&p, 0, sizeof p);
        if (rows[k].kind == '4') {
            // The tile as the placeholder makes it: from the core header's own colours.
            p.kind = '4', p.width = 16, p.height = 16, p.bpp = 4, p.stride = 8, p.colors = 16;
            p.bottomUp = true;
            p.bitmap = CreateDIBSection(s.screen, (const BITMAPINFO *)&info, DIB_RGB_COLORS,
                                        (void **)&p.bits, 0, 0);
            Pic_Select(&p);
        } else {
            p = Pic_Make(rows[k].kind, 16, 16, 0);
        }
        for (int i = 0; i < 256; i++)
            pixels[i] = (uint8_t)(Cases_Random() & (rows[k].sameColors ? 15 : 255));
        info.header.bcBitCount = 8;
        int result = SetDIBits(s.screen, p.bitmap, rows[k].start, rows[k].lines, pixels,
                               (const BITMAPINFO *)&info, DIB_RGB_COLORS);
        snprintf(name, sizeof name, "SetDIBits core 8 bits into %c lines %d+%d%s", rows[k].kind,
                 rows[k].start, rows[k].lines, rows[k].sameColors ? " same colours" : "");
        Pic_Report(name, &p, (uint32_t)result);
        Pic_Free(&p);
    }
}

// The plane merge: monochrome planes into a 4-bit DIB section through an identity grey table.
static void Cases_Merge(void)
{
    for (int dib = 0; dib < 2; dib++) {
        s.random = 0x4444u + dib;
        Cases_RandomTable(16, TABLE_RANDOM);
        Pic target = Pic_Make('4', 640, 400, 16);
        Pic_Fill(&target, false, 0);
        RGBQUAD grey[16], saved[16];
        for (int i = 0; i < 16; i++) {
            grey[i].rgbBlue = grey[i].rgbGreen = grey[i].rgbRed = (BYTE)i;
            grey[i].rgbReserved = 0;
        }
        memset(s.table, 0, 2 * sizeof(RGBQUAD)); // DIB planes: black, white
        memset(&s.table[1], 0xFF, 3);
        GetDIBColorTable(target.dc, 0, 16, saved);
        SetDIBColorTable(target.dc, 0, 16, grey);
        uint32_t results[4];
        for (int i = 0; i < 4; i++) {
            Pic plane = Pic_Make(dib ? '1' : 'M', 640, 400, 2);
            Pic_Fill(&plane, false, 0);
            SetBkColor(target.dc, (1u << i) * 0x010101u);
            results[i] = BitBlt(target.dc, 0, 0, 640, 400, plane.dc, 0, 0, i ? SRCPAINT : SRCCOPY);
            Pic_Free(&plane);
        }
        SetDIBColorTable(target.dc, 0, 16, saved);
        int n = Pic_Read(&target, 0);
        memcpy(s.values + n, results, sizeof results);
        Cases_Report(dib ? "merge of four DIB planes" : "merge of four DDB planes", n + 4);
        Pic_Free(&target);
    }
}

// Clipping of plain blits: rectangles partly or wholly outside either side, negative and
// zero sizes.
static void Cases_Clipping(void)
{
    static const int rows[][6] = {
        {-3, -2, 10, 6, 0, 0},  {40, 5, 20, 9, 0, 0},    {2, 2, 10, 6, -4, -3},
        {2, 2, 10, 6, 44, 6},   {2, 2, -10, 6, 20, 1},   {20, 2, 10, -6, 3, 7},
        {20, 6, -10, -4, 9, 5}, {2, 2, 0, 6, 1, 1},      {2, 2, 10, 0, 1, 1},
        {60, 0, 10, 5, 0, 0},   {2, 2, 10, 5, 60, 0},    {-20, 0, 10, 5, 0, 0},
        {2, 2, 10, 5, -20, -9}, {-5, -5, 60, 20, -3, -2}};
    char name[64];
    for (int k = 0; k < (int)(sizeof rows / sizeof rows[0]); k++)
        for (int depth = 0; depth < 2; depth++) {
            s.random = 0x6666u + k;
            Cases_RandomTable(16, TABLE_RANDOM);
            Pic src = Pic_Make(depth ? '4' : 'X', 48, 10, 16);
            Pic_Fill(&src, false, 0);
            Pic dst = Pic_Make('X', 48, 10, 0);
            Pic_Fill(&dst, false, 0);
            BOOL ok = BitBlt(dst.dc, rows[k][0], rows[k][1], rows[k][2], rows[k][3], src.dc,
                             rows[k][4], rows[k][5], depth ? SRCPAINT : SRCCOPY);
            snprintf(name, sizeof name, "clip %d,%d %dx%d from %d,%d %d bits", rows[k][0],
                     rows[k][1], rows[k][2], rows[k][3], rows[k][4], rows[k][5], depth ? 4 : 32);
            Pic_Report(name, &dst, ok);
            Pic_Free(&dst);
            Pic_Free(&src);
        }
}

// What CreateCompatibleBitmap makes for memory device contexts: a copy of a 32-bit picture
// drawn into it and read back shows its format.
static void Cases_Compatible(void)
{
    static const char kinds[] = {'0', '4', '1', '8', 'X', 'M', 'C', 'W'};
    char name[64];
    for (int k = 0; k < (int)sizeof kinds; k++) {
        s.random = 0x7777u + k;
        Cases_RandomTable(256, TABLE_RANDOM);
        HDC base = s.screen;
        Pic holder;
        memset(&holder, 0, sizeof holder);
        if (kinds[k] == '0') {
            base = CreateCompatibleDC(s.screen); // holding its default 1 x 1 bitmap
        } else if (kinds[k] != 'W') {
            holder = Pic_Make(kinds[k], 4, 4, 0);
            base = holder.dc;
        }
        Pic p;
        memset(&p, 0, sizeof p);
        p.kind = 'C', p.width = 24, p.height = 3;
        p.bitmap = CreateCompatibleBitmap(base, 24, 3);
        Pic_Select(&p);
        Pic source = Pic_Make('X', 24, 3, 0);
        Pic_Fill(&source, false, 0);
        BitBlt(p.dc, 0, 0, 24, 3, source.dc, 0, 0, SRCCOPY);
        snprintf(name, sizeof name, "compatible bitmap of %c", kinds[k]);
        Pic_Report(name, &p, p.bitmap != 0);
        Pic_Free(&source);
        Pic_Free(&p);
        if (kinds[k] == '0')
            DeleteDC(base);
        else if (kinds[k] != 'W')
            Pic_Free(&holder);
    }
}

// Object rules: deleting selected and stock objects, double selection, bad handles, caps.
static void Cases_Objects(void)
{
    uint32_t r[24];
    int n = 0;
    HDC a = CreateCompatibleDC(s.screen), b = CreateCompatibleDC(0);
    Pic p = Pic_Dib('X', 2, 2, false, 0);
    HGDIOBJ original = SelectObject(a, p.bitmap);
    r[n++] = SelectObject(b, p.bitmap) == 0;             // already selected elsewhere
    r[n++] = DeleteObject(p.bitmap);                     // deleted once deselected
    r[n++] = BitBlt(a, 0, 0, 1, 1, 0, 0, 0, 0x00550009); // still drawable
    r[n++] = *(uint32_t *)p.bits;
    r[n++] = SelectObject(a, original) == p.bitmap;
    r[n++] = SelectObject(a, p.bitmap) == 0; // gone now
    r[n++] = DeleteObject(p.bitmap);
    r[n++] = DeleteObject(GetStockObject(WHITE_BRUSH));
    r[n++] = DeleteObject(0);
    r[n++] = DeleteDC(0);
    r[n++] = SetBkColor(0, 5);
    r[n++] = SetTextColor(0, 5);
    r[n++] = SetBkColor(a, 0x123456);
    r[n++] = SetBkColor(a, 0x1000000);
    r[n++] = BitBlt(a, 0, 0, 1, 1, 0, 0, 0, SRCCOPY);
    r[n++] = GetDeviceCaps(s.screen, RASTERCAPS);
    r[n++] = GetDeviceCaps(a, RASTERCAPS);
    r[n++] = CreateCompatibleBitmap(s.screen, 0, 0) == original; // the default 1 x 1 bitmap
    r[n++] = CreateCompatibleBitmap(a, 3, 0) == original;
    r[n++] = GetDIBColorTable(a, 0, 2, s.table);
    r[n++] = SelectObject(a, GetStockObject(NULL_BRUSH)) == GetStockObject(WHITE_BRUSH);
    r[n++] = RealizePalette(a);
    r[n++] = SelectPalette(a, (HPALETTE)GetStockObject(DEFAULT_PALETTE), FALSE) ==
             GetStockObject(DEFAULT_PALETTE);
    r[n++] = DeleteDC(a) + 2 * DeleteDC(b) + 4 * DeleteDC(a);
    Cases_ReportResults("object rules", r, n);
}

// Blits within one bitmap, overlapping in every direction. Not here: a monochrome DDB moved
// right and up onto itself, where Wine also changes pixels outside the rectangle.
static void Cases_Overlap(void)
{
    static const int moves[][4] = {{2, 1, 0, 0}, {0, 0, 2, 1}, {3, 0, 0, 0},
                                   {0, 0, 3, 0}, {0, 2, 0, 0}, {1, 0, 0, 2}};
    const char kinds[] = {'X', '4', 'M'};
    char name[64];
    for (int k = 0; k < 3; k++)
        for (int m = 0; m < 6 - (kinds[k] == 'M'); m++) {
            s.random = 0x8888u + m;
            Cases_RandomTable(16, TABLE_RANDOM);
            Pic p = Pic_Make(kinds[k], 40, 8, 16);
            Pic_Fill(&p, false, 0);
            BOOL ok = BitBlt(p.dc, moves[m][0], moves[m][1], 30, 5, p.dc, moves[m][2], moves[m][3],
                             m & 1 ? SRCCOPY : SRCPAINT);
            snprintf(name, sizeof name, "overlap %c to %d,%d from %d,%d", kinds[k], moves[m][0],
                     moves[m][1], moves[m][2], moves[m][3]);
            Pic_Report(name, &p, ok);
            Pic_Free(&p);
        }
}

// Text and background colours given as palette indices and palette-relative colours.
static void Cases_ColorKinds(void)
{
    static const COLORREF colors[][2] = {{0x01000003, 0x0100000D},
                                         {0x02123456, 0x02FEDCBA},
                                         {0x01000019, 0x01000300},
                                         {0x10FF0002, 0x04808080}};
    char name[64];
    for (int k = 0; k < 4; k++) {
        s.random = 0x9999u + k;
        Cases_RandomTable(16, TABLE_RANDOM);
        Pic src = Pic_Make('M', 24, 3, 0);
        Pic_Fill(&src, false, 0);
        for (int d = 0; d < 2; d++) {
            Pic dst = Pic_Make(d ? '4' : 'X', 24, 3, 16);
            SetTextColor(dst.dc, colors[k][0]);
            SetBkColor(dst.dc, colors[k][1]);
            BOOL ok = BitBlt(dst.dc, 0, 0, 24, 3, src.dc, 0, 0, SRCCOPY);
            snprintf(name, sizeof name, "colours %08lx %08lx onto %c", (unsigned long)colors[k][0],
                     (unsigned long)colors[k][1], dst.kind);
            Pic_Report(name, &dst, ok);
            Pic_Free(&dst);
        }
        Pic_Free(&src);
    }
}

// Descriptions CreateDIBSection must refuse or take, and SetBitmapBits on colour bitmaps.
static void Cases_Descriptions(void)
{
    static const int rows[][5] = {// width, height, bit count, planes, compression
                                  {8, 8, 4, 1, 0},  {0, 8, 4, 1, 0}, {8, 0, 4, 1, 0},
                                  {-8, 8, 4, 1, 0}, {8, 8, 3, 1, 0}, {8, 8, 4, 2, 0},
                                  {8, 8, 4, 1, 2},  {8, 8, 1, 1, 0}, {8, -8, 8, 1, 0}};
    uint32_t results[2 * 9 + 4];
    int n = 0;
    for (int k = 0; k < 9; k++) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info;
        memset(&info, 0, sizeof info);
        info.header.biSize = sizeof info.header;
        info.header.biWidth = rows[k][0];
        info.header.biHeight = rows[k][1];
        info.header.biBitCount = (WORD)rows[k][2];
        info.header.biPlanes = (WORD)rows[k][3];
        info.header.biCompression = (DWORD)rows[k][4];
        void *bits = &info;
        HBITMAP made =
            CreateDIBSection(s.screen, (const BITMAPINFO *)&info, DIB_RGB_COLORS, &bits, 0, 0);
        results[n++] = made != 0;
        results[n++] = bits != 0;
        DeleteObject(made);
    }
    static uint8_t bytes[4 * 9 * 3];
    s.random = 0xAAAAu;
    for (size_t i = 0; i < sizeof bytes; i++)
        bytes[i] = (uint8_t)Cases_Random();
    Pic colour = Pic_Make('C', 9, 3, 0);
    results[n++] = (uint32_t)SetBitmapBits(colour.bitmap, sizeof bytes, bytes);
    Pic indexed = Pic_Make('4', 9, 3, 16);
    results[n++] = (uint32_t)SetBitmapBits(indexed.bitmap, 15, bytes);
    results[n++] = GetDIBColorTable(s.screen, 0, 16, s.table);
    results[n++] = SetDIBColorTable(s.screen, 0, 16, s.table);
    int at = Pic_Read(&colour, 0);
    at = Pic_Read(&indexed, at);
    memcpy(s.values + at, results, n * sizeof results[0]);
    Cases_Report("descriptions and bitmap bits of colour bitmaps", at + n);
    Pic_Free(&indexed);
    Pic_Free(&colour);
}

// SetDIBits from other descriptions: top-down, each depth, palette indices, partial lines.
static void Cases_SetDIBitsMore(void)
{
    static const struct {
        int bpp, height, start, lines;
        UINT usage;
        char into;
    } rows[] = {{4, -6, 0, 6, DIB_RGB_COLORS, 'X'},  {4, -6, 2, 3, DIB_RGB_COLORS, 'X'},
                {4, 6, 2, 3, DIB_RGB_COLORS, 'X'},   {1, 6, 0, 6, DIB_RGB_COLORS, '4'},
                {32, 6, 0, 6, DIB_RGB_COLORS, '8'},  {8, 6, 0, 6, DIB_PAL_COLORS, 'X'},
                {4, 4, 0, 4, DIB_RGB_COLORS, 'C'},   {32, -6, 1, 5, DIB_RGB_COLORS, 'M'},
                {32, 6, 1, 9, DIB_RGB_COLORS, 'X'},  {32, -6, 4, 2, DIB_RGB_COLORS, 'X'},
                {32, -6, 7, 2, DIB_RGB_COLORS, 'X'}, {32, 6, 7, 2, DIB_RGB_COLORS, 'X'}};
    char name[80];
    for (int k = 0; k < (int)(sizeof rows / sizeof rows[0]); k++) {
        s.random = 0xBBBBu + k;
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info;
        memset(&info, 0, sizeof info);
        Cases_RandomTable(256, TABLE_RANDOM);
        memcpy(info.colors, s.table, sizeof info.colors);
        info.header.biSize = sizeof info.header;
        info.header.biWidth = 10;
        info.header.biHeight = rows[k].height;
        info.header.biPlanes = 1;
        info.header.biBitCount = (WORD)rows[k].bpp;
        static uint32_t data[10 * 12]; // room for twice the lines of any description
        for (int i = 0; i < 10 * 12; i++)
            data[i] = Cases_Random();
        Cases_RandomTable(256, TABLE_RANDOM);
        Pic p = Pic_Make(rows[k].into, 12, 8, 0);
        Pic_Fill(&p, false, 0);
        int result = SetDIBits(p.dc, p.bitmap, rows[k].start, rows[k].lines, data,
                               (const BITMAPINFO *)&info, rows[k].usage);
        snprintf(name, sizeof name, "SetDIBits %d bits height %d lines %d+%d usage %u into %c",
                 rows[k].bpp, rows[k].height, rows[k].start, rows[k].lines, rows[k].usage,
                 rows[k].into);
        Pic_Report(name, &p, (uint32_t)result);
        Pic_Free(&p);
    }
}

// Mask blits at the edges: mirrored and empty sizes, no source, a monochrome destination.
static void Cases_MaskEdges(void)
{
    static const struct {
        char dst;
        int width, height;
        DWORD rop4;
        bool source;
    } rows[] = {{'X', -20, 4, 0xCCAA0000, true}, {'X', 20, 0, 0xCCAA0000, true},
                {'X', 20, 4, 0x55AA0000, false}, {'M', 20, 4, 0xCCAA0000, true},
                {'M', 20, 4, 0x66EE0000, true},  {'1', 20, 4, 0xAACC0000, true}};
    char name[64];
    for (int k = 0; k < (int)(sizeof rows / sizeof rows[0]); k++) {
        s.random = 0xCCCCu + k;
        Cases_RandomTable(16, TABLE_RANDOM);
        Pic src = Pic_Make('4', 32, 8, 16);
        Pic_Fill(&src, false, 0);
        Pic dst = Pic_Make(rows[k].dst, 32, 8, 2);
        Pic_Fill(&dst, false, 0);
        Pic mask = Pic_Make('M', 32, 8, 0);
        Pic_Fill(&mask, false, 0);
        BOOL ok = MaskBlt(dst.dc, 25, 2, rows[k].width, rows[k].height, rows[k].source ? src.dc : 0,
                          1, 1, mask.bitmap, 2, 1, rows[k].rop4);
        snprintf(name, sizeof name, "maskblt edge %c %dx%d %08lx", rows[k].dst, rows[k].width,
                 rows[k].height, (unsigned long)rows[k].rop4);
        Pic_Report(name, &dst, ok);
        Pic_Free(&mask);
        Pic_Free(&dst);
        Pic_Free(&src);
    }
}

int GdiCases_Run(HDC screen, GdiCasesReport report)
{
    s.report = report;
    s.screen = screen;
    s.count = 0;
    for (const RopPair &pair : ROP_PAIRS)
        Cases_RopPair(&pair);
    for (const MaskCase &c : MASK_CASES)
        Cases_Mask(&c);
    for (const StretchCase &c : STRETCH_CASES)
        Cases_Stretch(&c);
    Cases_Plg();
    Cases_PaletteColors();
    Cases_ColorTables();
    Cases_BitmapBits();
    Cases_SetDIBits();
    Cases_Merge();
    Cases_Clipping();
    Cases_Compatible();
    Cases_Objects();
    Cases_Overlap();
    Cases_ColorKinds();
    Cases_Descriptions();
    Cases_SetDIBitsMore();
    Cases_MaskEdges();
    return s.count;
}
