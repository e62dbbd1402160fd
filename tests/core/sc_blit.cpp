// The emulated mask blit (compiled in from render/) against the platform's MaskBlt (ours held to
// the GDI's conformance cases, Wine's the reference) over operations, masks and sources; and
// blits that cannot get scratch bitmaps.
#include "render/maskblt.h"
#include "tests/core/testcore.h"

enum { BLIT_WIDTH = 96, BLIT_HEIGHT = 80 }; // rows of 12 bytes suit DDB and DIB masks alike
enum { BLIT_MASK_ROW = BLIT_WIDTH / 8, BLIT_PIXELS = BLIT_WIDTH * BLIT_HEIGHT };

// Operations: every source/destination exchange pair, symmetric ones, some with the pattern.
static const uint8_t blit_rops[] = {0x00, 0xFF, 0xCC, 0xAA, 0x33, 0x55, 0x66, 0x88,
                                    0xEE, 0x22, 0x44, 0xBB, 0xDD, 0x1B, 0xB8, 0x5A};
enum { BLIT_ROPS = sizeof blit_rops };

static const struct {
    int x, y, width, height, sourceX, sourceY, maskX, maskY;
    bool fourBit; // the source: a 4-bit DIB with its own colours, else a 32-bit one
    const char *name;
} blit_cases[] = {
    {5, 7, 61, 37, 11, 3, 2, 9, false, "offsets all different, 32-bit source"},
    {30, 40, 64, 33, 0, 0, 13, 1, true, "offsets all different, 4-bit source"},
    {0, 0, BLIT_WIDTH, BLIT_HEIGHT, 0, 0, 0, 0, false, "whole bitmaps, 32-bit source"},
};

// Device contexts with DIB sections: two sources, and MaskBlt's and the emulation's results.
enum { BLIT_SOURCE32, BLIT_SOURCE4, BLIT_MASKBLT, BLIT_EMULATED };

static struct {
    HDC dc[4];
    uint32_t *bits[4];   // their pixels (the 4-bit source's two a byte)
    uint32_t colors[16]; // the 4-bit source's, 0xRRGGBB as its colour table holds them
    HBITMAP maskDDB, maskDIB;
    uint8_t *maskBits;           // the DIB mask's, the DDB's too
    uint32_t start[BLIT_PIXELS]; // both destinations before each blit
} s_blit;

static bool Blit_Setup(void)
{
    uint32_t state = 0x5EED1234;
    for (uint32_t &c : s_blit.colors)
        c = Test_Random(&state) & 0xFFFFFF;
    for (int k = 0; k < 4; k++) {
        void *bits = NULL;
        s_blit.dc[k] = CreateCompatibleDC(0);
        SelectObject(s_blit.dc[k], Test_MakeDIB(BLIT_WIDTH, BLIT_HEIGHT, k == BLIT_SOURCE4 ? 4 : 32,
                                                (const RGBQUAD *)s_blit.colors,
                                                k == BLIT_SOURCE4 ? 16 : 0, &bits));
        if (!(s_blit.bits[k] = (uint32_t *)bits))
            return false;
    }
    for (int i = 0; i < BLIT_PIXELS; i++) {
        s_blit.bits[BLIT_SOURCE32][i] = Test_Random(&state) & 0xFFFFFF;
        s_blit.start[i] = Test_Random(&state) & 0xFFFFFF;
    }
    for (int i = 0; i < BLIT_PIXELS / 2; i++)
        ((uint8_t *)s_blit.bits[BLIT_SOURCE4])[i] = (uint8_t)Test_Random(&state);
    static const RGBQUAD blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    void *mask = NULL;
    s_blit.maskDIB = Test_MakeDIB(BLIT_WIDTH, BLIT_HEIGHT, 1, blackWhite, 2, &mask);
    if (!(s_blit.maskBits = (uint8_t *)mask))
        return false;
    for (int i = 0; i < BLIT_HEIGHT * BLIT_MASK_ROW; i++)
        s_blit.maskBits[i] = (uint8_t)(Test_Random(&state) >> 7);
    return (s_blit.maskDDB = CreateBitmap(BLIT_WIDTH, BLIT_HEIGHT, 1, 1, s_blit.maskBits)) != 0;
}

static bool Blit_Same(const uint32_t *a, const uint32_t *b)
{
    for (int i = 0; i < BLIT_PIXELS; i++)
        if ((a[i] ^ b[i]) & 0xFFFFFF)
            return false;
    return true;
}

