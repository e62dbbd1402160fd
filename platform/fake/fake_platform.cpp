// Recording fake of the platform: kernel32, user32, gdi32 and WinMM as the front-end uses them.
#include "platform/fake/fake_platform.h"

#include <stdarg.h>

#define FAKE_KERNEL32 ((HMODULE)(uintptr_t)0x7000)
#define FAKE_WINMM ((HMODULE)(uintptr_t)0x7100)
#define FAKE_UXTHEME ((HMODULE)(uintptr_t)0x7200)

static FakePlatform s_fake;

FakePlatform &Fake() {
    return s_fake;
}

void Fake_Reset() {
    s_fake = FakePlatform();
}

void Fake_Record(const std::string &call) {
    s_fake.calls.push_back(call);
}

static void Fake_Recordf(const char *format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Fake_Record(text);
}

std::vector<std::string> Fake_CallsMatching(std::initializer_list<const char *> prefixes) {
    std::vector<std::string> out;
    for (const std::string &call : s_fake.calls)
        for (const char *prefix : prefixes)
            if (call.rfind(prefix, 0) == 0) {
                out.push_back(call);
                break;
            }
    return out;
}

void Fake_Post(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = FAKE_WINDOW;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    s_fake.queue.push_back(msg);
}

// ---- clocks ----

static BOOL WINAPI Fake_QueryPerformanceCounter(LARGE_INTEGER *value) {
    unsigned __int128 counts = (unsigned __int128)s_fake.nowMicros * s_fake.counterFrequency;
    value->QuadPart = (int64_t)(uint64_t)(counts / 1000000u + s_fake.counterOffset);
    return TRUE;
}

static BOOL WINAPI Fake_QueryPerformanceFrequency(LARGE_INTEGER *value) {
    if (s_fake.frequencyFails) {
        value->QuadPart = 0;
        return FALSE;
    }
    value->QuadPart = (int64_t)s_fake.counterFrequency;
    return TRUE;
}

static UINT WINAPI Fake_timeBeginPeriod(UINT period) {
    Fake_Recordf("timeBeginPeriod(%u)", period);
    return 0;
}

static UINT WINAPI Fake_timeEndPeriod(UINT period) {
    Fake_Recordf("timeEndPeriod(%u)", period);
    return 0;
}

static DWORD WINAPI Fake_timeGetTime(void) {
    return (DWORD)(s_fake.nowMicros / 1000u);
}

static void WINAPI Fake_SetThemeAppProperties(DWORD flags) {
    Fake_Recordf("SetThemeAppProperties(%u)", flags);
}

extern "C" {

// ---- kernel32 ----

LPSTR WINAPI GetCommandLineA(void) {
    return (LPSTR)s_fake.commandLine.c_str();
}

void WINAPI ExitProcess(UINT code) {
    fprintf(stderr, "fake ExitProcess(%u) reached\n", code);
    abort();
}

BOOL WINAPI SetConsoleTitleA(LPCSTR title) {
    Fake_Recordf("SetConsoleTitleA(%s)", title);
    return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    if (!name)
        return FAKE_INSTANCE;
    if (strcmp(name, "Kernel32") == 0 && s_fake.kernel32Present)
        return FAKE_KERNEL32;
    return 0;
}

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
    Fake_Recordf("LoadLibraryA(%s)", name);
    HMODULE module = 0;
    if (strcmp(name, "WinMM") == 0 && s_fake.winmmPresent)
        module = FAKE_WINMM;
    if (strcmp(name, "UxTheme.dll") == 0 && s_fake.themePresent)
        module = FAKE_UXTHEME;
    if (module)
        s_fake.librariesHeld++;
    return module;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    Fake_Recordf("FreeLibrary(%s)", module == FAKE_WINMM     ? "WinMM"
                                    : module == FAKE_UXTHEME ? "UxTheme.dll"
                                                             : "?");
    s_fake.librariesHeld--;
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
    void *fn = 0;
    if (module == FAKE_KERNEL32) {
        if (strcmp(name, "QueryPerformanceCounter") == 0 && s_fake.counterPresent)
            fn = (void *)Fake_QueryPerformanceCounter;
        if (strcmp(name, "QueryPerformanceFrequency") == 0 && s_fake.frequencyPresent)
            fn = (void *)Fake_QueryPerformanceFrequency;
    } else if (module == FAKE_WINMM && s_fake.winmmMissing != name) {
        if (strcmp(name, "timeBeginPeriod") == 0)
            fn = (void *)Fake_timeBeginPeriod;
        if (strcmp(name, "timeEndPeriod") == 0)
            fn = (void *)Fake_timeEndPeriod;
        if (strcmp(name, "timeGetTime") == 0)
            fn = (void *)Fake_timeGetTime;
    } else if (module == FAKE_UXTHEME && s_fake.themeFunctionPresent) {
        if (strcmp(name, "SetThemeAppProperties") == 0)
            fn = (void *)Fake_SetThemeAppProperties;
    }
    return (FARPROC)fn;
}

void WINAPI Sleep(DWORD milliseconds) {
    Fake_Recordf("Sleep(%u)", milliseconds);
    s_fake.nowMicros += (uint64_t)milliseconds * 1000u + s_fake.sleepOvershootMicros;
}

