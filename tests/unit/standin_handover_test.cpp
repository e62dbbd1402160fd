// The stand-in core's two hand-over forms, decoded apart from the encoder: every pixel of a
// random frame must carry its graphics index, text index and mask bit in both.
#include "core/core.h"
#include "kernel/frame.h"
#include "kernel/handover.h"

#include <gtest/gtest.h>

// Pixel (x, y) of a plane (80 bytes a row, MSB left) or 4-bit picture (high nibble left).
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
        // Each form put back together (graphics + 16 text + 128 mask) must give the pixel.
        for (int y = 0; y < FRAME_HEIGHT; y++)
            for (int x = 0; x < FRAME_WIDTH; x++) {
                int planes = Bit(second, x, y) << 7;
                for (int b = 0; b < 4; b++)
                    planes |= Bit(first + b * CORE_PLANE_BYTES, x, y) << b;
                for (int b = 0; b < 3; b++)
                    planes |= Bit(second + (b + 1) * CORE_PLANE_BYTES, x, y) << (4 + b);
                int separate =
                    Nibble(graphics, x, y) + Nibble(text, x, y) * 16 + Bit(mask, x, y) * 128;
                ASSERT_EQ(planes, frame[y * FRAME_WIDTH + x]) << x << "," << y;
                ASSERT_EQ(separate, frame[y * FRAME_WIDTH + x]) << x << "," << y;
            }
    }
}
