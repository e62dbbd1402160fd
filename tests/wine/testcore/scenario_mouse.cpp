// Mouse forwarding: range, clamped drags, leaves, button order, capture, focus; real input too.
#include "core/core.h"
#include "testcore.h"
#include "input_support.h"

enum {
    MOUSE_SETTLE_FRAMES = 2,
    MOUSE_WAIT_FRAMES = 60,
    MOUSE_WALK_LENGTH = 600,
    FOCUS_ANY = 0, // focus not looked at
    FOCUS_FIRST,   // the window takes the focus, before the position is handled
    FOCUS_LAST,    // the window takes the focus, after the position is handled
};

#define MOVE(x, y)                                                                                 \
    {                                                                                              \
        CALL_MOUSE_MOVE, (uint32_t)(x), (uint32_t)(y)                                              \
    }
#define INSIDE(now)                                                                                \
    {                                                                                              \
        CALL_MOUSE_ISINWINDOW, now, 0                                                              \
    }
#define ENTER                                                                                      \
    {                                                                                              \
        CALL_MOUSE_ENTERWINDOW, 0, 0                                                               \
    }
#define LEAVE                                                                                      \
    {                                                                                              \
        CALL_MOUSE_LEAVEWINDOW, 0, 0                                                               \
    }
#define KEYPRESS(b)                                                                                \
    {                                                                                              \
        CALL_MOUSE_KEYPRESS, b, 0                                                                  \
    }
#define KEYRELEASE(b)                                                                              \
    {                                                                                              \
        CALL_MOUSE_KEYRELEASE, b, 0                                                                \
    }

// A message sent to the window, and what must hold afterwards.
struct MouseSend {
    UINT message;
    WPARAM buttons;
    int x, y;
    bool capture; // the window holds the capture afterwards
    int focus;
};

struct MouseCase {
    const char *what;
    MouseSend send;
    ExpectedCall calls[MODEL_MAX_CALLS];
};

// In order: each case starts from the state the previous ones left.
static const MouseCase mouse_cases[] = {
    {"a move to x = 0 is a leave", {WM_MOUSEMOVE, 0, 0, 50, false, FOCUS_ANY}, {LEAVE}},
    {"a move to y = 0 is a leave", {WM_MOUSEMOVE, 0, 50, 0, false, FOCUS_ANY}, {LEAVE}},
    {"(1, 1) moves, takes the capture, enters",
     {WM_MOUSEMOVE, 0, 1, 1, true, FOCUS_ANY},
     {MOVE(1, 1), INSIDE(0), ENTER}},
    {"(639, 399) is inside",
     {WM_MOUSEMOVE, 0, 639, 399, true, FOCUS_ANY},
     {MOVE(639, 399), INSIDE(1)}},
    {"(700, 300) without a button is a leave",
     {WM_MOUSEMOVE, 0, 700, 300, false, FOCUS_ANY},
     {LEAVE}},
    {"another move outside leaves again", {WM_MOUSEMOVE, 0, 640, 10, false, FOCUS_ANY}, {LEAVE}},
    {"back inside",
     {WM_MOUSEMOVE, 0, 320, 200, true, FOCUS_ANY},
     {MOVE(320, 200), INSIDE(0), ENTER}},
    {"(700, 300) with the left button is (639, 300), capture kept",
     {WM_MOUSEMOVE, MK_LBUTTON, 700, 300, true, FOCUS_ANY},
     {MOVE(639, 300)}},
    {"a left drag to (-5, 450) is (0, 399)",
     {WM_MOUSEMOVE, MK_LBUTTON, -5, 450, true, FOCUS_ANY},
     {MOVE(0, 399)}},
    {"a right drag to (32767, 32767) is (639, 399)",
     {WM_MOUSEMOVE, MK_RBUTTON, 32767, 32767, true, FOCUS_ANY},
     {MOVE(639, 399)}},
    {"a right drag to (-32768, -32768) is (0, 0)",
     {WM_MOUSEMOVE, MK_RBUTTON, -32768, -32768, true, FOCUS_ANY},
     {MOVE(0, 0)}},
    {"a drag to (65535, 65535) reads as (-1, -1): (0, 0)",
     {WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, 65535, 65535, true, FOCUS_ANY},
     {MOVE(0, 0)}},
    {"a left drag onto column 0 is (0, y)",
     {WM_MOUSEMOVE, MK_LBUTTON, 0, 123, true, FOCUS_ANY},
     {MOVE(0, 123)}},
    {"left release outside: the release, then the leave",
     {WM_LBUTTONUP, 0, 700, 300, false, FOCUS_ANY},
     {KEYRELEASE(1), LEAVE}},
    {"right press inside: focus, position, capture, press",
     {WM_RBUTTONDOWN, MK_RBUTTON, 100, 100, true, FOCUS_FIRST},
     {MOVE(100, 100), INSIDE(0), ENTER, KEYPRESS(2)}},
    {"right release outside: the leave, then the release",
     {WM_RBUTTONUP, 0, -1, 5, false, FOCUS_ANY},
     {LEAVE, KEYRELEASE(2)}},
    {"left press at x = 0: focus, clamped position, no capture, press",
     {WM_LBUTTONDOWN, MK_LBUTTON, 0, 200, false, FOCUS_FIRST},
     {MOVE(0, 200), KEYPRESS(1)}},
    {"left release inside: the release, then the position",
     {WM_LBUTTONUP, 0, 10, 10, true, FOCUS_ANY},
     {KEYRELEASE(1), MOVE(10, 10), INSIDE(0), ENTER}},
    {"a drag with only the middle button is a leave",
     {WM_MOUSEMOVE, MK_MBUTTON, 700, 300, false, FOCUS_ANY},
     {LEAVE}},
    {"middle press inside: position, then focus; no button",
     {WM_MBUTTONDOWN, MK_MBUTTON, 50, 60, true, FOCUS_LAST},
     {MOVE(50, 60), INSIDE(0), ENTER}},
    {"middle release outside is a leave", {WM_MBUTTONUP, 0, 800, 60, false, FOCUS_ANY}, {LEAVE}},
    {"middle release inside is a position",
     {WM_MBUTTONUP, 0, 50, 60, true, FOCUS_ANY},
     {MOVE(50, 60), INSIDE(0), ENTER}},
    {"a right press outside keeps the capture",
     {WM_RBUTTONDOWN, MK_RBUTTON, 900, -20, true, FOCUS_FIRST},
     {MOVE(639, 0), KEYPRESS(2)}},
    {"WM_MOUSELEAVE releases the capture and leaves",
     {WM_MOUSELEAVE, 0, 0, 0, false, FOCUS_ANY},
     {LEAVE}},
};

