// The stand-in core's graphics and text palettes, with a graphics palette that cycles.
#pragma once

#include "platform/platform.h"

enum {
    PALETTE_GRAPHICS_HANDLE = 1, // what GDCGraph_GetPalette answers
    PALETTE_TEXT_HANDLE = 2,     // what GDCText_GetPalette answers
    PALETTE_CYCLE_FRAMES = 180,  // frames between two graphics palette changes (3 s at 60 fps)
    PALETTE_CYCLE_FIRST = 9,     // graphics entries 9..14 rotate; the others stay put
    PALETTE_CYCLE_COUNT = 6      // how many entries rotate
};

// 12-bit 0xBGR colour of an entry, right before any other call; 0 for an unknown handle or index.
uint16_t Palette_Color(uint32_t handle, uint8_t index);
// Advances the cycle for the given frame number; a change is noted once per step.
void Palette_Step(uint32_t frame);
// Non-zero once after each change, then zero until the next.
uint8_t Palette_TakeChanged(void);
// How many steps the graphics cycle has taken, modulo the cycle length.
uint32_t Palette_Phase(void);
