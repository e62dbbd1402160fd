// Activation and keyboard focus, in the order Wine sends their messages.
#include "platform/sdl/focus.h"
#include "platform/sdl/input.h"
#include "platform/sdl/window.h"

static struct {
    HWND active;
    HWND focus;
} s_focus;

HWND Focus_Active(void)
{
    return s_focus.active;
}

HWND Focus_Keyboard(void)
{
    return s_focus.focus;
}

// Moves the focus, with WM_KILLFOCUS to the old window and WM_SETFOCUS to the new.
static void Focus_Move(HWND to)
{
    HWND from = s_focus.focus;
    if (from == to)
        return;
    s_focus.focus = to;
    NativeWindow *old = Window_Get(from);
    if (old)
        Window_Call(old, WM_KILLFOCUS, (WPARAM)to, 0);
    NativeWindow *w = Window_Get(to);
    if (w && s_focus.focus == to)
        Window_Call(w, WM_SETFOCUS, (WPARAM)from, 0);
}

void Focus_Activate(NativeWindow *w)
{
    HWND handle = Window_Handle(w);
    if (s_focus.active == handle)
        return;
    HWND previous = s_focus.active;
    NativeWindow *old = Window_Get(previous);
    if (old) {
        Window_Call(old, WM_NCACTIVATE, FALSE, 0);
        Window_Call(old, WM_ACTIVATE, WA_INACTIVE, (LPARAM)handle);
    }
    s_focus.active = handle;
    // Wine's order: the palette, the application, the frame, the window, then the focus,
    // which Wine gives whether or not the procedure lets WM_ACTIVATE reach DefWindowProc.
    Window_Call(w, WM_QUERYNEWPALETTE, 0, 0);
    if (!old)
        Window_Call(w, WM_ACTIVATEAPP, TRUE, 0);
    if (!Window_Get(handle) || s_focus.active != handle)
        return;
    Window_Call(w, WM_NCACTIVATE, TRUE, 0);
    bool iconic = (w->style & WS_MINIMIZE) != 0;
    Window_Call(w, WM_ACTIVATE, WA_ACTIVE | (iconic ? 0x10000 : 0), (LPARAM)previous);
    if (Window_Get(handle) && s_focus.active == handle && !iconic)
        Focus_Move(handle);
}

void Focus_Deactivate(void)
{
    NativeWindow *w = Window_Get(s_focus.active);
    if (!w)
        return;
    HWND handle = s_focus.active;
    // The mode the window was in (a capture, a drag) is cancelled first.
    Window_Call(w, WM_CANCELMODE, 0, 0);
    if (!Window_Get(handle) || s_focus.active != handle)
        return;
    s_focus.active = NULL;
    bool iconic = (w->style & WS_MINIMIZE) != 0;
    Window_Call(w, WM_NCACTIVATE, FALSE, 0);
    Window_Call(w, WM_ACTIVATE, WA_INACTIVE | (iconic ? 0x10000 : 0), 0);
    Window_Call(w, WM_ACTIVATEAPP, FALSE, 0);
    if (s_focus.focus == handle)
        Focus_Move(NULL);
}

void Focus_Forget(NativeWindow *w)
{
    HWND handle = Window_Handle(w);
    if (s_focus.active == handle) {
        s_focus.active = NULL;
        Window_Call(w, WM_NCACTIVATE, FALSE, 0);
        Window_Call(w, WM_ACTIVATE, WA_INACTIVE, 0);
        Window_Call(w, WM_ACTIVATEAPP, FALSE, 0);
    }
    if (s_focus.focus == handle)
        Focus_Move(NULL);
    if (Mouse_Capture() == handle)
        ReleaseCapture();
}

HWND WINAPI SetFocus(HWND window)
{
    HWND previous = s_focus.focus;
    if (!window) {
        Focus_Move(NULL);
        return previous;
    }
    NativeWindow *w = Window_Get(window);
    if (!w || (w->style & WS_MINIMIZE))
        return NULL;
    if (s_focus.active != window)
        Focus_Activate(w); // focusing a window activates it, which may focus it already
    if (Window_Get(window))
        Focus_Move(window);
    return previous;
}
