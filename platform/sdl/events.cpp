// SDL's events: input, the window system's focus, close, exposure, minimize and moves, and
// joysticks coming and going, turned into messages and state changes.
#include "platform/sdl/focus.h"
#include "platform/sdl/input.h"
#include "platform/sdl/joystick.h"
#include "platform/sdl/paint.h"
#include "platform/sdl/queue.h"
#include "platform/sdl/window.h"

// The window system moved a window without a manager (xdotool, say): the record follows.
// Reports of our own placing can arrive late, after the next one (leaving fullscreen): one
// that is not where SDL knows the window to be now is not taken for a move.
static void Events_Moved(NativeWindow *w, int x, int y)
{
    int nowX, nowY;
    SDL_GetWindowPosition(w->sdl, &nowX, &nowY);
    if (w->sdlCovering || (w->style & WS_MINIMIZE) || !(w->style & WS_VISIBLE) ||
        x != nowX || y != nowY)
        return;
    int cx, cy;
    Window_ClientOrigin(w, &cx, &cy);
    if (x == cx && y == cy)
        return;
    w->sdlX = x;
    w->sdlY = y;
    RECT rect = w->rect;
    rect.left += x - cx;
    rect.right += x - cx;
    rect.top += y - cy;
    rect.bottom += y - cy;
    Window_Place(w, rect, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void Events_Window(const SDL_WindowEvent *event)
{
    NativeWindow *w = Window_FromSdlId(event->windowID);
    if (!w)
        return;
    HWND handle = Window_Handle(w);
    Uint32 flags = SDL_GetWindowFlags(w->sdl);
    switch (event->event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Focus_Activate(w);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // SDL's key-ups for the keys held come just before: still queued, they would follow
        // WM_KILLFOCUS, where Windows sends the window no key message.
        Queue_DropKeys(handle);
        if (Focus_Active() == handle)
            Focus_Deactivate();
        break;
    case SDL_WINDOWEVENT_CLOSE:
        // The close button: the system menu's close command, as Wine posts it.
        Queue_Post(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        Paint_Present(w);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // A manager's size (a tiling manager's, a sizing frame's) is the window's own.
        if (w->managed)
            Desktop_Follow(w);
        if (Window_Get(handle))
            Paint_Present(w);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        if (!(w->style & WS_MINIMIZE) && (flags & SDL_WINDOW_MINIMIZED)) {
            w->sdlIconic = true;
            ShowWindow(handle, SW_MINIMIZE);
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        if ((w->style & WS_MINIMIZE) && !(flags & SDL_WINDOW_MINIMIZED)) {
            w->sdlIconic = false;
            ShowWindow(handle, SW_RESTORE);
        }
        if (w->managed && Window_Get(handle))
            Desktop_Follow(w);
        break;
    case SDL_WINDOWEVENT_MOVED:
        if (w->managed)
            Desktop_Follow(w);
        else
            Events_Moved(w, event->data1, event->data2);
        break;
    }
}

static void Events_Handle(const SDL_Event *event)
{
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        Keys_FromSdl(&event->key);
        break;
    case SDL_MOUSEMOTION:
        Mouse_FromSdlMotion(&event->motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        Mouse_FromSdlButton(&event->button);
        break;
    case SDL_WINDOWEVENT:
        Events_Window(&event->window);
        break;
    case SDL_JOYDEVICEADDED:
        Joystick_Added(event->jdevice.which);
        break;
    case SDL_JOYDEVICEREMOVED:
        Joystick_Removed(event->jdevice.which);
        break;
    }
}

void Events_Pump(void)
{
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++)
        if (Window_At(i) && Window_At(i)->sdlPending)
            Desktop_Apply(Window_At(i));
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        Events_Handle(&event);
}
