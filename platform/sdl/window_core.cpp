// Window classes and window records: registration, creation, destruction, the window
// procedure call with its observer, styles and titles.
#include "platform/gdi/gdi.h"
#include "platform/sdl/focus.h"
#include "platform/sdl/icon.h"
#include "platform/sdl/system.h"
#include "platform/sdl/window.h"

#include <strings.h>

enum {
    WINDOW_HANDLE_BASE = 0x00010040, // handles look like Windows' and are never null
    WINDOW_HANDLE_STEP = 4,
    WINDOW_ATOM_BASE = 0xC000
};

static struct {
    NativeWindow windows[NATIVE_MAX_WINDOWS];
    NativeClass classes[NATIVE_MAX_CLASSES];
    NativeObserver observer;
    bool creationFails; // CreateWindowExA fails while set
} s_core;

NativeWindow *Window_Record(HWND window)
{
    uintptr_t value = (uintptr_t)window;
    if (value < WINDOW_HANDLE_BASE || (value - WINDOW_HANDLE_BASE) % WINDOW_HANDLE_STEP != 0)
        return NULL;
    uintptr_t number = (value - WINDOW_HANDLE_BASE) / WINDOW_HANDLE_STEP;
    NativeWindow *w = &s_core.windows[number % NATIVE_MAX_WINDOWS];
    if (!w->used || w->generation != number / NATIVE_MAX_WINDOWS)
        return NULL;
    return w;
}

NativeWindow *Window_Get(HWND window)
{
    NativeWindow *w = Window_Record(window);
    return w && !w->destroyed ? w : NULL;
}

NativeWindow *Window_At(int index)
{
    if (index < 0 || index >= NATIVE_MAX_WINDOWS)
        return NULL;
    NativeWindow *w = &s_core.windows[index];
    return w->used && !w->destroyed ? w : NULL;
}

HWND Window_Handle(const NativeWindow *w)
{
    uintptr_t number =
        (uintptr_t)w->generation * NATIVE_MAX_WINDOWS + (uintptr_t)(w - s_core.windows);
    return (HWND)(WINDOW_HANDLE_BASE + number * WINDOW_HANDLE_STEP);
}

NativeWindow *Window_FromSdlId(uint32_t id)
{
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++) {
        NativeWindow *w = &s_core.windows[i];
        if (w->used && !w->destroyed && w->sdl && w->sdlId == id)
            return w;
    }
    return NULL;
}

NativeClass *Window_Class(int index)
{
    return index >= 0 && index < NATIVE_MAX_CLASSES ? &s_core.classes[index] : NULL;
}

int Window_FindClass(const char *name)
{
    if (!name || (uintptr_t)name < 0x10000)
        return -1;
    for (int i = 0; i < NATIVE_MAX_CLASSES; i++)
        if (s_core.classes[i].used && strcasecmp(s_core.classes[i].name, name) == 0)
            return i;
    return -1;
}

LRESULT Window_Call(NativeWindow *w, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND handle = Window_Handle(w);
    LRESULT result = w->proc ? w->proc(handle, message, wParam, lParam) : 0;
    if (s_core.observer)
        s_core.observer(handle, message, wParam, lParam, result);
    return result;
}

void Window_ClientSize(const NativeWindow *w, int *width, int *height)
{
    if (w->style & WS_MINIMIZE) {
        *width = *height = 0;
        return;
    }
    RECT frame;
    Window_FrameOf(w->style, &frame);
    int cw = (w->rect.right - w->rect.left) - frame.left - frame.right;
    int ch = (w->rect.bottom - w->rect.top) - frame.top - frame.bottom;
    *width = cw > 0 ? cw : 0;
    *height = ch > 0 ? ch : 0;
}

