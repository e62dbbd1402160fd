// A fake winmm.dll without a C runtime: scripted joysticks, every query logged, WinMM timers.
#define _WINMM_ // these are the definitions, not imports
#include <windows.h>
#include <mmsystem.h>

#include "fakewinmm.h"

enum { FAKEWINMM_DEFAULT_DEVICES = 20 };

static struct {
    uint32_t result[FAKEWINMM_IDS];
    uint32_t fields[FAKEWINMM_IDS][FAKEWINMM_FIELDS];
    bool scripted[FAKEWINMM_IDS];
    FakeJoyQuery log[FAKEWINMM_LOG];
    uint32_t logged; // since the last take
    bool lost;
    uint32_t devices; // 0 until first asked
    bool counted;
} s_fake;

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" uint32_t FakeJoy_DeviceCount(void)
{
    if (!s_fake.counted) {
        char text[16];
        DWORD length = GetEnvironmentVariableA("FAKEWINMM_DEVICES", text, sizeof text);
        uint32_t devices = FAKEWINMM_DEFAULT_DEVICES;
        if (length > 0 && length < sizeof text) {
            devices = 0;
            for (DWORD i = 0; i < length && text[i] >= '0' && text[i] <= '9'; i++)
                devices = devices * 10 + (uint32_t)(text[i] - '0');
        }
        s_fake.devices = devices;
        s_fake.counted = true;
    }
    return s_fake.devices;
}

extern "C" UINT WINAPI joyGetNumDevs(void)
{
    return FakeJoy_DeviceCount();
}

extern "C" MMRESULT WINAPI joyGetPosEx(UINT id, LPJOYINFOEX info)
{
    if (s_fake.logged < FAKEWINMM_LOG) {
        FakeJoyQuery *query = &s_fake.log[s_fake.logged++];
        query->id = id;
        query->size = info ? info->dwSize : 0;
        query->flags = info ? info->dwFlags : 0;
        query->record = (uint32_t)(uintptr_t)info;
    } else {
        s_fake.lost = true;
    }
    if (id >= FAKEWINMM_IDS || !s_fake.scripted[id])
        return FAKEWINMM_NO_DEVICE;
    if (s_fake.result[id] != JOYERR_NOERROR || !info)
        return s_fake.result[id];
    // Only what the flags ask for, as WinMM does; the reserved fields are left alone.
    const uint32_t *f = s_fake.fields[id];
    DWORD flags = info->dwFlags;
    DWORD *axes[6] = {&info->dwXpos, &info->dwYpos, &info->dwZpos,
                      &info->dwRpos, &info->dwUpos, &info->dwVpos};
    for (int axis = 0; axis < 6; axis++)
        if (flags & (JOY_RETURNX << axis))
            *axes[axis] = f[axis];
    if (flags & JOY_RETURNBUTTONS) {
        info->dwButtons = f[6];
        info->dwButtonNumber = f[7];
    }
    if (flags & JOY_RETURNPOV)
        info->dwPOV = f[8];
    return JOYERR_NOERROR;
}

extern "C" MMRESULT WINAPI timeBeginPeriod(UINT period)
{
    (void)period;
    return TIMERR_NOERROR;
}

extern "C" MMRESULT WINAPI timeEndPeriod(UINT period)
{
    (void)period;
    return TIMERR_NOERROR;
}

extern "C" DWORD WINAPI timeGetTime(void)
{
    return GetTickCount();
}

extern "C" void FakeJoy_Set(uint32_t id, uint32_t result, const uint32_t *fields)
{
    if (id >= FAKEWINMM_IDS)
        return;
    s_fake.scripted[id] = true;
    s_fake.result[id] = result;
    for (int i = 0; i < FAKEWINMM_FIELDS; i++)
        s_fake.fields[id][i] = fields[i];
}

extern "C" uint32_t FakeJoy_TakeQueries(FakeJoyQuery *queries, uint32_t max, uint32_t *lost)
{
    uint32_t count = s_fake.logged < max ? s_fake.logged : max;
    for (uint32_t i = 0; i < count; i++)
        queries[i] = s_fake.log[i];
    *lost = s_fake.lost || s_fake.logged > max;
    s_fake.logged = 0;
    s_fake.lost = false;
    return count;
}
