// Fullscreen where 640 x 400 is listed: Alt+Enter and the core's switch, requests for the state
// in force, losing and regaining activation, the way back, a maximized window (its frame
// stretched); natively the screen scaled over 16:9 and 4:3 desktops, and the pointer over it.
#include "tests/core/picture.h"
#include "tests/core/table.h"

enum { FULL_WINDOW_STYLE = 0x00CB0000 | WS_VISIBLE, FULL_POPUP_STYLE = WS_POPUP | WS_VISIBLE };
enum { FULL_STYLE_MASK = ~(0x04000000u | 0x01000000u) }; // not WS_CLIPSIBLINGS, WS_MAXIMIZE
// Focus changes and real keys come at the next message pass; a switch may take longer.
enum { FULL_SETTLE_FRAMES = 4, FULL_WAIT_FRAMES = 90 };

static struct {
    uint32_t stage, since, from;
    int cursor, desktopWidth, desktopHeight; // the cursor's count when the stage began
    RECT windowed;                           // the window's rectangle while windowed
    bool scaled;                             // the 1600 x 1200 desktop is set (natively)
} s_full;

// The cursor's display count, left as it was.
static int Full_Cursor(void)
{
    int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

// After a switch on (a popup over a 640 x 400 screen) or off (the saved style, rectangle and
// desktop) from a cursor count of cursor: hidden once more or shown; not minimized.
static void Full_CheckSwitched(const char *what, bool on, int cursor)
{
    static const RECT screen = {0, 0, 640, 400};
    const RECT *rect = on ? &screen : &s_full.windowed;
    int width = on ? 640 : s_full.desktopWidth, height = on ? 400 : s_full.desktopHeight;
    cursor += on ? -1 : 1;
    HWND window = Scenario_Window();
    RECT r;
    GetWindowRect(window, &r);
    uint32_t s = (uint32_t)GetWindowLongA(window, GWL_STYLE) & FULL_STYLE_MASK;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN), c = Full_Cursor();
    Log_Check(s == (on ? FULL_POPUP_STYLE : FULL_WINDOW_STYLE) && !memcmp(&r, rect, sizeof r) &&
                  w == width && h == height && c == cursor && !IsIconic(window),
              what, "style 0x%08x, window (%d, %d)-(%d, %d), screen %d x %d, cursor %d (of %d)%s",
              s, (int)r.left, (int)r.top, (int)r.right, (int)r.bottom, w, h, c, cursor,
              IsIconic(window) ? ", minimized" : "");
}

// Real Alt+Enter with Enter held: one switch (the state is checked after), none on the
// auto-repeat, only Alt's release forwarded (a release without a press, harmless to the core).
static void Full_AltEnter(void)
{
    static const uint8_t strokes[][2] = {
        {VK_MENU, 0}, {VK_RETURN, 0}, {VK_RETURN, 0}, {VK_RETURN, 1}, {VK_MENU, 1}};
    Probe_Activate(Scenario_Window(), false); // keys come as plain keys only with the focus
    s_full.from = Record_Count();
    s_full.cursor = Full_Cursor();
    for (const auto &k : strokes)
        Probe_Key(k[0], k[1] != 0);
}

static void Full_CheckAltEnter(const char *what, bool on)
{
    static const Expected release[] = {KEY_UP(0x12), RELEASE(0xA4), RELEASE(0xA5), {}};
    Expect_Calls("Alt+Enter: only Alt's release is forwarded", s_full.from, release, true);
    Full_CheckSwitched(what, on, s_full.cursor);
}

// The core's switch: 0, the flag as asked, and the state a switch leaves (a request for the
// state in force changes nothing: all stays as the last switch left it).
static void Full_Switch(uint8_t on, bool inForce, const char *what)
{
    int cursor = Full_Cursor();
    uint8_t result = Render_SetFullscreen(on);
    Full_CheckSwitched(what, on, !inForce ? cursor : on ? cursor + 1 : cursor - 1);
    Log_Check(result == 0 && Render_IsFullscreen() == on, what, "result %u, flag %u", result,
              Render_IsFullscreen());
}

