// Window geometry: frame metrics, placing, showing, minimizing, maximizing and restoring,
// with Wine's messages, and the SDL window that shows the result.
#include "platform/gdi/gdi.h"
#include "platform/sdl/display.h"
#include "platform/sdl/focus.h"
#include "platform/sdl/paint.h"
#include "platform/sdl/window.h"

enum {
    GEOMETRY_FIXED_FRAME = 3, // Wine's SM_CXFIXEDFRAME: a captioned frame without sizing
    GEOMETRY_SIZE_FRAME = 4,  // SM_CXFRAME: with WS_THICKFRAME
    GEOMETRY_CAPTION = 19,    // SM_CYCAPTION
    GEOMETRY_ICONIC_AT = -32000,
    GEOMETRY_ICONIC_WIDTH = 160,
    GEOMETRY_ICONIC_HEIGHT = 24,
    GEOMETRY_COORD_LEAST = -32768, // Windows keeps positions in 16 bits
    GEOMETRY_COORD_MOST = 32767,
    GEOMETRY_SIZE_MOST = 32767,
    GEOMETRY_PARAM_MOST = 65535 // what a 16-bit half of WM_SIZE's lParam carries
};

static int Geometry_Clamp(int value, int least, int most)
{
    return value < least ? least : value > most ? most : value;
}

RECT Window_RectAt(int x, int y, int width, int height)
{
    x = Geometry_Clamp(x, GEOMETRY_COORD_LEAST, GEOMETRY_COORD_MOST);
    y = Geometry_Clamp(y, GEOMETRY_COORD_LEAST, GEOMETRY_COORD_MOST);
    RECT rect = {x, y, x + Geometry_Clamp(width, 0, GEOMETRY_SIZE_MOST),
                 y + Geometry_Clamp(height, 0, GEOMETRY_SIZE_MOST)};
    return rect;
}

LPARAM Window_SizeParam(int width, int height)
{
    uint32_t low = (uint32_t)Geometry_Clamp(width, 0, GEOMETRY_PARAM_MOST);
    uint32_t high = (uint32_t)Geometry_Clamp(height, 0, GEOMETRY_PARAM_MOST);
    return (LPARAM)(high << 16 | low);
}

void Window_FrameOf(DWORD style, RECT *frame)
{
    int side = 0;
    if (style & WS_THICKFRAME)
        side = GEOMETRY_SIZE_FRAME;
    else if (style & WS_DLGFRAME)
        side = GEOMETRY_FIXED_FRAME;
    else if (style & WS_BORDER)
        side = 1;
    frame->left = frame->right = frame->bottom = side;
    frame->top = side + ((style & WS_CAPTION) == WS_CAPTION ? GEOMETRY_CAPTION : 0);
}

BOOL WINAPI AdjustWindowRect(RECT *rect, DWORD style, BOOL menu)
{
    (void)menu;
    if (!rect)
        return FALSE;
    RECT frame;
    Window_FrameOf(style, &frame);
    // Wrapped at 32 bits as on Windows, without the undefined overflow of signed arithmetic.
    rect->left = (LONG)((uint32_t)rect->left - (uint32_t)frame.left);
    rect->top = (LONG)((uint32_t)rect->top - (uint32_t)frame.top);
    rect->right = (LONG)((uint32_t)rect->right + (uint32_t)frame.right);
    rect->bottom = (LONG)((uint32_t)rect->bottom + (uint32_t)frame.bottom);
    return TRUE;
}

void Window_FitPixels(NativeWindow *w)
{
    int width, height;
    Window_ClientSize(w, &width, &height);
    if (width == w->pixelsWidth && height == w->pixelsHeight && (w->pixels || !width || !height))
        return;
    free(w->pixels);
    w->pixels = NULL;
    if (width > 0 && height > 0)
        w->pixels = (uint32_t *)calloc((size_t)width * (size_t)height, sizeof(uint32_t));
    w->pixelsWidth = w->pixels ? width : 0;
    w->pixelsHeight = w->pixels ? height : 0;
    w->bound = false;
    Paint_Bind(w);
}

bool Window_ShowSdl(NativeWindow *w, bool iconic)
{
    bool showed = !w->sdlShown;
    if (showed) {
        SDL_ShowWindow(w->sdl);
        w->sdlShown = true;
    }
    if (iconic != w->sdlIconic) {
        if (iconic)
            SDL_MinimizeWindow(w->sdl);
        else
            SDL_RestoreWindow(w->sdl);
        w->sdlIconic = iconic;
    }
    return showed;
}

