// Test hooks on windows: observer, posting, window and class state, presented pixels, focus, close.
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/display.h"
#include "platform/sdl/focus.h"
#include "platform/sdl/icon.h"
#include "platform/sdl/paint.h"
#include "platform/sdl/queue.h"
#include "platform/sdl/window.h"

HOOKS_API void Hooks_SetObserver(HooksObserver observer)
{
    Window_SetObserver(observer);
}

HOOKS_API int Hooks_PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Queue_Post(window, message, wParam, lParam) ? 1 : 0;
}

HOOKS_API void Hooks_FailWindowCreation(int fail)
{
    Window_SetCreationFails(fail != 0);
}

HOOKS_API HWND Hooks_FindWindow(const char *className)
{
    int index = className ? Window_FindClass(className) : -1;
    if (className && index < 0)
        return NULL;
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++) {
        NativeWindow *w = Window_At(i);
        if (w && (index < 0 || w->classIndex == index))
            return Window_Handle(w);
    }
    return NULL;
}

HOOKS_API int Hooks_GetClassInfo(const char *name, HooksClassInfo *info)
{
    int index = name ? Window_FindClass(name) : -1;
    if (index < 0 || !info)
        return 0;
    const NativeClass *c = Window_Class(index);
    info->style = c->style;
    info->largeIcon = Icon_Side(c->icon);
    info->smallIcon = Icon_Side(c->smallIcon);
    info->blackBackground = c->background == (HBRUSH)GetStockObject(BLACK_BRUSH);
    info->arrowCursor = c->cursor == LoadCursorA(0, IDC_ARROW);
    return 1;
}

HOOKS_API int Hooks_GetWindowState(HWND window, HooksWindowState *state)
{
    NativeWindow *w = Window_Record(window);
    if (!w || !state)
        return 0;
    memset(state, 0, sizeof *state);
    Window_ClientSize(w, &state->clientWidth, &state->clientHeight);
    int x, y;
    Window_ClientOrigin(w, &x, &y);
    state->clientOrigin.x = x;
    state->clientOrigin.y = y;
    state->visible = (w->style & WS_VISIBLE) != 0;
    state->maximized = (w->style & WS_MAXIMIZE) != 0;
    state->destroyed = w->destroyed;
    snprintf(state->title, sizeof state->title, "%.*s", (int)sizeof state->title - 1, w->title);
    return 1;
}

HOOKS_API int Hooks_ReadPresented(HWND window, uint32_t *out, int capacity, int *width, int *height)
{
    SDL_Window *target = Paint_Target(window);
    SDL_Surface *surface = target ? SDL_GetWindowSurface(target) : NULL;
    if (!surface || (long long)surface->w * surface->h > capacity ||
        SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels,
                          surface->pitch, SDL_PIXELFORMAT_XRGB8888, out, surface->w * 4) != 0)
        return 0;
    *width = surface->w;
    *height = surface->h;
    for (int i = 0; i < surface->w * surface->h; i++)
        out[i] &= 0xFFFFFF; // the unused byte is no colour
    return 1;
}

// Pushes a window event for a window, as the window system would send it.
static void Hooks_PushWindowEvent(HWND window, Uint8 kind)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return;
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    event.window.windowID = w->sdlId;
    event.window.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}

HOOKS_API void Hooks_Focus(HWND window, int gained)
{
    Hooks_PushWindowEvent(window,
                          gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

HOOKS_API void Hooks_Close(HWND window)
{
    Hooks_PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
}
