// WinMM's joysticks over SDL's: 16 ids, each an SDL joystick in the order they came; what
// Wine answers: JOYERR_PARMS for an id with nothing, a centred hat as 0xFFFF.
#include "platform/native/hooks.h"
#include "platform/native/native.h"

enum {
    JOYSTICK_IDS = 16,
    JOYSTICK_AXES = 6,
    JOYSTICK_BUTTONS = 32,
    JOYERR_PARMS_ = 165,
    MMSYSERR_INVALPARAM_ = 11,
    JOY_RETURNPOV_ = 0x40,
    JOY_RETURNBUTTONS_ = 0x80,
    JOY_RETURNPOVCTS_ = 0x200,
    JOY_POVCENTERED_ = 0xFFFF,
    JOYSTICK_HOOKED = JOYSTICK_IDS // virtual joysticks the hooks hold at once
};

// SDL hat positions in hundredths of a degree clockwise from forward.
static const struct {
    Uint8 hat;
    DWORD pov;
} JOYSTICK_HATS[] = {
    {SDL_HAT_UP, 0},       {SDL_HAT_RIGHTUP, 4500},
    {SDL_HAT_RIGHT, 9000}, {SDL_HAT_RIGHTDOWN, 13500},
    {SDL_HAT_DOWN, 18000}, {SDL_HAT_LEFTDOWN, 22500},
    {SDL_HAT_LEFT, 27000}, {SDL_HAT_LEFTUP, 31500},
};

static struct {
    SDL_Joystick *ids[JOYSTICK_IDS];
    SDL_Joystick *hooked[JOYSTICK_HOOKED]; // the hooks' own references
} s_joystick;

void Joystick_Added(int deviceIndex)
{
    SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (int i = 0; i < JOYSTICK_IDS; i++)
        if (s_joystick.ids[i] && SDL_JoystickInstanceID(s_joystick.ids[i]) == instance)
            return; // already taken
    for (int i = 0; i < JOYSTICK_IDS; i++) {
        if (s_joystick.ids[i])
            continue;
        s_joystick.ids[i] = SDL_JoystickOpen(deviceIndex);
        return;
    }
}

void Joystick_Removed(SDL_JoystickID instance)
{
    for (int i = 0; i < JOYSTICK_IDS; i++) {
        if (s_joystick.ids[i] && SDL_JoystickInstanceID(s_joystick.ids[i]) == instance) {
            SDL_JoystickClose(s_joystick.ids[i]);
            s_joystick.ids[i] = NULL;
        }
    }
}

UINT WINAPI joyGetNumDevs(void)
{
    return JOYSTICK_IDS;
}

UINT WINAPI joyGetPosEx(UINT id, JOYINFOEX *info)
{
    if (!info)
        return MMSYSERR_INVALPARAM_;
    if (id >= JOYSTICK_IDS || info->dwSize < sizeof(JOYINFOEX))
        return JOYERR_PARMS_;
    SDL_Joystick *joystick = s_joystick.ids[id];
    if (!joystick || !SDL_JoystickGetAttached(joystick))
        return JOYERR_PARMS_;
    DWORD *axes[JOYSTICK_AXES] = {&info->dwXpos, &info->dwYpos, &info->dwZpos,
                                  &info->dwRpos, &info->dwUpos, &info->dwVpos};
    int count = SDL_JoystickNumAxes(joystick);
    for (int a = 0; a < JOYSTICK_AXES; a++)
        if (info->dwFlags & (1u << a)) // JOY_RETURNX .. JOY_RETURNV
            *axes[a] = a < count ? (DWORD)(SDL_JoystickGetAxis(joystick, a) + 32768) : 0;
    if (info->dwFlags & (JOY_RETURNPOV_ | JOY_RETURNPOVCTS_)) {
        Uint8 hat = SDL_JoystickNumHats(joystick) > 0 ? SDL_JoystickGetHat(joystick, 0) : 0;
        info->dwPOV = JOY_POVCENTERED_;
        for (size_t i = 0; i < sizeof JOYSTICK_HATS / sizeof JOYSTICK_HATS[0]; i++)
            if (JOYSTICK_HATS[i].hat == hat)
                info->dwPOV = JOYSTICK_HATS[i].pov;
    }
    if (info->dwFlags & JOY_RETURNBUTTONS_) {
        info->dwButtons = 0;
        info->dwButtonNumber = 0;
        int buttons = SDL_JoystickNumButtons(joystick);
        for (int b = 0; b < JOYSTICK_BUTTONS && b < buttons; b++) {
            if (!SDL_JoystickGetButton(joystick, b))
                continue;
            info->dwButtons |= 1u << b;
            info->dwButtonNumber++;
        }
    }
    return JOYERR_NOERROR;
}

