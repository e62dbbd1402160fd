// The scripted core's platform probe natively: POSIX files and clocks, and the native
// backend's test hooks (real input as SDL events, SDL's virtual joysticks, the clock...).
#include "platform/sdl/hooks/hooks.h"
#include "tests/core/testcore.h"

#include <fcntl.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

__attribute__((constructor)) static void Probe_AtLoad(void)
{
    Scenario_AtLoad();
}

__attribute__((destructor)) static void Probe_AtExit(void)
{
    Scenario_Exit();
}

static uint64_t Probe_ClockMicros(clockid_t clock)
{
    struct timespec now;
    clock_gettime(clock, &now);
    return (uint64_t)now.tv_sec * 1000000u + (uint64_t)now.tv_nsec / 1000u;
}

uint64_t Probe_Micros(void)
{
    return Probe_ClockMicros(CLOCK_MONOTONIC);
}

uint64_t Probe_CpuMicros(void)
{
    return Probe_ClockMicros(CLOCK_PROCESS_CPUTIME_ID);
}

static void Probe_Observe(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT)
{
    Scenario_Observe(window, message, wParam, lParam);
}

HWND Probe_HookWindow(void)
{
    return Hooks_Observe("WCGRAPH", Probe_Observe);
}

void Probe_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Hooks_PostMessage(window, message, wParam, lParam);
}

void Probe_GetWindow(HWND window, ProbeWindow *state)
{
    Hooks_GetWindow(window, "WCGRAPH", state);
}

void Probe_PlainScreen(void)
{
    Hooks_SetDesktop(1600, 1200, 0);
}

bool Probe_SetDesktop(int width, int height)
{
    Hooks_SetDesktop(width, height, 1);
    return true;
}

bool Probe_ReadPresented(HWND window, uint32_t *pixels, int capacity, int *width, int *height)
{
    MSG message; // a message pass presents what was drawn; this one (PM_NOREMOVE) takes nothing
    PeekMessageA(&message, NULL, 0, 0, 0);
    return Hooks_ReadPresented(window, pixels, capacity, width, height) != 0;
}

void Probe_Close(HWND window)
{
    Hooks_WindowEvent(window, 2);
}

void Probe_Activate(HWND window, bool away)
{
    Hooks_WindowEvent(window, !away);
    if (!away)
        SetFocus(window);
}

void Probe_SetKeyState(uint8_t vk, bool down)
{
    Hooks_SetKeyState(vk, down ? 0x80 : 0);
}

void Probe_Key(uint8_t vk, bool up)
{
    Hooks_KeyVk(vk, !up);
}

bool Probe_KeyUsage(uint16_t usage, bool up)
{
    Hooks_Key(usage, !up);
    return true;
}

void Probe_Mouse(HWND window, int x, int y, uint32_t buttons)
{
    Hooks_Mouse(window, x, y, buttons);
}

bool Probe_Joystick(uint32_t id, const JOYINFOEX *state)
{
    return Hooks_Joystick((int)id, state);
}

bool Probe_ClockSet(uint64_t startMicros, uint64_t counterHz, bool winmm)
{
    Hooks_ClockSet(startMicros, counterHz, winmm);
    return true;
}

uint64_t Probe_ClockAdvance(uint32_t micros)
{
    return Hooks_ClockAdvance(micros);
}

void Probe_FailWindowCreation(void)
{
    Hooks_FailWindowCreation(1);
}

int32_t Probe_LiveGdiObjects(void)
{
    return (int32_t)Hooks_GdiLiveObjects();
}

bool Probe_FailGdiCreation(uint32_t n)
{
    Hooks_GdiFailCreationAt(n);
    return true;
}

void Probe_Resources(uint64_t *residentBytes, int64_t *heapBytes, int32_t *handles,
                     int32_t *gdiObjects)
{
    unsigned long pages = 0, resident = 0;
    FILE *statm = fopen("/proc/self/statm", "r");
    if (statm && fscanf(statm, "%lu %lu", &pages, &resident) != 2)
        resident = 0;
    if (statm)
        fclose(statm);
    *residentBytes = (uint64_t)resident * (uint64_t)sysconf(_SC_PAGESIZE);
    *heapBytes = (int64_t)mallinfo2().uordblks;
    *handles = 0;
    for (int fd = 0; fd < 1024; fd++)
        *handles += fcntl(fd, F_GETFD) != -1;
    *gdiObjects = (int32_t)Hooks_GdiLiveObjects();
}