void Window_SyncSdl(NativeWindow *w)
{
    if (!w->sdl)
        return;
    if (w->managed) {
        Desktop_Sync(w);
        return;
    }
    bool shown = (w->style & WS_VISIBLE) != 0;
    bool iconic = (w->style & WS_MINIMIZE) != 0;
    if (!shown) {
        if (w->sdlShown)
            SDL_HideWindow(w->sdl);
        w->sdlShown = false;
        return;
    }
    bool covering = Display_Covers(w);
    bool bordered = !covering && (w->style & WS_CAPTION) == WS_CAPTION;
    int x = 0, y = 0, width, height;
    if (covering) {
        Display_Desktop(&width, &height);
    } else {
        Window_ClientOrigin(w, &x, &y);
        Window_ClientSize(w, &width, &height);
    }
    bool moved = false;
    // Without a window manager a fullscreen flag leaves the X window at its old size: a
    // borderless window is placed and sized over the desktop instead.
    if (bordered != w->sdlBordered) {
        SDL_SetWindowBordered(w->sdl, bordered ? SDL_TRUE : SDL_FALSE);
        w->sdlBordered = bordered;
    }
    if (!iconic && width > 0 && height > 0) {
        if (x != w->sdlX || y != w->sdlY) {
            SDL_SetWindowPosition(w->sdl, x, y);
            w->sdlX = x;
            w->sdlY = y;
            moved = true;
        }
        if (width != w->sdlWidth || height != w->sdlHeight) {
            SDL_SetWindowSize(w->sdl, width, height);
            w->sdlWidth = width;
            w->sdlHeight = height;
            moved = true;
        }
    }
    moved = Window_ShowSdl(w, iconic) || moved;
    if (covering != w->sdlCovering) {
        w->sdlCovering = covering;
        moved = true;
    }
    if (moved && !iconic)
        Paint_Present(w);
}

void Window_KeepTrackSize(const NativeWindow *w, NativeWindowPos *pos)
{
    if ((pos->flags & SWP_NOSIZE) || (w->style & WS_MINIMIZE))
        return;
    if (!(w->style & WS_THICKFRAME) && (w->style & (WS_POPUP | WS_CHILD)))
        return;
    int minWidth = GetSystemMetrics(SM_CXMINTRACK), maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
    int minHeight = GetSystemMetrics(SM_CYMINTRACK), maxHeight = GetSystemMetrics(SM_CYMAXTRACK);
    pos->cx = pos->cx < minWidth ? minWidth : pos->cx > maxWidth ? maxWidth : pos->cx;
    pos->cy = pos->cy < minHeight ? minHeight : pos->cy > maxHeight ? maxHeight : pos->cy;
}

void Window_Place(NativeWindow *w, RECT rect, UINT flags)
{
    HWND handle = Window_Handle(w);
    NativeWindowPos pos = {
        handle, NULL, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags};
    Window_Call(w, WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos);
    if (!Window_Get(handle))
        return;
    flags = pos.flags;
    // Whatever the procedure asked for, the window stays within Windows' coordinates.
    RECT kept = Window_RectAt(pos.x, pos.y, pos.cx, pos.cy);
    pos.x = kept.left;
    pos.y = kept.top;
    pos.cx = kept.right - kept.left;
    pos.cy = kept.bottom - kept.top;
    int oldX, oldY, oldWidth, oldHeight;
    Window_ClientOrigin(w, &oldX, &oldY);
    Window_ClientSize(w, &oldWidth, &oldHeight);
    bool wasShown = (w->style & WS_VISIBLE) != 0;
    if (!(flags & SWP_NOMOVE)) {
        int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
        w->rect = {pos.x, pos.y, pos.x + width, pos.y + height};
    }
    if (!(flags & SWP_NOSIZE)) {
        w->rect.right = w->rect.left + pos.cx;
        w->rect.bottom = w->rect.top + pos.cy;
    }
    if (flags & SWP_SHOWWINDOW)
        w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW)
        w->style &= ~WS_VISIBLE;
    bool shown = (w->style & WS_VISIBLE) != 0;
    if (shown && !wasShown && !(flags & SWP_NOACTIVATE))
        Focus_Activate(w);
    if (!Window_Get(handle))
        return;
    int x, y, width, height;
    Window_ClientOrigin(w, &x, &y);
    Window_ClientSize(w, &width, &height);
    if (width == oldWidth && height == oldHeight)
        pos.flags |= SWP_NOCLIENTSIZE;
    if (x == oldX && y == oldY)
        pos.flags |= SWP_NOCLIENTMOVE;
    Window_FitPixels(w);
    Window_SyncSdl(w);
    // A newly shown, resized or reframed client is redrawn whole, its background first.
    bool exposed =
        (shown && !wasShown) || (flags & SWP_FRAMECHANGED) || !(pos.flags & SWP_NOCLIENTSIZE);
    if (shown && exposed) {
        Paint_Invalidate(w, NULL, true);
        Paint_EraseNow(w);
    }
    Window_Call(w, WM_WINDOWPOSCHANGED, 0, (LPARAM)&pos);
    if (shown && !w->sizeSent && Window_Get(handle)) {
        // Wine sends a window's first WM_SIZE and WM_MOVE when it is first shown, after
        // WM_WINDOWPOSCHANGED: creation sends neither.
        w->sizeSent = true;
        Window_Call(w, WM_SIZE, (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    Window_SizeParam(width, height));
        if (Window_Get(handle))
            Window_Call(w, WM_MOVE, 0, (LPARAM)(((uint32_t)(uint16_t)y << 16) | (uint16_t)x));
    }
}

