// The front-end's emulated mask blit (compiled in from render/) against the platform's MaskBlt:
// the same picture, pixel for pixel, over a grid of foreground and background operations, both
// kinds of mask, 32-bit and 4-bit sources and offset rectangles, into 32-bit destinations.
#include "core/core.h"
#include "render/maskblt.h"
#include "testcore.h"
#include "pixels.h"

enum {
    MASKBLT_WIDTH = 96, // every bitmap of the test; rows of 12 bytes suit DDB and DIB alike
    MASKBLT_HEIGHT = 80,
    MASKBLT_MASK_ROW = MASKBLT_WIDTH / 8,
    MASKBLT_PIXELS = MASKBLT_WIDTH * MASKBLT_HEIGHT,
    MASKBLT_SHOWN_FAILURES = 6
};

// Operation indices for both halves of the four-operand code: every source/destination
// exchange pair (0x22/0x44, 0x33/0x55, 0xBB/0xDD, 0xCC/0xAA), symmetric ones, and some that
// use the pattern (the default white brush in every device context here).
static const uint8_t maskblt_rops[] = {0x00, 0xFF, 0xCC, 0xAA, 0x33, 0x55, 0x66, 0x88,
                                       0xEE, 0x22, 0x44, 0xBB, 0xDD, 0x1B, 0xB8, 0x5A};
enum { MASKBLT_ROPS = sizeof maskblt_rops };

// Rectangles: destination, size, source and mask origins.
static const struct {
    int x, y, width, height, sourceX, sourceY, maskX, maskY;
    bool fourBit; // the source: a 4-bit DIB with its own colours, else a 32-bit one
    const char *name;
} maskblt_cases[] = {
    {5, 7, 61, 37, 11, 3, 2, 9, false, "offsets all different, 32-bit source"},
    {30, 40, 64, 33, 0, 0, 13, 1, true, "offsets all different, 4-bit source"},
    {0, 0, MASKBLT_WIDTH, MASKBLT_HEIGHT, 0, 0, 0, 0, false, "whole bitmaps, 32-bit source"},
};

static struct {
    HDC source32, source4, dest[2];
    uint32_t *source32Bits, *destBits[2];
    uint8_t *source4Bits;
    RGBQUAD source4Colors[16];
    HBITMAP maskDDB, maskDIB;
    uint8_t maskBits[MASKBLT_HEIGHT * MASKBLT_MASK_ROW];
    uint32_t start[MASKBLT_PIXELS]; // both destinations' contents before each blit
    uint32_t model[MASKBLT_PIXELS];
} s_maskblt;

// A memory device context holding the bitmap, kept for the whole run.
static HDC MaskBlt_InDC(HBITMAP bitmap)
{
    HDC dc = CreateCompatibleDC(NULL);
    SelectObject(dc, bitmap);
    return dc;
}

// False when a bitmap could not be made.
static bool MaskBlt_Setup(void)
{
    uint32_t state = 0x5EED1234;
    void *pixels;
    s_maskblt.source32 =
        MaskBlt_InDC(Pixels_MakeDIB(MASKBLT_WIDTH, MASKBLT_HEIGHT, 32, NULL, 0, &pixels));
    s_maskblt.source32Bits = (uint32_t *)pixels;
    if (!pixels)
        return false;
    for (int i = 0; i < MASKBLT_PIXELS; i++)
        s_maskblt.source32Bits[i] = Pixels_Random(&state) & 0xFFFFFF;
    for (int i = 0; i < 16; i++) {
        uint32_t c = Pixels_Random(&state);
        RGBQUAD q = {(BYTE)c, (BYTE)(c >> 8), (BYTE)(c >> 16), 0};
        s_maskblt.source4Colors[i] = q;
    }
    s_maskblt.source4 = MaskBlt_InDC(
        Pixels_MakeDIB(MASKBLT_WIDTH, MASKBLT_HEIGHT, 4, s_maskblt.source4Colors, 16, &pixels));
    s_maskblt.source4Bits = (uint8_t *)pixels;
    if (!pixels)
        return false;
    for (int i = 0; i < MASKBLT_PIXELS / 2; i++)
        s_maskblt.source4Bits[i] = (uint8_t)Pixels_Random(&state);
    for (int k = 0; k < 2; k++) {
        s_maskblt.dest[k] =
            MaskBlt_InDC(Pixels_MakeDIB(MASKBLT_WIDTH, MASKBLT_HEIGHT, 32, NULL, 0, &pixels));
        s_maskblt.destBits[k] = (uint32_t *)pixels;
        if (!pixels)
            return false;
    }
    for (int i = 0; i < MASKBLT_PIXELS; i++)
        s_maskblt.start[i] = Pixels_Random(&state) & 0xFFFFFF;

    for (int i = 0; i < MASKBLT_HEIGHT * MASKBLT_MASK_ROW; i++)
        s_maskblt.maskBits[i] = (uint8_t)(Pixels_Random(&state) >> 7);
    s_maskblt.maskDDB = CreateBitmap(MASKBLT_WIDTH, MASKBLT_HEIGHT, 1, 1, s_maskblt.maskBits);
    static const RGBQUAD blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    s_maskblt.maskDIB = Pixels_MakeDIB(MASKBLT_WIDTH, MASKBLT_HEIGHT, 1, blackWhite, 2, &pixels);
    if (!pixels || !s_maskblt.maskDDB)
        return false;
    memcpy(pixels, s_maskblt.maskBits, sizeof s_maskblt.maskBits);
    GdiFlush();
    return true;
}

