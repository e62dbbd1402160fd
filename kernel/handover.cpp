// Converts the internal frame into the two layouts the front-end can ask for.
#include "core/core.h"
#include "kernel/frame.h"
#include "kernel/handover.h"

static struct {
    uint8_t first[4 * CORE_PLANE_BYTES];  // graphics planes 0..3
    uint8_t second[4 * CORE_PLANE_BYTES]; // mask plane, then text planes 0..2
} s_handover;

// Transposes an 8 x 8 bit block: eight pixel bytes in, eight plane bytes out. out[i] holds
// bit 7 - i of every pixel, pixel 0 in the MSB.
static void Handover_Transpose(const uint8_t *pixels, uint8_t *out)
{
    uint32_t x = (uint32_t)pixels[0] << 24 | (uint32_t)pixels[1] << 16 | (uint32_t)pixels[2] << 8 |
                 pixels[3];
    uint32_t y = (uint32_t)pixels[4] << 24 | (uint32_t)pixels[5] << 16 | (uint32_t)pixels[6] << 8 |
                 pixels[7];
    uint32_t t;
    // Swap ever larger blocks across the diagonal: 1 x 1 bits, then 2 x 2, then 4 x 4.
    t = (x ^ (x >> 7)) & 0x00AA00AA;
    x = x ^ t ^ (t << 7);
    t = (y ^ (y >> 7)) & 0x00AA00AA;
    y = y ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC;
    x = x ^ t ^ (t << 14);
    t = (y ^ (y >> 14)) & 0x0000CCCC;
    y = y ^ t ^ (t << 14);
    t = (x & 0xF0F0F0F0) | ((y >> 4) & 0x0F0F0F0F);
    y = ((x << 4) & 0xF0F0F0F0) | (y & 0x0F0F0F0F);
    x = t;
    out[0] = (uint8_t)(x >> 24);
    out[1] = (uint8_t)(x >> 16);
    out[2] = (uint8_t)(x >> 8);
    out[3] = (uint8_t)x;
    out[4] = (uint8_t)(y >> 24);
    out[5] = (uint8_t)(y >> 16);
    out[6] = (uint8_t)(y >> 8);
    out[7] = (uint8_t)y;
}

void Handover_Planes(const uint8_t *frame, uint8_t **first, uint8_t **second)
{
    uint8_t *g = s_handover.first;
    uint8_t *s = s_handover.second;
    for (int i = 0; i < CORE_PLANE_BYTES; ++i) {
        uint8_t bits[8]; // bits[7 - b] = plane of pixel bit b
        Handover_Transpose(frame + 8 * i, bits);
        g[i] = bits[7];                        // graphics bit 0
        g[i + CORE_PLANE_BYTES] = bits[6];     // graphics bit 1
        g[i + 2 * CORE_PLANE_BYTES] = bits[5]; // graphics bit 2
        g[i + 3 * CORE_PLANE_BYTES] = bits[4]; // graphics bit 3
        s[i] = bits[0];                        // priority mask
        s[i + CORE_PLANE_BYTES] = bits[3];     // text bit 0
        s[i + 2 * CORE_PLANE_BYTES] = bits[2]; // text bit 1
        s[i + 3 * CORE_PLANE_BYTES] = bits[1]; // text bit 2
    }
    if (first)
        *first = s_handover.first;
    if (second)
        *second = s_handover.second;
}

void Handover_Separate(const uint8_t *frame, void *graphics, void *text, void *mask)
{
    uint8_t *g = (uint8_t *)graphics;
    uint8_t *t = (uint8_t *)text;
    uint8_t *m = (uint8_t *)mask;
    if (g) {
        for (int i = 0; i < CORE_SURFACE_BYTES; ++i)
            g[i] = (uint8_t)((frame[2 * i] & FRAME_GRAPHICS) << 4 |
                             (frame[2 * i + 1] & FRAME_GRAPHICS));
    }
    if (t) {
        // The text index sits in bits 4-6: the left pixel's needs no shift.
        for (int i = 0; i < CORE_SURFACE_BYTES; ++i)
            t[i] = (uint8_t)((frame[2 * i] & FRAME_TEXT) |
                             (frame[2 * i + 1] & FRAME_TEXT) >> FRAME_TEXT_SHIFT);
    }
    if (m) {
        for (int i = 0; i < CORE_PLANE_BYTES; ++i) {
            const uint8_t *p = frame + 8 * i;
            uint8_t bits = 0;
            for (int k = 0; k < 8; ++k)
                bits = (uint8_t)(bits << 1 | p[k] >> 7);
            m[i] = bits;
        }
    }
}