void Window_ClientOrigin(const NativeWindow *w, int *x, int *y)
{
    if (w->style & WS_MINIMIZE) {
        // A minimized window's empty client sits at its corner (-32000, -32000).
        *x = w->rect.left;
        *y = w->rect.top;
        return;
    }
    RECT frame;
    Window_FrameOf(w->style, &frame);
    *x = w->rect.left + frame.left;
    *y = w->rect.top + frame.top;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *cls)
{
    if (!cls || cls->cbSize != sizeof(WNDCLASSEXA) || !cls->lpszClassName ||
        (uintptr_t)cls->lpszClassName < 0x10000 || !cls->lpfnWndProc ||
        strlen(cls->lpszClassName) >= sizeof s_core.classes[0].name ||
        Window_FindClass(cls->lpszClassName) >= 0)
        return 0;
    for (int i = 0; i < NATIVE_MAX_CLASSES; i++) {
        NativeClass *c = &s_core.classes[i];
        if (c->used)
            continue;
        memset(c, 0, sizeof *c);
        c->used = true;
        strcpy(c->name, cls->lpszClassName);
        c->style = cls->style;
        c->proc = cls->lpfnWndProc;
        c->instance = cls->hInstance;
        c->icon = cls->hIcon;
        c->smallIcon = cls->hIconSm;
        c->cursor = cls->hCursor;
        c->background = cls->hbrBackground;
        if (cls->style & CS_CLASSDC)
            c->classDC = Gdi_CreateSurfaceDC();
        return (ATOM)(WINDOW_ATOM_BASE + i);
    }
    return 0;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance)
{
    (void)instance;
    int index = Window_FindClass(name);
    if (index < 0)
        return FALSE;
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++)
        if (s_core.windows[i].used && !s_core.windows[i].destroyed &&
            s_core.windows[i].classIndex == index)
            return FALSE; // a class with windows stays
    NativeClass *c = &s_core.classes[index];
    if (c->classDC)
        Gdi_DeleteSurfaceDC(c->classDC);
    memset(c, 0, sizeof *c);
    return TRUE;
}

// Creates the hidden SDL window behind a new window; false after SDL failed.
static bool Window_CreateSdl(NativeWindow *w, const NativeClass *c)
{
    int x, y, width, height;
    Window_ClientOrigin(w, &x, &y);
    Window_ClientSize(w, &width, &height);
    // Resizable: a window manager may maximize or tile it, as Windows lets a user maximize.
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if ((w->style & WS_CAPTION) != WS_CAPTION)
        flags |= SDL_WINDOW_BORDERLESS;
    w->sdl =
        SDL_CreateWindow(w->title, x, y, width > 0 ? width : 1, height > 0 ? height : 1, flags);
    if (!w->sdl)
        return false;
    w->sdlId = SDL_GetWindowID(w->sdl);
    w->sdlX = x;
    w->sdlY = y;
    w->sdlWidth = width;
    w->sdlHeight = height;
    w->sdlBordered = !(flags & SDL_WINDOW_BORDERLESS);
    w->managed = Desktop_Managed(w->sdl);
    if (c->icon)
        Icon_Apply(w->sdl, c->icon);
    return true;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param)
{
    int classIndex = Window_FindClass(className);
    if (classIndex < 0 || s_core.creationFails || !System_StartSdl())
        return NULL;
    // A slot never used, else the one of a destroyed window: its handle changes with the
    // generation, so the old handle stays invalid.
    NativeWindow *w = NULL;
    for (int i = 0; i < NATIVE_MAX_WINDOWS && !w; i++)
        if (!s_core.windows[i].used)
            w = &s_core.windows[i];
    for (int i = 0; i < NATIVE_MAX_WINDOWS && !w; i++)
        if (s_core.windows[i].destroyed)
            w = &s_core.windows[i];
    if (!w)
        return NULL;
    NativeClass *c = &s_core.classes[classIndex];
    uint32_t generation = w->used ? w->generation + 1 : 0;
    memset(w, 0, sizeof *w);
    w->generation = generation;
    w->used = true;
    w->classIndex = classIndex;
    w->proc = c->proc;
    // Shown later by ShowWindow, as the program asks; top-level windows clip siblings.
    w->style = (style & ~WS_VISIBLE) | WS_CLIPSIBLINGS;
    w->exStyle = exStyle;
    w->rect = Window_RectAt(x, y, width, height);
    w->normalRect = w->rect;
    snprintf(w->title, sizeof w->title, "%s", title ? title : "");
    w->dc = c->classDC ? c->classDC : Gdi_CreateSurfaceDC();
    if (!Window_CreateSdl(w, c))
        System_Fail("cannot create the window: %s", SDL_GetError());
    Window_FitPixels(w);

    NativeCreateStruct create = {param, instance, menu,        parent, height,    width,
                                 y,     x,        (LONG)style, title,  className, exStyle};
    HWND handle = Window_Handle(w);
    if (!Window_Call(w, WM_NCCREATE, 0, (LPARAM)&create) ||
        Window_Call(w, WM_CREATE, 0, (LPARAM)&create) == -1) {
        Window_Destroy(handle);
        return NULL;
    }
    if (style & WS_VISIBLE)
        ShowWindow(handle, SW_SHOW);
    return handle;
}