static uint32_t MaskBlt_SourceColor(bool fourBit, int x, int y)
{
    if (!fourBit)
        return s_maskblt.source32Bits[y * MASKBLT_WIDTH + x];
    uint8_t pair = s_maskblt.source4Bits[(y * MASKBLT_WIDTH + x) / 2];
    RGBQUAD q = s_maskblt.source4Colors[(x & 1) ? pair & 15 : pair >> 4];
    return (uint32_t)q.rgbRed << 16 | q.rgbGreen << 8 | q.rgbBlue;
}

// Operation index r on pattern all ones: bit 4 + 2s + d of r is the result for s and d.
static uint32_t MaskBlt_Apply(uint8_t r, uint32_t s, uint32_t d)
{
    uint32_t result = 0;
    for (int sd = 0; sd < 4; sd++)
        if (r >> (4 + sd) & 1)
            result |= ((sd & 2) ? s : ~s) & ((sd & 1) ? d : ~d);
    return result & 0xFFFFFF;
}

// The picture MaskBlt must give, pixel by pixel; with no mask the foreground applies throughout.
static void MaskBlt_Model(int c, bool masked, DWORD rop4)
{
    memcpy(s_maskblt.model, s_maskblt.start, sizeof s_maskblt.model);
    const auto &g = maskblt_cases[c];
    for (int j = 0; j < g.height; j++)
        for (int i = 0; i < g.width; i++) {
            int mx = g.maskX + i, my = g.maskY + j;
            int bit = s_maskblt.maskBits[my * MASKBLT_MASK_ROW + mx / 8] >> (7 - mx % 8) & 1;
            uint8_t r = (!masked || bit) ? (uint8_t)(rop4 >> 16) : (uint8_t)(rop4 >> 24);
            uint32_t *d = &s_maskblt.model[(g.y + j) * MASKBLT_WIDTH + g.x + i];
            *d = MaskBlt_Apply(r, MaskBlt_SourceColor(g.fourBit, g.sourceX + i, g.sourceY + j), *d);
        }
}

// Pixels (colour bits only) that differ between two pictures of the test's size.
static int MaskBlt_Differences(const uint32_t *a, const uint32_t *b)
{
    int count = 0;
    for (int i = 0; i < MASKBLT_PIXELS; i++)
        count += ((a[i] ^ b[i]) & 0xFFFFFF) != 0;
    return count;
}

