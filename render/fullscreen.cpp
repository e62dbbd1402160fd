// Fullscreen switching: a 640 x 400 display mode (else 640 x 480, else the first listed), a
// borderless window over the whole screen, the picture centred, the cursor hidden.
#include "platform/platform.h"
#include "core/core.h"
#include "render/fullscreen.h"

enum {
    FULLSCREEN_WINDOW_STYLE = WS_POPUP | WS_VISIBLE,
    FULLSCREEN_FOUND_400 = 400,
    FULLSCREEN_FOUND_480 = 480,
    FULLSCREEN_FIRST_LISTED = -1,
    FULLSCREEN_NO_MODE = -2,
    FULLSCREEN_HALF_WIDTH = CORE_SCREEN_WIDTH / 2,
    FULLSCREEN_HALF_HEIGHT = CORE_SCREEN_HEIGHT / 2
};

static struct {
    uint32_t flag;      // the state in force: the last request that succeeded
    uint32_t maximized; // the last size seen while windowed was a maximize
    uint32_t savedStyle;
    RECT savedRect;
    int32_t offsetX; // where the picture starts in the client area; 0 while windowed
    int32_t offsetY;
} s_fullscreen = {0, 0, RENDER_WINDOW_STYLE, {0, 0, 0, 0}, 0, 0};

uint8_t Render_FullscreenFlag(void)
{
    return (uint8_t)s_fullscreen.flag;
}

void Render_NoteMaximized(uint8_t maximized)
{
    if (!s_fullscreen.flag)
        s_fullscreen.maximized = maximized ? 1 : 0;
}

void Render_GetPictureOffset(int32_t *x, int32_t *y)
{
    *x = s_fullscreen.offsetX;
    *y = s_fullscreen.offsetY;
}

// The first listed mode of the given size; false when the list has none.
static bool Render_FindMode(DEVMODEA *mode, DWORD width, DWORD height)
{
    for (DWORD number = 0; EnumDisplaySettingsA(0, number, mode); number++)
        if (mode->dmPelsWidth == width && mode->dmPelsHeight == height)
            return true;
    return false;
}

int32_t FindFullscreenMode(DEVMODEA *mode)
{
    memset(mode, 0, sizeof *mode);
    mode->dmSize = sizeof *mode;
    mode->dmDriverExtra = 0;
    if (Render_FindMode(mode, CORE_SCREEN_WIDTH, CORE_SCREEN_HEIGHT))
        return FULLSCREEN_FOUND_400;
    if (Render_FindMode(mode, CORE_SCREEN_WIDTH, 480))
        return FULLSCREEN_FOUND_480;
    if (!EnumDisplaySettingsA(0, 0, mode))
        return FULLSCREEN_NO_MODE;
    // The doubled bracket is deliberate: the line reads as it always has.
    printf("[Render]] FindFullscreenMode: 640x400 and 640x480 are not supported, using %ux%u\n",
           (unsigned)mode->dmPelsWidth, (unsigned)mode->dmPelsHeight);
    return FULLSCREEN_FIRST_LISTED;
}

static uint8_t Render_EnterFullscreen(HWND window)
{
    DEVMODEA mode;
    if (FindFullscreenMode(&mode) == FULLSCREEN_NO_MODE) {
        printf("[Render] SetFullscreen: the display lists no mode; staying in the window\n");
        return 1;
    }
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
        return 1;
    // A mode smaller than the picture gives a negative offset: centred, and cropped.
    s_fullscreen.offsetX = (int32_t)(mode.dmPelsWidth / 2) - FULLSCREEN_HALF_WIDTH;
    s_fullscreen.offsetY = (int32_t)(mode.dmPelsHeight / 2) - FULLSCREEN_HALF_HEIGHT;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    s_fullscreen.savedStyle = (uint32_t)GetWindowLongA(window, GWL_STYLE);
    GetWindowRect(window, &s_fullscreen.savedRect);
    SetWindowLongA(window, GWL_STYLE, (LONG)FULLSCREEN_WINDOW_STYLE);
    if (!s_fullscreen.maximized)
        ShowWindow(window, SW_SHOWMAXIMIZED);
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_FRAMECHANGED);
    UpdateWindow(window);
    ShowCursor(FALSE);
    return 0;
}

static void Render_LeaveFullscreen(HWND window)
{
    RECT rect = s_fullscreen.savedRect;
    ChangeDisplaySettingsA(0, 0);
    s_fullscreen.offsetX = 0;
    s_fullscreen.offsetY = 0;
    if (rect.right - rect.left < CORE_SCREEN_WIDTH || rect.bottom - rect.top < CORE_SCREEN_HEIGHT) {
        // Nothing usable saved: a 640 x 400 client area in the middle of the screen.
        rect.left = GetSystemMetrics(SM_CXSCREEN) / 2 - FULLSCREEN_HALF_WIDTH;
        rect.top = GetSystemMetrics(SM_CYSCREEN) / 2 - FULLSCREEN_HALF_HEIGHT;
        rect.right = rect.left + CORE_SCREEN_WIDTH;
        rect.bottom = rect.top + CORE_SCREEN_HEIGHT;
        AdjustWindowRect(&rect, s_fullscreen.savedStyle, FALSE);
    }
    SetWindowLongA(window, GWL_STYLE, (LONG)s_fullscreen.savedStyle);
    if (!s_fullscreen.maximized)
        ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, HWND_NOTOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    UpdateWindow(window);
    ShowCursor(TRUE);
}

uint8_t Render_SwitchFullscreen(HWND window, uint8_t on)
{
    // A request for the state in force changes nothing: switching twice would save the
    // fullscreen style and rectangle over the windowed ones and count the cursor twice.
    if ((on != 0) == (s_fullscreen.flag != 0))
        return 0;
    // Set first: the sizing messages of the switch must see the new state.
    s_fullscreen.flag = on;
    if (!on) {
        Render_LeaveFullscreen(window);
        return 0;
    }
    if (Render_EnterFullscreen(window) == 0)
        return 0;
    // The display did not change: stay windowed in every respect.
    s_fullscreen.flag = 0;
    s_fullscreen.offsetX = 0;
    s_fullscreen.offsetY = 0;
    return 1;
}
