// The window procedure's dispatch, and the main loop's start-up, idle passes and shutdown.
#include "shell/shell.h"
#include "tests/unit/fake_core.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

typedef std::vector<std::string> Calls;

struct ShellTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
        FakeCore_Reset();
    }
};

TEST_F(ShellTest, WindowProcedureDispatchesEachMessage)
{
    const LRESULT def = FAKE_RESULT_DEFAULT;
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        Calls calls; // the shell's own calls, and the first call of the handler reached
        const char *out;
        LRESULT result;
    } cases[] = {
        {WM_CREATE, 0, 0, {"GetDC()", "DefWindowProcA(0x0001)"}, "[Render] Caps:", def},
        {WM_DESTROY, 0, 0, {"PostQuitMessage(0)", "DefWindowProcA(0x0002)"}, "", def},
        {WM_SIZE,
         SIZE_MAXIMIZED,
         (400 << 16) | 640,
         {"InvalidateRect(all, 0)", "DefWindowProcA(0x0005)"},
         "[Render] Resize: 640, 400 (Maximized)\n",
         def},
        {WM_ACTIVATE, WA_INACTIVE, 0, {}, "", 1}, // windowed: nothing, and no default focus
        {WM_ACTIVATE, 1, 0, {}, "", 1},
        {WM_PAINT, 0, 0, {"BeginPaint()", "EndPaint()"}, "", 1},
        {WM_ERASEBKGND, 0, 0, {}, "", 1},
        {WM_KEYDOWN, 'A', 0x001E0001, {"DefWindowProcA(0x0100)"}, "", def},
        {WM_KEYUP, 'A', (LPARAM)0xC01E0001u, {"DefWindowProcA(0x0101)"}, "", def},
        {WM_SYSKEYDOWN, 0x73, 0x203E0001, {}, "", 1}, // Alt+F4 does not close the window
        {WM_MOUSEMOVE, 0, (5 << 16) | 5, {}, "", 1},
        {WM_LBUTTONDOWN, 1, 0, {}, "", 1},
        {WM_RBUTTONUP, 0, 0, {}, "", 1},
        {WM_MBUTTONDOWN, 0x10, 0, {}, "", 1},
        {WM_MOUSELEAVE, 0, 0, {}, "", 1},
        {WM_QUERYNEWPALETTE, 0, 0, {"GetDC()", "RealizePalette(window)"}, "", 1},
        {WM_PALETTECHANGED,
         0xBEEF,
         0,
         {"DefWindowProcA(0x0311)"},
         "System palette has been changed by beef!\n",
         def},
        {WM_SYSKEYUP, 0x12, 0, {"DefWindowProcA(0x0105)"}, "", def},
        {WM_CHAR, 'a', 0, {"DefWindowProcA(0x0102)"}, "", def},
        {WM_USER + 7, 0, 0, {"DefWindowProcA(0x0407)"}, "", def},
    };
    for (const auto &c : cases) {
        Fake().calls.clear();
        testing::internal::CaptureStdout();
        LRESULT result = Main_WindowProc(FAKE_WINDOW, c.message, c.wParam, c.lParam);
        std::string out = testing::internal::GetCapturedStdout();
        Calls calls =
            Fake_CallsMatching({"DefWindowProcA", "PostQuitMessage", "InvalidateRect", "BeginPaint",
                                "EndPaint", "GetDC", "RealizePalette", "ShowWindow"});
        if (c.message == WM_CREATE) // the renderer's own palette realization
            calls.erase(std::remove(calls.begin(), calls.end(), "RealizePalette(window)"),
                        calls.end());
        EXPECT_EQ(calls, c.calls) << "message 0x" << std::hex << c.message;
        EXPECT_EQ(result, c.result) << "message 0x" << std::hex << c.message;
        EXPECT_EQ(out.substr(0, strlen(c.out)), c.out) << "message 0x" << std::hex << c.message;
        if (!*c.out) {
            EXPECT_EQ(out, "");
        }
    }
}

// The calls that show the shell's own order, without the renderer's drawing.
Calls ShellCalls()
{
    return Fake_CallsMatching(
        {"SetConsoleTitleA", "RegisterClassExA", "AdjustWindowRect", "CreateWindowExA",
         "LoadLibraryA", "SetThemeAppProperties", "SendMessageA", "FreeLibrary", "ShowWindow",
         "UpdateWindow", "Kernel_", "RedrawWindow", "timeBeginPeriod", "timeEndPeriod", "Sleep",
         "SetWindowTextA", "DispatchMessageA", "PostQuitMessage", "UnregisterClassA"});
}

