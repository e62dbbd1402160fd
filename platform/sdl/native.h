// What the files of the native backend share: window records, the message queue, input,
// display and clock internals. Nothing outside platform/native includes this.
#pragma once

#include "platform/winapi_more.h"

#include <SDL.h>

// The record WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED point at.
typedef struct {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
} NativeWindowPos;

// The record WM_STYLECHANGING and WM_STYLECHANGED point at.
typedef struct {
    DWORD styleOld;
    DWORD styleNew;
} NativeStyleStruct;

// The record WM_NCCREATE and WM_CREATE point at.
typedef struct {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} NativeCreateStruct;

enum { NATIVE_MAX_WINDOWS = 16, NATIVE_MAX_CLASSES = 8, NATIVE_TITLE_BYTES = 256 };

// One window, live or destroyed; a destroyed window's slot is reused under a new handle.
typedef struct {
    bool used;
    uint32_t generation; // times the slot was reused: part of the handle
    bool destroyed;
    int classIndex;
    WNDPROC proc;
    DWORD style;
    DWORD exStyle;
    RECT rect;         // window rectangle, screen coordinates
    RECT normalRect;   // where a restore puts it
    bool wasMaximized; // maximized before it was minimized
    char title[NATIVE_TITLE_BYTES];
    HDC dc;           // the class's DC or the window's own
    uint32_t *pixels; // client pixels, 0x00RRGGBB, clientWidth x clientHeight
    int pixelsWidth;
    int pixelsHeight;
    bool bound;         // the DC draws into this window's pixels now
    bool sizeSent;      // WM_SIZE went out once (Wine sends the first at the first showing)
    bool updatePending; // a non-empty update region
    bool updateErase;
    RECT updateRect;
    SDL_Window *sdl;
    uint32_t sdlId;
    // What was last applied to the SDL window.
    bool sdlShown;
    bool sdlBordered;
    bool sdlIconic;
    bool sdlCovering;
    int sdlX, sdlY, sdlWidth, sdlHeight;
    uint32_t sdlPlacedAt; // SDL_GetTicks() when we last moved or sized the SDL window
} NativeWindow;

// One registered class.
typedef struct {
    bool used;
    char name[64];
    UINT style;
    WNDPROC proc;
    HINSTANCE instance;
    HICON icon;
    HICON smallIcon;
    HCURSOR cursor;
    HBRUSH background;
    HDC classDC; // CS_CLASSDC: shared by the class's windows
} NativeClass;

// ---- windows (window_core.cpp) ----

// The live window behind a handle; null for null, unknown or destroyed handles.
NativeWindow *Window_Get(HWND window);
// The window record behind a handle, also destroyed ones; null for unknown handles.
NativeWindow *Window_Record(HWND window);
// The live window in slot index (0 .. NATIVE_MAX_WINDOWS - 1); null when none.
NativeWindow *Window_At(int index);
// The handle of a window record.
HWND Window_Handle(const NativeWindow *w);
// The live window showing an SDL window id; null when none.
NativeWindow *Window_FromSdlId(uint32_t id);
// The class record at an index.
NativeClass *Window_Class(int index);
// Finds a registered class by name (case-insensitive); -1 when none.
int Window_FindClass(const char *name);
// Calls the window procedure and then the message observer; the procedure's result.
LRESULT Window_Call(NativeWindow *w, UINT message, WPARAM wParam, LPARAM lParam);
// Watches window-procedure calls: called after each with the procedure's result.
typedef void (*NativeObserver)(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT result);
// Sets the message observer; null: none.
void Window_SetObserver(NativeObserver observer);
// While set, every CreateWindowExA fails as a window system out of resources would.
void Window_SetCreationFails(bool fails);
// Client rectangle size of a window's current state (0 x 0 when minimized).
void Window_ClientSize(const NativeWindow *w, int *width, int *height);
// The client area's top-left corner in screen coordinates.
void Window_ClientOrigin(const NativeWindow *w, int *x, int *y);
// Destroys a window with the messages Windows sends; false for a bad handle.
bool Window_Destroy(HWND window);
// DefWindowProc's WM_SETTEXT: keeps the title, and gives SDL only a changed one.
LRESULT Window_SetTitle(NativeWindow *w, const char *text);

// ---- geometry (window_geometry.cpp) ----

// Frame widths of a style: what AdjustWindowRect adds on each side.
void Window_FrameOf(DWORD style, RECT *frame);
// Moves and sizes a window with WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED.
void Window_Place(NativeWindow *w, RECT rect, UINT flags);
// Brings the SDL window in line with the window's state.
void Window_SyncSdl(NativeWindow *w);
// Resizes the client pixels to the current client size (black) and re-points the DC.
void Window_FitPixels(NativeWindow *w);
// The window rectangle at (x, y) of a size, kept as Windows keeps it: coordinates clamped to
// 16 bits, sizes to 0..32767, so no sum overflows.
RECT Window_RectAt(int x, int y, int width, int height);
// WM_SIZE's lParam: each size clamped to the 16 bits it has, never wrapped.
LPARAM Window_SizeParam(int width, int height);

// ---- activation and focus (window_focus.cpp) ----

// Activates a window with WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE and the focus.
void Focus_Activate(NativeWindow *w);
// Takes the activation and the focus away from the active window.
void Focus_Deactivate(void);
// Forgets a window that is being destroyed (activation, focus, capture).
void Focus_Forget(NativeWindow *w);
// The active window and the focus window; null when none.
HWND Focus_Active(void);
HWND Focus_Keyboard(void);

// ---- painting (window_paint.cpp) ----

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

