// The contract with the emulator core: what KERNEL.dll exports to the front-end, and the
// nine functions the front-end exports back. All cdecl, undecorated names.
#pragma once

#include "platform/platform.h"

#define CORE_API extern "C"

// Emulated display: 640 x 400; a monochrome plane is 400 rows of 80 bytes, MSB leftmost.
enum {
    CORE_SCREEN_WIDTH = 640,
    CORE_SCREEN_HEIGHT = 400,
    CORE_PLANE_BYTES = 32000,   // one monochrome plane
    CORE_SURFACE_BYTES = 128000 // one 4-bit picture, high nibble = left pixel
};

// Input_Event codes and values. Every on/off input goes down with 8 and up with 2.
enum {
    CORE_EVENT_PRESS = 8,
    CORE_EVENT_RELEASE = 2,
    CORE_EVENT_KEY_MASK = 0xFF,     // keyboard: virtual-key code & 0xFF
    CORE_EVENT_JOY_BUTTON = 0x4000, // + d * 0x100 + button 0..31 (and the hat codes)
    CORE_EVENT_JOY_AXIS = 0x5000,   // + d * 0x100 + axis X0 Y1 Z2 R3 U4 V5; value = pos >> 8
    CORE_EVENT_JOY_STRIDE = 0x100,
    // Hat directions, in the joystick's button group above its 32 buttons. A diagonal
    // presses its two neighbours (forward-right: forward and right); centred presses none.
    CORE_EVENT_HAT_FORWARD = 0x20,
    CORE_EVENT_HAT_RIGHT = 0x21,
    CORE_EVENT_HAT_BACK = 0x22,
    CORE_EVENT_HAT_LEFT = 0x23
};

// ---- Imported from KERNEL.dll ----

// Starts the core once, with the command line's tail after the program name (or null).
CORE_API void Kernel_Initialize(const char *tail);
// Emulates one frame.
CORE_API void Kernel_Step(void);
// Non-zero when the graphics palette changed since the last call.
CORE_API uint8_t GDCGraph_IsPaletteChanged(void);
// Handle of the core's graphics palette, for GDCPal_GetColor.
CORE_API uint32_t GDCGraph_GetPalette(void);
// Handle of the core's text palette, for GDCPal_GetColor.
CORE_API uint32_t GDCText_GetPalette(void);
// 12-bit colour of one palette entry: red bits 0-3, green 4-7, blue 8-11.
CORE_API uint16_t GDCPal_GetColor(uint32_t palette, uint8_t index);
// Stores pointers to graphics planes 0-3 and to mask plus text planes 0-2 (4 x 32000 each).
CORE_API void GDC_RenderBuffer(uint8_t **graphics, uint8_t **maskAndText);
// Writes the frame into the graphics (4-bit), text (4-bit) and mask (1-bit) surfaces.
CORE_API void GDC_RenderSep(void *graphicsBits, void *textBits, void *maskBits);
// A key went down (platform virtual-key code).
CORE_API void Keyboard_Press(uint32_t vk);
// A key went up (platform virtual-key code).
CORE_API void Keyboard_Release(uint32_t vk);
// One input event: code and value as listed above.
CORE_API void Input_Event(uint32_t code, uint32_t value);
// Pointer position in the emulated display, x 0..639, y 0..399.
CORE_API void Mouse_Move(int32_t x, int32_t y);
// The pointer entered the emulated display.
CORE_API void Mouse_EnterWindow(void);
// The pointer left the emulated display; repeated calls are harmless.
CORE_API void Mouse_LeaveWindow(void);
// Non-zero while the core counts the pointer as inside.
CORE_API uint8_t Mouse_IsInWindow(void);
// A mouse button went down: 1 left, 2 right.
CORE_API void Mouse_KeyPress(uint32_t button);
// A mouse button went up: 1 left, 2 right.
CORE_API void Mouse_KeyRelease(uint32_t button);

// ---- Exported by the front-end (ordinals 1 to 9, in this order) ----
// The renderer's six are declared for the front-end itself in render/render.h.

// Builds the palette and the frame surfaces for the window (from WM_CREATE).
CORE_API int Render_Initialize(HWND window);
// Non-zero while fullscreen.
CORE_API uint8_t Render_IsFullscreen(void);
// Paints the window (from WM_PAINT); the result of EndPaint.
CORE_API BOOL Render_Paint(HWND window);
// Switches to fullscreen (non-zero) or back; 0 done, 1 display mode not changed.
CORE_API uint8_t Render_SetFullscreen(uint8_t on);
// Frees the frame surfaces.
CORE_API int Render_Shutdown(HWND window);
// Fetches the frame from the core and repaints the window at once.
CORE_API BOOL Render_Step(HWND window);
// Current time in milliseconds (in periods of the Time_Initialize argument on the counter).
CORE_API uint32_t Time_Get(void);
// Chooses the clock and begins the timer period; the clock: 0 counter, 1 WinMM, 2 ticks.
CORE_API int32_t Time_Initialize(uint32_t period);
// Ends the timer period and releases WinMM; the clock source.
CORE_API int32_t Time_Shutdown(uint32_t period);