static void Blit_RunGrid(int c, HBITMAP mask, const char *maskName)
{
    const auto &g = blit_cases[c];
    HDC source = s_blit.dc[g.fourBit ? BLIT_SOURCE4 : BLIT_SOURCE32];
    uint32_t *maskBlt = s_blit.bits[BLIT_MASKBLT], *emulated = s_blit.bits[BLIT_EMULATED];
    uint32_t differ = 0, digest = TEST_HASH_START;
    int grid = mask ? BLIT_ROPS : 1; // without a mask the background plays no part
    for (int f = 0; f < BLIT_ROPS; f++)
        for (int b = 0; b < grid; b++) {
            DWORD rop4 = (DWORD)blit_rops[b] << 24 | Render_GetRopCode(blit_rops[f]);
            memcpy(maskBlt, s_blit.start, sizeof s_blit.start);
            memcpy(emulated, s_blit.start, sizeof s_blit.start);
            MaskBlt(s_blit.dc[BLIT_MASKBLT], g.x, g.y, g.width, g.height, source, g.sourceX,
                    g.sourceY, mask, g.maskX, g.maskY, rop4);
            BOOL done =
                Render_EmulatedMaskBlt(s_blit.dc[BLIT_EMULATED], g.x, g.y, g.width, g.height,
                                       source, g.sourceX, g.sourceY, mask, g.maskX, g.maskY, rop4);
            if ((!done || !Blit_Same(maskBlt, emulated)) && differ++ < 4)
                Log_Line("  %s, %s, ROP4 0x%08x differs", g.name, maskName, (unsigned)rop4);
            digest = Test_Hash(digest, emulated, BLIT_PIXELS);
        }
    char what[160];
    snprintf(what, sizeof what, "emulated mask blit = MaskBlt: %s, %s", g.name, maskName);
    Log_Check(differ == 0, what, "%u of %d operations differ", differ, BLIT_ROPS * grid);
    Log_Digest(what, digest);
}

// A blit that cannot have its scratch bitmaps leaves the destination alone and says so.
static void Blit_CheckRefused(void)
{
    // Refusal n: the blit's nth GDI creation fails; 0: none does, the blit is too large.
    static const char *const refusals[] = {
        "a blit too large for scratch bitmaps",      "the mask's context cannot be made",
        "the first scratch context cannot be made",  "the first scratch bitmap cannot be made",
        "the second scratch context cannot be made", "the second scratch bitmap cannot be made"};
    for (uint32_t fail = 0; fail < sizeof refusals / sizeof refusals[0]; fail++) {
        if (fail && !Probe_FailGdiCreation(fail))
            continue;
        int32_t live = Probe_LiveGdiObjects();
        memcpy(s_blit.bits[BLIT_EMULATED], s_blit.start, sizeof s_blit.start);
        int side = fail ? BLIT_WIDTH : 0x10000;
        BOOL done = Render_EmulatedMaskBlt(s_blit.dc[BLIT_EMULATED], 0, 0, side, side,
                                           s_blit.dc[BLIT_SOURCE32], 0, 0, s_blit.maskDDB, 0, 0,
                                           0xCCAA0029);
        Probe_FailGdiCreation(0);
        bool kept = Blit_Same(s_blit.bits[BLIT_EMULATED], s_blit.start);
        Log_Check(!done && kept && Probe_LiveGdiObjects() == live, refusals[fail],
                  "result %d, destination %s, %d objects left over", done,
                  kept ? "untouched" : "changed", (int)(Probe_LiveGdiObjects() - live));
    }
}

static ScenarioStep Blit_Step(uint32_t)
{
    if (!Log_Check(Blit_Setup(), "bitmaps made", "a bitmap could not be made"))
        return STEP_CLOSE;
    for (int c = 0; c < (int)(sizeof blit_cases / sizeof blit_cases[0]); c++) {
        Blit_RunGrid(c, s_blit.maskDDB, "monochrome DDB mask");
        Blit_RunGrid(c, s_blit.maskDIB, "1-bit DIB mask");
        Blit_RunGrid(c, NULL, "no mask");
    }
    Blit_CheckRefused();
    return STEP_CLOSE;
}

const Scenario Scenario_Blit = {"blit", NULL, Blit_Step, NULL, NULL, false};
