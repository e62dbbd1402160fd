// Painting: update regions (kept as one bounding rectangle), WM_ERASEBKGND and WM_PAINT,
// the device contexts over the client pixels, and presenting the pixels through SDL.
#include "platform/gdi/gdi.h"
#include "platform/sdl/display.h"
#include "platform/sdl/paint.h"
#include "platform/sdl/window.h"

static struct {
    HDC screenDC;         // GetDC(NULL): a context that draws nowhere
    uint32_t paintsBegun; // BeginPaint calls so far
} s_paint;

static bool Paint_Shown(const NativeWindow *w)
{
    return (w->style & WS_VISIBLE) && !(w->style & WS_MINIMIZE);
}

HDC Paint_Bind(NativeWindow *w)
{
    if (w->bound || !w->dc)
        return w->dc;
    // A class DC serves one window at a time: what it drew for the last one goes out first.
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++) {
        NativeWindow *other = Window_At(i);
        if (!other || other == w || other->dc != w->dc || !other->bound)
            continue;
        if (Gdi_TakeSurfaceDrawn(other->dc))
            Paint_Present(other);
        other->bound = false;
    }
    Gdi_SetSurface(w->dc, w->pixels, w->pixelsWidth, w->pixelsHeight, w->pixelsWidth * 4);
    w->bound = true;
    return w->dc;
}

void Paint_Invalidate(NativeWindow *w, const RECT *rect, bool erase)
{
    int width, height;
    Window_ClientSize(w, &width, &height);
    RECT area = {0, 0, width, height};
    if (rect) {
        area.left = rect->left > 0 ? rect->left : 0;
        area.top = rect->top > 0 ? rect->top : 0;
        area.right = rect->right < width ? rect->right : width;
        area.bottom = rect->bottom < height ? rect->bottom : height;
    }
    if (area.right <= area.left || area.bottom <= area.top)
        return;
    if (!w->updatePending) {
        w->updateRect = area;
    } else {
        RECT *u = &w->updateRect;
        u->left = area.left < u->left ? area.left : u->left;
        u->top = area.top < u->top ? area.top : u->top;
        u->right = area.right > u->right ? area.right : u->right;
        u->bottom = area.bottom > u->bottom ? area.bottom : u->bottom;
    }
    w->updatePending = true;
    w->updateErase = w->updateErase || erase;
}

void Paint_EraseNow(NativeWindow *w)
{
    if (!w->updateErase || !Paint_Shown(w))
        return;
    HDC dc = Paint_Bind(w);
    if (Window_Call(w, WM_ERASEBKGND, (WPARAM)dc, 0))
        w->updateErase = false;
}

void Paint_UpdateNow(NativeWindow *w)
{
    if (w->updatePending && Paint_Shown(w))
        Window_Call(w, WM_PAINT, 0, 0);
}

NativeWindow *Paint_NextDue(void)
{
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++) {
        NativeWindow *w = Window_At(i);
        if (w && w->updatePending && Paint_Shown(w))
            return w;
    }
    return NULL;
}

// Copies pixels into an SDL surface of any format, rows cut to the smaller size.
static void Paint_Copy(const NativeWindow *w, SDL_Surface *surface)
{
    int width = w->pixelsWidth < surface->w ? w->pixelsWidth : surface->w;
    int height = w->pixelsHeight < surface->h ? w->pixelsHeight : surface->h;
    if (width <= 0 || height <= 0)
        return;
    if (surface->format->format == SDL_PIXELFORMAT_XRGB8888) {
        for (int y = 0; y < height; y++)
            memcpy((uint8_t *)surface->pixels + (size_t)y * surface->pitch,
                   w->pixels + (size_t)y * w->pixelsWidth, (size_t)width * 4);
        return;
    }
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_XRGB8888, w->pixels, w->pixelsWidth * 4,
                      surface->format->format, surface->pixels, surface->pitch);
}

