// The scripted core's platform probe natively: POSIX files and clocks, and the native
// backend's test hooks for the window, real input (as SDL events), joysticks (SDL's virtual
// ones), the clock and the GDI's object count.
#include "platform/native/hooks.h"
#include "tests/core/scenarios.h"

#include <fcntl.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

enum { PROBE_JOYSTICK_IDS = 16 };

static struct {
    char appendPath[260];
    int appendFile;
    ProbeObserver observer;
    bool keyDown[256];                // real keys the probe holds down
    int joystick[PROBE_JOYSTICK_IDS]; // the hooks' handle for each id, -1 for none
} s_probe = {
    "", -1, NULL, {false}, {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}};

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
    if (s_probe.appendFile < 0 || strcmp(path, s_probe.appendPath) != 0) {
        if (s_probe.appendFile >= 0)
            close(s_probe.appendFile);
        snprintf(s_probe.appendPath, sizeof s_probe.appendPath, "%s", path);
        s_probe.appendFile = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    }
    return s_probe.appendFile >= 0 && write(s_probe.appendFile, text, length) == (ssize_t)length;
}

bool Probe_Read(const char *path, char *buffer, uint32_t size)
{
    FILE *file = fopen(path, "rb");
    if (!file)
        return false;
    size_t got = fread(buffer, 1, size - 1, file);
    fclose(file);
    buffer[got] = 0;
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
    if (!Hooks_GetWindowState(window, &w))
        return;
    state->exists = !w.destroyed;
    state->visible = w.visible;
    state->zoomed = w.maximized;
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRect(&frame, w.style, FALSE);
    state->clientOrigin.x = w.window.left - frame.left;
    state->clientOrigin.y = w.window.top - frame.top;
    state->clientWidth = w.clientWidth;
    state->clientHeight = w.clientHeight;
    snprintf(state->title, sizeof state->title, "%s", w.title);
    state->classRegistered = w.classRegistered;
    HooksClassInfo c;
    if (w.classRegistered && Hooks_GetClassInfo("WCGRAPH", &c)) {
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
    int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    int x = outer.left, y = outer.top;
    if (x + width + frameWidth > GetSystemMetrics(SM_CXSCREEN) ||
        y + height + frameHeight > GetSystemMetrics(SM_CYSCREEN))
        x = y = 0;
    SetWindowPos(window, 0, x, y, width + frameWidth, height + frameHeight,
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
    for (int k = vk ? vk : 0; k <= (vk ? vk : 255); k++)
        Hooks_SetKeyState(k, down ? 0x80 : 0);
}

// The SDL scancode of a virtual key, for the keys the scenarios press.
static int Probe_Scancode(uint8_t vk)
{
    static const struct {
        uint8_t vk;
        int scancode;
    } keys[] = {{VK_LSHIFT, 225},   {VK_RSHIFT, 229}, {VK_LCONTROL, 224},
                {VK_RCONTROL, 228}, {VK_MENU, 226},   {VK_LMENU, 226},
                {VK_RMENU, 230},    {VK_RETURN, 40},  {0x73 /* F4 */, 61}};
    if (vk >= 'A' && vk <= 'Z')
        return 4 + vk - 'A';
    for (const auto &k : keys)
        if (k.vk == vk)
            return k.scancode;
    return 0;
}

void Probe_Key(uint8_t vk, bool up)
{
    // A key pressed again while down is the keyboard's auto-repeat.
    Hooks_Key(Probe_Scancode(vk), !up, !up && s_probe.keyDown[vk]);
    s_probe.keyDown[vk] = !up;
}

void Probe_Mouse(HWND window, int x, int y, uint32_t buttons)
{
    if (!(buttons & PROBE_STAY))
        Hooks_MouseTo(window, x, y);
    static const struct {
        uint32_t flag;
        int button, down;
    } changes[] = {{PROBE_LEFT_DOWN, 1, 1}, {PROBE_LEFT_UP, 1, 0},    {PROBE_MIDDLE_DOWN, 2, 1},
                   {PROBE_MIDDLE_UP, 2, 0}, {PROBE_RIGHT_DOWN, 3, 1}, {PROBE_RIGHT_UP, 3, 0}};
    for (const auto &c : changes)
        if (buttons & c.flag)
            Hooks_MouseButton(window, c.button, c.down);
}

// The SDL hat value of a point-of-view angle; -1 for one no hat reports.
static int Probe_Hat(uint32_t pov)
{
    // Forward, then clockwise in 45-degree steps: up, up-right, right, ... (SDL_HAT_* bits).
    static const int hats[8] = {1, 3, 2, 6, 4, 12, 8, 9};
    if (pov == 0xFFFFFFFFu || pov == 0xFFFF)
        return 0;
    return pov % 4500 == 0 && pov < 36000 ? hats[pov / 4500] : -1;
}

bool Probe_Joystick(uint32_t id, const JOYINFOEX *state)
{
    if (id >= PROBE_JOYSTICK_IDS || (state && Probe_Hat(state->dwPOV) < 0))
        return false;
    int *handle = &s_probe.joystick[id];
    if (!state) {
        if (*handle >= 0)
            Hooks_JoystickDetach(*handle);
        *handle = -1;
        return true;
    }
    if (*handle < 0) {
        // A new joystick takes the lowest free id: fill the free ones below with stand-ins,
        // and unplug them again before the next poll.
        int fillers[PROBE_JOYSTICK_IDS], count = 0;
        for (uint32_t below = 0; below < id; below++)
            if (s_probe.joystick[below] < 0)
                fillers[count++] = Hooks_JoystickAttach();
        *handle = Hooks_JoystickAttach();
        while (count > 0)
            Hooks_JoystickDetach(fillers[--count]);
    }
    const DWORD axes[6] = {state->dwXpos, state->dwYpos, state->dwZpos,
                           state->dwRpos, state->dwUpos, state->dwVpos};
    for (int a = 0; a < 6; a++)
        Hooks_JoystickAxis(*handle, a, (int)axes[a] - 32768);
    for (int b = 0; b < 32; b++)
        Hooks_JoystickButton(*handle, b, (state->dwButtons >> b) & 1);
    Hooks_JoystickHat(*handle, Probe_Hat(state->dwPOV));
    return *handle >= 0;
}

bool Probe_ClockSet(uint64_t startMicros, uint32_t overshootMicros)
{
    Hooks_ClockVirtual(startMicros);
    Hooks_ClockSleepOvershoot(overshootMicros);
    return true;
}

void Probe_ClockAdvance(uint32_t micros)
{
    Hooks_ClockAdvance(micros);
}

bool Probe_ClockSources(uint64_t counterHz, bool winmm)
{
    Hooks_ClockCounter(counterHz ? counterHz : 10000000, counterHz == 0, 0);
    Hooks_HideLibrary("WinMM", !winmm);
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
    *heapBytes = (int64_t)mallinfo2().uordblks;
    char statm[64] = "";
    Probe_Read("/proc/self/statm", statm, sizeof statm);
    unsigned long pages = 0, resident = 0;
    sscanf(statm, "%lu %lu", &pages, &resident);
    *residentBytes = (uint64_t)resident * (uint64_t)sysconf(_SC_PAGESIZE);
    int32_t files = 0;
    for (int fd = 0; fd < 1024; fd++)
        files += fcntl(fd, F_GETFD) != -1;
    *handles = files;
    *gdiObjects = (int32_t)Hooks_GdiLiveObjects();
}
