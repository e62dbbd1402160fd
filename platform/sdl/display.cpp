// Display modes and the cursor: 640 x 400, 640 x 480 and the desktop's mode are listed; a
// listed mode is set as a virtual mode (the monitor keeps its own), and a window covering
// the virtual screen is shown over the whole desktop with its picture scaled to fit.
#include "platform/sdl/display.h"
#include "platform/sdl/window.h"

enum {
    DISPLAY_BITS = 32,
    DISPLAY_DEFAULT_HZ = 60,       // what Wine reports where the display tells none
    DISPLAY_FIELDS = 0x007C0080,   // orientation, bits, width, height, flags, frequency
    DISPLAY_FALLBACK_WIDTH = 1024, // a desktop SDL cannot measure
    DISPLAY_FALLBACK_HEIGHT = 768
};

// The classic modes the front-end looks for, listed before the desktop's.
static const struct {
    int width;
    int height;
} DISPLAY_CLASSIC[] = {{640, 400}, {640, 480}};

static struct {
    int hookWidth; // the desktop size set where no display tells it; 0: SDL's
    int hookHeight;
    int virtualWidth; // 0 while no virtual mode is set
    int virtualHeight;
    int cursorCount;
    bool classicHidden; // the desktop's mode is listed alone
} s_display;

void Display_Desktop(int *width, int *height)
{
    if (s_display.hookWidth > 0) {
        *width = s_display.hookWidth;
        *height = s_display.hookHeight;
        return;
    }
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0) {
        *width = mode.w;
        *height = mode.h;
        return;
    }
    *width = DISPLAY_FALLBACK_WIDTH;
    *height = DISPLAY_FALLBACK_HEIGHT;
}

static int Display_RefreshRate(void)
{
    SDL_DisplayMode mode;
    if (s_display.hookWidth == 0 && SDL_WasInit(SDL_INIT_VIDEO) &&
        SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0)
        return mode.refresh_rate;
    return DISPLAY_DEFAULT_HZ;
}

void Display_Screen(int *width, int *height)
{
    if (s_display.virtualWidth > 0) {
        *width = s_display.virtualWidth;
        *height = s_display.virtualHeight;
        return;
    }
    Display_Desktop(width, height);
}

bool Display_VirtualModeSet(void)
{
    return s_display.virtualWidth > 0;
}

bool Display_Covers(const NativeWindow *w)
{
    if (!s_display.virtualWidth || !(w->style & WS_VISIBLE) || (w->style & WS_MINIMIZE) ||
        (w->style & WS_CAPTION) == WS_CAPTION)
        return false;
    return w->rect.left == 0 && w->rect.top == 0 && w->rect.right == s_display.virtualWidth &&
           w->rect.bottom == s_display.virtualHeight;
}

SDL_Rect Display_ScaledRect(int clientWidth, int clientHeight, int dw, int dh)
{
    SDL_Rect r = {0, 0, dw, dh};
    if (clientWidth <= 0 || clientHeight <= 0)
        return r;
    if ((long long)dw * clientHeight <= (long long)dh * clientWidth)
        r.h = (int)((long long)clientHeight * dw / clientWidth);
    else
        r.w = (int)((long long)clientWidth * dh / clientHeight);
    r.x = (dw - r.w) / 2;
    r.y = (dh - r.h) / 2;
    return r;
}

int Display_CursorCount(void)
{
    return s_display.cursorCount;
}

// The n-th listed mode's size: the classic modes, then the desktop's unless it is one of
// them; false past the end.
static bool Display_Listed(DWORD n, int *width, int *height)
{
    const DWORD classic =
        s_display.classicHidden ? 0 : sizeof DISPLAY_CLASSIC / sizeof DISPLAY_CLASSIC[0];
    if (n < classic) {
        *width = DISPLAY_CLASSIC[n].width;
        *height = DISPLAY_CLASSIC[n].height;
        return true;
    }
    int dw, dh;
    Display_Desktop(&dw, &dh);
    for (DWORD i = 0; i < classic; i++)
        if (DISPLAY_CLASSIC[i].width == dw && DISPLAY_CLASSIC[i].height == dh)
            return false;
    *width = dw;
    *height = dh;
    return n == classic;
}

