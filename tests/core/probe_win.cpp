// The scripted core's platform probe on Windows: SendInput, and the fake winmm.dll's joysticks.
#include "tests/core/testcore.h"

static struct {
    WNDPROC original;
    HWND other; // a second window to take the activation away
} s_probe;

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Scenario_AtLoad();
    if (reason == DLL_PROCESS_DETACH)
        Scenario_Exit();
    return TRUE;
}

uint64_t Probe_Micros(void)
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (uint64_t)((double)count.QuadPart * 1e6 / (double)frequency.QuadPart);
}

static LRESULT CALLBACK Probe_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (message < WM_TEST_MARK) // our own messages are not the program's business
        result = CallWindowProcA(s_probe.original, window, message, wParam, lParam);
    Scenario_Observe(window, message, wParam, lParam);
    return result;
}

HWND Probe_HookWindow(void)
{
    HWND window = FindWindowA("WCGRAPH", NULL);
    if (window)
        s_probe.original =
            (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)Probe_WindowProc);
    return window;
}

void Probe_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(window, message, wParam, lParam);
}

// The side of an icon's picture; 0 for no icon.
static int Probe_IconSide(HICON icon)
{
    ICONINFO info;
    BITMAP bitmap = {};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth == bitmap.bmHeight ? bitmap.bmWidth : -1;
}

void Probe_GetWindow(HWND window, ProbeWindow *state)
{
    RECT client = {0, 0, 0, 0};
    POINT origin = {0, 0};
    GetClientRect(window, &client);
    ClientToScreen(window, &origin);
    WNDCLASSEXA c = {};
    c.cbSize = sizeof c;
    bool registered = GetClassInfoExA(GetModuleHandleA(NULL), "WCGRAPH", &c) != 0;
    bool arrow = c.hCursor == LoadCursorA(NULL, IDC_ARROW) && !c.cbClsExtra && !c.cbWndExtra &&
                 !c.lpszMenuName;
    bool black = c.hbrBackground == (HBRUSH)GetStockObject(BLACK_BRUSH);
    bool exists = IsWindow(window), shown = IsWindowVisible(window), zoomed = IsZoomed(window);
    int icon = Probe_IconSide(c.hIcon), smallIcon = Probe_IconSide(c.hIconSm);
    *state = {exists,     shown,   zoomed, origin,    client.right, client.bottom,
              registered, c.style, icon,   smallIcon, black,        arrow};
    GetWindowTextA(window, state->title, sizeof state->title);
}

// The desktop is the X screen's or the prefix's, and what reaches the screen is not read here.
bool Probe_SetDesktop(int, int, bool)
{
    return false;
}

bool Probe_ReadPresented(HWND, uint32_t *, int, int *, int *)
{
    return false;
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
    BYTE keys[256] = {};
    if (vk && GetKeyboardState(keys))
        keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void Probe_Key(uint8_t vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    bool extended = vk == VK_RCONTROL || vk == VK_RMENU;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
}

bool Probe_KeyUsage(uint16_t, bool)
{
    return false; // keys come by virtual key or scan code here
}

void Probe_Mouse(HWND window, int x, int y, uint32_t buttons)
{
    POINT at = {x, y};
    if (!(buttons & PROBE_SCREEN))
        ClientToScreen(window, &at);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute positions run 0..65535 over the screen: round up so that the pixel is exact.
    input.mi.dx = (at.x * 65536 + width - 1) / width;
    input.mi.dy = (at.y * 65536 + height - 1) / height;
    // The PROBE_* button bits are MOUSEEVENTF_LEFTDOWN and the rest shifted down by one.
    input.mi.dwFlags =
        (buttons & PROBE_STAY ? 0 : MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE) | (buttons & 63) << 1;
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

bool Probe_ClockSet(uint64_t, uint64_t, bool)
{
    return false;
}

uint64_t Probe_ClockAdvance(uint32_t)
{
    return 0;
}

// A computer-based-training hook answering 1 to a creation makes it fail.
static LRESULT CALLBACK Probe_RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    return code == HCBT_CREATEWND ? 1 : CallNextHookEx(NULL, code, wParam, lParam);
}

void Probe_FailWindowCreation(void)
{
    SetWindowsHookExA(WH_CBT, Probe_RefuseCreation, NULL, GetCurrentThreadId());
}

int32_t Probe_LiveGdiObjects(void)
{
    return -1; // Wine's count answers nothing useful
}

bool Probe_FailGdiCreation(uint32_t)
{
    return false;
}
