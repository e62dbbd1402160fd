// Keyboard forwarding: sided modifiers, auto-repeat, wide codes, system keys, Alt+Enter.
#include "core/core.h"
#include "testcore.h"
#include "input_support.h"

enum {
    KEYS_SETTLE_FRAMES = 3, // real input is taken before the next frame; allow a few
    KEYS_WAIT_FRAMES = 60,
    KEYS_MAX_MESSAGES = 6,
    KEYS_MAX_CALLS = 8,
    LP_DOWN = 0x00000001,
    LP_REPEAT = 0x40000001, // bit 30: the key was already down
    LP_UP = 0xC0000001,     // bits 30 and 31 are always set on a release
    LP_ALT = 0x20000000     // bit 29: Alt held
};

#define PRESS(vk)                                                                                  \
    {                                                                                              \
        CALL_KEYBOARD_PRESS, vk, 0                                                                 \
    }
#define RELEASE(vk)                                                                                \
    {                                                                                              \
        CALL_KEYBOARD_RELEASE, vk, 0                                                               \
    }
#define EVENT(code, value)                                                                         \
    {                                                                                              \
        CALL_INPUT_EVENT, code, value                                                              \
    }

struct KeysMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages sent with the listed keys down in the thread's key state, and the calls they give.
struct KeysCase {
    const char *what;
    uint8_t held[4];
    KeysMessage messages[KEYS_MAX_MESSAGES];
    ExpectedCall calls[KEYS_MAX_CALLS];
};

