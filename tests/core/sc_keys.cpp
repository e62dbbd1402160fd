// Keyboard forwarding: key messages under a chosen key state (sided modifiers reported again,
// auto-repeats dropped, wide codes, system keys never forwarded, Alt+Enter once per press), the
// keys still down released when the focus goes, then real keys as a keyboard gives them.
#include "tests/core/testcore.h"

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
#define END                                                                                        \
    {                                                                                              \
        0, 0, 0                                                                                    \
    }

enum {
    KEYS_SETTLE_FRAMES = 3, // real input is taken before the next frame; allow a few
    KEYS_WAIT_FRAMES = 60,
    LP_DOWN = 0x00000001,
    LP_REPEAT = 0x40000001, // bit 30: the key was already down
    LP_UP = (int32_t)0xC0000001
};

struct KeysMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages sent with the listed keys down, and the calls they must give.
static const struct {
    const char *what;
    uint8_t held[4];
    KeysMessage messages[6];
    Expected calls[8];
} keys_cases[] = {
    {"left Shift pressed while the right one is up",
     {VK_SHIFT, VK_LSHIFT},
     {{WM_KEYDOWN, VK_SHIFT, 0x002A0001}},
     {PRESS(0x10), EVENT(0x10, 8), PRESS(0xA0), RELEASE(0xA1), END}},
    {"Shift released while the right one is still down",
     {VK_SHIFT, VK_RSHIFT},
     {{WM_KEYUP, VK_SHIFT, LP_UP}},
     {RELEASE(0x10), EVENT(0x10, 2), RELEASE(0xA0), PRESS(0xA1), END}},
    {"Ctrl pressed with both Ctrl keys down",
     {VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
     {{WM_KEYDOWN, VK_CONTROL, LP_DOWN}},
     {PRESS(0x11), EVENT(0x11, 8), PRESS(0xA2), PRESS(0xA3), END}},
    {"right Alt pressed as a plain key (Ctrl held)",
     {VK_MENU, VK_RMENU, VK_CONTROL, VK_LCONTROL},
     {{WM_KEYDOWN, VK_MENU, LP_DOWN}},
     {PRESS(0x12), EVENT(0x12, 8), RELEASE(0xA4), PRESS(0xA5), END}},
    {"a held key forwards one press and one release",
     {0},
     {{WM_KEYDOWN, 'B', LP_DOWN},
      {WM_KEYDOWN, 'B', LP_REPEAT},
      {WM_KEYDOWN, 'B', LP_REPEAT},
      {WM_KEYUP, 'B', LP_UP}},
     {PRESS('B'), EVENT('B', 8), RELEASE('B'), EVENT('B', 2), END}},
    {"auto-repeats of Shift report nothing, not even the sided keys",
     {VK_SHIFT, VK_LSHIFT},
     {{WM_KEYDOWN, VK_SHIFT, LP_REPEAT}, {WM_KEYDOWN, VK_SHIFT, LP_REPEAT}},
     {END}},
    {"a code above 0xFF: whole to the key calls, low byte as the event",
     {0},
     {{WM_KEYDOWN, 0x1234, LP_DOWN}, {WM_KEYUP, 0x1234, LP_UP}},
     {PRESS(0x1234), EVENT(0x34, 8), RELEASE(0x1234), EVENT(0x34, 2), END}},
    {"a code whose low byte is Shift reports no sided keys",
     {VK_SHIFT, VK_LSHIFT},
     {{WM_KEYDOWN, 0x110, LP_DOWN}, {WM_KEYUP, 0x110, LP_UP}},
     {PRESS(0x110), EVENT(0x10, 8), RELEASE(0x110), EVENT(0x10, 2), END}},
    {"system keys are never forwarded",
     {VK_MENU, VK_LMENU},
     {{WM_SYSKEYDOWN, 0x73 /* F4 */, 0x203E0001},
      {WM_SYSKEYDOWN, 'X', 0x202D0001},
      {WM_SYSKEYDOWN, VK_MENU, 0x20380001},
      {WM_SYSKEYDOWN, 0x79 /* F10 */, 0x00440001},
      {WM_SYSKEYDOWN, VK_RETURN, 0x601C0001}},
     {END}},
};

// The focus goes while Shift, B and right Alt are down (A went up before): the core is told
// each is up, in the order they went down, the sided keys as their presses said.
static const Expected keys_focus_lost[] = {RELEASE(0x10),  EVENT(0x10, 2), RELEASE(0xA0),
                                           RELEASE('B'),   EVENT('B', 2),  RELEASE(0x12),
                                           EVENT(0x12, 2), RELEASE(0xA5),  END};

// Real keys: left Shift, a held A, right Ctrl (an extended key).
static const Expected keys_typing[] = {PRESS(0x10),   EVENT(0x10, 8), PRESS(0xA0),
                                       RELEASE(0xA1), RELEASE(0x10),  EVENT(0x10, 2),
                                       RELEASE(0xA0), RELEASE(0xA1),  PRESS('A'),
                                       EVENT('A', 8), RELEASE('A'),   EVENT('A', 2),
                                       PRESS(0x11),   EVENT(0x11, 8), RELEASE(0xA2),
                                       PRESS(0xA3),   RELEASE(0x11),  EVENT(0x11, 2),
                                       RELEASE(0xA2), RELEASE(0xA3),  END};

// After another key was pressed with it, Alt comes up as a plain key: a release without a
// press, which the core takes as harmless.
static const Expected keys_alt_release[] = {RELEASE(0x12), EVENT(0x12, 2), RELEASE(0xA4),
                                            RELEASE(0xA5), END};

static struct {
    uint32_t stage;
    uint32_t from;  // record index where the stage's input began
    uint32_t since; // frame the stage began
    uint32_t closes;
    uint32_t enters;  // Alt+Enter presses seen in the stage
    uint8_t flags[4]; // fullscreen flag after each
    bool repeats[4];
} s_keys;

static void Keys_Send(const KeysMessage *messages, const char *what)
{
    bool results = true;
    for (int i = 0; i < 6 && messages[i].message; i++) {
        LRESULT r = SendMessageA(Scenario_Window(), messages[i].message, messages[i].wParam,
                                 messages[i].lParam);
        // Key messages give the default procedure's result (0), system key presses 1.
        results = results && r == (messages[i].message == WM_SYSKEYDOWN ? 1 : 0);
    }
    if (!results)
        Log_Check(false, what, "a message gave another result than 1 or 0");
}

static void Keys_Messages(void)
{
    for (const auto &c : keys_cases) {
        Probe_SetKeyState(0, false);
        for (int i = 0; i < 4 && c.held[i]; i++)
            Probe_SetKeyState(c.held[i], true);
        uint32_t from = Record_Count();
        Keys_Send(c.messages, c.what);
        Expect_Calls(c.what, from, c.calls, false);
    }
    // Alt+Enter: on, a repeat changes nothing, off again; nothing forwarded.
    static const KeysMessage enter[] = {{WM_SYSKEYDOWN, VK_RETURN, 0x201C0001}, {0, 0, 0}};
    static const KeysMessage held[] = {{WM_SYSKEYDOWN, VK_RETURN, 0x601C0001}, {0, 0, 0}};
    uint32_t from = Record_Count();
    Keys_Send(enter, "Alt+Enter");
    uint8_t first = Render_IsFullscreen();
    Keys_Send(held, "Alt+Enter held");
    uint8_t repeat = Render_IsFullscreen();
    Keys_Send(enter, "Alt+Enter");
    Log_Check(first == 1 && repeat == 1 && Render_IsFullscreen() == 0,
              "Alt+Enter messages: on, a repeat changes nothing, off again", "flags %u, %u, %u",
              first, repeat, Render_IsFullscreen());
    static const Expected none[] = {END};
    Expect_Calls("Alt+Enter is not forwarded", from, none, true);
}

// Keys typed with the focus: Shift (the left one), A pressed and released, B, right Alt.
static void Keys_Type(void)
{
    static const KeysMessage typed[] = {
        {WM_KEYDOWN, VK_SHIFT, 0x002A0001}, {WM_KEYDOWN, 'A', LP_DOWN},
        {WM_KEYDOWN, 'B', LP_DOWN},         {WM_KEYUP, 'A', LP_UP},
        {WM_KEYDOWN, VK_MENU, 0x21380001},  {0, 0, 0}};
    static const uint8_t held[] = {VK_SHIFT, VK_LSHIFT, VK_MENU, VK_RMENU};
    Probe_SetKeyState(0, false);
    for (uint8_t vk : held)
        Probe_SetKeyState(vk, true);
    Keys_Send(typed, "keys typed before the focus goes");
    Probe_SetKeyState(0, false);
}

static void Keys_Start(uint32_t frame)
{
    s_keys.from = Record_Count();
    s_keys.since = frame;
    s_keys.enters = 0;
    s_keys.stage++;
}

static bool Keys_Arrived(const Expected *calls, uint32_t frame)
{
    uint32_t want = 0;
    while (calls[want].code)
        want++;
    uint32_t got = 0;
    for (uint32_t i = s_keys.from; i < Record_Count(); i++)
        got += Record_Get(i)->code >= CALL_KEYBOARD_PRESS && Record_Get(i)->code < CALL_COUNT;
    return frame >= s_keys.since + KEYS_SETTLE_FRAMES &&
           (got >= want || frame >= s_keys.since + KEYS_WAIT_FRAMES);
}

static void Keys_AltWith(uint8_t vk, bool hold)
{
    Probe_Key(VK_MENU, false);
    Probe_Key(vk, false);
    if (hold)
        Probe_Key(vk, false);
    Probe_Key(vk, true);
    Probe_Key(VK_MENU, true);
}

static void Keys_CheckReal(const char *what, const Expected *calls)
{
    // The window may move under the pointer, which gives mouse calls: only keys count here.
    Expect_Calls(what, s_keys.from, calls, true);
    Log_Digest(what, Record_InputDigest(s_keys.from, true));
}

static void Keys_CheckAltEnter(uint8_t expected)
{
    Keys_CheckReal("real Alt+Enter: only the Alt release is forwarded", keys_alt_release);
    bool ok = s_keys.enters == 2 && !s_keys.repeats[0] && s_keys.flags[0] == expected &&
              s_keys.repeats[1] && s_keys.flags[1] == expected;
    Log_Check(ok, "real Alt+Enter switches once, holding Enter does not switch again",
              "%u presses seen; flags %u, %u", s_keys.enters, s_keys.flags[0], s_keys.flags[1]);
}

// Without 640 x 400 or 640 x 480 listed, fullscreen takes the display's first mode and says so.
static void Keys_CheckFirstListedMode(void)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    bool classic = false;
    for (DWORD n = 0; EnumDisplaySettingsA(0, n, &mode); n++)
        classic = classic || (mode.dmPelsWidth == 640 &&
                              (mode.dmPelsHeight == 400 || mode.dmPelsHeight == 480));
    if (classic || !EnumDisplaySettingsA(0, 0, &mode))
        return;
    char line[128];
    snprintf(line, sizeof line,
             "[Render]] FindFullscreenMode: 640x400 and 640x480 are not supported, using %ux%u",
             (unsigned)mode.dmPelsWidth, (unsigned)mode.dmPelsHeight);
    const char *out = Log_ReadStdout();
    Log_Check(out && strstr(out, line), "without a classic mode fullscreen takes the first listed",
              "no line \"%s\" on stdout", line);
}

