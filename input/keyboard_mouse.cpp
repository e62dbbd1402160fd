// Keyboard and mouse forwarding: the window procedure's key and mouse cases.
#include "platform/platform.h"
#include "core/core.h"
#include "input/input.h"
#include "render/render.h"

enum {
    INPUT_REPEAT_BIT = 0x40000000, // lParam: the key was already down
    INPUT_MAX_X = CORE_SCREEN_WIDTH - 1,
    INPUT_MAX_Y = CORE_SCREEN_HEIGHT - 1,
    INPUT_HELD_MAX = 256 // more keys than a keyboard has
};

static struct {
    // The keys the core was told are down, in the order they were pressed; a key with an
    // event was pressed as itself, one without was a sided modifier reported again.
    uint32_t held[INPUT_HELD_MAX];
    uint8_t withEvent[INPUT_HELD_MAX];
    uint32_t count;
} s_keys;

// Tells the core a key went down, and remembers it until the core is told it went up.
static void Input_Press(uint32_t vk, bool withEvent)
{
    Keyboard_Press(vk);
    if (withEvent)
        Input_Event(vk & CORE_EVENT_KEY_MASK, CORE_EVENT_PRESS);
    for (uint32_t i = 0; i < s_keys.count; i++)
        if (s_keys.held[i] == vk)
            return;
    if (s_keys.count < INPUT_HELD_MAX) {
        s_keys.held[s_keys.count] = vk;
        s_keys.withEvent[s_keys.count] = withEvent;
        s_keys.count++;
    }
}

// Tells the core a key went up, and forgets it.
static void Input_Release(uint32_t vk, bool withEvent)
{
    Keyboard_Release(vk);
    if (withEvent)
        Input_Event(vk & CORE_EVENT_KEY_MASK, CORE_EVENT_RELEASE);
    for (uint32_t i = 0; i < s_keys.count; i++) {
        if (s_keys.held[i] != vk)
            continue;
        s_keys.count--;
        memmove(&s_keys.held[i], &s_keys.held[i + 1], (s_keys.count - i) * sizeof s_keys.held[0]);
        memmove(&s_keys.withEvent[i], &s_keys.withEvent[i + 1], s_keys.count - i);
        return;
    }
}

void Input_ReleaseHeldKeys(void)
{
    // The order they went down in; each is forgotten on its way.
    while (s_keys.count > 0)
        Input_Release(s_keys.held[0], s_keys.withEvent[0] != 0);
}

LRESULT Input_KeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!((uint32_t)lParam & INPUT_REPEAT_BIT)) {
        Input_Press((uint32_t)wParam, true);
        Main_SyncModifierKeys((uint32_t)wParam);
    }
    return DefWindowProcA(window, WM_KEYDOWN, wParam, lParam);
}

LRESULT Input_KeyUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    Input_Release((uint32_t)wParam, true);
    Main_SyncModifierKeys((uint32_t)wParam);
    return DefWindowProcA(window, WM_KEYUP, wParam, lParam);
}

LRESULT Input_SysKeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    // No system key reaches the core or the default handling (Alt+F4 does not close).
    if (((uint32_t)lParam & INPUT_REPEAT_BIT) || wParam != VK_RETURN)
        return 1;
    Render_SetFullscreen(Render_IsFullscreen() ? 0 : 1);
    return 1;
}

void Main_SyncModifierKeys(uint32_t vk)
{
    // Key messages carry only the generic modifier codes: report both sides again.
    static const uint32_t sides[3][3] = {
        {VK_SHIFT, VK_LSHIFT, VK_RSHIFT},
        {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
        {VK_MENU, VK_LMENU, VK_RMENU},
    };
    for (int i = 0; i < 3; i++) {
        if (sides[i][0] != vk)
            continue;
        for (int side = 1; side <= 2; side++) {
            if (GetKeyState((int)sides[i][side]) & 0x8000)
                Input_Press(sides[i][side], false);
            else
                Input_Release(sides[i][side], false);
        }
    }
}

LRESULT Input_MouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    uint16_t x = LOWORD(lParam);
    uint16_t y = HIWORD(lParam);
    // Column 0 and row 0 count as outside, like everything beyond the display.
    if (x >= 1 && x <= INPUT_MAX_X && y >= 1 && y <= INPUT_MAX_Y) {
        Mouse_Move(x, y);
        if (!GetCapture())
            SetCapture(window);
        if (!Mouse_IsInWindow())
            Mouse_EnterWindow();
        return 1;
    }
    if (wParam & (MK_LBUTTON | MK_RBUTTON)) {
        // A drag past the edge keeps reporting the nearest edge position.
        int32_t cx = (int16_t)x;
        int32_t cy = (int16_t)y;
        cx = cx < 0 ? 0 : cx > INPUT_MAX_X ? INPUT_MAX_X : cx;
        cy = cy < 0 ? 0 : cy > INPUT_MAX_Y ? INPUT_MAX_Y : cy;
        Mouse_Move(cx, cy);
        return 1;
    }
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    return 1;
}

LRESULT Input_MouseLeave(HWND window)
{
    (void)window;
    ReleaseCapture();
    Mouse_LeaveWindow();
    return 1;
}

LRESULT Input_MouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The position first goes through the move handling, with this message's buttons.
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(window);
        SendMessageA(window, WM_MOUSEMOVE, wParam, lParam);
        Mouse_KeyPress(1);
        break;
    case WM_LBUTTONUP:
        Mouse_KeyRelease(1);
        SendMessageA(window, WM_MOUSEMOVE, wParam, lParam);
        break;
    case WM_RBUTTONDOWN:
        SetFocus(window);
        SendMessageA(window, WM_MOUSEMOVE, wParam, lParam);
        Mouse_KeyPress(2);
        break;
    case WM_RBUTTONUP:
        SendMessageA(window, WM_MOUSEMOVE, wParam, lParam);
        Mouse_KeyRelease(2);
        break;
    case WM_MBUTTONDOWN:
        SendMessageA(window, WM_MOUSEMOVE, wParam, lParam);
        SetFocus(window);
        break;
    case WM_MBUTTONUP:
        SendMessageA(window, WM_MOUSEMOVE, wParam, lParam);
        break;
    }
    return 1;
}
