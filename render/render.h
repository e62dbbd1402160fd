// Renderer front: the entry points that the window procedure, the main loop and the frame
// pacing call. The exported ones (Render_Initialize, Render_Step, Render_Paint, ...) are
// declared with the core contract in core/core.h.
#pragma once

#include "core/core.h"

// Logs and records the client size from WM_SIZE, and the maximized state while windowed.
void Render_Resize(uint16_t width, uint16_t height, uint8_t maximized);