static const KeysCase keys_cases[] = {
    {"left Shift pressed while the right one is up",
     {VK_SHIFT, VK_LSHIFT},
     {{WM_KEYDOWN, VK_SHIFT, 0x002A0001}},
     {PRESS(0x10), EVENT(0x10, 8), PRESS(0xA0), RELEASE(0xA1)}},
    {"Shift released while the right one is still down",
     {VK_SHIFT, VK_RSHIFT},
     {{WM_KEYUP, VK_SHIFT, (LPARAM)0xC02A0001}},
     {RELEASE(0x10), EVENT(0x10, 2), RELEASE(0xA0), PRESS(0xA1)}},
    {"Ctrl pressed with both Ctrl keys down",
     {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
     {{WM_KEYDOWN, VK_CONTROL, LP_DOWN}},
     {PRESS(0x11), EVENT(0x11, 8), PRESS(0xA2), PRESS(0xA3)}},
    {"right Alt pressed as a plain key (Ctrl held)",
     {VK_MENU, VK_RMENU, VK_CONTROL, VK_LCONTROL},
     {{WM_KEYDOWN, VK_MENU, LP_DOWN}},
     {PRESS(0x12), EVENT(0x12, 8), RELEASE(0xA4), PRESS(0xA5)}},
    {"Alt released",
     {0},
     {{WM_KEYUP, VK_MENU, (LPARAM)LP_UP}},
     {RELEASE(0x12), EVENT(0x12, 2), RELEASE(0xA4), RELEASE(0xA5)}},
    {"a held key forwards one press and one release",
     {0},
     {{WM_KEYDOWN, 'B', LP_DOWN},
      {WM_KEYDOWN, 'B', LP_REPEAT},
      {WM_KEYDOWN, 'B', LP_REPEAT},
      {WM_KEYDOWN, 'B', LP_REPEAT},
      {WM_KEYUP, 'B', (LPARAM)LP_UP}},
     {PRESS('B'), EVENT('B', 8), RELEASE('B'), EVENT('B', 2)}},
    {"auto-repeats of Shift report nothing, not even the sided keys",
     {VK_SHIFT, VK_LSHIFT},
     {{WM_KEYDOWN, VK_SHIFT, LP_REPEAT}, {WM_KEYDOWN, VK_SHIFT, LP_REPEAT}},
     {}},
    {"a code above 0xFF: whole to the key calls, low byte as the event",
     {0},
     {{WM_KEYDOWN, 0x1234, LP_DOWN}, {WM_KEYUP, 0x1234, (LPARAM)LP_UP}},
     {PRESS(0x1234), EVENT(0x34, 8), RELEASE(0x1234), EVENT(0x34, 2)}},
    {"a code whose low byte is Shift reports no sided keys",
     {VK_SHIFT, VK_LSHIFT},
     {{WM_KEYDOWN, 0x110, LP_DOWN}},
     {PRESS(0x110), EVENT(0x10, 8)}},
    {"a code with the top bit set",
     {0},
     {{WM_KEYDOWN, 0x80000041u, LP_DOWN}},
     {PRESS(0x80000041u), EVENT(0x41, 8)}},
    {"system keys are never forwarded",
     {VK_MENU, VK_LMENU},
     {{WM_SYSKEYDOWN, VK_F4, 0x203E0001},
      {WM_SYSKEYDOWN, 'X', 0x202D0001},
      {WM_SYSKEYDOWN, VK_MENU, 0x20380001},
      {WM_SYSKEYDOWN, VK_F10, 0x00440001},
      {WM_SYSKEYUP, VK_F4, (LPARAM)0xE03E0001},
      {WM_SYSKEYDOWN, VK_RETURN, 0x601C0001}},
     {}},
};

static struct {
    HWND window;
    uint32_t stage;
    uint32_t from;    // record index where the stage's input began
    uint32_t since;   // frame the stage began
    uint32_t closes;  // WM_CLOSE seen
    uint32_t enters;  // Alt+Enter messages seen in this stage
    uint8_t flags[4]; // fullscreen flag after each of them
    bool repeats[4];  // whether each carried the repeat bit
} s_keys;

// A list ends at its first zero entry (Kernel_Initialize is never expected).
static uint32_t Keys_CallCount(const ExpectedCall *calls)
{
    uint32_t count = 0;
    while (count < KEYS_MAX_CALLS && calls[count].call != 0)
        count++;
    return count;
}

static void Keys_RunCase(const KeysCase *test)
{
    Keys_ClearAll();
    for (int i = 0; i < 4 && test->held[i]; i++)
        Keys_SetDown(test->held[i], true);
    uint32_t from = Record_Count();
    bool results_ok = true;
    for (uint32_t i = 0; i < KEYS_MAX_MESSAGES && test->messages[i].message; i++) {
        const KeysMessage *m = &test->messages[i];
        LRESULT result = SendMessageA(s_keys.window, m->message, m->wParam, m->lParam);
        // Key messages give the default procedure's result (0), system key presses 1.
        if (m->message == WM_SYSKEYDOWN)
            results_ok = results_ok && result == 1;
        else if (m->message != WM_SYSKEYUP)
            results_ok = results_ok && result == 0;
    }
    Expect_InputCalls(test->what, from, test->calls, Keys_CallCount(test->calls));
    if (!results_ok)
        Log_Fail(test->what, "a message gave another result than 1 (system key) or 0");
    Keys_ClearAll();
}

// Alt+Enter through key messages: one switch per press, none for the repeat, and back.
static void Keys_AltEnterMessages(void)
{
    uint32_t from = Record_Count();
    SendMessageA(s_keys.window, WM_SYSKEYDOWN, VK_RETURN, 0x201C0001);
    uint8_t first = Render_IsFullscreen();
    SendMessageA(s_keys.window, WM_SYSKEYDOWN, VK_RETURN, 0x601C0001);
    uint8_t held = Render_IsFullscreen();
    SendMessageA(s_keys.window, WM_SYSKEYDOWN, VK_RETURN, 0x201C0001);
    uint8_t second = Render_IsFullscreen();
    Log_Check(first == 1 && held == 1 && second == 0,
              "Alt+Enter messages: on, a repeat changes nothing, off again",
              "fullscreen flag %u, %u, %u", first, held, second);
    Expect_KeyCalls("Alt+Enter messages are not forwarded", from, NULL, 0);
}

static void Keys_Begin(const char *tail)
{
    (void)tail;
    s_keys.window = Hook_Window();
}

static bool Keys_Arrived(uint32_t count, uint32_t frame)
{
    if (frame < s_keys.since + KEYS_SETTLE_FRAMES)
        return false;
    return Expect_CountInputCalls(s_keys.from) >= count || frame >= s_keys.since + KEYS_WAIT_FRAMES;
}

static void Keys_Start(uint32_t frame)
{
    s_keys.from = Record_Count();
    s_keys.since = frame;
    s_keys.enters = 0;
    s_keys.stage++;
}

// Real keys: left Shift, a held A, right Ctrl (an extended key).
static const ExpectedCall keys_real_typing[] = {
    PRESS(0x10),    EVENT(0x10, 8), PRESS(0xA0),    RELEASE(0xA1),  RELEASE(0x10),
    EVENT(0x10, 2), RELEASE(0xA0),  RELEASE(0xA1),  PRESS('A'),     EVENT('A', 8),
    RELEASE('A'),   EVENT('A', 2),  PRESS(0x11),    EVENT(0x11, 8), RELEASE(0xA2),
    PRESS(0xA3),    RELEASE(0x11),  EVENT(0x11, 2), RELEASE(0xA2),  RELEASE(0xA3)};

// After another key was pressed with it, Alt comes up as a plain key release.
static const ExpectedCall keys_real_alt_release[] = {RELEASE(0x12), EVENT(0x12, 2), RELEASE(0xA4),
                                                     RELEASE(0xA5)};

static void Keys_InjectTyping(void)
{
    Inject_Key(VK_LSHIFT, false, false);
    Inject_Key(VK_LSHIFT, true, false);
    Inject_Key('A', false, false);
    Inject_Key('A', false, false);
    Inject_Key('A', true, false);
    Inject_Key(VK_RCONTROL, false, true);
    Inject_Key(VK_RCONTROL, true, true);
}

static void Keys_InjectAltWith(uint16_t vk, bool hold)
{
    Inject_Key(VK_MENU, false, false);
    Inject_Key(vk, false, false);
    if (hold)
        Inject_Key(vk, false, false);
    Inject_Key(vk, true, false);
    Inject_Key(VK_MENU, true, false);
}

static void Keys_CheckRealAltEnter(uint8_t expected)
{
    // The window may move under the pointer, which gives mouse calls: only keys count here.
    Expect_KeyCalls("real Alt+Enter: only the Alt release is forwarded", s_keys.from,
                    keys_real_alt_release, 4);
    bool ok = s_keys.enters == 2 && !s_keys.repeats[0] && s_keys.flags[0] == expected &&
              s_keys.repeats[1] && s_keys.flags[1] == expected;
    Log_Check(ok,
              expected ? "real Alt+Enter switches on once, holding Enter does not switch"
                       : "real Alt+Enter switches off once, holding Enter does not switch",
              "%u Enter presses seen; flags %u, %u", s_keys.enters, s_keys.flags[0],
              s_keys.flags[1]);
}

// The display here lists neither 640 x 400 nor 640 x 480: fullscreen takes its first mode.
static void Keys_CheckFirstListedMode(void)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(NULL, 0, &mode) ||
        (mode.dmPelsWidth == 640 && (mode.dmPelsHeight == 400 || mode.dmPelsHeight == 480)))
        return;
    char line[128];
    _snprintf(line, sizeof line - 1,
              "[Render]] FindFullscreenMode: 640x400 and 640x480 are not supported, using %lux%lu",
              (unsigned long)mode.dmPelsWidth, (unsigned long)mode.dmPelsHeight);
    line[sizeof line - 1] = 0;
    const char *out = Expect_ReadStdout();
    Log_Check(out && Expect_HasLineStarting(out, line),
              "without 640 x 400 or 640 x 480 fullscreen takes the first listed mode",
              "no line \"%s\" on stdout", line);
}

