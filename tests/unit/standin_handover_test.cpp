// Both hand-over forms of the stand-in core, decoded independently of the encoder.
#include "core/core.h"
#include "kernel/frame.h"
#include "kernel/handover.h"

#include <gtest/gtest.h>

namespace {

uint8_t frame[FRAME_PIXELS];
uint8_t graphicsSurface[CORE_SURFACE_BYTES];
uint8_t textSurface[CORE_SURFACE_BYTES];
uint8_t maskSurface[CORE_PLANE_BYTES];

// Pixel (x, y) of a monochrome plane: 80 bytes a row, top row first, MSB leftmost.
int PlaneBit(const uint8_t *plane, int x, int y)
{
    return plane[y * 80 + x / 8] >> (7 - x % 8) & 1;
}

// Pixel (x, y) of a 4-bit picture: 320 bytes a row, high nibble left.
int Nibble(const uint8_t *surface, int x, int y)
{
    uint8_t b = surface[y * 320 + x / 2];
    return x % 2 == 0 ? b >> 4 : b & 0xF;
}

void FillRandom(uint32_t seed)
{
    for (int i = 0; i < FRAME_PIXELS; ++i) {
        seed = seed * 1664525u + 1013904223u;
        frame[i] = (uint8_t)(seed >> 24);
    }
}

// Every pixel of both forms must carry the frame's graphics index, text index and mask bit.
void ExpectBothFormsMatchFrame()
{
    uint8_t *first = nullptr;
    uint8_t *second = nullptr;
    Handover_Planes(frame, &first, &second);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    memset(graphicsSurface, 0xEE, sizeof graphicsSurface);
    memset(textSurface, 0xEE, sizeof textSurface);
    memset(maskSurface, 0xEE, sizeof maskSurface);
    Handover_Separate(frame, graphicsSurface, textSurface, maskSurface);

    int mismatches = 0;
    for (int y = 0; y < FRAME_HEIGHT && mismatches < 5; ++y) {
        for (int x = 0; x < FRAME_WIDTH && mismatches < 5; ++x) {
            uint8_t p = frame[y * FRAME_WIDTH + x];
            int graphics = p & 0x0F, text = (p >> 4) & 7, mask = p >> 7;
            int planeGraphics = 0, planeText = 0;
            for (int b = 0; b < 4; ++b)
                planeGraphics |= PlaneBit(first + b * CORE_PLANE_BYTES, x, y) << b;
            for (int b = 0; b < 3; ++b)
                planeText |= PlaneBit(second + (b + 1) * CORE_PLANE_BYTES, x, y) << b;
            int planeMask = PlaneBit(second, x, y);
            bool ok = planeGraphics == graphics && planeText == text && planeMask == mask &&
                      Nibble(graphicsSurface, x, y) == graphics &&
                      Nibble(textSurface, x, y) == text && PlaneBit(maskSurface, x, y) == mask;
            if (!ok) {
                ++mismatches;
                ADD_FAILURE() << "pixel " << x << "," << y << " frame byte " << (int)p;
            }
        }
    }
}

TEST(StandinHandover, RandomFramesDecodeAlikeInBothForms)
{
    for (uint32_t seed : {1u, 0xC0FFEEu, 0xFFFFFFFFu}) {
        FillRandom(seed);
        ExpectBothFormsMatchFrame();
    }
}

// Single lit pixels pin the byte and bit that each layout puts them in.
struct PixelCase {
    int x, y;
    uint8_t value; // frame pixel
    int form;      // 0 first planes, 1 second planes, 2 graphics, 3 text, 4 mask
    int offset;    // byte that must be non-zero
    uint8_t byte;  // its value
};

const PixelCase PIXEL_CASES[] = {
    {0, 0, 0x01, 0, 0, 0x80},                     // graphics bit 0, top left
    {639, 399, 0x08, 0, 3 * 32000 + 31999, 0x01}, // graphics bit 3, bottom right
    {9, 1, 0x02, 0, 32000 + 81, 0x40},            // graphics bit 1, second row
    {8, 1, 0x80, 1, 81, 0x80},                    // mask plane comes first
    {639, 399, 0x40, 1, 3 * 32000 + 31999, 0x01}, // text bit 2 is the last plane
    {7, 0, 0x10, 1, 32000, 0x01},                 // text bit 0
    {1, 0, 0x0A, 2, 0, 0x0A},                     // right pixel in the low nibble
    {0, 0, 0x05, 2, 0, 0x50},                     // left pixel in the high nibble
    {639, 399, 0x0F, 2, 127999, 0x0F},            // last graphics byte
    {0, 1, 0x50, 3, 320, 0x50},                   // text index 5, second row
    {3, 0, 0x70, 3, 1, 0x07},                     // text index 7, right nibble
    {15, 2, 0x80, 4, 161, 0x01},                  // mask bit, LSB = rightmost pixel
};

TEST(StandinHandover, SinglePixelsLandInTheirByteAndBit)
{
    for (const PixelCase &c : PIXEL_CASES) {
        memset(frame, 0, sizeof frame);
        frame[c.y * FRAME_WIDTH + c.x] = c.value;
        uint8_t *first = nullptr, *second = nullptr;
        Handover_Planes(frame, &first, &second);
        memset(graphicsSurface, 0, sizeof graphicsSurface);
        memset(textSurface, 0, sizeof textSurface);
        memset(maskSurface, 0, sizeof maskSurface);
        Handover_Separate(frame, graphicsSurface, textSurface, maskSurface);
        const uint8_t *forms[] = {first, second, graphicsSurface, textSurface, maskSurface};
        const int sizes[] = {4 * CORE_PLANE_BYTES, 4 * CORE_PLANE_BYTES, CORE_SURFACE_BYTES,
                             CORE_SURFACE_BYTES, CORE_PLANE_BYTES};
        const uint8_t *form = forms[c.form];
        EXPECT_EQ(form[c.offset], c.byte) << "pixel " << c.x << "," << c.y;
        int lit = 0;
        for (int i = 0; i < sizes[c.form]; ++i)
            lit += form[i] != 0;
        EXPECT_EQ(lit, 1) << "pixel " << c.x << "," << c.y << " form " << c.form;
    }
}

TEST(StandinHandover, NullSurfacesAreSkipped)
{
    memset(frame, 0xFF, sizeof frame);
    memset(maskSurface, 0, sizeof maskSurface);
    Handover_Separate(frame, nullptr, nullptr, maskSurface);
    EXPECT_EQ(maskSurface[0], 0xFF);
    EXPECT_EQ(maskSurface[CORE_PLANE_BYTES - 1], 0xFF);
}

} // namespace