// Real pointer input: a move to a client position with button flags, or a button event alone.
struct MouseInject {
    bool move;
    int x, y;
    uint32_t flags;
    bool capture;
};

struct MouseReal {
    const char *what;
    MouseInject inject;
    ExpectedCall calls[MODEL_MAX_CALLS];
};

static const MouseReal mouse_real[] = {
    {"real pointer onto (100, 100)", {true, 100, 100, 0, true}, {MOVE(100, 100), INSIDE(0), ENTER}},
    {"real left press",
     {false, 0, 0, MOUSEEVENTF_LEFTDOWN, true},
     {MOVE(100, 100), INSIDE(1), KEYPRESS(1)}},
    {"real left drag to (700, 450) is (639, 399)", {true, 700, 450, 0, true}, {MOVE(639, 399)}},
    {"real left drag to (-5, 450) is (0, 399)", {true, -5, 450, 0, true}, {MOVE(0, 399)}},
    {"real left release outside: the release, then the leave",
     {false, 0, 0, MOUSEEVENTF_LEFTUP, false},
     {KEYRELEASE(1), LEAVE}},
    {"real pointer back onto (200, 200)",
     {true, 200, 200, 0, true},
     {MOVE(200, 200), INSIDE(0), ENTER}},
    {"real right press",
     {false, 0, 0, MOUSEEVENTF_RIGHTDOWN, true},
     {MOVE(200, 200), INSIDE(1), KEYPRESS(2)}},
    {"real right drag to (650, 10) is (639, 10)", {true, 650, 10, 0, true}, {MOVE(639, 10)}},
    {"real right release outside: the leave, then the release",
     {false, 0, 0, MOUSEEVENTF_RIGHTUP, false},
     {LEAVE, KEYRELEASE(2)}},
    {"real middle press inside: the move, then the press's position",
     {true, 200, 200, MOUSEEVENTF_MIDDLEDOWN, true},
     {MOVE(200, 200), INSIDE(0), ENTER, MOVE(200, 200), INSIDE(1)}},
    {"real middle drag outside is a leave", {true, 700, 200, 0, false}, {LEAVE}},
    {"real middle release outside no longer reaches the window",
     {false, 0, 0, MOUSEEVENTF_MIDDLEUP, false},
     {}},
};

