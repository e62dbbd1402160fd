// WinMM's joysticks over SDL's: 16 ids, each an SDL joystick in the order they came; what
// Wine answers: JOYERR_PARMS for an id with nothing, a centred hat as 0xFFFF.
#include "platform/sdl/joystick.h"

enum { JOYSTICK_IDS = 16, JOYSTICK_AXES = 6, JOYSTICK_BUTTONS = 32 };

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
        return MMSYSERR_INVALPARAM;
    if (id >= JOYSTICK_IDS || info->dwSize < sizeof(JOYINFOEX))
        return JOYERR_PARMS;
    SDL_Joystick *joystick = s_joystick.ids[id];
    if (!joystick || !SDL_JoystickGetAttached(joystick))
        return JOYERR_PARMS;
    DWORD *axes[JOYSTICK_AXES] = {&info->dwXpos, &info->dwYpos, &info->dwZpos,
                                  &info->dwRpos, &info->dwUpos, &info->dwVpos};
    int count = SDL_JoystickNumAxes(joystick);
    for (int a = 0; a < JOYSTICK_AXES; a++)
        if (info->dwFlags & (1u << a)) // JOY_RETURNX .. JOY_RETURNV
            *axes[a] = a < count ? (DWORD)(SDL_JoystickGetAxis(joystick, a) + 32768) : 0;
    if (info->dwFlags & (JOY_RETURNPOV | JOY_RETURNPOVCTS)) {
        Uint8 hat = SDL_JoystickNumHats(joystick) > 0 ? SDL_JoystickGetHat(joystick, 0) : 0;
        info->dwPOV = JOY_POVCENTERED;
        for (size_t i = 0; i < sizeof JOYSTICK_HATS / sizeof JOYSTICK_HATS[0]; i++)
            if (JOYSTICK_HATS[i].hat == hat)
                info->dwPOV = JOYSTICK_HATS[i].pov;
    }
    if (info->dwFlags & JOY_RETURNBUTTONS) {
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

bool Joystick_InUse(int id)
{
    return id >= 0 && id < JOYSTICK_IDS && s_joystick.ids[id];
}

// The SDL hat of a point-of-view angle; -1 for one that no hat reports.
int Joystick_HatOf(DWORD pov)
{
    if (pov == JOY_POVCENTERED || pov == 0xFFFFFFFFu)
        return SDL_HAT_CENTERED;
    for (size_t i = 0; i < sizeof JOYSTICK_HATS / sizeof JOYSTICK_HATS[0]; i++)
        if (JOYSTICK_HATS[i].pov == pov)
            return JOYSTICK_HATS[i].hat;
    return -1;
}
