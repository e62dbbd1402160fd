// Test hooks of the native build, exported by the test programs only: how the scripted core's
// probe (tests/core/probe.h) watches the window, injects real input, and drives joysticks, the
// clock and the display.
#pragma once

#include "tests/core/probe.h"

#define HOOKS_API extern "C" __attribute__((visibility("default")))

// ---- window ----

// Called after every window-procedure call, with the procedure's result.
typedef void (*HooksObserver)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT result);
// Sets the observer (null: none); the first live window of the class, or null.
HOOKS_API HWND Hooks_Observe(const char *className, HooksObserver observer);
// Posts a message to the window's queue, as PostMessageA; 0 for a bad window handle.
HOOKS_API int Hooks_PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// From now on CreateWindowExA fails (returns null), or works again.
HOOKS_API void Hooks_FailWindowCreation(int fail);
// Fills what the window (live or destroyed) and its class hold, as Probe_GetWindow.
HOOKS_API void Hooks_GetWindow(HWND window, const char *className, ProbeWindow *state);
// As Probe_ReadPresented: the SDL window's surface; 0 when none or above capacity pixels.
HOOKS_API int Hooks_ReadPresented(HWND window, uint32_t *out, int capacity, int *width,
                                  int *height);
// The window system takes the focus away from the window (0), gives it (1), or the user closes
// the window with its close button (2).
HOOKS_API void Hooks_WindowEvent(HWND window, int event);

// ---- real input, through SDL's event queue ----

// Sets what GetKeyState answers for a virtual key (0: every key): bit 7 down, bit 0 toggled
// (as SetKeyboardState would); the input rules (Alt, Ctrl) see it too.
HOOKS_API void Hooks_SetKeyState(int vk, int state);
// A key by SDL scancode going down or up; pressed again while down, an auto-repeat, as a
// keyboard gives it.
HOOKS_API void Hooks_Key(int scancode, int down);
// The same by virtual key (the left key for VK_SHIFT, VK_CONTROL and VK_MENU); 0 for a key no
// keyboard has.
HOOKS_API int Hooks_KeyVk(int vk, int down);
// Real pointer input as Probe_Mouse; a screen position is taken over the window's SDL window,
// with no client mapping of the program's own.
HOOKS_API void Hooks_Mouse(HWND window, int x, int y, uint32_t buttons);
// As Probe_Joystick, for ids 0..15, through SDL's virtual joysticks (6 axes, 32 buttons, a
// hat); 0 when none can report the state (a hat between the eight directions, say).
HOOKS_API int Hooks_Joystick(int id, const JOYINFOEX *state);

// ---- clock, display and drawing ----

// As Probe_ClockSet.
HOOKS_API void Hooks_ClockSet(uint64_t startMicros, uint64_t counterHz, int winmm);
// As Probe_ClockAdvance.
HOOKS_API uint64_t Hooks_ClockAdvance(uint64_t micros);
// The desktop size where no display tells it (SDL's offscreen driver), and whether the classic
// modes (640 x 400, 640 x 480) are listed before the desktop's.
HOOKS_API void Hooks_SetDesktop(int width, int height, int classicModes);
// Device contexts, bitmaps and palettes alive (see Gdi_LiveObjects).
HOOKS_API uint32_t Hooks_GdiLiveObjects(void);
// The n-th creation of a GDI object from now on fails (see Gdi_FailCreationAt).
HOOKS_API void Hooks_GdiFailCreationAt(uint32_t n);
