// Update regions, WM_PAINT and WM_ERASEBKGND, and presenting client pixels on the screen.
#pragma once

#include "platform/sdl/window.h"

// Adds the whole client (or a rectangle of it) to the update region.
void Paint_Invalidate(NativeWindow *w, const RECT *rect, bool erase);
// Sends WM_ERASEBKGND now for a pending erase.
void Paint_EraseNow(NativeWindow *w);
// Sends WM_PAINT now when the window is shown with a non-empty update region.
void Paint_UpdateNow(NativeWindow *w);
// Copies the client pixels to the screen.
void Paint_Present(NativeWindow *w);
// Presents every window something drew into through its DC since the last look.
void Paint_PresentDrawn(void);
// The SDL window a window's pixels are presented in; null for none.
SDL_Window *Paint_Target(HWND window);
// Points the window's DC at its pixels (a class DC moves between windows).
HDC Paint_Bind(NativeWindow *w);
// DefWindowProc's WM_ERASEBKGND: fills the client with the class brush; 1 when it has one.
LRESULT Paint_EraseBackground(NativeWindow *w);
// The window that should get WM_PAINT next; null when none.
NativeWindow *Paint_NextDue(void);
// BeginPaint calls so far: whether a window procedure answered a WM_PAINT.
uint32_t Paint_BegunCount(void);
