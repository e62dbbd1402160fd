// Renderer: the entry points the window procedure, the main loop and the core call. The
// exported ones are declared with the core contract in core/core.h.
#pragma once

#include "core/core.h"

// Records the client size from WM_SIZE and the maximized state while windowed.
void Render_Resize(uint16_t width, uint16_t height, uint8_t maximized);