static SDL_Joystick *Joystick_Hooked(int handle)
{
    return handle >= 0 && handle < JOYSTICK_HOOKED ? s_joystick.hooked[handle] : NULL;
}

HOOKS_API int Hooks_JoystickAttach(void)
{
    for (int h = 0; h < JOYSTICK_HOOKED; h++) {
        if (s_joystick.hooked[h])
            continue;
        int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, JOYSTICK_AXES,
                                               JOYSTICK_BUTTONS, 1);
        if (device < 0)
            return -1;
        s_joystick.hooked[h] = SDL_JoystickOpen(device);
        // The new id is taken now, not at the next message pump.
        Joystick_Added(device);
        return s_joystick.hooked[h] ? h : -1;
    }
    return -1;
}

HOOKS_API void Hooks_JoystickAxis(int handle, int axis, int value)
{
    SDL_Joystick *joystick = Joystick_Hooked(handle);
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
    SDL_Joystick *joystick = Joystick_Hooked(handle);
    if (!joystick)
        return;
    SDL_JoystickSetVirtualButton(joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    SDL_JoystickUpdate();
}

HOOKS_API void Hooks_JoystickHat(int handle, int value)
{
    SDL_Joystick *joystick = Joystick_Hooked(handle);
    if (!joystick)
        return;
    SDL_JoystickSetVirtualHat(joystick, 0, (Uint8)value);
    SDL_JoystickUpdate();
}

HOOKS_API void Hooks_JoystickDetach(int handle)
{
    SDL_Joystick *joystick = Joystick_Hooked(handle);
    if (!joystick)
        return;
    SDL_JoystickID instance = SDL_JoystickInstanceID(joystick);
    for (int device = 0; device < SDL_NumJoysticks(); device++)
        if (SDL_JoystickGetDeviceInstanceID(device) == instance)
            SDL_JoystickDetachVirtual(device);
    SDL_JoystickClose(joystick);
    s_joystick.hooked[handle] = NULL;
    // The id answers with an error from now on, not only after the next message pump.
    Joystick_Removed(instance);
}

// The SDL hat of a point-of-view angle; -1 for one that no hat reports.
static int Joystick_HatOf(DWORD pov)
{
    if (pov == JOY_POVCENTERED_ || pov == 0xFFFFFFFFu)
        return SDL_HAT_CENTERED;
    for (size_t i = 0; i < sizeof JOYSTICK_HATS / sizeof JOYSTICK_HATS[0]; i++)
        if (JOYSTICK_HATS[i].pov == pov)
            return JOYSTICK_HATS[i].hat;
    return -1;
}

HOOKS_API int Hooks_Joystick(int id, const JOYINFOEX *state)
{
    static int handles[JOYSTICK_IDS] = {-1, -1, -1, -1, -1, -1, -1, -1,
                                        -1, -1, -1, -1, -1, -1, -1, -1};
    if (id < 0 || id >= JOYSTICK_IDS || (state && Joystick_HatOf(state->dwPOV) < 0))
        return 0;
    if (!state) {
        Hooks_JoystickDetach(handles[id]);
        handles[id] = -1;
        return 1;
    }
    if (handles[id] < 0) {
        // A new joystick takes the lowest free id: stand-ins fill the free ones below while
        // it is plugged in.
        int fillers[JOYSTICK_IDS], count = 0;
        for (int below = 0; below < id; below++)
            if (!s_joystick.ids[below])
                fillers[count++] = Hooks_JoystickAttach();
        handles[id] = Hooks_JoystickAttach();
        while (count > 0)
            Hooks_JoystickDetach(fillers[--count]);
    }
    const DWORD axes[JOYSTICK_AXES] = {state->dwXpos, state->dwYpos, state->dwZpos,
                                       state->dwRpos, state->dwUpos, state->dwVpos};
    for (int a = 0; a < JOYSTICK_AXES; a++)
        Hooks_JoystickAxis(handles[id], a, (int)axes[a] - 32768);
    for (int b = 0; b < JOYSTICK_BUTTONS; b++)
        Hooks_JoystickButton(handles[id], b, (state->dwButtons >> b) & 1);
    Hooks_JoystickHat(handles[id], Joystick_HatOf(state->dwPOV));
    return handles[id] >= 0;
}