DWORD WINAPI GetTickCount(void) {
    return (DWORD)(s_fake.nowMicros / 1000u);
}

// ---- user32 ----

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *cls) {
    Fake_Recordf("RegisterClassExA(%s, style=0x%x, icons=%d%d, brush=%d)", cls->lpszClassName,
                 cls->style, cls->hIcon != 0, cls->hIconSm != 0, cls->hbrBackground != 0);
    s_fake.windowProc = cls->lpfnWndProc;
    return 1;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    Fake_Recordf("UnregisterClassA(%s, %d)", name, instance == FAKE_INSTANCE);
    return TRUE;
}

// A frame of 3 pixels and a caption of 19 around the client area.
BOOL WINAPI AdjustWindowRect(RECT *rect, DWORD style, BOOL menu) {
    Fake_Recordf("AdjustWindowRect(0x%08x, %d)", style, menu);
    rect->left -= 3;
    rect->top -= 22;
    rect->right += 3;
    rect->bottom += 3;
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    Fake_Recordf("CreateWindowExA(%u, %s, %s, 0x%08x, %d, %d, %d, %d, %d, %d, %d, %d)", exStyle,
                 className, title, style, x, y, width, height, parent != 0, menu != 0,
                 instance == FAKE_INSTANCE, param != 0);
    if (s_fake.windowProc)
        s_fake.windowProc(FAKE_WINDOW, WM_CREATE, 0, 0);
    return FAKE_WINDOW;
}

BOOL WINAPI ShowWindow(HWND, int command) {
    Fake_Recordf("ShowWindow(%d)", command);
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND) {
    Fake_Record("UpdateWindow()");
    return TRUE;
}

BOOL WINAPI PeekMessageA(MSG *msg, HWND, UINT, UINT, UINT remove) {
    if (s_fake.queue.empty()) {
        s_fake.idlePasses++;
        if (s_fake.onIdle)
            s_fake.onIdle();
        return FALSE;
    }
    *msg = s_fake.queue.front();
    if (remove & PM_REMOVE)
        s_fake.queue.pop_front();
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG *) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG *msg) {
    Fake_Recordf("DispatchMessageA(0x%04x)", msg->message);
    if (msg->hwnd && s_fake.windowProc)
        return s_fake.windowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    return 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    Fake_Recordf("DefWindowProcA(0x%04x)", message);
    if (message == WM_CLOSE && s_fake.windowProc)
        s_fake.windowProc(window, WM_DESTROY, 0, 0);
    return FAKE_RESULT_DEFAULT;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Fake_Recordf("SendMessageA(0x%04x, %d, %d)", message, (int)wParam, (int)lParam);
    return s_fake.windowProc ? s_fake.windowProc(window, message, wParam, lParam) : 0;
}

void WINAPI PostQuitMessage(int code) {
    Fake_Recordf("PostQuitMessage(%d)", code);
    MSG msg = {};
    msg.message = WM_QUIT;
    msg.wParam = (WPARAM)code;
    s_fake.queue.push_back(msg);
}

BOOL WINAPI SetWindowTextA(HWND, LPCSTR text) {
    Fake_Recordf("SetWindowTextA(%s)", text);
    return TRUE;
}

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    Fake_Recordf("LoadImageA(%d, %d, %u, %d, %d, %u)", instance == FAKE_INSTANCE,
                 (int)(uintptr_t)name, type, cx, cy, flags);
    return (HANDLE)(uintptr_t)(0x3000 + cx);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    Fake_Recordf("LoadCursorA(%d, %d)", instance != 0, (int)(uintptr_t)name);
    return (HCURSOR)(uintptr_t)0x3100;
}

BOOL WINAPI InvalidateRect(HWND, const RECT *rect, BOOL erase) {
    Fake_Recordf("InvalidateRect(%s, %d)", rect ? "rect" : "all", erase);
    return TRUE;
}

BOOL WINAPI RedrawWindow(HWND window, const RECT *rect, void *region, UINT flags) {
    Fake_Recordf("RedrawWindow(%s, %s, 0x%04x)", rect ? "rect" : "all", region ? "rgn" : "none",
                 flags);
    // An immediate update paints inside the call.
    if ((flags & RDW_UPDATENOW) && s_fake.windowProc)
        s_fake.windowProc(window, WM_PAINT, 0, 0);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND, PAINTSTRUCT *paint) {
    Fake_Record("BeginPaint()");
    memset(paint, 0, sizeof *paint);
    paint->hdc = FAKE_DC;
    return FAKE_DC;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT *) {
    Fake_Record("EndPaint()");
    return TRUE;
}

HDC WINAPI GetDC(HWND) {
    Fake_Record("GetDC()");
    return FAKE_DC;
}

// ---- gdi32 ----

HGDIOBJ WINAPI GetStockObject(int object) {
    Fake_Recordf("GetStockObject(%d)", object);
    return (HGDIOBJ)(uintptr_t)(0x5000 + object);
}

UINT WINAPI RealizePalette(HDC dc) {
    Fake_Recordf("RealizePalette(%d)", dc == FAKE_DC);
    return 0;
}

} // extern "C"
