// The scripted core's platform probe on Windows (and Wine): Win32 calls, SendInput for real
// input, and the fake winmm.dll beside the program for joysticks.
#include "tests/core/testcore.h"

#include <psapi.h>

static struct {
    char envValue[1024];
    char appendPath[260];
    HANDLE appendFile;
    HWND window;
    WNDPROC original;
    ProbeObserver observer;
    HWND other; // a second window to take the activation away
} s_probe;

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_DETACH)
        Scenario_Exit();
    return TRUE;
}

const char *Probe_Env(const char *name)
{
    SetLastError(0);
    DWORD length = GetEnvironmentVariableA(name, s_probe.envValue, sizeof s_probe.envValue);
    if ((length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) ||
        length >= sizeof s_probe.envValue)
        return NULL;
    return s_probe.envValue;
}

bool Probe_Append(const char *path, const char *text, uint32_t length)
{
    if (!s_probe.appendFile || strcmp(path, s_probe.appendPath) != 0) {
        if (s_probe.appendFile && s_probe.appendFile != INVALID_HANDLE_VALUE)
            CloseHandle(s_probe.appendFile);
        snprintf(s_probe.appendPath, sizeof s_probe.appendPath, "%s", path);
        s_probe.appendFile = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    }
    DWORD written = 0;
    return s_probe.appendFile != INVALID_HANDLE_VALUE &&
           WriteFile(s_probe.appendFile, text, length, &written, NULL) && written == length;
}

bool Probe_Read(const char *path, char *buffer, uint32_t size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    ReadFile(file, buffer, size - 1, &got, NULL);
    CloseHandle(file);
    buffer[got] = 0;
    return true;
}

uint64_t Probe_Micros(void)
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    // In two parts: the count since boot times a million overflows 64 bits within days.
    uint64_t seconds = count.QuadPart / frequency.QuadPart;
    uint64_t rest = count.QuadPart % frequency.QuadPart;
    return seconds * 1000000 + rest * 1000000 / frequency.QuadPart;
}

uint64_t Probe_CpuMicros(void)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    uint64_t k = (uint64_t)kernel.dwHighDateTime << 32 | kernel.dwLowDateTime;
    uint64_t u = (uint64_t)user.dwHighDateTime << 32 | user.dwLowDateTime;
    return (k + u) / 10;
}

static LRESULT CALLBACK Probe_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (message < WM_TEST_MARK) // our own messages are not the program's business
        result = CallWindowProcA(s_probe.original, window, message, wParam, lParam);
    s_probe.observer(window, message, wParam, lParam);
    return result;
}

static BOOL CALLBACK Probe_FindWindow(HWND window, LPARAM found)
{
    char name[16];
    if (GetClassNameA(window, name, sizeof name) && strcmp(name, "WCGRAPH") == 0) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

HWND Probe_HookWindow(ProbeObserver observer)
{
    EnumThreadWindows(GetCurrentThreadId(), Probe_FindWindow, (LPARAM)&s_probe.window);
    if (s_probe.window) {
        s_probe.observer = observer;
        s_probe.original =
            (WNDPROC)SetWindowLongA(s_probe.window, GWL_WNDPROC, (LONG)(LONG_PTR)Probe_WindowProc);
    }
    return s_probe.window;
}

void Probe_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(window, message, wParam, lParam);
}

// The side of an icon's picture; 0 for no icon.
static int Probe_IconSide(HICON icon)
{
    ICONINFO info;
    BITMAP bitmap;
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    int side = 0;
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap))
        side = bitmap.bmWidth == bitmap.bmHeight ? bitmap.bmWidth : -1;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return side;
}

void Probe_GetWindow(HWND window, ProbeWindow *state)
{
    memset(state, 0, sizeof *state);
    state->exists = IsWindow(window);
    if (state->exists) {
        state->visible = IsWindowVisible(window);
        state->zoomed = IsZoomed(window);
        RECT client;
        GetClientRect(window, &client);
        ClientToScreen(window, &state->clientOrigin);
        state->clientWidth = client.right;
        state->clientHeight = client.bottom;
        GetWindowTextA(window, state->title, sizeof state->title);
    }
    WNDCLASSEXA info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    state->classRegistered = GetClassInfoExA(GetModuleHandleA(NULL), "WCGRAPH", &info);
    if (state->classRegistered) {
        state->classStyle = info.style;
        state->largeIcon = Probe_IconSide(info.hIcon);
        state->smallIcon = Probe_IconSide(info.hIconSm);
        state->blackBackground = info.hbrBackground == (HBRUSH)GetStockObject(BLACK_BRUSH);
        state->arrowCursor = info.hCursor == LoadCursorA(NULL, IDC_ARROW) && info.cbClsExtra == 0 &&
                             info.cbWndExtra == 0 && !info.lpszMenuName;
    }
}