BOOL WINAPI SetWindowPos(HWND window, HWND after, int x, int y, int width, int height, UINT flags)
{
    (void)after;
    NativeWindow *w = Window_Get(window);
    if (!w)
        return FALSE;
    Window_Place(w, Window_RectAt(x, y, width, height),
                 flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE));
    return TRUE;
}

// The rectangle of a maximized window: its client fills the work area (the screen), the
// side frames fall outside it.
static RECT Window_MaximizedRect(DWORD style)
{
    int width, height;
    Display_Screen(&width, &height);
    RECT frame;
    Window_FrameOf(style, &frame);
    RECT rect = {-frame.left, -frame.left, width + frame.right, height + frame.bottom};
    return rect;
}

static void Window_Minimize(NativeWindow *w)
{
    if (w->style & WS_MINIMIZE)
        return;
    HWND handle = Window_Handle(w);
    if (Focus_Keyboard() == handle)
        SetFocus(NULL);
    if (!(w->style & WS_MAXIMIZE))
        w->normalRect = w->rect;
    w->wasMaximized = (w->style & WS_MAXIMIZE) != 0;
    w->style = (w->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
    RECT iconic = {GEOMETRY_ICONIC_AT, GEOMETRY_ICONIC_AT,
                   GEOMETRY_ICONIC_AT + GEOMETRY_ICONIC_WIDTH,
                   GEOMETRY_ICONIC_AT + GEOMETRY_ICONIC_HEIGHT};
    Window_Place(w, iconic, SWP_STATECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

static void Window_Maximize(NativeWindow *w)
{
    if (!(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
        w->normalRect = w->rect;
    w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
    Window_Place(w, Window_MaximizedRect(w->style), SWP_STATECHANGED | SWP_NOZORDER);
}

// Restores a minimized window to its earlier state, or a maximized one to its normal place.
static void Window_Restore(NativeWindow *w)
{
    HWND handle = Window_Handle(w);
    bool iconic = (w->style & WS_MINIMIZE) != 0;
    if (iconic && !Window_Call(w, WM_QUERYOPEN, 0, 0))
        return;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
        return;
    RECT rect = w->normalRect;
    w->style &= ~WS_MINIMIZE;
    if (iconic && w->wasMaximized) {
        w->style |= WS_MAXIMIZE;
        rect = Window_MaximizedRect(w->style);
    } else {
        w->style &= ~WS_MAXIMIZE;
    }
    Window_Place(w, rect, SWP_STATECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!iconic || !Window_Get(handle))
        return;
    // Wine gives a restored window the focus first, then WM_ACTIVATE again.
    if (Focus_Active() == handle) {
        SetFocus(handle);
        Window_Call(w, WM_ACTIVATE, WA_ACTIVE, 0);
    } else {
        Focus_Activate(w);
    }
}

BOOL WINAPI ShowWindow(HWND window, int command)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return FALSE;
    bool wasShown = (w->style & WS_VISIBLE) != 0;
    if (command == SW_HIDE) {
        if (wasShown) {
            Window_Call(w, WM_SHOWWINDOW, FALSE, 0);
            Window_Place(w, w->rect, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE);
        }
        return wasShown;
    }
    if (!wasShown)
        Window_Call(w, WM_SHOWWINDOW, TRUE, 0);
    if (!Window_Get(window))
        return wasShown;
    UINT show = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER;
    switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (!wasShown)
            Window_Place(w, w->rect, show | SWP_NOACTIVATE);
        Window_Minimize(w);
        break;
    case SW_SHOWMAXIMIZED:
        if (!wasShown)
            w->style |= WS_VISIBLE;
        Window_Maximize(w);
        if (!wasShown && Focus_Active() != window)
            Focus_Activate(w);
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (!wasShown)
            Window_Place(w, w->rect, show);
        Window_Restore(w);
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        if (!wasShown)
            Window_Place(w, w->rect, show | SWP_NOACTIVATE);
        break;
    default:
        if (!wasShown)
            Window_Place(w, w->rect, show);
        break;
    }
    return wasShown;
}

BOOL WINAPI IsIconic(HWND window)
{
    NativeWindow *w = Window_Get(window);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}