TEST_F(ShellTest, RunStartsFramesAndShutsDownInOrder)
{
    Fake().commandLine = "\"C:\\a b\\MAIN.exe\"  -x  \"y z\"";
    FakeCore_State().onStep = [] {
        if (FakeCore_State().steps == 2)
            Fake_Post(WM_CLOSE);
    };
    testing::internal::CaptureStdout();
    EXPECT_EQ(Main_Run(0, nullptr), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout().substr(0, 23), "Initializing window...\n");
    EXPECT_EQ(ShellCalls(),
              (Calls{
                  "SetConsoleTitleA(Console Out)",
                  "RegisterClassExA(WCGRAPH, style=0x40, icons=11, brush=1)",
                  "AdjustWindowRect(0x00cb0000, 0)",
                  // the fake widens by 3 left/right/bottom and 22 on top
                  "CreateWindowExA(0, WCGRAPH, Video Out, 0x00cb0000, 647, 128, 646, 425, 0, "
                  "0, 1, 0)",
                  "LoadLibraryA(UxTheme.dll)",
                  "SetThemeAppProperties(0)",
                  "SendMessageA(0x031a, 0, 0)",
                  "FreeLibrary(UxTheme.dll)",
                  "ShowWindow(5)",
                  "UpdateWindow()",
                  "Kernel_Initialize(\"-x  \"y z\"\")",
                  "RedrawWindow(all, none, 0x0101)", // the first picture, before the clock
                  "LoadLibraryA(WinMM)",
                  "timeBeginPeriod(1)",
                  "Kernel_Step()",
                  "RedrawWindow(all, none, 0x0101)",
                  "Sleep(16)",
                  "SetWindowTextA(Video Out FPS: 0)",
                  "Kernel_Step()",
                  "RedrawWindow(all, none, 0x0101)",
                  "Sleep(17)",
                  "SetWindowTextA(Video Out FPS: 0)",
                  "DispatchMessageA(0x0010)", // WM_CLOSE destroys the window
                  "PostQuitMessage(0)",
                  "DispatchMessageA(0x0012)",
                  "timeEndPeriod(1)",
                  "FreeLibrary(WinMM)",
                  "UnregisterClassA(WCGRAPH, 1)",
              }));
    EXPECT_EQ(Fake().librariesHeld, 0);
}

TEST_F(ShellTest, MessagesAreHandledBeforeTheNextFrame)
{
    FakeCore_State().onStep = [] {
        if (FakeCore_State().steps == 1)
            for (UINT m = 1; m <= 3; m++)
                Fake_Post(WM_USER + m);
        if (FakeCore_State().steps == 2)
            Fake_Post(WM_QUIT, 7); // the loop's result is 0 whatever the quit code
    };
    EXPECT_EQ(Main_WindowLoop(FAKE_INSTANCE, 0, "MAIN.exe", 1), 0);
    EXPECT_EQ(
        Fake_CallsMatching({"Kernel_", "DispatchMessageA", "SetWindowTextA"}),
        (Calls{"Kernel_Initialize(null)", "Kernel_Step()", "SetWindowTextA(Video Out FPS: 0)",
               "DispatchMessageA(0x0401)", "DispatchMessageA(0x0402)", "DispatchMessageA(0x0403)",
               "Kernel_Step()", "SetWindowTextA(Video Out FPS: 0)", "DispatchMessageA(0x0012)"}));
    EXPECT_EQ(Fake().idlePasses, 2u); // one frame per empty queue, no more
}

TEST_F(ShellTest, ThemesAreSwitchedOffOnlyWhenTheLibraryOffersIt)
{
    const struct {
        bool library, function;
        Calls calls;
    } cases[] = {
        {false, false, {"LoadLibraryA(UxTheme.dll)"}},
        {true, false, {"LoadLibraryA(UxTheme.dll)", "FreeLibrary(UxTheme.dll)"}},
        {true,
         true,
         {"LoadLibraryA(UxTheme.dll)", "SetThemeAppProperties(0)", "SendMessageA(0x031a, 0, 0)",
          "FreeLibrary(UxTheme.dll)"}},
    };
    for (const auto &c : cases) {
        Fake_Reset();
        Fake().themePresent = c.library;
        Fake().themeFunctionPresent = c.function;
        Fake().onIdle = [] { Fake_Post(WM_QUIT); };
        Main_WindowLoop(FAKE_INSTANCE, 0, "MAIN.exe", 1);
        EXPECT_EQ(
            Fake_CallsMatching({"LoadLibraryA(Ux", "SetTheme", "SendMessageA", "FreeLibrary(Ux"}),
            c.calls);
    }
}

} // namespace
