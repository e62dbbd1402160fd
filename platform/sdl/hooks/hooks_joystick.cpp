// Test hooks for joysticks: SDL virtual joysticks plugged in, moved and unplugged, and a
// WinMM id given the state a test asks for.
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

static SDL_Joystick *Hooks_Attached(int handle)
{
    return handle >= 0 && handle < HOOKS_JOYSTICKS ? s_hooksJoystick.attached[handle] : NULL;
}

HOOKS_API int Hooks_JoystickAttach(void)
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

HOOKS_API void Hooks_JoystickAxis(int handle, int axis, int value)
{
    SDL_Joystick *joystick = Hooks_Attached(handle);
    if (!joystick)
        return;
    SDL_JoystickSetVirtualAxis(joystick, axis,
                               (Sint16)(value < -32768  ? -32768
                                        : value > 32767 ? 32767
                                                        : value));
    SDL_JoystickUpdate();
}

HOOKS_API void Hooks_JoystickButton(int handle, int button, int down)
{
    SDL_Joystick *joystick = Hooks_Attached(handle);
    if (!joystick)
        return;
    SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    SDL_JoystickUpdate();
}

HOOKS_API void Hooks_JoystickHat(int handle, int value)
{
    SDL_Joystick *joystick = Hooks_Attached(handle);
    if (!joystick)
        return;
    SDL_JoystickSetVirtualHat(joystick, 0, (Uint8)value);
    SDL_JoystickUpdate();
}

HOOKS_API void Hooks_JoystickDetach(int handle)
{
    SDL_Joystick *joystick = Hooks_Attached(handle);
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
    const DWORD axes[HOOKS_AXES] = {state->dwXpos, state->dwYpos, state->dwZpos,
                                    state->dwRpos, state->dwUpos, state->dwVpos};
    for (int a = 0; a < HOOKS_AXES; a++)
        Hooks_JoystickAxis(*handle, a, (int)axes[a] - 32768);
    for (int b = 0; b < HOOKS_BUTTONS; b++)
        Hooks_JoystickButton(*handle, b, (state->dwButtons >> b) & 1);
    Hooks_JoystickHat(*handle, Joystick_HatOf(state->dwPOV));
    return *handle >= 0;
}
