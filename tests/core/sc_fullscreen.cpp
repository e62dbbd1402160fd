// Fullscreen where 640 x 400 is listed: a request for the state in force changes nothing,
// Alt+Enter once per press, the popup over a 640 x 400 screen with the cursor hidden and the
// picture at (0, 0), minimized on losing activation and back whole, the way back to the
// saved style, rectangle and cursor; the core's own switch; a maximized window.
#include "tests/core/picture.h"

enum {
    FULL_WINDOW_STYLE = 0x00CB0000 | WS_VISIBLE,
    FULL_POPUP_STYLE = WS_POPUP | WS_VISIBLE,
    FULL_STYLE_MASK = ~(0x04000000u | 0x01000000u), // WS_CLIPSIBLINGS and WS_MAXIMIZE
    FULL_SETTLE_FRAMES = 4,
    FULL_WAIT_FRAMES = 90
};

static struct {
    uint32_t stage;
    uint32_t since;   // frame the stage began
    uint32_t from;    // record index where it began
    int cursor;       // cursor count before the stage
    RECT windowed;    // the window's rectangle while windowed
    int desktopWidth; // the screen's size while windowed
    int desktopHeight;
    uint32_t enters;
    uint8_t flags[4];
    bool repeats[4];
} s_full;

// The cursor's display count, left as it was.
static int Full_Cursor(void)
{
    int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

static uint32_t Full_Style(void)
{
    return (uint32_t)GetWindowLongA(Scenario_Window(), GWL_STYLE) & FULL_STYLE_MASK;
}

static bool Full_RectIs(const RECT *r, int left, int top, int right, int bottom)
{
    return r->left == left && r->top == top && r->right == right && r->bottom == bottom;
}

static bool Full_Same(const RECT *a, const RECT *b)
{
    return Full_RectIs(a, b->left, b->top, b->right, b->bottom);
}

static void Full_Picture(const char *what)
{
    Picture_Check(Scenario_Window(), what, 640, 400, PICTURE_MASK,
                  [](const uint32_t *expected, int x, int y, uint32_t got) {
                      return got == expected[y * PICTURE_WIDTH + x];
                  });
}

static void Full_CheckOn(const char *what, int cursor)
{
    RECT rect;
    GetWindowRect(Scenario_Window(), &rect);
    bool screen = GetSystemMetrics(SM_CXSCREEN) == 640 && GetSystemMetrics(SM_CYSCREEN) == 400;
    Log_Check(Render_IsFullscreen() == 1 && screen && Full_Style() == FULL_POPUP_STYLE &&
                  Full_RectIs(&rect, 0, 0, 640, 400) && Full_Cursor() == cursor - 1,
              what,
              "flag %u, screen %d x %d, style 0x%08x, window (%d, %d)-(%d, %d), cursor %d (was %d)",
              Render_IsFullscreen(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
              Full_Style(), (int)rect.left, (int)rect.top, (int)rect.right, (int)rect.bottom,
              Full_Cursor(), cursor);
}

static void Full_CheckOff(const char *what, int cursor)
{
    RECT rect;
    GetWindowRect(Scenario_Window(), &rect);
    bool screen = GetSystemMetrics(SM_CXSCREEN) == s_full.desktopWidth &&
                  GetSystemMetrics(SM_CYSCREEN) == s_full.desktopHeight;
    Log_Check(Render_IsFullscreen() == 0 && screen && Full_Style() == FULL_WINDOW_STYLE &&
                  Full_Same(&rect, &s_full.windowed) && Full_Cursor() == cursor + 1,
              what,
              "flag %u, screen %d x %d, style 0x%08x, window (%d, %d)-(%d, %d), cursor %d (was %d)",
              Render_IsFullscreen(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
              Full_Style(), (int)rect.left, (int)rect.top, (int)rect.right, (int)rect.bottom,
              Full_Cursor(), cursor);
}

// A request for the state in force: 0, and nothing changes, the cursor count included.
static void Full_CheckRepeat(uint8_t on, const char *what)
{
    RECT before, after;
    GetWindowRect(Scenario_Window(), &before);
    uint32_t style = Full_Style();
    int cursor = Full_Cursor();
    uint8_t result = Render_SetFullscreen(on);
    GetWindowRect(Scenario_Window(), &after);
    Log_Check(result == 0 && Render_IsFullscreen() == on && Full_Style() == style &&
                  Full_Same(&before, &after) && Full_Cursor() == cursor,
              what, "result %u, flag %u, style 0x%08x (was 0x%08x), cursor %d (was %d)", result,
              Render_IsFullscreen(), Full_Style(), style, Full_Cursor(), cursor);
}

static void Full_AltEnter(void)
{
    HWND window = Scenario_Window();
    Probe_Activate(window, false); // keys come as plain keys only with the focus
    s_full.enters = 0;
    Probe_Key(VK_MENU, false);
    Probe_Key(VK_RETURN, false);
    Probe_Key(VK_RETURN, false); // held: an auto-repeat
    Probe_Key(VK_RETURN, true);
    Probe_Key(VK_MENU, true);
}

static void Full_CheckEnters(uint8_t expected)
{
    bool ok = s_full.enters == 2 && !s_full.repeats[0] && s_full.flags[0] == expected &&
              s_full.repeats[1] && s_full.flags[1] == expected;
    Log_Check(ok, "Alt+Enter switches once per press, not on the auto-repeat",
              "%u presses; flags after them %u, %u", s_full.enters, s_full.flags[0],
              s_full.flags[1]);
}

static void Full_Start(uint32_t frame)
{
    s_full.stage++;
    s_full.since = frame;
    s_full.from = Record_Count();
    s_full.cursor = Full_Cursor();
}

static bool Full_Waited(uint32_t frame, uint8_t flag)
{
    return frame >= s_full.since + FULL_SETTLE_FRAMES &&
           (Render_IsFullscreen() == flag || frame >= s_full.since + FULL_WAIT_FRAMES);
}

// Activation goes to another window (away) and comes back: minimized while fullscreen, else
// left alone; back whole. Focus changes reach the window at the next message pass.
static void Full_CheckActivation(bool away, bool fullscreen)
{
    HWND window = Scenario_Window();
    if (away) {
        bool iconic = IsIconic(window) != 0;
        Log_Check(iconic == fullscreen,
                  fullscreen ? "losing activation while fullscreen minimizes"
                             : "losing activation while windowed changes nothing",
                  "%s", iconic ? "minimized" : "not minimized");
        return;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    bool placed =
        fullscreen ? Full_RectIs(&rect, 0, 0, 640, 400) : Full_Same(&rect, &s_full.windowed);
    Log_Check(!IsIconic(window) && placed, "regaining activation gives the window back whole",
              "%s, window (%d, %d)-(%d, %d)", IsIconic(window) ? "minimized" : "shown",
              (int)rect.left, (int)rect.top, (int)rect.right, (int)rect.bottom);
}

// A window maximized before the switch is not maximized again on the way in nor restored on
// the way out: it gets its maximized rectangle back.
static void Full_CheckMaximized(void)
{
    HWND window = Scenario_Window();
    RECT maximized, rect;
    ShowWindow(window, SW_SHOWMAXIMIZED);
    GetWindowRect(window, &maximized);
    uint32_t style = Full_Style();
    Render_SetFullscreen(1);
    GetWindowRect(window, &rect);
    Log_Check(Full_RectIs(&rect, 0, 0, 640, 400), "maximized window: fullscreen covers the screen",
              "window (%d, %d)-(%d, %d)", (int)rect.left, (int)rect.top, (int)rect.right,
              (int)rect.bottom);
    Render_SetFullscreen(0);
    GetWindowRect(window, &rect);
    ProbeWindow w;
    Probe_GetWindow(window, &w);
    Log_Check(w.zoomed && Full_Style() == style && Full_Same(&rect, &maximized),
              "maximized window: back maximized, at its maximized rectangle",
              "%s, style 0x%08x (was 0x%08x)", w.zoomed ? "maximized" : "not maximized",
              Full_Style(), style);
    ShowWindow(window, SW_RESTORE);
}

static void Full_Begin(const char *)
{
    Picture_Install(21, COLORS_DEFAULT, 3);
}

static ScenarioStep Full_Step(uint32_t frame)
{
    HWND window = Scenario_Window();
    if (s_full.stage > 0 && frame < s_full.since + FULL_SETTLE_FRAMES)
        return STEP_CONTINUE;
    switch (s_full.stage) {
    case 0: {
        s_full.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
        s_full.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
        DEVMODEA mode;
        memset(&mode, 0, sizeof mode);
        mode.dmSize = sizeof mode;
        bool listed = false;
        for (DWORD n = 0; EnumDisplaySettingsA(0, n, &mode); n++)
            listed = listed || (mode.dmPelsWidth == 640 && mode.dmPelsHeight == 400);
        if (!Log_Check(listed, "the display lists 640 x 400", "not listed"))
            return STEP_CLOSE;
        // Elsewhere than the centre, so that the saved rectangle is told from a made-up one.
        Probe_MoveWindow(window, 100, 80);
        GetWindowRect(window, &s_full.windowed);
        Full_CheckRepeat(0, "switching off while windowed changes nothing");
        break;
    }
    case 1:
        Full_Picture("windowed: the core's frame");
        Probe_Activate(window, true);
        break;
    case 2:
        Full_CheckActivation(true, false);
        Probe_Activate(window, false);
        break;
    case 3:
        Full_CheckActivation(false, false);
        Full_Start(frame);
        Full_AltEnter();
        return STEP_CONTINUE;
    case 4:
        if (!Full_Waited(frame, 1))
            return STEP_CONTINUE;
        Full_CheckEnters(1);
        Full_CheckOn("Alt+Enter: a popup over a 640 x 400 screen, the cursor hidden once",
                     s_full.cursor);
        Full_Picture("fullscreen: the core's frame at (0, 0)");
        Full_CheckRepeat(1, "switching on while fullscreen changes nothing");
        Probe_Activate(window, true);
        break;
    case 5:
        Full_CheckActivation(true, true);
        Probe_Activate(window, false);
        break;
    case 6:
        Full_CheckActivation(false, true);
        Full_Picture("fullscreen after regaining activation: the core's frame");
        Full_Start(frame);
        Full_AltEnter();
        return STEP_CONTINUE;
    case 7:
        if (!Full_Waited(frame, 0))
            return STEP_CONTINUE;
        Full_CheckEnters(0);
        Full_CheckOff("Alt+Enter again: style, rectangle, screen and cursor back", s_full.cursor);
        break;
    case 8: {
        Full_Picture("windowed again: the core's frame");
        int cursor = Full_Cursor();
        uint8_t on = Render_SetFullscreen(1);
        Full_CheckOn("Render_SetFullscreen(1) from the core", cursor);
        cursor = Full_Cursor();
        uint8_t off = Render_SetFullscreen(0);
        Full_CheckOff("Render_SetFullscreen(0) from the core", cursor);
        Log_Check(on == 0 && off == 0, "the core's switches give 0", "%u and %u", on, off);
        const char *out = Log_ReadStdout();
        Log_Check(out && strstr(out, "[Render] Resize: 640, 400 (Fullscreen)") &&
                      !strstr(out, "FindFullscreenMode"),
                  "stdout shows the fullscreen size and no fallback mode", "%s",
                  out ? "lines missing or extra" : "unreadable");
        Full_CheckMaximized();
        return STEP_CLOSE;
    }
    }
    Full_Start(frame);
    return STEP_CONTINUE;
}

static void Full_Message(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSKEYDOWN && wParam == VK_RETURN && s_full.enters < 4) {
        s_full.repeats[s_full.enters] = (lParam & 0x40000000) != 0;
        s_full.flags[s_full.enters] = Render_IsFullscreen();
        s_full.enters++;
    }
}

const Scenario Scenario_Fullscreen = {"fullscreen", Full_Begin, Full_Step,
                                      Full_Message, NULL,       false};