enum { MOUSE_REAL_STEPS = sizeof mouse_real / sizeof mouse_real[0] };

static struct {
    HWND window;
    uint32_t stage; // 0: messages; 1 + i: real step i under way
    uint32_t from;
    uint32_t since;
    uint32_t random;  // the walk's generator
    uint32_t moves;   // WM_MOUSEMOVE handled since the case began
    bool focusAtMove; // whether the window had the focus when the last one was handled
} s_mouse;

// A list ends at its first zero entry (Kernel_Initialize is never expected).
static uint32_t Pointer_Count(const ExpectedCall *calls)
{
    uint32_t count = 0;
    while (count < MODEL_MAX_CALLS && calls[count].call != 0)
        count++;
    return count;
}

static void Pointer_CheckCapture(const char *what, bool expected)
{
    HWND holder = GetCapture();
    if ((holder == s_mouse.window) != expected)
        Log_Fail(what, "capture held by %p, expected %s", (void *)holder,
                 expected ? "the window" : "no window");
}

static void Pointer_RunCase(const MouseCase *test)
{
    const MouseSend *send = &test->send;
    if (send->focus != FOCUS_ANY)
        SetFocus(NULL);
    s_mouse.moves = 0;
    uint32_t from = Record_Count();
    LPARAM position = MAKELPARAM((uint16_t)send->x, (uint16_t)send->y);
    LRESULT result = SendMessageA(s_mouse.window, send->message, send->buttons, position);
    Expect_InputCalls(test->what, from, test->calls, Pointer_Count(test->calls));
    Pointer_CheckCapture(test->what, send->capture);
    if (result != 1)
        Log_Fail(test->what, "result %ld, expected 1", (long)result);
    if (send->focus == FOCUS_ANY)
        return;
    if (GetFocus() != s_mouse.window)
        Log_Fail(test->what, "the window did not take the focus");
    // The position goes through the move handling: the focus was taken before it or after.
    bool before = s_mouse.moves == 1 && s_mouse.focusAtMove;
    bool after = s_mouse.moves == 1 && !s_mouse.focusAtMove;
    if (!(send->focus == FOCUS_FIRST ? before : after))
        Log_Fail(test->what, "%u moves handled; the focus taken %s the move, expected %s",
                 s_mouse.moves, s_mouse.focusAtMove ? "before" : "after",
                 send->focus == FOCUS_FIRST ? "before" : "after");
}