BOOL WINAPI EnumDisplaySettingsA(LPCSTR device, DWORD mode, DEVMODEA *settings)
{
    if (!settings || (device && strcmp(device, "\\\\.\\DISPLAY1") != 0))
        return FALSE;
    int width, height;
    if (mode == ENUM_CURRENT_SETTINGS)
        Display_Screen(&width, &height);
    else if (mode == ENUM_REGISTRY_SETTINGS)
        Display_Desktop(&width, &height);
    else if (!Display_Listed(mode, &width, &height))
        return FALSE;
    settings->dmFields = DISPLAY_FIELDS;
    settings->dmBitsPerPel = DISPLAY_BITS;
    settings->dmPelsWidth = (DWORD)width;
    settings->dmPelsHeight = (DWORD)height;
    settings->dmDisplayFlags = 0;
    settings->dmDisplayFrequency = (DWORD)Display_RefreshRate();
    return TRUE;
}

// Every window's SDL side, after the screen changed under it.
static void Display_SyncWindows(void)
{
    for (int i = 0; i < NATIVE_MAX_WINDOWS; i++)
        if (Window_At(i))
            Window_SyncSdl(Window_At(i));
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA *settings, DWORD flags)
{
    if (!settings) {
        s_display.virtualWidth = s_display.virtualHeight = 0;
        Display_SyncWindows();
        return DISP_CHANGE_SUCCESSFUL;
    }
    if ((settings->dmFields & DM_BITSPERPEL) && settings->dmBitsPerPel != DISPLAY_BITS)
        return DISP_CHANGE_BADMODE;
    int width = 0, height = 0;
    for (DWORD n = 0; Display_Listed(n, &width, &height); n++) {
        if ((DWORD)width != settings->dmPelsWidth || (DWORD)height != settings->dmPelsHeight)
            continue;
        if (flags & CDS_TEST)
            return DISP_CHANGE_SUCCESSFUL;
        int dw, dh;
        Display_Desktop(&dw, &dh);
        bool desktop = width == dw && height == dh;
        s_display.virtualWidth = desktop ? 0 : width;
        s_display.virtualHeight = desktop ? 0 : height;
        Display_SyncWindows();
        return DISP_CHANGE_SUCCESSFUL;
    }
    return DISP_CHANGE_BADMODE;
}

int WINAPI GetSystemMetrics(int index)
{
    int width, height;
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN:
        Display_Screen(&width, &height);
        return index == SM_CXSCREEN ? width : height;
    case SM_CYCAPTION:
        return 19;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    // A window may be sized down to its caption's buttons, and up to the screen and a frame.
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMINTRACK:
        return 27;
    case SM_CXMAXTRACK:
    case SM_CYMAXTRACK:
        Display_Screen(&width, &height);
        return (index == SM_CXMAXTRACK ? width : height) + 4 + 2 * 4;
    }
    return 0;
}

int WINAPI ShowCursor(BOOL show)
{
    bool before = s_display.cursorCount >= 0;
    s_display.cursorCount += show ? 1 : -1;
    bool after = s_display.cursorCount >= 0;
    if (before != after && SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(after ? SDL_ENABLE : SDL_DISABLE);
    return s_display.cursorCount;
}

void Display_SetDesktop(int width, int height)
{
    s_display.hookWidth = width > 0 && height > 0 ? width : 0;
    s_display.hookHeight = width > 0 && height > 0 ? height : 0;
    Display_SyncWindows();
}

void Display_ListClassicModes(bool listed)
{
    s_display.classicHidden = !listed;
}
