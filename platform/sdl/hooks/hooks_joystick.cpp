// Test hooks for joysticks: a WinMM id given a state through SDL's virtual joysticks.
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/joystick.h"

enum {
    HOOKS_JOYSTICKS = 16, // WinMM's ids: at most one virtual joystick each
    HOOKS_AXES = 6,       // what WinMM reports: X, Y, Z, R, U, V
    HOOKS_BUTTONS = 32
};

static struct {
    SDL_Joystick *plugged[HOOKS_JOYSTICKS]; // by WinMM id, what the probe plugged in
} s_hooksJoystick;

// Plugs in a virtual joystick, its id taken at once (not at the next message pump); null when
// SDL cannot.
static SDL_Joystick *Hooks_JoystickAttach(void)
{
    int device =
        SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, HOOKS_AXES, HOOKS_BUTTONS, 1);
    SDL_Joystick *joystick = device >= 0 ? SDL_JoystickOpen(device) : NULL;
    if (joystick)
        Joystick_Added(device);
    return joystick;
}

// Unplugs it: its id answers with an error at once, not only after the next message pump.
static void Hooks_JoystickDetach(SDL_Joystick *joystick)
{
    if (!joystick)
        return;
    SDL_JoystickID instance = SDL_JoystickInstanceID(joystick);
    for (int device = 0; device < SDL_NumJoysticks(); device++)
        if (SDL_JoystickGetDeviceInstanceID(device) == instance)
            SDL_JoystickDetachVirtual(device);
    SDL_JoystickClose(joystick);
    Joystick_Removed(instance);
}

bool Probe_Joystick(uint32_t id, const JOYINFOEX *state)
{
    if (id >= HOOKS_JOYSTICKS || (state && Joystick_HatOf(state->dwPOV) < 0))
        return false;
    SDL_Joystick **joystick = &s_hooksJoystick.plugged[id];
    if (!state) {
        Hooks_JoystickDetach(*joystick);
        *joystick = NULL;
        return true;
    }
    if (!*joystick) {
        // A new joystick takes the lowest free id: stand-ins fill the free ones below while
        // it is plugged in.
        SDL_Joystick *fillers[HOOKS_JOYSTICKS];
        int count = 0;
        for (uint32_t below = 0; below < id; below++)
            if (!Joystick_InUse(below))
                fillers[count++] = Hooks_JoystickAttach();
        *joystick = Hooks_JoystickAttach();
        while (count > 0)
            Hooks_JoystickDetach(fillers[--count]);
    }
    if (!*joystick)
        return false;
    const DWORD axes[HOOKS_AXES] = {state->dwXpos, state->dwYpos, state->dwZpos,
                                    state->dwRpos, state->dwUpos, state->dwVpos};
    for (int a = 0; a < HOOKS_AXES; a++) // WinMM's 0..65535 to SDL's -32768..32767
        SDL_JoystickSetVirtualAxis(*joystick, a,
                                   (Sint16)(axes[a] > 65535 ? 32767 : (int)axes[a] - 32768));
    for (int b = 0; b < HOOKS_BUTTONS; b++)
        SDL_JoystickSetVirtualButton(*joystick, b, (state->dwButtons >> b) & 1);
    SDL_JoystickSetVirtualHat(*joystick, 0, (Uint8)Joystick_HatOf(state->dwPOV));
    SDL_JoystickUpdate();
    return true;
}