// Scales the pixels over the whole surface, aspect kept, black around.
static void Paint_Scale(const NativeWindow *w, SDL_Surface *surface)
{
    SDL_Surface *source =
        SDL_CreateRGBSurfaceWithFormatFrom(w->pixels, w->pixelsWidth, w->pixelsHeight, 32,
                                           w->pixelsWidth * 4, SDL_PIXELFORMAT_XRGB8888);
    if (!source)
        return;
    SDL_Rect target = Display_ScaledRect(w->pixelsWidth, w->pixelsHeight, surface->w, surface->h);
    SDL_Rect bars[4] = {
        {0, 0, surface->w, target.y},                                                // above
        {0, target.y + target.h, surface->w, surface->h - target.y - target.h},      // below
        {0, target.y, target.x, target.h},                                           // left
        {target.x + target.w, target.y, surface->w - target.x - target.w, target.h}, // right
    };
    for (int i = 0; i < 4; i++)
        if (bars[i].w > 0 && bars[i].h > 0)
            SDL_FillRect(surface, &bars[i], SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_BlitScaled(source, NULL, surface, &target);
    SDL_FreeSurface(source);
}

void Paint_Present(NativeWindow *w)
{
    if (w->sdlPending)
        Desktop_Apply(w);
    if (!w->sdl || !w->sdlShown || !w->pixels || !Paint_Shown(w))
        return;
    // The X11 driver may recreate its window here: the surface is asked for every time.
    SDL_Surface *surface = SDL_GetWindowSurface(w->sdl);
    if (!surface)
        return;
    if (w->sdlCovering)
        Paint_Scale(w, surface);
    else
        Paint_Copy(w, surface);
    SDL_UpdateWindowSurface(w->sdl);
}

SDL_Window *Paint_Target(HWND window)
{
    NativeWindow *w = Window_Get(window);
    return w ? w->sdl : NULL;
}

void Paint_PresentDrawn(void)
{
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++) {
        NativeWindow *w = Window_At(i);
        if (w && w->bound && w->dc && Gdi_TakeSurfaceDrawn(w->dc))
            Paint_Present(w);
    }
}

// DefWindowProc's WM_ERASEBKGND: the class brush over the client; 1 when there is one.
LRESULT Paint_EraseBackground(NativeWindow *w)
{
    NativeClass *c = Window_Class(w->classIndex);
    if (!c || !c->background || !w->pixels)
        return 0;
    // Only the stock black and white brushes are known by colour; others erase to black.
    uint32_t colour = c->background == (HBRUSH)GetStockObject(WHITE_BRUSH) ? 0xFFFFFFu : 0;
    for (size_t i = 0; i < (size_t)w->pixelsWidth * (size_t)w->pixelsHeight; i++)
        w->pixels[i] = colour;
    Paint_Present(w);
    return 1;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT *rect, BOOL erase)
{
    if (!window) {
        for (int i = 0; i < NATIVE_MAX_WINDOWS; i++)
            if (Window_At(i))
                Paint_Invalidate(Window_At(i), NULL, erase != FALSE);
        return TRUE;
    }
    NativeWindow *w = Window_Get(window);
    if (!w)
        return FALSE;
    Paint_Invalidate(w, rect, erase != FALSE);
    return TRUE;
}

BOOL WINAPI RedrawWindow(HWND window, const RECT *rect, void *region, UINT flags)
{
    (void)region; // regions are not offered: the rectangle (or the whole client) counts
    if (!window)
        return TRUE;
    NativeWindow *w = Window_Get(window);
    if (!w)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        Paint_Invalidate(w, rect, (flags & RDW_ERASE) != 0);
    if (flags & RDW_VALIDATE)
        w->updatePending = w->updateErase = false;
    if (flags & (RDW_ERASENOW | RDW_UPDATENOW))
        Paint_EraseNow(w);
    // A minimized window has an empty client: nothing to paint, as under Wine.
    if ((flags & RDW_UPDATENOW) && Window_Get(window))
        Paint_UpdateNow(w);
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND window)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return FALSE;
    Paint_UpdateNow(w);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND window, PAINTSTRUCT *paint)
{
    NativeWindow *w = Window_Get(window);
    if (!w || !paint)
        return NULL;
    memset(paint, 0, sizeof *paint);
    s_paint.paintsBegun++;
    HDC dc = Paint_Bind(w);
    if (w->updateErase) {
        w->updateErase = false;
        paint->fErase = Window_Call(w, WM_ERASEBKGND, (WPARAM)dc, 0) == 0;
        if (!Window_Get(window))
            return NULL;
        dc = Paint_Bind(w);
    }
    if (w->updatePending)
        paint->rcPaint = w->updateRect;
    w->updatePending = false;
    paint->hdc = dc;
    return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT *paint)
{
    (void)paint;
    NativeWindow *w = Window_Get(window);
    if (!w)
        return FALSE;
    if (w->bound && w->dc && Gdi_TakeSurfaceDrawn(w->dc))
        Paint_Present(w);
    return TRUE;
}

uint32_t Paint_BegunCount(void)
{
    return s_paint.paintsBegun;
}

HDC WINAPI GetDC(HWND window)
{
    if (!window) {
        if (!s_paint.screenDC)
            s_paint.screenDC = Gdi_CreateSurfaceDC();
        return s_paint.screenDC;
    }
    NativeWindow *w = Window_Get(window);
    return w ? Paint_Bind(w) : NULL;
}
