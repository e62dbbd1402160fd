// The console-side main function, the window, the message loop and the window procedure.
#include "platform/platform.h"
#include "core/core.h"
#include "input/input.h"
#include "render/fullscreen.h"
#include "render/render.h"
#include "shell/shell.h"
#include "timing/frame.h"
#include "timing/timer.h"

enum {
    MAIN_ICON_RESOURCE = 101,
    MAIN_TITLE_RATE_OFFSET = 9 // the rate text follows "Video Out"
};

static const char MAIN_CLASS_NAME[] = "WCGRAPH";

static struct {
    char title[52];
} s_main = {"Video Out"};

int Main_Run(int count, char **arguments)
{
    (void)count;
    (void)arguments;
    Platform_WatchProcess();
    SetConsoleTitleA("Console Out");
    printf("Initializing window...\n");
    return Main_WindowLoop(GetModuleHandleA(0), 0, GetCommandLineA(), 1);
}

// Themes off for this application; skipped silently when the library or function is missing.
static void Main_DisableThemes(HWND window)
{
    HMODULE theme = LoadLibraryA("UxTheme.dll");
    if (!theme)
        return;
    Platform_SetThemeAppPropertiesFn setProperties =
        (Platform_SetThemeAppPropertiesFn)(void *)GetProcAddress(theme, "SetThemeAppProperties");
    if (setProperties) {
        setProperties(0);
        SendMessageA(window, WM_THEMECHANGED, 0, 0);
    }
    FreeLibrary(theme);
}

// Without its window the program has nothing to show or run: one line, and exit code 1.
static int Main_Fail(const char *what)
{
    fprintf(stderr, "Video Out ends: %s.\n", what);
    return 1;
}

int Main_WindowLoop(HINSTANCE instance, HINSTANCE unused, const char *commandLine, int show)
{
    (void)unused;
    (void)show;
    WNDCLASSEXA cls;
    memset(&cls, 0, sizeof cls);
    cls.cbSize = sizeof cls;
    cls.style = CS_CLASSDC; // one shared device context keeps the palette selected
    cls.lpfnWndProc = Main_WindowProc;
    cls.hInstance = instance;
    cls.hIcon = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(MAIN_ICON_RESOURCE), IMAGE_ICON, 32,
                                  32, LR_DEFAULTCOLOR);
    cls.hIconSm = (HICON)LoadImageA(instance, MAKEINTRESOURCEA(MAIN_ICON_RESOURCE), IMAGE_ICON, 16,
                                    16, LR_DEFAULTCOLOR);
    cls.hCursor = LoadCursorA(0, IDC_ARROW);
    cls.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    cls.lpszClassName = MAIN_CLASS_NAME;
    if (!RegisterClassExA(&cls))
        return Main_Fail("cannot register the window class WCGRAPH");

    RECT rect = {650, 150, 1290, 550}; // a 640 x 400 client area at (650, 150)
    AdjustWindowRect(&rect, RENDER_WINDOW_STYLE, FALSE);
    HWND window =
        CreateWindowExA(0, MAIN_CLASS_NAME, s_main.title, RENDER_WINDOW_STYLE, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, 0, 0, instance, 0);
    if (!window) {
        UnregisterClassA(MAIN_CLASS_NAME, instance);
        return Main_Fail("cannot create the window of class WCGRAPH");
    }

    Joystick_Initialize();
    Main_DisableThemes(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    Kernel_Initialize(Main_FindArgumentTail(commandLine));
    Render_Step(window); // the first picture, before the clock starts
    Time_Initialize(1);

    MSG msg;
    memset(&msg, 0, sizeof msg);
    while (msg.message != WM_QUIT) {
        if (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        // The queue is empty: run one frame.
        Joystick_Poll();
        Frame_Run(window);
        sprintf(s_main.title + MAIN_TITLE_RATE_OFFSET, " FPS: %u", (unsigned)Frame_GetShownRate());
        SetWindowTextA(window, s_main.title);
    }

    Render_Shutdown(window);
    Time_Shutdown(1);
    UnregisterClassA(MAIN_CLASS_NAME, instance);
    return 0;
}

LRESULT CALLBACK Main_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Render_Initialize(window);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_SIZE:
        InvalidateRect(window, 0, FALSE);
        Render_Resize(LOWORD(lParam), HIWORD(lParam), wParam == SIZE_MAXIMIZED);
        break;
    case WM_ACTIVATE:
        // Default activation would take the focus; the mouse buttons take it instead. Only a
        // minimized window is restored: restoring activates it once more, and a second
        // restore would shrink the maximized fullscreen window to its windowed rectangle.
        if (Render_IsFullscreen()) {
            if (LOWORD(wParam) == WA_INACTIVE)
                ShowWindow(window, SW_MINIMIZE);
            else if (IsIconic(window))
                ShowWindow(window, SW_RESTORE);
        }
        return 1;
    case WM_PAINT:
        Render_Paint(window);
        return 1;
    case WM_ERASEBKGND:
        return 1; // the picture covers the client area; never erase it
    case WM_KEYDOWN:
        return Input_KeyDown(window, wParam, lParam);
    case WM_KEYUP:
        return Input_KeyUp(window, wParam, lParam);
    case WM_KILLFOCUS:
        // The key-ups of keys still held now go to the window that took the focus.
        Input_ReleaseHeldKeys();
        break;
    case WM_SYSKEYDOWN:
        return Input_SysKeyDown(window, wParam, lParam);
    case WM_MOUSEMOVE:
        return Input_MouseMove(window, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return Input_MouseButton(window, message, wParam, lParam);
    case WM_MOUSELEAVE:
        return Input_MouseLeave(window);
    case WM_QUERYNEWPALETTE:
        RealizePalette(GetDC(window));
        return 1;
    case WM_PALETTECHANGED:
        printf("System palette has been changed by %x!\n", (unsigned)(uintptr_t)wParam);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
