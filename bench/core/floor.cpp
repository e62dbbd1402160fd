// The floor of composition: the core's frame from its eight planes into 32-bit pixels through
// plain lookup tables, as a program drawing the picture itself would: the least any render
// mode can cost, to set the modes' figures against.
#include "bench/core/bench.h"
#include "tests/core/testcore.h"

#include <algorithm>

enum { FLOOR_WARMUP = 20, FLOOR_CALLS = 200 };

static struct {
    uint64_t spread[256]; // a plane byte's bits one a byte, the leftmost pixel in the lowest
    uint32_t colors[24];  // graphics 0..15, text 16..23, as 0xRRGGBB
    uint32_t pixels[CORE_SCREEN_WIDTH * CORE_SCREEN_HEIGHT];
    double ms[FLOOR_CALLS];
} s_floor;

static void Floor_Compose(const uint8_t *graphics, const uint8_t *maskAndText)
{
    const uint64_t *t = s_floor.spread;
    const int n = CORE_PLANE_BYTES;
    for (int i = 0; i < n; i++) {
        uint64_t g = t[graphics[i]] | t[graphics[i + n]] << 1 | t[graphics[i + 2 * n]] << 2 |
                     t[graphics[i + 3 * n]] << 3;
        uint64_t x = t[maskAndText[i + n]] | t[maskAndText[i + 2 * n]] << 1 |
                     t[maskAndText[i + 3 * n]] << 2 | 0x1010101010101010ull; // text from 16
        uint64_t mask = t[maskAndText[i]] * 0xFF; // 1 bits: the text shows
        uint64_t index = (g & ~mask) | (x & mask);
        uint32_t *out = &s_floor.pixels[i * 8];
        for (int k = 0; k < 8; k++)
            out[k] = s_floor.colors[(index >> 8 * k) & 0xFF];
    }
}

double Bench_FloorMs(void)
{
    for (int b = 0; b < 256; b++) {
        s_floor.spread[b] = 0;
        for (int k = 0; k < 8; k++)
            s_floor.spread[b] |= (uint64_t)(b >> (7 - k) & 1) << 8 * k;
    }
    uint32_t palettes[2] = {GDCGraph_GetPalette(), GDCText_GetPalette()};
    for (int i = 0; i < 24; i++) {
        uint16_t c = GDCPal_GetColor(palettes[i >= 16], (uint8_t)(i < 16 ? i : i - 16));
        s_floor.colors[i] =
            (c & 0xFu) * 0x110000 + (c >> 4 & 0xFu) * 0x1100 + (c >> 8 & 0xFu) * 0x11;
    }
    uint8_t *graphics = 0, *maskAndText = 0;
    GDC_RenderBuffer(&graphics, &maskAndText);
    for (int i = 0; i < FLOOR_WARMUP + FLOOR_CALLS; i++) {
        uint64_t from = Probe_Micros();
        Floor_Compose(graphics, maskAndText);
        if (i >= FLOOR_WARMUP)
            s_floor.ms[i - FLOOR_WARMUP] = (double)(Probe_Micros() - from) / 1000.0;
    }
    std::sort(s_floor.ms, s_floor.ms + FLOOR_CALLS);
    return (s_floor.ms[FLOOR_CALLS / 2 - 1] + s_floor.ms[FLOOR_CALLS / 2]) / 2;
}
