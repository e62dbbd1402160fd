// Keyboard forwarding: key messages under a chosen key state, the keys still down released
// when the focus goes, and real keys as a keyboard gives them.
#include "tests/core/testcore.h"

enum { KEYS_SETTLE_FRAMES = 3 }; // focus changes and real input come at the next message pass
// A key message's lParam: pressed, pressed again while down (bit 30), released.
enum { LP_DOWN = 0x00000001, LP_REPEAT = 0x40000001, LP_UP = (int32_t)0xC0000001 };

struct KeysMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages sent with the listed keys down, and the calls they must give.
static const struct {
    const char *what;
    struct {
        uint8_t held[4];
        KeysMessage messages[6];
    } sent;
    Expected calls[8];
} keys_cases[] = {
    {"left Shift pressed while the right one is up",
     {{VK_SHIFT, VK_LSHIFT}, {{WM_KEYDOWN, VK_SHIFT, 0x002A0001}}},
     {KEY_DOWN(0x10), PRESS(0xA0), RELEASE(0xA1)}},
    {"Shift released while the right one is still down",
     {{VK_SHIFT, VK_RSHIFT}, {{WM_KEYUP, VK_SHIFT, LP_UP}}},
     {KEY_UP(0x10), RELEASE(0xA0), PRESS(0xA1)}},
    {"Ctrl pressed with both Ctrl keys down",
     {{VK_CONTROL, VK_LCONTROL, VK_RCONTROL}, {{WM_KEYDOWN, VK_CONTROL, LP_DOWN}}},
     {KEY_DOWN(0x11), PRESS(0xA2), PRESS(0xA3)}},
    {"right Alt pressed as a plain key (Ctrl held)",
     {{VK_MENU, VK_RMENU, VK_CONTROL, VK_LCONTROL}, {{WM_KEYDOWN, VK_MENU, LP_DOWN}}},
     {KEY_DOWN(0x12), RELEASE(0xA4), PRESS(0xA5)}},
    {"a held key forwards one press and one release",
     {{0}, {{WM_KEYDOWN, 'B', LP_DOWN}, {WM_KEYDOWN, 'B', LP_REPEAT}, {WM_KEYUP, 'B', LP_UP}}},
     {KEY_DOWN('B'), KEY_UP('B')}},
    {"auto-repeats of Shift report nothing, not even the sided keys",
     {{VK_SHIFT, VK_LSHIFT}, {{WM_KEYDOWN, VK_SHIFT, LP_REPEAT}}},
     {}},
    {"a code above 0xFF: whole to the key calls, low byte as the event; no sided keys",
     {{VK_SHIFT, VK_LSHIFT}, {{WM_KEYDOWN, 0x110, LP_DOWN}, {WM_KEYUP, 0x110, LP_UP}}},
     {KEY_DOWN(0x110), KEY_UP(0x110)}},
    {"system keys are never forwarded, Alt+F4 and Alt+Enter's repeat included",
     {{VK_MENU, VK_LMENU},
      {{WM_SYSKEYDOWN, 0x73 /* F4 */, 0x203E0001},
       {WM_SYSKEYDOWN, VK_MENU, 0x20380001},
       {WM_SYSKEYDOWN, 0x79 /* F10 */, 0x00440001},
       {WM_SYSKEYDOWN, VK_RETURN, 0x601C0001}}},
     {}},
};

// The focus goes while Shift, B and right Alt are down: each is released, in the order pressed.
static const KeysMessage keys_typed[] = {
    {WM_KEYDOWN, VK_SHIFT, 0x002A0001}, {WM_KEYDOWN, 'A', LP_DOWN},
    {WM_KEYDOWN, 'B', LP_DOWN},         {WM_KEYUP, 'A', LP_UP},
    {WM_KEYDOWN, VK_MENU, 0x21380001},  {0, 0, 0}};
static const Expected keys_focus_lost[] = {KEY_UP(0x10), RELEASE(0xA0), KEY_UP('B'),
                                           KEY_UP(0x12), RELEASE(0xA5), {}};

// Real keys: left Shift, a held A, right Ctrl (an extended key).
static const Expected keys_real[] = {
    KEY_DOWN(0x10), PRESS(0xA0),   RELEASE(0xA1), KEY_UP(0x10),   RELEASE(0xA0),
    RELEASE(0xA1),  KEY_DOWN('A'), KEY_UP('A'),   KEY_DOWN(0x11), RELEASE(0xA2),
    PRESS(0xA3),    KEY_UP(0x11),  RELEASE(0xA2), RELEASE(0xA3),  {}};