bool Window_Destroy(HWND window)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return false;
    if (w->style & WS_VISIBLE) {
        RECT same = w->rect;
        Window_Place(w, same, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE);
    }
    Focus_Forget(w);
    Window_Call(w, WM_DESTROY, 0, 0);
    Window_Call(w, WM_NCDESTROY, 0, 0);
    w->destroyed = true;
    NativeClass *c = Window_Class(w->classIndex);
    if (c && w->dc == c->classDC) {
        if (w->bound)
            Gdi_SetSurface(w->dc, NULL, 0, 0, 0);
    } else
        Gdi_DeleteSurfaceDC(w->dc);
    w->dc = NULL;
    free(w->pixels);
    w->pixels = NULL;
    if (w->sdl)
        SDL_DestroyWindow(w->sdl);
    w->sdl = NULL;
    return true;
}

LONG WINAPI GetWindowLongA(HWND window, int index)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return 0;
    if (index == GWL_STYLE)
        return (LONG)w->style;
    if (index == GWL_EXSTYLE)
        return (LONG)w->exStyle;
    return 0;
}

LONG WINAPI SetWindowLongA(HWND window, int index, LONG value)
{
    NativeWindow *w = Window_Get(window);
    if (!w || index != GWL_STYLE)
        return 0;
    NativeStyleStruct change = {w->style, (DWORD)value};
    Window_Call(w, WM_STYLECHANGING, (WPARAM)(intptr_t)GWL_STYLE, (LPARAM)&change);
    DWORD old = w->style;
    // Top-level windows keep WS_CLIPSIBLINGS, and a minimized one stays minimized.
    DWORD style = change.styleNew | WS_CLIPSIBLINGS | (old & WS_MINIMIZE);
    w->style = style;
    change.styleNew = style;
    Window_Call(w, WM_STYLECHANGED, (WPARAM)(intptr_t)GWL_STYLE, (LPARAM)&change);
    // The frame changes the client area inside the same window rectangle.
    Window_FitPixels(w);
    Window_SyncSdl(w);
    return (LONG)old;
}

BOOL WINAPI GetWindowRect(HWND window, RECT *rect)
{
    NativeWindow *w = Window_Get(window);
    if (!w || !rect)
        return FALSE;
    *rect = w->rect;
    return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return FALSE;
    return Window_Call(w, WM_SETTEXT, 0, (LPARAM)(text ? text : "")) != 0;
}

// DefWindowProc's WM_SETTEXT: keeps the title and gives it to SDL when it changed (SDL
// sets it again even when equal, at a cost of several microseconds).
LRESULT Window_SetTitle(NativeWindow *w, const char *text)
{
    if (!text)
        text = "";
    if (strncmp(w->title, text, sizeof w->title) == 0)
        return TRUE;
    snprintf(w->title, sizeof w->title, "%s", text);
    if (w->sdl)
        SDL_SetWindowTitle(w->sdl, w->title);
    return TRUE;
}

void Window_SetObserver(NativeObserver observer)
{
    s_core.observer = observer;
}

void Window_SetCreationFails(bool fails)
{
    s_core.creationFails = fails;
}
