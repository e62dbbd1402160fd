// Keyboard and mouse forwarding: the window procedure's key and mouse cases.
#include "platform/platform.h"
#include "input/input.h"

LRESULT Input_KeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, WM_KEYDOWN, wParam, lParam);
}

LRESULT Input_KeyUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, WM_KEYUP, wParam, lParam);
}

LRESULT Input_SysKeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    (void)wParam;
    (void)lParam;
    return 1;
}

LRESULT Input_MouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    (void)wParam;
    (void)lParam;
    return 1;
}

LRESULT Input_MouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    (void)message;
    (void)wParam;
    (void)lParam;
    return 1;
}

LRESULT Input_MouseLeave(HWND window)
{
    (void)window;
    return 1;
}

void Main_SyncModifierKeys(uint32_t vk)
{
    (void)vk;
}
