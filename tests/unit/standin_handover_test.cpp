// The stand-in core's two hand-over forms, decoded apart from the encoder: every pixel of a
// random frame must carry its graphics index, text index and mask bit in both.
#include "core/core.h"
#include "kernel/frame.h"
#include "kernel/handover.h"

#include <gtest/gtest.h>

// Pixel (x, y) of a monochrome plane (80 bytes a row, MSB leftmost) or of a 4-bit picture
// (320 bytes a row, the high nibble the left pixel).
static int Bit(const uint8_t *plane, int x, int y)
{
    return plane[y * 80 + x / 8] >> (7 - x % 8) & 1;
}

static int Nibble(const uint8_t *picture, int x, int y)
{
    return picture[y * 320 + x / 2] >> (x % 2 ? 0 : 4) & 0xF;
}

TEST(StandinHandover, BothFormsCarryEveryPixel)
{
    static uint8_t frame[FRAME_PIXELS], graphics[CORE_SURFACE_BYTES], text[CORE_SURFACE_BYTES],
        mask[CORE_PLANE_BYTES];
    for (uint32_t seed : {1u, 0xC0FFEEu}) {
        for (int i = 0; i < FRAME_PIXELS; i++)
            frame[i] = (uint8_t)((seed = seed * 1664525u + 1013904223u) >> 24);
        uint8_t *first = nullptr, *second = nullptr;
        Handover_Planes(frame, &first, &second);
        Handover_Separate(frame, graphics, text, mask);
        ASSERT_TRUE(first && second);
        for (int y = 0; y < FRAME_HEIGHT; y++)
            for (int x = 0; x < FRAME_WIDTH; x++) {
                int p = frame[y * FRAME_WIDTH + x], g = 0, t = 0;
                for (int b = 0; b < 4; b++)
                    g |= Bit(first + b * CORE_PLANE_BYTES, x, y) << b;
                for (int b = 0; b < 3; b++)
                    t |= Bit(second + (b + 1) * CORE_PLANE_BYTES, x, y) << b;
                ASSERT_EQ(g, p & 0xF) << x << "," << y;
                ASSERT_EQ(t, p >> 4 & 7) << x << "," << y;
                ASSERT_EQ(Bit(second, x, y), p >> 7) << x << "," << y;
                ASSERT_EQ(Nibble(graphics, x, y), p & 0xF) << x << "," << y;
                ASSERT_EQ(Nibble(text, x, y), p >> 4 & 7) << x << "," << y;
                ASSERT_EQ(Bit(mask, x, y), p >> 7) << x << "," << y;
            }
    }
}
