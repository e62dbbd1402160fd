// The window under a window manager or compositor: finding one, asking it for fullscreen, and
// taking the place, size and maximized state it gives as the window's own, as Windows does
// when the user moves, sizes or maximizes a window.
#include "platform/sdl/display.h"
#include "platform/sdl/window.h"

#include <SDL_syswm.h>

// The X root window names a window manager's check window while one runs (EWMH).
static bool Desktop_X11HasManager(Display *display)
{
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0)
        return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = NULL;
    int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                    XA_WINDOW, &type, &format, &count, &after, &data);
    bool found = status == Success && type == XA_WINDOW && count == 1;
    if (data)
        XFree(data);
    return found;
}

bool Desktop_Managed(SDL_Window *window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info))
        return false;
    // A Wayland compositor always places its windows; a bare X server lets the client.
    if (info.subsystem == SDL_SYSWM_WAYLAND)
        return true;
    return info.subsystem == SDL_SYSWM_X11 && Desktop_X11HasManager(info.info.x11.display);
}

void Desktop_Sync(NativeWindow *w)
{
    w->sdlPending = true;
}

void Desktop_Apply(NativeWindow *w)
{
    w->sdlPending = false;
    if (!w->sdl)
        return;
    if (!(w->style & WS_VISIBLE)) {
        if (w->sdlShown)
            SDL_HideWindow(w->sdl);
        w->sdlShown = false;
        return;
    }
    bool iconic = (w->style & WS_MINIMIZE) != 0;
    bool covering = Display_Covers(w);
    if (covering != w->sdlCovering) {
        // The manager saves the windowed place, size and frame and gives them back after.
        SDL_SetWindowFullscreen(w->sdl, covering ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        w->sdlCovering = covering;
    }
    bool maximized = (w->style & WS_MAXIMIZE) != 0;
    if (!covering && !iconic) {
        bool bordered = (w->style & WS_CAPTION) == WS_CAPTION;
        if (bordered != w->sdlBordered) {
            SDL_SetWindowBordered(w->sdl, bordered ? SDL_TRUE : SDL_FALSE);
            w->sdlBordered = bordered;
        }
        if (maximized != w->sdlMaximized) {
            if (maximized)
                SDL_MaximizeWindow(w->sdl);
            else
                SDL_RestoreWindow(w->sdl);
            w->sdlMaximized = maximized;
        }
        int x, y, width, height;
        Window_ClientOrigin(w, &x, &y);
        Window_ClientSize(w, &width, &height);
        // A maximized window's place and size are the manager's to give.
        if (!maximized && (x != w->sdlX || y != w->sdlY)) {
            SDL_SetWindowPosition(w->sdl, x, y);
            w->sdlX = x;
            w->sdlY = y;
        }
        if (!maximized && width > 0 && height > 0 &&
            (width != w->sdlWidth || height != w->sdlHeight)) {
            SDL_SetWindowSize(w->sdl, width, height);
            w->sdlWidth = width;
            w->sdlHeight = height;
        }
    }
    Window_ShowSdl(w, iconic);
}

void Desktop_Follow(NativeWindow *w)
{
    Uint32 flags = SDL_GetWindowFlags(w->sdl);
    // Fullscreen, minimized or hidden: the windowed place is the manager's to give back. A
    // change of ours not yet applied is newer than what SDL reports.
    if (w->sdlPending || w->sdlCovering || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE) ||
        (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)))
        return;
    // The newest place SDL knows, not the event's: reports of earlier states arrive late.
    int x, y, width, height;
    SDL_GetWindowPosition(w->sdl, &x, &y);
    SDL_GetWindowSize(w->sdl, &width, &height);
    bool maximized = (flags & SDL_WINDOW_MAXIMIZED) != 0;
    if (x == w->sdlX && y == w->sdlY && width == w->sdlWidth && height == w->sdlHeight &&
        maximized == w->sdlMaximized)
        return;
    w->sdlX = x;
    w->sdlY = y;
    w->sdlWidth = width;
    w->sdlHeight = height;
    w->sdlMaximized = maximized;
    bool wasMaximized = (w->style & WS_MAXIMIZE) != 0;
    if (maximized && !wasMaximized)
        w->normalRect = w->rect;
    w->style = maximized ? w->style | WS_MAXIMIZE : w->style & ~WS_MAXIMIZE;
    RECT frame;
    Window_FrameOf(w->style, &frame);
    RECT rect = {x - frame.left, y - frame.top, x + width + frame.right, y + height + frame.bottom};
    UINT state = maximized != wasMaximized ? SWP_STATECHANGED : 0;
    Window_Place(w, rect, SWP_NOZORDER | SWP_NOACTIVATE | state);
}