static void Keys_Begin(const char *) {}

static ScenarioStep Keys_Step(uint32_t frame)
{
    static const Expected none[] = {END};
    HWND window = Scenario_Window();
    // Focus changes and real input reach the window at the next message pass, on some
    // platforms: each stage waits a few frames before it looks.
    if (s_keys.stage > 0 && frame < s_keys.since + KEYS_SETTLE_FRAMES)
        return STEP_CONTINUE;
    switch (s_keys.stage) {
    case 0:
        Keys_Messages();
        Probe_Activate(window, true); // the messages' keys are let go
        break;
    case 1:
        Probe_Activate(window, false);
        Keys_Type();
        Keys_Start(frame);
        Probe_Activate(window, true);
        return STEP_CONTINUE;
    case 2:
        Expect_Calls("focus lost: the keys still down are released in the order pressed",
                     s_keys.from, keys_focus_lost, true);
        Keys_Start(frame);
        Probe_Activate(window, false);
        Probe_Activate(window, true);
        return STEP_CONTINUE;
    case 3:
        Expect_Calls("focus lost again: nothing is released twice", s_keys.from, none, true);
        Probe_Activate(window, false);
        break;
    case 4:
        Keys_Start(frame);
        Probe_Key(VK_LSHIFT, false);
        Probe_Key(VK_LSHIFT, true);
        Probe_Key('A', false);
        Probe_Key('A', false);
        Probe_Key('A', true);
        Probe_Key(VK_RCONTROL, false);
        Probe_Key(VK_RCONTROL, true);
        return STEP_CONTINUE;
    case 5:
        if (!Keys_Arrived(keys_typing, frame))
            return STEP_CONTINUE;
        Keys_CheckReal("real keys: left Shift, a held key, right Ctrl", keys_typing);
        Keys_Start(frame);
        Keys_AltWith(VK_RETURN, true);
        return STEP_CONTINUE;
    case 6:
    case 7:
        if (!Keys_Arrived(keys_alt_release, frame))
            return STEP_CONTINUE;
        Keys_CheckAltEnter(s_keys.stage == 6 ? 1 : 0);
        Keys_Start(frame);
        s_keys.closes = 0;
        Keys_AltWith(s_keys.stage == 7 ? VK_RETURN : 0x73 /* F4 */, s_keys.stage == 7);
        return STEP_CONTINUE;
    case 8:
        // Give a close every chance to happen.
        if (!Keys_Arrived(keys_alt_release, frame) || frame < s_keys.since + 10)
            return STEP_CONTINUE;
        Keys_CheckReal("real Alt+F4: only the Alt release is forwarded", keys_alt_release);
        Log_Check(s_keys.closes == 0, "Alt+F4 does not close the window", "%u WM_CLOSE",
                  s_keys.closes);
        Keys_CheckFirstListedMode();
        return STEP_CLOSE;
    }
    Keys_Start(frame);
    return STEP_CONTINUE;
}

static void Keys_Message(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        s_keys.closes++;
    if (message == WM_SYSKEYDOWN && wParam == VK_RETURN && s_keys.enters < 4) {
        s_keys.repeats[s_keys.enters] = (lParam & 0x40000000) != 0;
        s_keys.flags[s_keys.enters] = Render_IsFullscreen();
        s_keys.enters++;
    }
}

const Scenario Scenario_Keys = {"keys", Keys_Begin, Keys_Step, Keys_Message, NULL, false};
