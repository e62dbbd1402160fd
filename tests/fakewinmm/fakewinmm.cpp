// A fake winmm.dll without a C runtime, for the joystick scenario under Wine: joysticks as the
// scripted core sets them, 20 ids (more than the 16 Windows reports), and WinMM's timers.
#define _WINMM_ // these are the definitions, not imports
#include <windows.h>
#include <mmsystem.h>

// Ids, and what Wine answers for an id without a joystick.
enum { FAKEWINMM_IDS = 20, FAKEWINMM_NO_DEVICE = 165 };

static struct {
    bool present[FAKEWINMM_IDS];
    JOYINFOEX state[FAKEWINMM_IDS];
} s_fake;

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" UINT WINAPI joyGetNumDevs(void)
{
    return FAKEWINMM_IDS;
}

extern "C" MMRESULT WINAPI joyGetPosEx(UINT id, LPJOYINFOEX info)
{
    if (id >= FAKEWINMM_IDS || !s_fake.present[id] || !info)
        return FAKEWINMM_NO_DEVICE;
    // Only what the flags ask for, as WinMM does; the reserved fields are left alone.
    const JOYINFOEX *s = &s_fake.state[id];
    DWORD flags = info->dwFlags;
    // dwXpos to dwVpos follow each other, as JOY_RETURNX to JOY_RETURNV.
    for (int axis = 0; axis < 6; axis++)
        if (flags & (JOY_RETURNX << axis))
            (&info->dwXpos)[axis] = (&s->dwXpos)[axis];
    if (flags & JOY_RETURNBUTTONS) {
        info->dwButtons = s->dwButtons;
        info->dwButtonNumber = s->dwButtonNumber;
    }
    if (flags & JOY_RETURNPOV)
        info->dwPOV = s->dwPOV;
    return JOYERR_NOERROR;
}

// timeBeginPeriod and timeEndPeriod (see the .def file): nothing to do.
extern "C" MMRESULT WINAPI FakeTime_Period(UINT)
{
    return TIMERR_NOERROR;
}

extern "C" DWORD WINAPI timeGetTime(void)
{
    return GetTickCount();
}

// From now on joyGetPosEx of the id answers with the state; null: nothing plugged in.
extern "C" void FakeJoy_Set(UINT id, const JOYINFOEX *state)
{
    if (id >= FAKEWINMM_IDS)
        return;
    s_fake.present[id] = state != NULL;
    // Word by word: there is no memcpy without a C runtime.
    for (UINT i = 0; state && i < sizeof *state / sizeof(DWORD); i++)
        ((DWORD *)&s_fake.state[id])[i] = ((const DWORD *)state)[i];
}
