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
    Hooks_SetObserver(Probe_Observe);
    return Hooks_FindWindow("WCGRAPH");
}

void Probe_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Hooks_PostMessage(window, message, wParam, lParam);
}

void Probe_GetWindow(HWND window, ProbeWindow *state)
{
    HooksWindowState w;
    HooksClassInfo c = {};
    *state = {};
    if (!Hooks_GetWindowState(window, &w))
        return;
    bool registered = Hooks_GetClassInfo("WCGRAPH", &c) != 0;
    *state = {
        !w.destroyed,           w.visible != 0,    w.maximized != 0, w.clientOrigin, w.clientWidth,
        w.clientHeight,         registered,        c.style,          c.largeIcon,    c.smallIcon,
        c.blackBackground != 0, c.arrowCursor != 0};
    snprintf(state->title, sizeof state->title, "%s", w.title);
}

void Probe_PlainScreen(void)
{
    Hooks_ListClassicModes(0);
    Probe_SetDesktop(1600, 1200);
}

bool Probe_SetDesktop(int width, int height)
{
    Hooks_SetDesktopSize(width, height);
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
    Hooks_Close(window);
}

void Probe_Activate(HWND window, bool away)
{
    Hooks_Focus(window, !away);
    if (!away)
        SetFocus(window);
}

void Probe_SetKeyState(uint8_t vk, bool down)
{
    for (int k = vk; k <= (vk ? vk : 255); k++)
        Hooks_SetKeyState(k, down ? 0x80 : 0);
}

void Probe_Key(uint8_t vk, bool up)
{
    Hooks_KeyVk(vk, !up);
}

bool Probe_KeyUsage(uint16_t usage, bool up)
{
    Hooks_Key(usage, !up, 0);
    return true;
}

void Probe_Mouse(HWND window, int x, int y, uint32_t buttons)
{
    if (!(buttons & PROBE_STAY))
        Hooks_MouseTo(window, x, y);
    for (int b = 0; b < 6; b++) // left, right and middle (SDL's 1, 3 and 2), down then up
        if (buttons & (1u << b))
            Hooks_MouseButton(window, "\1\1\3\3\2\2"[b], !(b & 1));
}

void Probe_MouseAtScreen(HWND window, int x, int y)
{
    Hooks_MouseAtScreen(window, x, y);
}

bool Probe_Joystick(uint32_t id, const JOYINFOEX *state)
{
    return Hooks_Joystick((int)id, state);
}

bool Probe_ClockSet(uint64_t startMicros, uint64_t counterHz, bool winmm)
{
    Hooks_ClockVirtual(startMicros);
    Hooks_ClockCounter(counterHz, counterHz == 0, 0);
    Hooks_HideFunction("WinMM", "timeGetTime", !winmm);
    return true;
}

uint64_t Probe_ClockAdvance(uint32_t micros)
{
    Hooks_ClockAdvance(micros);
    return Hooks_ClockNow();
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
