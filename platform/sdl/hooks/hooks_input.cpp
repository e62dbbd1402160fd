// Test hooks for real input pushed into SDL's event queue as devices give it; the key state set.
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/focus.h"
#include "platform/sdl/input.h"
#include "platform/sdl/window.h"

static struct {
    bool held[256]; // virtual keys pressed through Hooks_KeyVk and not yet released
    int x;          // the pointer's last position, SDL window coordinates
    int y;
} s_hooksInput;

HOOKS_API void Hooks_SetKeyState(int vk, int state)
{
    Keys_Set(vk, (uint8_t)state);
}

HOOKS_API void Hooks_Key(int scancode, int down, int repeat)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = (SDL_Scancode)scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode((SDL_Scancode)scancode);
    event.key.keysym.mod = Keys_NumLock() ? KMOD_NUM : KMOD_NONE;
    NativeWindow *w = Window_Get(Focus_Keyboard());
    event.key.windowID = w ? w->sdlId : 0;
    event.key.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}

HOOKS_API int Hooks_KeyVk(int vk, int down)
{
    vk = vk == VK_SHIFT     ? VK_LSHIFT
         : vk == VK_CONTROL ? VK_LCONTROL
         : vk == VK_MENU    ? VK_LMENU
                            : vk;
    int scancode = vk > 0 && vk <= 255 ? Keys_ScancodeOf(vk) : SDL_SCANCODE_UNKNOWN;
    if (scancode == SDL_SCANCODE_UNKNOWN)
        return 0;
    Hooks_Key(scancode, down, down && s_hooksInput.held[vk]);
    s_hooksInput.held[vk] = down != 0;
    return 1;
}

// A motion to a position of the window's SDL window.
static void Hooks_MotionTo(const NativeWindow *w, int sx, int sy)
{
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = w->sdlId;
    event.motion.x = sx;
    event.motion.y = sy;
    event.motion.xrel = sx - s_hooksInput.x;
    event.motion.yrel = sy - s_hooksInput.y;
    event.motion.state = Mouse_SdlButtons();
    event.motion.timestamp = SDL_GetTicks();
    s_hooksInput.x = sx;
    s_hooksInput.y = sy;
    SDL_PushEvent(&event);
}

HOOKS_API void Hooks_MouseTo(HWND window, int x, int y)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return;
    int sx, sy;
    Mouse_ClientToSdl(w, x, y, &sx, &sy);
    Hooks_MotionTo(w, sx, sy);
}

HOOKS_API void Hooks_MouseAtScreen(HWND window, int x, int y)
{
    NativeWindow *w = Window_Get(window);
    int left = 0, top = 0;
    if (!w || !w->sdl)
        return;
    SDL_GetWindowPosition(w->sdl, &left, &top);
    Hooks_MotionTo(w, x - left, y - top);
}

HOOKS_API void Hooks_MouseButton(HWND window, int button, int down)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return;
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = w->sdlId;
    event.button.button = (uint8_t)button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = s_hooksInput.x;
    event.button.y = s_hooksInput.y;
    event.button.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}
