// The rendering benchmark's baseline: one frame's GDI work done with the bare calls.
#pragma once

#include "core/core.h"

// Makes the baseline's own surfaces for a render mode, coloured by the core's palette.
bool Bare_Create(int32_t mode);
// Fetches the core's frame (when asked to) and paints it into the window as the mode does, for a
// client area of width x height: directly, or through a 640 x 400 buffer copied or stretched.
void Bare_Frame(HWND window, int width, int height, bool fetch);
