// Input forwarding, from the rows of the file named by CASES: key and mouse messages sent under
// a chosen state, real keys, pointer input and focus changes as the window system gives them,
// and joystick states; each with the input calls it must give and the state it must leave.
#include "tests/core/table.h"

// Focus changes and real input come at the next message pass; real input may take longer.
enum { INPUT_SETTLE_FRAMES = 3, INPUT_WAIT_FRAMES = 60, INPUT_CALLS = 24, INPUT_ITEMS = 16 };

// The words of the input field: the messages sent, then the rest in order.
enum { INPUT_MESSAGES = 9, INPUT_HELD = INPUT_MESSAGES, INPUT_AWAY, INPUT_BACK, INPUT_KEYPRESS };
enum { INPUT_KEYRELEASE = INPUT_KEYPRESS + 1, INPUT_TO, INPUT_BUTTONS, INPUT_JOY = INPUT_TO + 10 };
enum { INPUT_UNPLUG = INPUT_JOY + 1, INPUT_MARK, INPUT_THEN_MOVE = 256 /* the bit of thenmove */ };
static const char *const INPUT_WORDS[] = {
    "keydown", "keyup", "syskeydown", "mousemove", "lbuttondown", "lbuttonup", "rbuttonup",
    "mbuttondown", "mouseleave", "held", "away", "back", "keypress", "keyrelease", "to",
    // The PROBE_* bits in order, then a move queued behind the buttons.
    "leftdown", "leftup", "rightdown", "rightup", "middledown", "middleup", "stay", "screen",
    "thenmove", "joy", "unplug", "mark", NULL};
static const UINT INPUT_SENT[INPUT_MESSAGES] = {WM_KEYDOWN,   WM_KEYUP,       WM_SYSKEYDOWN,
                                                WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                                WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MOUSELEAVE};
// What the window procedure answers: key messages the default procedure's 0, system key
// presses and mouse messages 1.
static const LRESULT INPUT_RESULTS[INPUT_MESSAGES] = {0, 0, 1, 1, 1, 1, 1, 1, 1};

static struct {
    TableRow row;  // the row whose input is under way
    bool pending;  // its check waits for a later frame
    bool shown;    // the platform could give all of its input
    uint32_t from; // its calls are judged from this record index
    uint32_t since;
} s_input;

// Sends a message: a key message's wParam and lParam, or a mouse message's wParam, x and y.
static void Input_Send(const char *what, int word, const uint32_t *n)
{
    LPARAM lParam = (LPARAM)(word < 3 ? n[1] : (n[2] & 0xFFFF) << 16 | (n[1] & 0xFFFF));
    LRESULT result = SendMessageA(Scenario_Window(), INPUT_SENT[word], n[0], lParam);
    if (result != INPUT_RESULTS[word])
        Log_Check(false, what, "message 0x%x gave %d", INPUT_SENT[word], (int)result);
}

// Does the row's input in order; real pointer input (one a row) comes last.
static void Input_Do(const TableRow &row)
{
    HWND window = Scenario_Window();
    TableItem items[INPUT_ITEMS];
    int count = Table_Items(row.field[2], INPUT_WORDS, items, INPUT_ITEMS);
    const TableItem *to = NULL; // the pointer's move
    uint32_t buttons = 0;
    s_input.from = Record_Count();
    s_input.shown = true;
    for (int i = 0; i < count; i++) {
        const uint32_t *n = items[i].n;
        int word = items[i].word;
        JOYINFOEX joy = {
            sizeof(JOYINFOEX), 0, n[1], n[2], n[3], n[4], n[5], n[6], n[7], 0, n[8], 0, 0};
        if (word < INPUT_MESSAGES)
            Input_Send(row.field[0], word, n);
        if (word == INPUT_HELD) { // these keys down, every other up
            Probe_SetKeyState(0, false);
            for (int k = 0; k < TABLE_NUMBERS && n[k]; k++)
                Probe_SetKeyState((uint8_t)n[k], true);
        }
        if (word == INPUT_AWAY || word == INPUT_BACK)
            Probe_Activate(window, word == INPUT_AWAY);
        if (word == INPUT_KEYPRESS || word == INPUT_KEYRELEASE)
            Probe_Key((uint8_t)n[0], word == INPUT_KEYRELEASE);
        if (word == INPUT_TO)
            to = &items[i];
        if (word >= INPUT_BUTTONS && word < INPUT_JOY)
            buttons |= 1u << (word - INPUT_BUTTONS);
        if (word == INPUT_JOY || word == INPUT_UNPLUG)
            s_input.shown &= Probe_Joystick(n[0], word == INPUT_JOY ? &joy : NULL);
        if (word == INPUT_MARK)
            s_input.from = Record_Count();
    }
    if (to)
        Probe_Mouse(window, (int)to->n[0], (int)to->n[1], buttons & ~INPUT_THEN_MOVE);
    if (to && buttons & INPUT_THEN_MOVE)
        Probe_Mouse(window, (int)to->n[0], (int)to->n[1], 0);
}

// Judges the row's calls ("*": none judged) and the state it leaves.
static void Input_Check(const TableRow &row, const Expected *calls)
{
    static const char *const words[] = {"keysonly", "capture", "fullscreen", NULL};
    TableItem after[3];
    int count = Table_Items(row.field[4], words, after, 3);
    bool keysOnly = count > 0 && after[0].word == 0;
    if (!s_input.shown)
        Log_Line("skipped: %s (this platform cannot show it)", row.field[0]);
    else if (row.field[3][0] != '*')
        Expect_Calls(row.field[0], s_input.from, calls, keysOnly);
    for (int i = 0; i < count; i++) {
        uint32_t state = after[i].word == 1 ? GetCapture() == Scenario_Window()
                                            : (uint32_t)Render_IsFullscreen();
        if (after[i].word > 0 && state != after[i].n[0])
            Log_Check(false, row.field[0], "%s %u after it", words[after[i].word], state);
    }
}

static void Input_Begin(const char *)
{
    Table_Open("CASES");
}

ScenarioStep Input_Rows(uint32_t frame)
{
    Expected calls[INPUT_CALLS];
    if (s_input.pending) {
        Table_Calls(s_input.row.field[3], calls, INPUT_CALLS);
        uint32_t got = 0, want = 0;
        for (uint32_t k = s_input.from; k < Record_Count(); k++)
            got += Record_Get(k)->code >= CALL_KEYBOARD_PRESS && Record_Get(k)->code < CALL_COUNT;
        while (calls[want].code)
            want++;
        bool later = !strcmp(s_input.row.field[1], "later");
        if (later && (frame < s_input.since + INPUT_SETTLE_FRAMES ||
                      (got < want && frame < s_input.since + INPUT_WAIT_FRAMES)))
            return STEP_CONTINUE;
        Input_Check(s_input.row, calls);
    }
    while (Table_Next(&s_input.row)) {
        Input_Do(s_input.row);
        if ((s_input.pending = strcmp(s_input.row.field[1], "now") != 0)) {
            s_input.since = frame;
            return STEP_CONTINUE;
        }
        Table_Calls(s_input.row.field[3], calls, INPUT_CALLS);
        Input_Check(s_input.row, calls);
    }
    return STEP_CLOSE;
}

const Scenario Scenario_Keys = {"keys", Input_Begin, Input_Rows, NULL, NULL, false};
const Scenario Scenario_Mouse = {"mouse", Input_Begin, Input_Rows, NULL, NULL, false};
const Scenario Scenario_Joystick = {"joystick", Input_Begin, Input_Rows, NULL, NULL, false};