static const uint8_t keys_strokes[][2] = {{VK_LSHIFT, 1}, {'A', 2}, {VK_RCONTROL, 1}}; // presses

static const Expected keys_none[] = {{}};

static struct {
    uint32_t stage, since, from;
} s_keys;

// Sends the messages with the keys held down (held null: the key state as it is).
static void Keys_Send(const uint8_t *held, const KeysMessage *messages, const char *what)
{
    if (held)
        Probe_SetKeyState(0, false); // every key up, then the held ones down
    for (int i = 0; held && i < 4 && held[i]; i++)
        Probe_SetKeyState(held[i], true);
    for (int i = 0; i < 6 && messages[i].message; i++) {
        LRESULT r = SendMessageA(Scenario_Window(), messages[i].message, messages[i].wParam,
                                 messages[i].lParam);
        // Key messages give the default procedure's result (0), system key presses 1.
        if (r != (messages[i].message == WM_SYSKEYDOWN ? 1 : 0))
            Log_Check(false, what, "message %d gave %d", i, (int)r);
    }
}

static void Keys_Messages(void)
{
    for (const auto &c : keys_cases) {
        uint32_t from = Record_Count();
        Keys_Send(c.sent.held, c.sent.messages, c.what);
        Expect_Calls(c.what, from, c.calls, false);
    }
    // Alt+Enter and its repeat: on, then off again; nothing forwarded.
    static const KeysMessage enter[] = {
        {WM_SYSKEYDOWN, VK_RETURN, 0x201C0001}, {WM_SYSKEYDOWN, VK_RETURN, 0x601C0001}, {0, 0, 0}};
    uint32_t from = Record_Count();
    Keys_Send(NULL, enter, "Alt+Enter");
    uint8_t on = Render_IsFullscreen();
    Keys_Send(NULL, enter, "Alt+Enter");
    Log_Check(on == 1 && Render_IsFullscreen() == 0, "Alt+Enter messages switch on, then off",
              "flags %u, %u", on, Render_IsFullscreen());
    Expect_Calls("Alt+Enter is not forwarded", from, keys_none, true);
}

static ScenarioStep Keys_Step(uint32_t frame)
{
    static const uint8_t typedHeld[] = {VK_SHIFT, VK_LSHIFT, VK_MENU, VK_RMENU};
    HWND window = Scenario_Window();
    if (s_keys.stage > 0 && frame < s_keys.since + KEYS_SETTLE_FRAMES)
        return STEP_CONTINUE;
    switch (s_keys.stage) {
    case 0:
        Keys_Messages();
        Probe_Activate(window, true); // the keys the messages left down are let go
        break;
    case 1:
        Probe_Activate(window, false);
        Keys_Send(typedHeld, keys_typed, "keys typed before the focus goes");
        Probe_SetKeyState(0, false);
        s_keys.from = Record_Count();
        Probe_Activate(window, true);
        break;
    case 2:
        Expect_Calls("focus lost: the keys still down are released in the order pressed",
                     s_keys.from, keys_focus_lost, true);
        s_keys.from = Record_Count();
        Probe_Activate(window, false);
        Probe_Activate(window, true);
        break;
    case 3:
        Expect_Calls("focus lost again: nothing is released twice", s_keys.from, keys_none, true);
        Probe_Activate(window, false);
        break;
    case 4:
        s_keys.from = Record_Count();
        for (const auto &k : keys_strokes) // the presses, then the release
            for (int i = 0; i <= k[1]; i++)
                Probe_Key(k[0], i == k[1]);
        break;
    case 5:
        Expect_Calls("real keys: left Shift, a held key, right Ctrl", s_keys.from, keys_real, true);
        Log_Digest("real keys", Record_InputDigest(s_keys.from, true));
        Probe_Key('C', false);
        break;
    case 6:
        // The key let go as the focus goes: natively both come in one pass, and Windows sends
        // no key message after the focus is gone.
        s_keys.from = Record_Count();
        Probe_Key('C', true);
        Probe_Activate(window, true);
        break;
    default:
        static const Expected released[] = {KEY_UP('C'), {}};
        Expect_Calls("a key let go as the focus goes: released once", s_keys.from, released, true);
        return STEP_CLOSE;
    }
    s_keys.stage++;
    s_keys.since = frame;
    return STEP_CONTINUE;
}

const Scenario Scenario_Keys = {"keys", NULL, Keys_Step, NULL, NULL, false};
