// Window and class records of the native window system, the windows and their geometry.
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
    bool managed;      // a window manager or compositor places the SDL window
    bool sdlPending;   // the state changed since it was last applied (managed windows)
    bool sdlMaximized; // the SDL window is maximized (managed windows)
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

// Windows.

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

// Geometry.

// Frame widths of a style: what AdjustWindowRect adds on each side.
void Window_FrameOf(DWORD style, RECT *frame);
// Moves and sizes a window with WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED.
void Window_Place(NativeWindow *w, RECT rect, UINT flags);
// Brings the SDL window in line with the window's state.
void Window_SyncSdl(NativeWindow *w);
// Shows the SDL window if it is hidden and minimizes or restores it as asked; true when it
// was shown now.
bool Window_ShowSdl(NativeWindow *w, bool iconic);
// Resizes the client pixels to the current client size (black) and re-points the DC.
void Window_FitPixels(NativeWindow *w);

// ---- window managers (window_desktop.cpp) ----

// True when a window manager or compositor places the SDL window (it is asked, not told).
bool Desktop_Managed(SDL_Window *window);
// A managed window: notes that its state changed; the SDL window follows at the next pump
// or present, so that a switch's steps reach the manager as one request.
void Desktop_Sync(NativeWindow *w);
// A managed window: brings the SDL window in line with the window's state if it changed.
void Desktop_Apply(NativeWindow *w);
// A managed window: the record takes the place, size and maximized state the manager gave.
void Desktop_Follow(NativeWindow *w);
// The window rectangle at (x, y) of a size, kept as Windows keeps it: coordinates clamped to
// 16 bits, sizes to 0..32767, so no sum overflows.
RECT Window_RectAt(int x, int y, int width, int height);
// DefWindowProc's WM_WINDOWPOSCHANGING: a top-level window with a caption or a sizing frame is
// sized within the tracking sizes (SM_CXMINTRACK .. SM_CXMAXTRACK), as Windows sizes it.
void Window_KeepTrackSize(const NativeWindow *w, NativeWindowPos *pos);
// WM_SIZE's lParam: each size clamped to the 16 bits it has, never wrapped.
LPARAM Window_SizeParam(int width, int height);
