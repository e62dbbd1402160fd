// Recording fake of the emulator core for host unit tests; its calls go to the platform
// fake's log, so one sequence shows both.
#pragma once

#include "platform/fake/fake_platform.h"

#include <functional>

struct FakeCore {
    uint64_t stepMicros = 0;      // fake time one Kernel_Step takes
    uint32_t steps = 0;           // Kernel_Step calls so far
    std::function<void()> onStep; // runs inside each Kernel_Step
    uint8_t paletteChanged = 0;   // what GDCGraph_IsPaletteChanged answers
    uint16_t colors[2][16] = {};  // graphics and text palettes, by handle 1 and 2
    uint8_t *planes = nullptr;    // what GDC_RenderBuffer hands out (8 x 32000 bytes)
    uint8_t inside = 0;           // Mouse_IsInWindow: set by enter, cleared by leave
};

// The fake core's state.
FakeCore &FakeCore_State();

// Back to a fresh fake core.
void FakeCore_Reset();