static ScenarioStep Keys_Step(uint32_t frame)
{
    switch (s_keys.stage) {
    case 0:
        for (uint32_t i = 0; i < sizeof keys_cases / sizeof keys_cases[0]; i++)
            Keys_RunCase(&keys_cases[i]);
        Keys_AltEnterMessages();
        // The window takes the focus only from mouse buttons; without it keys come as system
        // keys.
        SetFocus(s_keys.window);
        Keys_ClearAll();
        Keys_Start(frame);
        Keys_InjectTyping();
        return STEP_CONTINUE;
    case 1:
        if (!Keys_Arrived(20, frame))
            return STEP_CONTINUE;
        Expect_InputCalls("real keys: left Shift, a held key, right Ctrl", s_keys.from,
                          keys_real_typing, 20);
        Keys_Start(frame);
        Keys_InjectAltWith(VK_RETURN, true);
        return STEP_CONTINUE;
    case 2:
        if (!Keys_Arrived(4, frame))
            return STEP_CONTINUE;
        Keys_CheckRealAltEnter(1);
        Keys_Start(frame);
        Keys_InjectAltWith(VK_RETURN, true);
        return STEP_CONTINUE;
    case 3:
        if (!Keys_Arrived(4, frame))
            return STEP_CONTINUE;
        Keys_CheckRealAltEnter(0);
        Keys_Start(frame);
        s_keys.closes = 0;
        Keys_InjectAltWith(VK_F4, false);
        return STEP_CONTINUE;
    case 4:
        // Give a close every chance to happen.
        if (!Keys_Arrived(4, frame) || frame < s_keys.since + 10)
            return STEP_CONTINUE;
        Expect_KeyCalls("real Alt+F4: only the Alt release is forwarded", s_keys.from,
                        keys_real_alt_release, 4);
        Log_Check(s_keys.closes == 0 && IsWindowVisible(s_keys.window),
                  "Alt+F4 does not close the window", "%u WM_CLOSE", s_keys.closes);
        Keys_CheckFirstListedMode();
        return STEP_CLOSE;
    }
    return STEP_CLOSE;
}

static void Keys_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    if (message == WM_CLOSE)
        s_keys.closes++;
    if (message == WM_SYSKEYDOWN && wParam == VK_RETURN && s_keys.enters < 4) {
        s_keys.repeats[s_keys.enters] = (lParam & 0x40000000) != 0;
        s_keys.flags[s_keys.enters] = Render_IsFullscreen();
        s_keys.enters++;
    }
}

const Scenario Scenario_Keys = {"keys", Keys_Begin, Keys_Step, Keys_Message, NULL};
