// Test hooks of the native build, exported by the test programs only: how a scripted core
// watches the window, injects real input, and drives joysticks, the clock and the display.
#pragma once

#include "platform/platform.h"

#ifndef HOOKS_API
#define HOOKS_API extern "C" __attribute__((visibility("default")))
#endif

// ---- window ----

// Called after every window-procedure call, with the procedure's result; null: none.
typedef void (*HooksObserver)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT result);
HOOKS_API void Hooks_SetObserver(HooksObserver observer);

// Posts a message to the window's queue, as PostMessageA (a null window: the thread's
// queue); 0 for a bad window handle.
HOOKS_API int Hooks_PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The first live window of the class (any class for null); null when none.
HOOKS_API HWND Hooks_FindWindow(const char *className);

// From now on CreateWindowExA fails (returns null), or works again.
HOOKS_API void Hooks_FailWindowCreation(int fail);

typedef struct {
    POINT clientOrigin; // the client area's top left, screen coordinates
    int clientWidth;    // 0 x 0 while minimized
    int clientHeight;
    int visible;
    int maximized;
    int destroyed; // the handle belonged to a window that is gone
    char title[64];
} HooksWindowState;

// Fills the state of a window, live or destroyed; 0 for a handle that never was a window.
HOOKS_API int Hooks_GetWindowState(HWND window, HooksWindowState *state);

typedef struct {
    UINT style;
    int largeIcon; // sides of the class's icon pictures; 0 for none
    int smallIcon;
    int blackBackground; // the background is the stock black brush
    int arrowCursor;     // the cursor is the arrow
} HooksClassInfo;

// Fills what a registered class holds; 0 for a class that is not registered.
HOOKS_API int Hooks_GetClassInfo(const char *name, HooksClassInfo *info);

// Sets what GetKeyState answers for a virtual key: bit 7 down, bit 0 toggled (as
// SetKeyboardState would); the input rules (Alt, Ctrl) see it too.
HOOKS_API void Hooks_SetKeyState(int vk, int state);

// ---- real input, through SDL's event queue ----

// A key by SDL scancode, down or up; repeat marks an auto-repeat.
HOOKS_API void Hooks_Key(int scancode, int down, int repeat);
// The same by virtual key (the left key for VK_SHIFT, VK_CONTROL and VK_MENU); a key pressed
// again while down is an auto-repeat, as a keyboard gives it. 0 for a key no keyboard has.
HOOKS_API int Hooks_KeyVk(int vk, int down);
// The pointer to a client position of the window (outside the client too, negative too).
HOOKS_API void Hooks_MouseTo(HWND window, int x, int y);
// The pointer to a screen position, over the window: no client mapping of the program's own.
HOOKS_API void Hooks_MouseAtScreen(HWND window, int x, int y);
// A mouse button at the pointer's last position: 1 left, 2 middle, 3 right.
HOOKS_API void Hooks_MouseButton(HWND window, int button, int down);
// The window system gives the window the focus, or takes it away.
HOOKS_API void Hooks_Focus(HWND window, int gained);
// The user closes the window (its close button).
HOOKS_API void Hooks_Close(HWND window);

// ---- joysticks (SDL virtual joysticks: 6 axes, 32 buttons, 1 hat) ----

// Gives joystick id 0..15 the state WinMM would report (axes 0..65535, the hat in hundredths
// of a degree, 0xFFFF or 0xFFFFFFFF centred), plugging it in there first; null unplugs it. 0
// when no joystick can report that state (a hat between the eight directions, say).
HOOKS_API int Hooks_Joystick(int id, const JOYINFOEX *state);

// ---- clock ----

// From now on every clock reads a virtual clock starting at startMicros, and Sleep
// advances it instead of waiting.
HOOKS_API void Hooks_ClockVirtual(uint64_t startMicros);
// Advances the virtual clock.
HOOKS_API void Hooks_ClockAdvance(uint64_t micros);
// Microseconds on the clock every time function reads.
HOOKS_API uint64_t Hooks_ClockNow(void);
// The performance counter's frequency (0: 10 MHz again), whether QueryPerformanceFrequency
// fails, and a value added to the counter (to place its 32-bit wrap).
HOOKS_API void Hooks_ClockCounter(uint64_t frequency, int frequencyFails, uint64_t counterStart);

// ---- libraries ----

// Hides one function of a library from GetProcAddress, or shows it again.
HOOKS_API void Hooks_HideFunction(const char *library, const char *function, int hidden);

// ---- display and drawing ----

// Lists the classic modes (640 x 400, 640 x 480) before the desktop's, or the desktop's alone
// (0), as a display that has none of them.
HOOKS_API void Hooks_ListClassicModes(int listed);
// The desktop size where no display tells it (SDL's offscreen driver); 0 x 0: SDL's again.
HOOKS_API void Hooks_SetDesktopSize(int width, int height);
// What the window last presented (its SDL window's surface) as 0xRRGGBB, *width pixels a row;
// 0 when it presents nothing or more than capacity pixels.
HOOKS_API int Hooks_ReadPresented(HWND window, uint32_t *out, int capacity, int *width,
                                  int *height);
// Device contexts, bitmaps and palettes alive (see Gdi_LiveObjects).
HOOKS_API uint32_t Hooks_GdiLiveObjects(void);
// The n-th creation of a GDI object from now on fails (see Gdi_FailCreationAt).
HOOKS_API void Hooks_GdiFailCreationAt(uint32_t n);
