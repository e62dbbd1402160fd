// Shared set-up of the native backend's tests.
#include "native_fixture.h"

#include <stdlib.h>

static std::vector<Seen> s_seen;

std::ostream &operator<<(std::ostream &out, const Seen &seen)
{
    return out << "{0x" << std::hex << seen.message << ", 0x" << seen.wParam << ", 0x"
               << seen.lParam << std::dec << "}";
}

// Every call: a test has one window.
static void Record(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT)
{
    s_seen.push_back({message, wParam, lParam});
}

// Answers as the program's window procedure does for the messages it handles.
static LRESULT CALLBACK TestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        InvalidateRect(window, NULL, FALSE);
        return 0;
    case WM_ACTIVATE:
    case WM_ERASEBKGND:
    case WM_SYSKEYDOWN:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        return EndPaint(window, &paint);
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// SDL once per test program, with a desktop of a known size.
class NativeEnvironment : public ::testing::Environment {
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        const char *argv[] = {"native_test"};
        System_Begin(1, argv);
        Hooks_SetDesktopSize(1600, 1200);
        Hooks_SetObserver(Record);
        WNDCLASSEXA cls;
        memset(&cls, 0, sizeof cls);
        cls.cbSize = sizeof cls;
        cls.style = CS_CLASSDC;
        cls.lpfnWndProc = TestProc;
        cls.lpszClassName = "TESTWIN";
        ASSERT_NE(RegisterClassExA(&cls), 0);
    }
};
static ::testing::Environment *const s_environment =
    ::testing::AddGlobalTestEnvironment(new NativeEnvironment);

void NativeTest::SetUp()
{
    s_seen.clear();
}

void NativeTest::TearDown()
{
    if (Window_Get(window)) {
        Window_Destroy(window);
        Pump();
    }
    Pump(); // a WM_QUIT left over
    ChangeDisplaySettingsA(NULL, 0);
}

HWND NativeTest::Open(bool show)
{
    RECT rect = {650, 150, 1290, 550};
    AdjustWindowRect(&rect, 0x00CB0000, FALSE);
    window =
        CreateWindowExA(0, "TESTWIN", "Video Out", 0x00CB0000, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, NULL, NULL, NULL, NULL);
    if (show) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        Pump();
        s_seen.clear();
    }
    return window;
}

bool NativeTest::Pump()
{
    MSG msg;
    bool quit = false;
    for (int guard = 0; guard < 10000 && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); guard++) {
        quit = quit || msg.message == WM_QUIT;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return quit;
}

std::vector<Seen> NativeTest::Only(std::initializer_list<UINT> messages) const
{
    std::vector<Seen> out;
    for (const Seen &seen : s_seen)
        for (UINT m : messages)
            if (seen.message == m)
                out.push_back(seen);
    return messages.size() ? out : s_seen;
}
