// What the scripted core asks of the platform beyond the program's own API: files, real time,
// the window's state, real input, joysticks and the clock. One implementation per platform
// (probe_*.cpp), but for the files, the environment and the window's size (runtime.cpp).
#pragma once

#include "core/core.h"

// A variable of the process environment, null when unset.
const char *Probe_Env(const char *name);
// Appends to a file at once, unbuffered: the run may end at any moment.
bool Probe_Append(const char *path, const char *text, uint32_t length);
// Real time in microseconds, whatever the program's clock does.
uint64_t Probe_Micros(void);

// The program's "WCGRAPH" window (or null), its messages handed to Scenario_Observe.
HWND Probe_HookWindow(void);
// Queues a message for the window, as PostMessageA.
void Probe_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

typedef struct {
    bool exists, visible, zoomed;
    POINT clientOrigin; // screen coordinates
    int clientWidth, clientHeight;
    bool classRegistered;
    uint32_t classStyle;
    int largeIcon, smallIcon; // sides of the class's icons; 0 for none
    bool blackBackground;     // the class background is the stock black brush
    bool arrowCursor;
    char title[64] = "";
} ProbeWindow;

// What the platform knows of the window and its class.
void Probe_GetWindow(HWND window, ProbeWindow *state);
// Sizes the window for a client area of width x height (at the corner if it would not fit).
void Probe_SetClientSize(HWND window, int width, int height);
// The desktop's size from now on, where it can be set (natively), its display listing the classic
// modes down to 320 x 200 as well, or its own mode alone (a plain X screen); false where not.
bool Probe_SetDesktop(int width, int height, bool classicModes);
// What the screen shows of the window once the platform has presented what was drawn, as
// 0xRRGGBB, *width pixels a row; false where that cannot be read (under Wine).
bool Probe_ReadPresented(HWND window, uint32_t *pixels, int capacity, int *width, int *height);
// The user closes the window with its caption's close button.
void Probe_Close(HWND window);
// Another window takes the activation and the keyboard focus (away), or gives them back.
void Probe_Activate(HWND window, bool away);

// What GetKeyState answers for a key from now on; vk 0 puts every key up.
void Probe_SetKeyState(uint8_t vk, bool down);
// A real key going down or up, as the keyboard gives it.
void Probe_Key(uint8_t vk, bool up);
// A real key by its USB usage code (SDL's scancode) going down or up; false where the platform
// takes no such code.
bool Probe_KeyUsage(uint16_t usage, bool up);
// Real pointer input: a move to client position (x, y), also outside the client, with the
// button changes of PROBE_* in the same event; PROBE_STAY: buttons only, no move; PROBE_SCREEN:
// (x, y) is a screen position over the window, mapped by the window system.
void Probe_Mouse(HWND window, int x, int y, uint32_t buttons);
enum { PROBE_LEFT_DOWN = 1, PROBE_LEFT_UP = 2, PROBE_RIGHT_DOWN = 4, PROBE_RIGHT_UP = 8 };
enum { PROBE_MIDDLE_DOWN = 16, PROBE_MIDDLE_UP = 32, PROBE_STAY = 64, PROBE_SCREEN = 128 };

// Gives joystick id the state (null: unplugged); false where no device can show it.
bool Probe_Joystick(uint32_t id, const JOYINFOEX *state);

// The clock the program reads, where a test can set it: from now on it stands still at start
// but for Sleep, which advances it by what was asked; the next Time_Initialize finds a
// performance counter of counterHz (0: its query fails), and WinMM's timeGetTime or not.
// False where the clock is the real one.
bool Probe_ClockSet(uint64_t startMicros, uint64_t counterHz, bool winmm);
// Moves a set clock forward, as if the core had worked that long; its time (else 0).
uint64_t Probe_ClockAdvance(uint32_t micros);

// From now on every window creation fails.
void Probe_FailWindowCreation(void);

// Device contexts, bitmaps and palettes alive in the process; -1 where not known (Wine).
int32_t Probe_LiveGdiObjects(void);
// The n-th GDI creation from now on fails (0: none); false where none can be made to fail.
bool Probe_FailGdiCreation(uint32_t n);