void Probe_SetClientSize(HWND window, int width, int height)
{
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    int frameWidth = (outer.right - outer.left) - client.right;
    int frameHeight = (outer.bottom - outer.top) - client.bottom;
    int x = outer.left, y = outer.top;
    // Drawing off the screen is clipped, and the picture must be read back whole.
    if (x + width + frameWidth > GetSystemMetrics(SM_CXSCREEN) ||
        y + height + frameHeight > GetSystemMetrics(SM_CYSCREEN))
        x = y = 0;
    SetWindowPos(window, NULL, x, y, width + frameWidth, height + frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Probe_PlainScreen(void) {} // Wine on a plain X screen lists that screen's size alone

void Probe_MoveWindow(HWND window, int x, int y)
{
    SetWindowPos(window, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Probe_Close(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); // the caption's close button
}

void Probe_Activate(HWND window, bool away)
{
    if (!s_probe.other && away)
        s_probe.other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                        NULL, NULL, GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(away ? s_probe.other : window);
    SetFocus(away ? s_probe.other : window);
}

void Probe_SetKeyState(uint8_t vk, bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    if (vk == 0)
        memset(keys, 0, sizeof keys);
    else
        keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void Probe_Key(uint8_t vk, bool up)
{
    INPUT input;
    memset(&input, 0, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    bool extended = vk == VK_RCONTROL || vk == VK_RMENU;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
}

void Probe_Mouse(HWND window, int x, int y, uint32_t buttons)
{
    POINT at = {x, y};
    ClientToScreen(window, &at);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input;
    memset(&input, 0, sizeof input);
    input.type = INPUT_MOUSE;
    // Absolute positions run 0..65535 over the screen: round up so that the pixel is exact.
    input.mi.dx = (at.x * 65536 + width - 1) / width;
    input.mi.dy = (at.y * 65536 + height - 1) / height;
    input.mi.dwFlags = (buttons & PROBE_STAY ? 0 : MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE) |
                       (buttons & PROBE_MIDDLE_DOWN ? MOUSEEVENTF_MIDDLEDOWN : 0) |
                       (buttons & PROBE_MIDDLE_UP ? MOUSEEVENTF_MIDDLEUP : 0) |
                       (buttons & PROBE_LEFT_DOWN ? MOUSEEVENTF_LEFTDOWN : 0) |
                       (buttons & PROBE_LEFT_UP ? MOUSEEVENTF_LEFTUP : 0) |
                       (buttons & PROBE_RIGHT_DOWN ? MOUSEEVENTF_RIGHTDOWN : 0) |
                       (buttons & PROBE_RIGHT_UP ? MOUSEEVENTF_RIGHTUP : 0);
    SendInput(1, &input, sizeof input);
}

bool Probe_Joystick(uint32_t id, const JOYINFOEX *state)
{
    typedef void (*SetFn)(uint32_t id, const JOYINFOEX *state);
    SetFn set = (SetFn)(void *)GetProcAddress(GetModuleHandleA("winmm.dll"), "FakeJoy_Set");
    if (set)
        set(id, state);
    return set != NULL;
}

bool Probe_ClockSet(uint64_t, uint32_t)
{
    return false;
}

uint64_t Probe_ClockAdvance(uint32_t)
{
    return 0;
}

bool Probe_ClockSources(uint64_t, bool)
{
    return false;
}

int32_t Probe_LiveGdiObjects(void)
{
    return -1; // Wine's count answers nothing useful
}

bool Probe_FailGdiCreation(uint32_t)
{
    return false;
}

void Probe_Resources(uint64_t *residentBytes, int64_t *heapBytes, int32_t *handles,
                     int32_t *gdiObjects)
{
    *heapBytes = -1; // the process heap is Wine's as much as the program's
    PROCESS_MEMORY_COUNTERS memory;
    memset(&memory, 0, sizeof memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    *residentBytes = memory.WorkingSetSize;
    DWORD count = 0;
    *handles = GetProcessHandleCount(GetCurrentProcess(), &count) ? (int32_t)count : -1;
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    *gdiObjects = gdi ? (int32_t)gdi : -1;
}
