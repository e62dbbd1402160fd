// Mouse: SDL motion and button events become WM_MOUSEMOVE and the button messages, in
// client coordinates, over the client only unless the window holds the capture.
#include "platform/sdl/display.h"
#include "platform/sdl/input.h"
#include "platform/sdl/queue.h"
#include "platform/sdl/window.h"

// SDL's button numbers and what they mean here.
typedef struct {
    uint8_t sdlButton;
    WPARAM flag;
    UINT down;
    UINT up;
} MouseButtonRow;

static const MouseButtonRow MOUSE_BUTTONS[] = {
    {SDL_BUTTON_LEFT, MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
    {SDL_BUTTON_MIDDLE, MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
    {SDL_BUTTON_RIGHT, MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
};

static struct {
    HWND capture;
    WPARAM buttons; // MK_ flags of the buttons held
} s_mouse;

// Rounds a quotient towards minus infinity, for positions left of a scaled picture.
static int Mouse_FloorDiv(long long a, long long b)
{
    long long q = a / b;
    return (int)(q * b > a ? q - 1 : q);
}

// Where a covering window's picture lies in its SDL window.
static SDL_Rect Mouse_Picture(const NativeWindow *w)
{
    int width, height;
    SDL_GetWindowSize(w->sdl, &width, &height);
    return Display_ScaledRect(w->pixelsWidth, w->pixelsHeight, width, height);
}

void Mouse_SdlToClient(const NativeWindow *w, int sx, int sy, int *x, int *y)
{
    if (!w->sdlCovering || w->pixelsWidth <= 0 || w->pixelsHeight <= 0) {
        *x = sx;
        *y = sy;
        return;
    }
    SDL_Rect r = Mouse_Picture(w);
    *x = Mouse_FloorDiv((long long)(sx - r.x) * w->pixelsWidth, r.w);
    *y = Mouse_FloorDiv((long long)(sy - r.y) * w->pixelsHeight, r.h);
}

void Mouse_ClientToSdl(const NativeWindow *w, int x, int y, int *sx, int *sy)
{
    if (!w->sdlCovering || w->pixelsWidth <= 0 || w->pixelsHeight <= 0) {
        *sx = x;
        *sy = y;
        return;
    }
    // The middle of the pixel's cell on the desktop, so that mapping back gives it again.
    SDL_Rect r = Mouse_Picture(w);
    *sx = r.x + Mouse_FloorDiv((2LL * x + 1) * r.w, 2LL * w->pixelsWidth);
    *sy = r.y + Mouse_FloorDiv((2LL * y + 1) * r.h, 2LL * w->pixelsHeight);
}

// Queues a mouse message at an SDL window position; false when it goes nowhere.
static void Mouse_Queue(uint32_t sdlWindow, int sx, int sy, UINT message)
{
    NativeWindow *over = Window_FromSdlId(sdlWindow);
    NativeWindow *target = Window_Get(s_mouse.capture);
    if (!over && !target)
        return;
    int x, y;
    if (!target || target == over) {
        target = over;
        Mouse_SdlToClient(over, sx, sy, &x, &y);
    } else {
        // Over another window (or none known): from its screen position.
        int ox = 0, oy = 0, tx, ty;
        if (over)
            Window_ClientOrigin(over, &ox, &oy);
        Window_ClientOrigin(target, &tx, &ty);
        x = ox + sx - tx;
        y = oy + sy - ty;
    }
    int width, height;
    Window_ClientSize(target, &width, &height);
    bool inside = x >= 0 && y >= 0 && x < width && y < height;
    if (!inside && s_mouse.capture != Window_Handle(target))
        return;
    NativeQueued item;
    memset(&item, 0, sizeof item);
    item.msg.hwnd = Window_Handle(target);
    item.msg.message = message;
    item.msg.wParam = s_mouse.buttons | Keys_MouseFlags();
    item.msg.lParam = (LPARAM)(((uint32_t)(uint16_t)y << 16) | (uint16_t)x);
    item.msg.time = GetTickCount();
    item.keyVk = -1;
    Queue_PostInput(&item);
}

// SDL puts a move on the window's edge when the window holds no capture: the pointer may in
// truth be outside (a move queued before a release outside), and then there is no move.
static bool Mouse_ClampedOutside(const SDL_MouseMotionEvent *motion)
{
    NativeWindow *w = Window_FromSdlId(motion->windowID);
    int width, height, x, y, gx, gy;
    if (!w || motion->state || !w->sdl)
        return false;
    SDL_GetWindowSize(w->sdl, &width, &height);
    if (motion->x > 0 && motion->y > 0 && motion->x < width - 1 && motion->y < height - 1)
        return false;
    SDL_GetWindowPosition(w->sdl, &x, &y);
    SDL_GetGlobalMouseState(&gx, &gy);
    return gx < x || gy < y || gx >= x + width || gy >= y + height;
}

void Mouse_FromSdlMotion(const SDL_MouseMotionEvent *motion)
{
    if (Mouse_ClampedOutside(motion))
        return;
    Mouse_Queue(motion->windowID, motion->x, motion->y, WM_MOUSEMOVE);
}

void Mouse_FromSdlButton(const SDL_MouseButtonEvent *button)
{
    for (size_t i = 0; i < sizeof MOUSE_BUTTONS / sizeof MOUSE_BUTTONS[0]; i++) {
        const MouseButtonRow *row = &MOUSE_BUTTONS[i];
        if (row->sdlButton != button->button)
            continue;
        bool down = button->state == SDL_PRESSED;
        // The flags tell the buttons held after this change, as Windows does.
        s_mouse.buttons = down ? s_mouse.buttons | row->flag : s_mouse.buttons & ~row->flag;
        Mouse_Queue(button->windowID, button->x, button->y, down ? row->down : row->up);
    }
}

HWND Mouse_Capture(void)
{
    if (s_mouse.capture && !Window_Get(s_mouse.capture))
        s_mouse.capture = NULL;
    return s_mouse.capture;
}

HWND WINAPI GetCapture(void)
{
    return Mouse_Capture();
}

HWND WINAPI SetCapture(HWND window)
{
    HWND previous = Mouse_Capture();
    NativeWindow *w = Window_Get(window);
    if (!w || previous == window)
        return previous;
    s_mouse.capture = window;
    // SDL reports the pointer outside the window too while it is captured (may fail where
    // the driver cannot, e.g. offscreen: the capture then holds for our own messages).
    if (!previous)
        SDL_CaptureMouse(SDL_TRUE);
    NativeWindow *old = Window_Get(previous);
    if (old)
        Window_Call(old, WM_CAPTURECHANGED, 0, (LPARAM)window);
    return previous;
}

BOOL WINAPI ReleaseCapture(void)
{
    HWND previous = Mouse_Capture();
    if (!previous)
        return TRUE;
    s_mouse.capture = NULL;
    SDL_CaptureMouse(SDL_FALSE);
    NativeWindow *old = Window_Get(previous);
    if (old)
        Window_Call(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

uint32_t Mouse_SdlButtons(void)
{
    uint32_t state = 0;
    for (size_t i = 0; i < sizeof MOUSE_BUTTONS / sizeof MOUSE_BUTTONS[0]; i++)
        if (s_mouse.buttons & MOUSE_BUTTONS[i].flag)
            state |= SDL_BUTTON(MOUSE_BUTTONS[i].sdlButton);
    return state;
}