// A window maximized before the switch is not maximized again on the way in nor restored on
// the way out: it gets its maximized rectangle back.
static void Full_CheckMaximized(void)
{
    HWND window = Scenario_Window();
    RECT maximized, rect;
    ShowWindow(window, SW_SHOWMAXIMIZED);
    GetWindowRect(window, &maximized);
    ProbeWindow w;
    Probe_GetWindow(window, &w);
    Render_Step(window);
    Picture_Check(window, "maximized window: the frame stretched over the client", w.clientWidth,
                  w.clientHeight, PICTURE_MASK, Picture_Stretched);
    Full_Switch(1, false, "maximized window: fullscreen covers the screen");
    Render_SetFullscreen(0);
    GetWindowRect(window, &rect);
    Probe_GetWindow(window, &w);
    Log_Check(w.zoomed && !memcmp(&rect, &maximized, sizeof rect),
              "maximized window: back maximized, at its maximized rectangle", "%s",
              w.zoomed ? "elsewhere" : "not maximized");
    ShowWindow(window, SW_RESTORE);
}

static ScenarioStep Full_Step(uint32_t frame)
{
    HWND window = Scenario_Window();
    if (s_full.stage > 0 && frame < s_full.since + FULL_SETTLE_FRAMES)
        return STEP_CONTINUE;
    bool switching = s_full.stage == 3 || s_full.stage == 7; // by Alt+Enter: on, then off
    if (switching && Render_IsFullscreen() != (s_full.stage == 3) &&
        frame < s_full.since + FULL_WAIT_FRAMES)
        return STEP_CONTINUE;
    switch (s_full.stage) {
    case 0: {
        Picture_Install(21, COLORS_DEFAULT, 3);
        // Where the desktop can be set: 16:9, so that the 640 x 400 screen is shown scaled to
        // 1728 x 1080 between bands left and right.
        Probe_SetDesktop(1920, 1080, true);
        s_full.desktopWidth = GetSystemMetrics(SM_CXSCREEN);
        s_full.desktopHeight = GetSystemMetrics(SM_CYSCREEN);
        // Elsewhere than the centre, so that the saved rectangle is told from a made-up one.
        RECT &r = s_full.windowed;
        GetWindowRect(window, &r);
        SetWindowPos(window, 0, 100, 80, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(window, &r);
        Full_Switch(0, true, "switching off while windowed changes nothing");
        break;
    }
    case 1:
        Picture_Check(window, "windowed: the core's frame", 640, 400, PICTURE_MASK, NULL);
        Probe_Activate(window, true);
        break;
    case 2:
        Log_Check(!IsIconic(window), "losing activation while windowed changes nothing",
                  "minimized");
        Full_AltEnter();
        break;
    case 3:
        Full_CheckAltEnter("Alt+Enter: a popup over a 640 x 400 screen, the cursor hidden once",
                           true);
        Picture_Check(window, "fullscreen: the core's frame at (0, 0)", 640, 400, PICTURE_MASK,
                      NULL);
        Full_Switch(1, true, "switching on while fullscreen changes nothing");
        Probe_Activate(window, true);
        break;
    case 4:
        Log_Check(IsIconic(window), "losing activation while fullscreen minimizes", "not");
        if (Probe_SetDesktop(1600, 1200, true)) { // 4:3 when it comes back: bands above and below
            s_full.desktopWidth = 1600;
            s_full.desktopHeight = 1200;
            s_full.scaled = true;
        }
        Probe_Activate(window, false);
        break;
    case 5:
        Full_CheckSwitched("activation back: the fullscreen window whole again", true,
                           s_full.cursor);
        Picture_Check(window, "fullscreen after regaining activation: the core's frame", 640, 400,
                      PICTURE_MASK, NULL);
        // Natively only: there the picture is scaled over the desktop, and the pointer's
        // screen position must be mapped back through it (the moves of the file named by CASES).
        if (s_full.scaled)
            Table_Open("CASES");
        break;
    case 6:
        if (s_full.scaled && Input_Rows(frame) == STEP_CONTINUE)
            return STEP_CONTINUE;
        Full_AltEnter();
        break;
    case 7:
        Full_CheckAltEnter("Alt+Enter again: style, rectangle, screen and cursor back", false);
        break;
    case 8:
        Picture_Check(window, "windowed again: the core's frame", 640, 400, PICTURE_MASK, NULL);
        Full_Switch(1, false, "Render_SetFullscreen(1) from the core");
        Full_Switch(0, false, "Render_SetFullscreen(0) from the core");
        Full_CheckMaximized();
        return STEP_CLOSE;
    }
    s_full.stage++;
    s_full.since = frame;
    return STEP_CONTINUE;
}

const Scenario Scenario_Fullscreen = {"fullscreen", NULL, Full_Step, NULL, NULL, false};
