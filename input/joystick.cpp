// Joystick polling: every joystick id once per frame, changes sent as input events.
#include "platform/platform.h"
#include "core/core.h"
#include "input/input.h"

enum {
    JOYSTICK_RECORDS = 16, // the device number in an event code is 4 bits wide
    JOYSTICK_QUERY_FLAGS = JOY_RETURNALL | JOY_USEDEADZONE,
    JOYSTICK_CENTRED = 0xFFFFFFFFu,
    JOYSTICK_SECTOR = 4500 // hundredths of a degree per 45-degree sector
};

static struct {
    uint32_t count;
    JOYINFOEX saved[JOYSTICK_RECORDS]; // the last state reported per id
} s_joystick;

void Joystick_Initialize(void)
{
    uint32_t count = joyGetNumDevs();
    // Ids past the table have no record and no device number of their own.
    s_joystick.count = count < JOYSTICK_RECORDS ? count : JOYSTICK_RECORDS;
    // Every id is queried into the first record, deliberately: the only lasting effect is
    // what the last answer leaves there, which id 0's first poll then compares against.
    for (uint32_t id = 0; id < s_joystick.count; id++) {
        s_joystick.saved[0].dwSize = sizeof(JOYINFOEX);
        joyGetPosEx(id, &s_joystick.saved[0]);
    }
}

// Sends the hat codes of a position with the given value: one for a main direction, the two
// neighbours for a diagonal, none when centred.
static void Joystick_SendHat(uint32_t base, uint32_t position, uint32_t value)
{
    if (position == JOYSTICK_CENTRED || position >= 8 * JOYSTICK_SECTOR)
        return;
    static const uint32_t directions[4] = {CORE_EVENT_HAT_FORWARD, CORE_EVENT_HAT_RIGHT,
                                           CORE_EVENT_HAT_BACK, CORE_EVENT_HAT_LEFT};
    uint32_t sector = position / JOYSTICK_SECTOR;
    Input_Event(base + directions[sector / 2], value);
    if (sector & 1)
        Input_Event(base + directions[(sector / 2 + 1) % 4], value);
}

void Joystick_Poll(void)
{
    for (uint32_t id = 0; id < s_joystick.count; id++) {
        JOYINFOEX info;
        memset(&info, 0, sizeof info);
        info.dwSize = sizeof info;
        info.dwFlags = JOYSTICK_QUERY_FLAGS;
        if (joyGetPosEx(id, &info) != JOYERR_NOERROR)
            continue; // nothing there now; its last state stays
        JOYINFOEX *saved = &s_joystick.saved[id];
        if (memcmp(&info, saved, sizeof info) == 0)
            continue;

        const uint32_t d = (id & 0xF) * CORE_EVENT_JOY_STRIDE;
        uint32_t changed = info.dwButtons ^ saved->dwButtons;
        for (uint32_t b = 0; b < 32; b++)
            if (changed & (1u << b))
                Input_Event(CORE_EVENT_JOY_BUTTON + d + b,
                            (saved->dwButtons & (1u << b)) ? CORE_EVENT_RELEASE : CORE_EVENT_PRESS);
        if (info.dwPOV != saved->dwPOV) {
            Joystick_SendHat(CORE_EVENT_JOY_BUTTON + d, saved->dwPOV, CORE_EVENT_RELEASE);
            Joystick_SendHat(CORE_EVENT_JOY_BUTTON + d, info.dwPOV, CORE_EVENT_PRESS);
        }
        const DWORD now[6] = {info.dwXpos, info.dwYpos, info.dwZpos,
                              info.dwRpos, info.dwUpos, info.dwVpos};
        const DWORD before[6] = {saved->dwXpos, saved->dwYpos, saved->dwZpos,
                                 saved->dwRpos, saved->dwUpos, saved->dwVpos};
        for (uint32_t axis = 0; axis < 6; axis++)
            if (now[axis] != before[axis])
                Input_Event(CORE_EVENT_JOY_AXIS + d + axis, now[axis] >> 8);
        *saved = info;
    }
}
