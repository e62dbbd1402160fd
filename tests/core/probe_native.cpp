// The scripted core's platform probe natively: POSIX files and clocks, and the native
// backend's test hooks for the window, real input (as SDL events), joysticks (SDL's virtual
// ones), the clock, the display and the GDI's object count.
#include "platform/native/hooks.h"
#include "tests/core/testcore.h"

#include <fcntl.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

static struct {
    int appendFile;
    ProbeObserver observer;
} s_probe = {-1, NULL};

__attribute__((destructor)) static void Probe_AtExit(void)
{
    Scenario_Exit();
}

const char *Probe_Env(const char *name)
{
    return getenv(name);
}

bool Probe_Append(const char *path, const char *text, uint32_t length)
{
    if (s_probe.appendFile < 0) // the one file a run appends to: its log
        s_probe.appendFile = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    return write(s_probe.appendFile, text, length) == (ssize_t)length;
}

bool Probe_Read(const char *path, char *buffer, uint32_t size)
{
    FILE *file = fopen(path, "rb");
    if (!file)
        return false;
    buffer[fread(buffer, 1, size - 1, file)] = 0;
    fclose(file);
    return true;
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
    s_probe.observer(window, message, wParam, lParam);
}

HWND Probe_HookWindow(ProbeObserver observer)
{
    s_probe.observer = observer;
    Hooks_SetObserver(Probe_Observe);
    return Hooks_FindWindow("WCGRAPH");
}

void Probe_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Hooks_PostMessage(window, message, wParam, lParam);
}

void Probe_GetWindow(HWND window, ProbeWindow *state)
{
    memset(state, 0, sizeof *state);
    HooksWindowState w;
    HooksClassInfo c;
    if (!Hooks_GetWindowState(window, &w))
        return;
    state->exists = !w.destroyed;
    state->visible = w.visible;
    state->zoomed = w.maximized;
    state->clientOrigin = w.clientOrigin;
    state->clientWidth = w.clientWidth;
    state->clientHeight = w.clientHeight;
    snprintf(state->title, sizeof state->title, "%s", w.title);
    state->classRegistered = Hooks_GetClassInfo("WCGRAPH", &c);
    if (state->classRegistered) {
        state->classStyle = c.style;
        state->largeIcon = c.largeIcon;
        state->smallIcon = c.smallIcon;
        state->blackBackground = c.blackBackground;
        state->arrowCursor = c.arrowCursor;
    }
}

void Probe_SetClientSize(HWND window, int width, int height)
{
    RECT outer, frame = {0, 0, 0, 0};
    GetWindowRect(window, &outer);
    AdjustWindowRect(&frame, (DWORD)GetWindowLongA(window, GWL_STYLE), FALSE);
    width += frame.right - frame.left;
    height += frame.bottom - frame.top;
    bool fits = outer.left + width <= GetSystemMetrics(SM_CXSCREEN) &&
                outer.top + height <= GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(window, 0, fits ? outer.left : 0, fits ? outer.top : 0, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Probe_PlainScreen(void)
{
    Hooks_ListClassicModes(0);
    Hooks_SetDesktopSize(1600, 1200);
}

void Probe_MoveWindow(HWND window, int x, int y)
{
    RECT outer;
    GetWindowRect(window, &outer);
    SetWindowPos(window, 0, x, y, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
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

void Probe_Mouse(HWND window, int x, int y, uint32_t buttons)
{
    if (!(buttons & PROBE_STAY))
        Hooks_MouseTo(window, x, y);
    for (int b = 0; b < 6; b++) // left, right and middle (SDL's 1, 3 and 2), down then up
        if (buttons & (1u << b))
            Hooks_MouseButton(window, "\1\1\3\3\2\2"[b], !(b & 1));
}

bool Probe_Joystick(uint32_t id, const JOYINFOEX *state)
{
    return Hooks_Joystick((int)id, state);
}

bool Probe_ClockSet(uint64_t startMicros, uint32_t overshootMicros)
{
    Hooks_ClockVirtual(startMicros);
    Hooks_ClockSleepOvershoot(overshootMicros);
    return true;
}

uint64_t Probe_ClockAdvance(uint32_t micros)
{
    Hooks_ClockAdvance(micros);
    return Hooks_ClockNow();
}

bool Probe_ClockSources(uint64_t counterHz, bool winmm)
{
    Hooks_ClockCounter(counterHz, counterHz == 0, 0);
    Hooks_HideFunction("WinMM", "timeGetTime", !winmm);
    return true;
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
    char statm[64] = "";
    unsigned long pages = 0, resident = 0;
    Probe_Read("/proc/self/statm", statm, sizeof statm);
    sscanf(statm, "%lu %lu", &pages, &resident);
    *residentBytes = (uint64_t)resident * (uint64_t)sysconf(_SC_PAGESIZE);
    *heapBytes = (int64_t)mallinfo2().uordblks;
    *handles = 0;
    for (int fd = 0; fd < 1024; fd++)
        *handles += fcntl(fd, F_GETFD) != -1;
    *gdiObjects = (int32_t)Hooks_GdiLiveObjects();
}
