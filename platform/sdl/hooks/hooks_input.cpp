// Test hooks for real input pushed into SDL's event queue as devices give it; the key state set.
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/focus.h"
#include "platform/sdl/input.h"
#include "platform/sdl/window.h"

static struct {
    bool held[SDL_NUM_SCANCODES]; // keys pressed and not yet released
    int x, y;                     // the pointer's last position, SDL window coordinates
} s_hooksInput;

void Probe_SetKeyState(uint8_t vk, bool down)
{
    for (int k = vk; k <= (vk ? vk : 255); k++)
        Keys_Set(k, down ? 0x80 : 0);
}

bool Probe_KeyUsage(uint16_t scancode, bool up)
{
    bool down = !up;
    if (scancode == 0 || scancode >= SDL_NUM_SCANCODES)
        return false;
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = down && s_hooksInput.held[scancode];
    s_hooksInput.held[scancode] = down;
    event.key.keysym.scancode = (SDL_Scancode)scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode((SDL_Scancode)scancode);
    event.key.keysym.mod = Keys_NumLock() ? KMOD_NUM : KMOD_NONE;
    NativeWindow *w = Window_Get(Focus_Keyboard());
    event.key.windowID = w ? w->sdlId : 0;
    event.key.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
    return true;
}

void Probe_Key(uint8_t vk, bool up)
{
    vk = vk == VK_SHIFT     ? VK_LSHIFT
         : vk == VK_CONTROL ? VK_LCONTROL
         : vk == VK_MENU    ? VK_LMENU
                            : vk;
    int scancode = vk > 0 ? Keys_ScancodeOf(vk) : SDL_SCANCODE_UNKNOWN;
    if (scancode != SDL_SCANCODE_UNKNOWN)
        Probe_KeyUsage((uint16_t)scancode, up);
}

void Probe_Mouse(HWND window, int x, int y, uint32_t buttons)
{
    NativeWindow *w = Window_Get(window);
    int sx = x, sy = y, left = 0, top = 0;
    bool screen = (buttons & PROBE_SCREEN) != 0;
    if (!w || (screen && !w->sdl))
        return;
    if (screen)
        SDL_GetWindowPosition(w->sdl, &left, &top);
    else
        Mouse_ClientToSdl(w, x, y, &sx, &sy);
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.common.timestamp = SDL_GetTicks();
    if (!(buttons & PROBE_STAY)) {
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = w->sdlId;
        event.motion.x = sx - left;
        event.motion.y = sy - top;
        event.motion.xrel = event.motion.x - s_hooksInput.x;
        event.motion.yrel = event.motion.y - s_hooksInput.y;
        event.motion.state = Mouse_SdlButtons();
        s_hooksInput.x = event.motion.x;
        s_hooksInput.y = event.motion.y;
        SDL_PushEvent(&event);
    }
    for (int b = 0; b < 6; b++) { // left, right and middle (SDL's 1, 3 and 2), down then up
        if (!(buttons & (1u << b)))
            continue;
        event.type = b & 1 ? SDL_MOUSEBUTTONUP : SDL_MOUSEBUTTONDOWN;
        event.button.windowID = w->sdlId;
        event.button.button = (uint8_t) "\1\1\3\3\2\2"[b];
        event.button.state = b & 1 ? SDL_RELEASED : SDL_PRESSED;
        event.button.clicks = 1;
        event.button.x = s_hooksInput.x;
        event.button.y = s_hooksInput.y;
        SDL_PushEvent(&event);
    }
}