// Another window of the thread holds the capture: an inside move must not take it away.
static void Pointer_CheckForeignCapture(void)
{
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    SetCapture(other);
    uint32_t from = Record_Count();
    SendMessageA(s_mouse.window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
    static const ExpectedCall calls[] = {MOVE(30, 30), INSIDE(0), ENTER};
    Expect_InputCalls("an inside move while another window has the capture", from, calls, 3);
    Log_Check(GetCapture() == other, "the capture stays with the window that had it", "held by %p",
              (void *)GetCapture());
    ReleaseCapture();
    DestroyWindow(other);
    SendMessageA(s_mouse.window, WM_MOUSELEAVE, 0, 0);
}

static uint32_t Pointer_Random(void)
{
    uint32_t x = s_mouse.random;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return s_mouse.random = x;
}

// A coordinate near the edges of the display or of 16 bits, or anywhere.
static uint16_t Pointer_RandomCoordinate(uint16_t size)
{
    static const uint16_t edges[] = {0,   1,   2,   398,    399,    400,    401,   638,
                                     639, 640, 641, 0x7FFF, 0x8000, 0xFFFF, 0xFFFE};
    uint32_t r = Pointer_Random();
    if (r & 1)
        return edges[(r >> 1) % (sizeof edges / sizeof edges[0])];
    return (uint16_t)((r >> 8) % (size + 64));
}

// Random messages against the model: calls, capture and the core's notion after each.
static void Pointer_Walk(void)
{
    static const UINT messages[] = {WM_MOUSEMOVE, WM_MOUSEMOVE,   WM_MOUSEMOVE, WM_LBUTTONDOWN,
                                    WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
                                    WM_MBUTTONUP, WM_MOUSELEAVE};
    MouseModel model = {false, false};
    SendMessageA(s_mouse.window, WM_MOUSELEAVE, 0, 0);
    s_mouse.random = 0x2545F491;
    uint32_t failures = 0;
    for (uint32_t i = 0; i < MOUSE_WALK_LENGTH && failures == 0; i++) {
        UINT message = messages[Pointer_Random() % (sizeof messages / sizeof messages[0])];
        WPARAM buttons = Pointer_Random() & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT);
        LPARAM position = MAKELPARAM(Pointer_RandomCoordinate(640), Pointer_RandomCoordinate(400));
        ExpectedCall calls[MODEL_MAX_CALLS];
        uint32_t count = Model_MouseMessage(&model, message, buttons, position, calls);
        uint32_t from = Record_Count();
        SendMessageA(s_mouse.window, message, buttons, position);
        // Only a failure is written: the walk is long.
        bool same = Expect_CountInputCalls(from) == count;
        for (uint32_t k = 0, j = from; same && k < count; j++) {
            const RecordEvent *event = Record_Get(j);
            if (!Expect_IsInputCall(event))
                continue;
            same = event->code == calls[k].call && event->a == calls[k].a && event->b == calls[k].b;
            k++;
        }
        if (!same) {
            char what[96];
            _snprintf(what, sizeof what - 1, "walk step %u: message 0x%x, buttons 0x%x, at 0x%08lx",
                      i, message, (unsigned)buttons, (unsigned long)position);
            what[sizeof what - 1] = 0;
            Expect_InputCalls(what, from, calls, count);
            failures++;
        } else if ((GetCapture() == s_mouse.window) != model.capture) {
            Log_Fail("random walk: capture", "step %u: message 0x%x at 0x%08lx: %s", i, message,
                     (unsigned long)position, model.capture ? "not held" : "still held");
            failures++;
        }
    }
    if (failures == 0)
        Log_Line("ok random walk of %u mouse messages matches the model", MOUSE_WALK_LENGTH);
}

static void Pointer_Begin(const char *tail)
{
    (void)tail;
    s_mouse.window = Hook_Window();
}

static void Pointer_StartReal(uint32_t index, uint32_t frame)
{
    const MouseInject *inject = &mouse_real[index].inject;
    s_mouse.from = Record_Count();
    s_mouse.since = frame;
    if (inject->move) {
        Inject_MouseTo(s_mouse.window, inject->x, inject->y, inject->flags);
        return;
    }
    INPUT input;
    memset(&input, 0, sizeof input);
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = inject->flags;
    SendInput(1, &input, sizeof input);
}

static ScenarioStep Pointer_Step(uint32_t frame)
{
    if (s_mouse.stage == 0) {
        // A known start: outside, nothing captured.
        SendMessageA(s_mouse.window, WM_MOUSELEAVE, 0, 0);
        for (uint32_t i = 0; i < sizeof mouse_cases / sizeof mouse_cases[0]; i++)
            Pointer_RunCase(&mouse_cases[i]);
        Pointer_CheckForeignCapture();
        Pointer_Walk();
        SendMessageA(s_mouse.window, WM_MOUSELEAVE, 0, 0);
        Pointer_StartReal(0, frame);
        s_mouse.stage = 1;
        return STEP_CONTINUE;
    }
    const MouseReal *step = &mouse_real[s_mouse.stage - 1];
    uint32_t count = Pointer_Count(step->calls);
    bool waited = frame >= s_mouse.since + MOUSE_SETTLE_FRAMES;
    if (!waited ||
        (Expect_CountInputCalls(s_mouse.from) < count && frame < s_mouse.since + MOUSE_WAIT_FRAMES))
        return STEP_CONTINUE;
    Expect_InputCalls(step->what, s_mouse.from, step->calls, count);
    Pointer_CheckCapture(step->what, step->inject.capture);
    if (s_mouse.stage == MOUSE_REAL_STEPS)
        return STEP_CLOSE;
    Pointer_StartReal(s_mouse.stage, frame);
    s_mouse.stage++;
    return STEP_CONTINUE;
}

static void Pointer_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    if (message == WM_MOUSEMOVE) {
        s_mouse.moves++;
        s_mouse.focusAtMove = GetFocus() == window;
    }
}

const Scenario Scenario_Mouse = {"mouse", Pointer_Begin, Pointer_Step, Pointer_Message, NULL};
