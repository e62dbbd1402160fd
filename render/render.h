// The renderer's interface: what the window procedure, the main loop, the frame pacing and
// the keyboard call. The first six are also exported by name for the core, which knows them
// from core/core.h; render.cpp sees both headers, so the compiler holds them to one signature.
#pragma once

#include "platform/platform.h"

#define RENDER_API extern "C"

// From WM_CREATE: the palette, then the frame surfaces of the render mode.
RENDER_API int Render_Initialize(HWND window);
// Once after the core starts, then every frame: the palette if the core changed it, the frame
// fetched, and the window painted before this returns; the result of RedrawWindow.
RENDER_API BOOL Render_Step(HWND window);
// From WM_PAINT: the frame (or the placeholder) drawn; the result of EndPaint.
RENDER_API BOOL Render_Paint(HWND window);
// After the message loop: deletes the frame surfaces; the palette lives on.
RENDER_API int Render_Shutdown(HWND window);
// Non-zero while fullscreen.
RENDER_API uint8_t Render_IsFullscreen(void);
// Switches to fullscreen (non-zero) or back; 0 done, 1 display mode not changed.
RENDER_API uint8_t Render_SetFullscreen(uint8_t on);

// From WM_SIZE: logs and records the client size, and the maximized state while windowed.
void Render_Resize(uint16_t width, uint16_t height, uint8_t maximized);