// One rectangle and mask over the whole grid of operations; returns the failed cases.
static uint32_t MaskBlt_RunGrid(int c, HBITMAP mask, const char *maskName, uint32_t *oracleOff)
{
    const auto &g = maskblt_cases[c];
    HDC source = g.fourBit ? s_maskblt.source4 : s_maskblt.source32;
    uint32_t failed = 0, shown = 0;
    int grid = mask ? MASKBLT_ROPS : 1; // without a mask the background plays no part
    for (int f = 0; f < MASKBLT_ROPS; f++)
        for (int b = 0; b < grid; b++) {
            DWORD rop4 = (DWORD)maskblt_rops[b] << 24 | Render_GetRopCode(maskblt_rops[f]);
            for (int k = 0; k < 2; k++)
                memcpy(s_maskblt.destBits[k], s_maskblt.start, sizeof s_maskblt.start);
            GdiFlush();
            MaskBlt(s_maskblt.dest[0], g.x, g.y, g.width, g.height, source, g.sourceX, g.sourceY,
                    mask, g.maskX, g.maskY, rop4);
            BOOL done =
                Render_EmulatedMaskBlt(s_maskblt.dest[1], g.x, g.y, g.width, g.height, source,
                                       g.sourceX, g.sourceY, mask, g.maskX, g.maskY, rop4);
            GdiFlush();
            int differ = MaskBlt_Differences(s_maskblt.destBits[0], s_maskblt.destBits[1]);
            MaskBlt_Model(c, mask != NULL, rop4);
            *oracleOff += MaskBlt_Differences(s_maskblt.destBits[0], s_maskblt.model) != 0;
            if (differ == 0 && done)
                continue;
            failed++;
            if (shown++ < MASKBLT_SHOWN_FAILURES)
                Log_Line("  %s, %s, ROP4 0x%08lx: %d pixels differ, result %d", g.name, maskName,
                         (unsigned long)rop4, differ, done);
        }
    return failed;
}

// A blit too large for its scratch bitmaps must leave the destination alone and report it.
static void MaskBlt_CheckRefused(void)
{
    memcpy(s_maskblt.destBits[1], s_maskblt.start, sizeof s_maskblt.start);
    GdiFlush();
    BOOL done =
        Render_EmulatedMaskBlt(s_maskblt.dest[1], 0, 0, 0x10000, 0x10000, s_maskblt.source32, 0, 0,
                               s_maskblt.maskDDB, 0, 0, 0xCCAA0029);
    GdiFlush();
    int changed = MaskBlt_Differences(s_maskblt.destBits[1], s_maskblt.start);
    Log_Check(!done && changed == 0,
              "emulated mask blit without scratch bitmaps: result 0, destination untouched",
              "result %d, %d pixels changed", done, changed);
}

static void MaskBlt_Begin(const char *tail)
{
    (void)tail;
}

static ScenarioStep MaskBlt_Step(uint32_t frame)
{
    (void)frame;
    if (!Log_Check(MaskBlt_Setup(), "bitmaps made", "a bitmap could not be made"))
        return STEP_CLOSE;
    static const struct {
        bool present, dib;
        const char *name;
    } masks[] = {{true, false, "monochrome DDB mask"},
                 {true, true, "1-bit DIB mask"},
                 {false, false, "no mask"}};
    char what[160];
    for (uint32_t c = 0; c < sizeof maskblt_cases / sizeof maskblt_cases[0]; c++)
        for (uint32_t m = 0; m < sizeof masks / sizeof masks[0]; m++) {
            HBITMAP mask = !masks[m].present ? NULL
                           : masks[m].dib    ? s_maskblt.maskDIB
                                             : s_maskblt.maskDDB;
            uint32_t oracleOff = 0;
            uint32_t failed = MaskBlt_RunGrid(c, mask, masks[m].name, &oracleOff);
            uint32_t cases = mask ? MASKBLT_ROPS * MASKBLT_ROPS : MASKBLT_ROPS;
            _snprintf(what, sizeof what - 1, "emulated mask blit = MaskBlt: %s, %s, %u ROP4s",
                      maskblt_cases[c].name, masks[m].name, cases);
            what[sizeof what - 1] = 0;
            Log_Check(failed == 0, what, "%u cases differ", failed);
            // MaskBlt itself must follow the raster operations, or agreeing with it says little.
            _snprintf(what, sizeof what - 1, "MaskBlt = per-pixel model: %s, %s",
                      maskblt_cases[c].name, masks[m].name);
            Log_Check(oracleOff == 0, what, "%u of %u cases differ", oracleOff, cases);
        }
    MaskBlt_CheckRefused();
    return STEP_CLOSE;
}

const Scenario Scenario_MaskBlt = {"maskblt", MaskBlt_Begin, MaskBlt_Step, NULL, NULL};
