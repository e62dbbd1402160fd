// Fullscreen where 640 x 400 is listed (Wine's virtual desktop): switches, window, picture.
#include "core/core.h"
#include "testcore.h"
#include "input_support.h"
#include "pixels.h"

enum {
    FULL_WINDOW_STYLE = 0x00CB0000 | WS_VISIBLE,
    FULL_POPUP_STYLE = WS_POPUP | WS_VISIBLE,
    FULL_SETTLE_FRAMES = 4,
    FULL_WAIT_FRAMES = 90
};

static struct {
    HWND window;
    HWND other; // a second window of the thread, to take the activation away
    uint32_t stage;
    uint32_t since; // frame the stage began
    uint32_t from;  // record index where it began
    int cursor;     // cursor count before the stage
    RECT windowed;  // the window's rectangle while windowed
    uint32_t enters;
    uint8_t flags[4];
    bool repeats[4];
    bool restored; // the fullscreen window came back whole after losing activation
} s_full;

// The cursor's display count, left as it was.
static int Full_CursorCount(void)
{
    int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

static DWORD Full_Style(void)
{
    // Top-level windows always carry WS_CLIPSIBLINGS.
    return (DWORD)GetWindowLongA(s_full.window, GWL_STYLE) & ~WS_CLIPSIBLINGS;
}

static bool Full_RectIs(const RECT *rect, int left, int top, int right, int bottom)
{
    return rect->left == left && rect->top == top && rect->right == right && rect->bottom == bottom;
}

static void Full_CheckPicture(const char *what)
{
    const uint32_t *expected = Pixels_Expected(PIXELS_RULE_MASK);
    const uint32_t *got = Pixels_ReadWindow(s_full.window, PIXELS_WIDTH, PIXELS_HEIGHT);
    uint32_t wrong = 0, first = 0;
    for (int y = 0; got && y < PIXELS_HEIGHT; y++)
        for (int x = 0; x < PIXELS_WIDTH; x++)
            if (got[y * PIXELS_READ_WIDTH + x] != expected[y * PIXELS_WIDTH + x] && !wrong++)
                first = y * PIXELS_WIDTH + x;
    Log_Check(got && wrong == 0, what, "%s%u pixels differ, the first at (%u, %u)",
              got ? "" : "not readable; ", wrong, first % PIXELS_WIDTH, first / PIXELS_WIDTH);
}

// Fullscreen at 640 x 400: the popup covers the screen, the cursor is hidden once more.
static void Full_CheckOn(const char *how, int cursor)
{
    char what[128];
    RECT rect;
    GetWindowRect(s_full.window, &rect);
    _snprintf(what, sizeof what - 1, "%s: fullscreen flag set", how);
    what[sizeof what - 1] = 0;
    Log_Check(Render_IsFullscreen() == 1, what, "flag %u", Render_IsFullscreen());
    _snprintf(what, sizeof what - 1, "%s: display at 640 x 400", how);
    Log_Check(GetSystemMetrics(SM_CXSCREEN) == 640 && GetSystemMetrics(SM_CYSCREEN) == 400, what,
              "screen %d x %d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    _snprintf(what, sizeof what - 1, "%s: a popup over the whole screen", how);
    Log_Check((Full_Style() & ~WS_MAXIMIZE) == FULL_POPUP_STYLE &&
                  Full_RectIs(&rect, 0, 0, 640, 400),
              what, "style 0x%08lx, window (%ld, %ld)-(%ld, %ld)", (unsigned long)Full_Style(),
              rect.left, rect.top, rect.right, rect.bottom);
    _snprintf(what, sizeof what - 1, "%s: cursor hidden once", how);
    Log_Check(Full_CursorCount() == cursor - 1, what, "count %d, was %d", Full_CursorCount(),
              cursor);
}

// Windowed again: the saved style and rectangle, the desktop's size, the cursor shown.
static void Full_CheckOff(const char *how, int cursor)
{
    char what[128];
    RECT rect;
    GetWindowRect(s_full.window, &rect);
    _snprintf(what, sizeof what - 1, "%s: windowed, style and rectangle restored", how);
    what[sizeof what - 1] = 0;
    Log_Check(Render_IsFullscreen() == 0 && Full_Style() == FULL_WINDOW_STYLE &&
                  memcmp(&rect, &s_full.windowed, sizeof rect) == 0,
              what, "flag %u, style 0x%08lx, window (%ld, %ld)-(%ld, %ld)", Render_IsFullscreen(),
              (unsigned long)Full_Style(), rect.left, rect.top, rect.right, rect.bottom);
    _snprintf(what, sizeof what - 1, "%s: display back at 1600 x 1200", how);
    Log_Check(GetSystemMetrics(SM_CXSCREEN) == 1600 && GetSystemMetrics(SM_CYSCREEN) == 1200, what,
              "screen %d x %d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    _snprintf(what, sizeof what - 1, "%s: cursor shown again", how);
    Log_Check(Full_CursorCount() == cursor + 1, what, "count %d, was %d", Full_CursorCount(),
              cursor);
}

static bool Full_Listed(int width, int height)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    for (DWORD n = 0; EnumDisplaySettingsA(NULL, n, &mode); n++)
        if ((int)mode.dmPelsWidth == width && (int)mode.dmPelsHeight == height)
            return true;
    return false;
}

static void Full_Begin(const char *tail)
{
    (void)tail;
    s_full.window = Hook_Window();
    // A known picture: every pixel of it computed by the picture tests' model.
    Pixels_MakePalette(Pixels_CorePalette(), 3);
    Pixels_ReportPaletteChange();
    Pixels_SetCoreFrame(21);
    Pixels_Install();
}

// Switching off with nothing saved: a 640 x 400 client area in the middle of the screen.
static void Full_CheckFirstOff(void)
{
    int cursor = Full_CursorCount();
    uint8_t result = Render_SetFullscreen(0);
    RECT client;
    GetClientRect(s_full.window, &client);
    POINT origin = {0, 0};
    ClientToScreen(s_full.window, &origin);
    Log_Check(result == 0 && Full_Style() == FULL_WINDOW_STYLE && client.right == 640 &&
                  client.bottom == 400 && origin.x == 1600 / 2 - 320 && origin.y == 1200 / 2 - 200,
              "switching off with nothing saved centres a 640 x 400 client area",
              "result %u, style 0x%08lx, client %ld x %ld at (%ld, %ld)", result,
              (unsigned long)Full_Style(), client.right, client.bottom, origin.x, origin.y);
    Log_Check(Full_CursorCount() == cursor + 1, "switching off shows the cursor once",
              "count %d, was %d", Full_CursorCount(), cursor);
    // Elsewhere than the centre, so that a rectangle saved differs from the one made up.
    SetWindowPos(s_full.window, NULL, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(s_full.window, &s_full.windowed);
}

static void Full_InjectAltEnter(void)
{
    SetForegroundWindow(s_full.window);
    SetFocus(s_full.window); // keys reach the window as plain keys only with the focus
    s_full.enters = 0;
    Inject_Key(VK_MENU, false, false);
    Inject_Key(VK_RETURN, false, false);
    Inject_Key(VK_RETURN, false, false); // held: an auto-repeat
    Inject_Key(VK_RETURN, true, false);
    Inject_Key(VK_MENU, true, false);
}

static void Full_CheckEnters(uint8_t expected)
{
    static const ExpectedCall alt_release[] = {{CALL_KEYBOARD_RELEASE, 0x12, 0},
                                               {CALL_INPUT_EVENT, 0x12, 2},
                                               {CALL_KEYBOARD_RELEASE, 0xA4, 0},
                                               {CALL_KEYBOARD_RELEASE, 0xA5, 0}};
    // The window moves under the pointer: mouse calls may come too.
    Expect_KeyCalls("Alt+Enter: only the Alt release is forwarded", s_full.from, alt_release, 4);
    bool ok = s_full.enters == 2 && !s_full.repeats[0] && s_full.flags[0] == expected &&
              s_full.repeats[1] && s_full.flags[1] == expected;
    Log_Check(ok, "Alt+Enter switches once per press, not on the auto-repeat",
              "%u Enter presses; flag after them %u, %u", s_full.enters, s_full.flags[0],
              s_full.flags[1]);
}

static void Full_Start(uint32_t frame)
{
    s_full.stage++;
    s_full.since = frame;
    s_full.from = Record_Count();
    s_full.cursor = Full_CursorCount();
}

static bool Full_Waited(uint32_t frame, uint8_t flag)
{
    if (frame < s_full.since + FULL_SETTLE_FRAMES)
        return false;
    return Render_IsFullscreen() == flag || frame >= s_full.since + FULL_WAIT_FRAMES;
}

// Activation moves to another window and back: minimized while fullscreen, else left alone.
// False when the fullscreen window did not come back whole.
static bool Full_Deactivate(bool fullscreen)
{
    SetForegroundWindow(s_full.other);
    bool iconic = IsIconic(s_full.window) != 0;
    Log_Check(iconic == fullscreen,
              fullscreen ? "losing activation while fullscreen minimizes"
                         : "losing activation while windowed changes nothing",
              "%s", iconic ? "minimized" : "not minimized");
    SetForegroundWindow(s_full.window);
    RECT rect;
    GetWindowRect(s_full.window, &rect);
    bool windowed = memcmp(&rect, &s_full.windowed, sizeof rect) == 0;
    if (!fullscreen) {
        Log_Check(!IsIconic(s_full.window) && windowed,
                  "regaining activation leaves the window in place", "window (%ld, %ld)-(%ld, %ld)",
                  rect.left, rect.top, rect.right, rect.bottom);
        return true;
    }
    bool whole = !IsIconic(s_full.window) && Full_RectIs(&rect, 0, 0, 640, 400);
    Log_Check(whole, "regaining activation restores the fullscreen window",
              "%s, window (%ld, %ld)-(%ld, %ld)", IsIconic(s_full.window) ? "minimized" : "shown",
              rect.left, rect.top, rect.right, rect.bottom);
    return whole;
}

// The core may switch too, through the exported function; then the log lines.
static void Full_CheckCoreSwitch(void)
{
    int cursor = Full_CursorCount();
    uint8_t on = Render_SetFullscreen(1);
    Log_Check(on == 0, "Render_SetFullscreen(1) from the core gives 0", "%u", on);
    Full_CheckOn("Render_SetFullscreen(1)", cursor);
    cursor = Full_CursorCount();
    uint8_t off = Render_SetFullscreen(0);
    Log_Check(off == 0, "Render_SetFullscreen(0) from the core gives 0", "%u", off);
    Full_CheckOff("Render_SetFullscreen(0)", cursor);
    const char *out = Expect_ReadStdout();
    Log_Check(out && Expect_HasLineStarting(out, "[Render] Resize: 640, 400 (Fullscreen)"),
              "stdout shows the fullscreen size",
              "no \"[Render] Resize: 640, 400 (Fullscreen)\" line");
    Log_Check(out && !strstr(out, "FindFullscreenMode"), "no fallback mode is announced",
              "a FindFullscreenMode line on stdout");
}

// A window maximized before the switch is neither maximized again on the way in nor restored
// on the way out: it gets its maximized rectangle back.
static void Full_CheckMaximized(void)
{
    RECT maximized, rect;
    ShowWindow(s_full.window, SW_MAXIMIZE);
    GetWindowRect(s_full.window, &maximized);
    DWORD style = Full_Style();
    Render_SetFullscreen(1);
    GetWindowRect(s_full.window, &rect);
    Log_Check(Full_RectIs(&rect, 0, 0, 640, 400) && GetSystemMetrics(SM_CXSCREEN) == 640,
              "maximized window: fullscreen covers the screen", "window (%ld, %ld)-(%ld, %ld)",
              rect.left, rect.top, rect.right, rect.bottom);
    Render_SetFullscreen(0);
    GetWindowRect(s_full.window, &rect);
    Log_Check(IsZoomed(s_full.window) && Full_Style() == style &&
                  memcmp(&rect, &maximized, sizeof rect) == 0,
              "maximized window: back maximized, at its maximized rectangle",
              "%s, style 0x%08lx (was 0x%08lx), window (%ld, %ld)-(%ld, %ld), was (%ld, %ld)-(%ld, "
              "%ld)",
              IsZoomed(s_full.window) ? "maximized" : "not maximized", (unsigned long)Full_Style(),
              (unsigned long)style, rect.left, rect.top, rect.right, rect.bottom, maximized.left,
              maximized.top, maximized.right, maximized.bottom);
    ShowWindow(s_full.window, SW_RESTORE);
}

static ScenarioStep Full_Step(uint32_t frame)
{
    switch (s_full.stage) {
    case 0:
        if (!Log_Check(Full_Listed(640, 400) && GetSystemMetrics(SM_CXSCREEN) == 1600,
                       "a 1600 x 1200 desktop that lists 640 x 400",
                       "screen %d x %d; is the virtual desktop set?", GetSystemMetrics(SM_CXSCREEN),
                       GetSystemMetrics(SM_CYSCREEN)))
            return STEP_CLOSE;
        s_full.other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                       NULL, NULL, GetModuleHandleA(NULL), NULL);
        Full_CheckFirstOff();
        Full_Start(frame);
        return STEP_CONTINUE;
    case 1: // windowed: the picture at the client's top left
        if (frame < s_full.since + FULL_SETTLE_FRAMES)
            return STEP_CONTINUE;
        Full_CheckPicture("windowed: the core's frame");
        Full_Deactivate(false);
        Full_Start(frame);
        Full_InjectAltEnter();
        return STEP_CONTINUE;
    case 2:
        if (!Full_Waited(frame, 1))
            return STEP_CONTINUE;
        Full_CheckEnters(1);
        Full_CheckOn("Alt+Enter", s_full.cursor);
        Full_CheckPicture("fullscreen: the core's frame at the picture offset (0, 0)");
        s_full.restored = Full_Deactivate(true);
        Full_Start(frame);
        return STEP_CONTINUE;
    case 3: // the frames go on in the restored window
        if (frame < s_full.since + FULL_SETTLE_FRAMES)
            return STEP_CONTINUE;
        if (s_full.restored)
            Full_CheckPicture("fullscreen after restoring: the core's frame");
        Full_Start(frame);
        Full_InjectAltEnter();
        return STEP_CONTINUE;
    case 4:
        if (!Full_Waited(frame, 0))
            return STEP_CONTINUE;
        Full_CheckEnters(0);
        Full_CheckOff("Alt+Enter again", s_full.cursor);
        Full_Start(frame);
        return STEP_CONTINUE;
    case 5:
        if (frame < s_full.since + FULL_SETTLE_FRAMES)
            return STEP_CONTINUE;
        Full_CheckPicture("windowed again: the core's frame");
        Full_CheckCoreSwitch();
        Full_CheckMaximized();
        DestroyWindow(s_full.other);
        return STEP_CLOSE;
    }
    return STEP_CLOSE;
}

static void Full_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    if (message == WM_SYSKEYDOWN && wParam == VK_RETURN && s_full.enters < 4) {
        s_full.repeats[s_full.enters] = (lParam & 0x40000000) != 0;
        s_full.flags[s_full.enters] = Render_IsFullscreen();
        s_full.enters++;
    }
}

const Scenario Scenario_Fullscreen = {"fullscreen", Full_Begin, Full_Step, Full_Message, NULL};
