// Test hooks on windows: observer, posting, window and class state, presented pixels, focus, close.
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/icon.h"
#include "platform/sdl/paint.h"
#include "platform/sdl/queue.h"
#include "platform/sdl/window.h"

HWND Hooks_Observe(const char *className, HooksObserver observer)
{
    Window_SetObserver(observer);
    int index = Window_FindClass(className);
    for (int i = 0; index >= 0 && i < NATIVE_MAX_WINDOWS; i++) {
        NativeWindow *w = Window_At(i);
        if (w && w->classIndex == index)
            return Window_Handle(w);
    }
    return NULL;
}

void Probe_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Queue_Post(window, message, wParam, lParam);
}

void Probe_FailWindowCreation(void)
{
    Window_SetCreationFails(true);
}

void Probe_GetWindow(HWND window, ProbeWindow *state)
{
    const NativeWindow *w = Window_Record(window);
    int index = Window_FindClass("WCGRAPH");
    *state = {};
    if (!w)
        return;
    state->exists = !w->destroyed;
    state->visible = (w->style & WS_VISIBLE) != 0;
    state->zoomed = (w->style & WS_MAXIMIZE) != 0;
    int x, y;
    Window_ClientOrigin(w, &x, &y);
    state->clientOrigin = {x, y};
    Window_ClientSize(w, &state->clientWidth, &state->clientHeight);
    snprintf(state->title, sizeof state->title, "%.*s", (int)sizeof state->title - 1, w->title);
    if (index < 0)
        return;
    const NativeClass *c = Window_Class(index);
    state->classRegistered = true;
    state->classStyle = c->style;
    state->largeIcon = Icon_Side(c->icon);
    state->smallIcon = Icon_Side(c->smallIcon);
    state->blackBackground = c->background == (HBRUSH)GetStockObject(BLACK_BRUSH);
    state->arrowCursor = c->cursor == LoadCursorA(0, IDC_ARROW);
}

bool Probe_ReadPresented(HWND window, uint32_t *out, int capacity, int *width, int *height)
{
    MSG message; // a message pass presents what was drawn; this one (PM_NOREMOVE) takes nothing
    PeekMessageA(&message, NULL, 0, 0, 0);
    SDL_Window *target = Paint_Target(window);
    SDL_Surface *surface = target ? SDL_GetWindowSurface(target) : NULL;
    if (!surface || (long long)surface->w * surface->h > capacity ||
        SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels,
                          surface->pitch, SDL_PIXELFORMAT_XRGB8888, out, surface->w * 4) != 0)
        return false;
    *width = surface->w;
    *height = surface->h;
    for (int i = 0; i < surface->w * surface->h; i++)
        out[i] &= 0xFFFFFF; // the unused byte is no colour
    return true;
}

// The window system's event for the window, as its SDL window would get it.
static void Hooks_WindowEvent(HWND window, Uint8 event)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return;
    SDL_Event e;
    memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    e.window.windowID = w->sdlId;
    e.window.timestamp = SDL_GetTicks();
    SDL_PushEvent(&e);
}

void Probe_Close(HWND window)
{
    Hooks_WindowEvent(window, SDL_WINDOWEVENT_CLOSE);
}

void Probe_Activate(HWND window, bool away)
{
    Hooks_WindowEvent(window, away ? SDL_WINDOWEVENT_FOCUS_LOST : SDL_WINDOWEVENT_FOCUS_GAINED);
    if (!away)
        SetFocus(window);
}