// ---- message queue (message_queue.cpp) ----

// One queued message and the key-state change it carries.
typedef struct {
    MSG msg;
    int16_t keyVk; // sided virtual key whose state changes on retrieval; -1 none
    bool keyDown;
} NativeQueued;

// Posts to the window's queue (as PostMessageA); false for a bad window handle.
bool Queue_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Appends an input message; mouse moves merge into a queued move with the same buttons.
void Queue_PostInput(const NativeQueued *input);

// ---- SDL events (events.cpp) ----

// Takes every pending SDL event and turns it into messages and state changes.
void Events_Pump(void);

// ---- keyboard (input_keys.cpp) ----

// Queues the key message of an SDL key event.
void Keys_FromSdl(const SDL_KeyboardEvent *key);
// Applies a retrieved key message's change to the state GetKeyState answers.
void Keys_Apply(int vk, bool down);
// MK_SHIFT and MK_CONTROL as the keys are now.
WPARAM Keys_MouseFlags(void);
// Sets a key's state byte (bit 7 down, bit 0 toggled) for GetKeyState and the input rules.
void Keys_Set(int vk, uint8_t state);
// True while Num Lock is on in the keyboard input.
bool Keys_NumLock(void);
// The SDL scancode of the first key giving a virtual key; SDL_SCANCODE_UNKNOWN when none.
int Keys_ScancodeOf(int vk);

// ---- mouse (input_mouse.cpp) ----

// Queues the mouse message of an SDL motion or button event.
void Mouse_FromSdlMotion(const SDL_MouseMotionEvent *motion);
void Mouse_FromSdlButton(const SDL_MouseButtonEvent *button);
// The capture holder; null when none.
HWND Mouse_Capture(void);
// Maps client coordinates to SDL window coordinates and back.
void Mouse_ClientToSdl(const NativeWindow *w, int x, int y, int *sx, int *sy);
void Mouse_SdlToClient(const NativeWindow *w, int sx, int sy, int *x, int *y);
// SDL's button mask of the buttons held.
uint32_t Mouse_SdlButtons(void);

// ---- display (display.cpp) ----

// The desktop's size: the one set where no display tells it, or SDL's display's.
void Display_Desktop(int *width, int *height);
// The screen the program sees: the virtual mode while one is set, else the desktop.
void Display_Screen(int *width, int *height);
// True while a virtual mode is set.
bool Display_VirtualModeSet(void);
// True when the window covers the whole virtual screen: shown scaled over the desktop.
bool Display_Covers(const NativeWindow *w);
// Where a covering window's client pixels go on the desktop (aspect kept, centred).
SDL_Rect Display_ScaledRect(int clientWidth, int clientHeight);
// Sets the desktop size used where no display tells it (0 x 0: SDL's); the windows follow.
void Display_SetDesktop(int width, int height);
// Lists the classic modes before the desktop's (true), or the desktop's alone.
void Display_ListClassicModes(bool listed);
// The cursor display counter.
int Display_CursorCount(void);

// ---- system (system_process.cpp, system_clock.cpp, system_modules.cpp) ----

// Keeps the program's name and command line, and starts SDL (or ends the process with a
// clear message when there is no display).
void System_Begin(int argc, const char *const *argv);
// Ends the process with code 1 after one line on standard error: the program's name, the
// text with detail put in for its %s.
void System_Fail(const char *format, const char *detail) __attribute__((noreturn));
// Starts SDL's video and joystick parts once; false after a clear message when it cannot.
bool System_StartSdl(void);
// Builds the process command line from argv as Wine does; the length written (cut to fit).
size_t System_BuildCommandLine(int argc, const char *const *argv, char *out, size_t size);
// Microseconds on the clock every time function reads (the virtual clock once it is set).
uint64_t Clock_Micros(void);
// From now on every clock reads a virtual clock starting at startMicros, which Sleep
// advances instead of waiting.
void Clock_SetVirtual(uint64_t startMicros);
// Advances the virtual clock.
void Clock_Advance(uint64_t micros);
// Every virtual Sleep takes this much longer than asked.
void Clock_SetSleepOvershoot(uint32_t micros);
// The counter's frequency (0: 10 MHz), whether QueryPerformanceFrequency fails, and a value
// added to the counter.
void Clock_SetCounter(uint64_t frequency, bool frequencyFails, uint64_t counterStart);
// A value added to GetTickCount and timeGetTime.
void Clock_SetTickStart(uint32_t ticks);
// Hides a library ("WinMM", "Kernel32.dll"...) from LoadLibraryA and GetModuleHandleA, or
// shows it again; other names are ignored.
void Module_HideLibrary(const char *library, bool hidden);
// Hides one function of a library from GetProcAddress, or shows it again.
void Module_HideFunction(const char *library, const char *function, bool hidden);

// ---- joysticks (joystick.cpp) ----

// An SDL joystick appeared or went away.
void Joystick_Added(int deviceIndex);
void Joystick_Removed(SDL_JoystickID instance);
// True while a WinMM id (0..15) holds an SDL joystick, attached or not.
bool Joystick_InUse(int id);
// The SDL hat of a point-of-view angle (hundredths of a degree, or centred); -1 for one that
// no hat reports.
int Joystick_HatOf(DWORD pov);

// ---- icons (window_icon.cpp) ----

// The program's icon picture nearest in size, as a handle; null when none decodes.
HICON Icon_Load(int size);
// The side of an icon handle's picture; 0 for no icon of ours.
int Icon_Side(HICON icon);
// Sets the SDL window's icon from an icon handle.
void Icon_Apply(SDL_Window *window, HICON icon);
