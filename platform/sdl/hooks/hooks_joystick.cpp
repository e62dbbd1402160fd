// Test hooks for joysticks: a WinMM id given a state through SDL's virtual joysticks.
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/joystick.h"

enum {
    HOOKS_JOYSTICKS = 16, // WinMM's ids: at most one virtual joystick each
    HOOKS_AXES = 6,       // what WinMM reports: X, Y, Z, R, U, V
    HOOKS_BUTTONS = 32
};

static struct {
    SDL_Joystick *attached[HOOKS_JOYSTICKS]; // by handle; our own references
    int handles[HOOKS_JOYSTICKS];            // by WinMM id, what Hooks_Joystick plugged in; -1
} s_hooksJoystick = {{}, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}};

// Plugs in a virtual joystick; its handle, or -1.
static int Hooks_JoystickAttach(void)
{
    for (int h = 0; h < HOOKS_JOYSTICKS; h++) {
        if (s_hooksJoystick.attached[h])
            continue;
        int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, HOOKS_AXES,
                                               HOOKS_BUTTONS, 1);
        if (device < 0)
            return -1;
        s_hooksJoystick.attached[h] = SDL_JoystickOpen(device);
        // The new id is taken now, not at the next message pump.
        Joystick_Added(device);
        return s_hooksJoystick.attached[h] ? h : -1;
    }
    return -1;
}

static void Hooks_JoystickDetach(int handle)
{
    SDL_Joystick *joystick = handle >= 0 ? s_hooksJoystick.attached[handle] : NULL;
    if (!joystick)
        return;
    SDL_JoystickID instance = SDL_JoystickInstanceID(joystick);
    for (int device = 0; device < SDL_NumJoysticks(); device++)
        if (SDL_JoystickGetDeviceInstanceID(device) == instance)
            SDL_JoystickDetachVirtual(device);
    SDL_JoystickClose(joystick);
    s_hooksJoystick.attached[handle] = NULL;
    // The id answers with an error from now on, not only after the next message pump.
    Joystick_Removed(instance);
}

HOOKS_API int Hooks_Joystick(int id, const JOYINFOEX *state)
{
    if (id < 0 || id >= HOOKS_JOYSTICKS || (state && Joystick_HatOf(state->dwPOV) < 0))
        return 0;
    int *handle = &s_hooksJoystick.handles[id];
    if (!state) {
        Hooks_JoystickDetach(*handle);
        *handle = -1;
        return 1;
    }
    if (*handle < 0) {
        // A new joystick takes the lowest free id: stand-ins fill the free ones below while
        // it is plugged in.
        int fillers[HOOKS_JOYSTICKS], count = 0;
        for (int below = 0; below < id; below++)
            if (!Joystick_InUse(below))
                fillers[count++] = Hooks_JoystickAttach();
        *handle = Hooks_JoystickAttach();
        while (count > 0)
            Hooks_JoystickDetach(fillers[--count]);
    }
    SDL_Joystick *joystick = *handle >= 0 ? s_hooksJoystick.attached[*handle] : NULL;
    if (!joystick)
        return 0;
    const DWORD axes[HOOKS_AXES] = {state->dwXpos, state->dwYpos, state->dwZpos,
                                    state->dwRpos, state->dwUpos, state->dwVpos};
    for (int a = 0; a < HOOKS_AXES; a++) // WinMM's 0..65535 to SDL's -32768..32767
        SDL_JoystickSetVirtualAxis(joystick, a,
                                   (Sint16)(axes[a] > 65535 ? 32767 : (int)axes[a] - 32768));
    for (int b = 0; b < HOOKS_BUTTONS; b++)
        SDL_JoystickSetVirtualButton(joystick, b, (state->dwButtons >> b) & 1);
    SDL_JoystickSetVirtualHat(joystick, 0, (Uint8)Joystick_HatOf(state->dwPOV));
    SDL_JoystickUpdate();
    return 1;
}
