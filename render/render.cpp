// Renderer front: window creation, per-frame step, paint, resize and shutdown.
#include "platform/platform.h"
#include "render/render.h"

static struct { HWND window; } s_render;

CORE_API int Render_Initialize(HWND window) {
    s_render.window = window;
    return 0;
}

CORE_API uint8_t Render_IsFullscreen(void) {
    return 0;
}

CORE_API BOOL Render_Paint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    return EndPaint(window, &paint);
}

CORE_API uint8_t Render_SetFullscreen(uint8_t on) {
    (void)on;
    return 1; // not switched
}

CORE_API int Render_Shutdown(HWND window) {
    (void)window;
    return 0;
}

CORE_API BOOL Render_Step(HWND window) {
    // Painted before this returns, so each frame is on screen before the pacing sleep.
    return RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW);
}

void Render_Resize(uint16_t width, uint16_t height, uint8_t maximized) {
    (void)width;
    (void)height;
    (void)maximized;
}
