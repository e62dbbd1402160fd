// Mouse forwarding: column 0 and row 0 outside, leaves, drags clamped to the display (also at
// the ends of 16 bits), the left release before and the right release after the position, the
// middle button no drag, the capture; then real pointer input.
#include "tests/core/testcore.h"

#define MOVE(x, y)                                                                                 \
    {                                                                                              \
        CALL_MOUSE_MOVE, x, y                                                                      \
    }
#define INSIDE(answer)                                                                             \
    {                                                                                              \
        CALL_MOUSE_ISINWINDOW, answer, 0                                                           \
    }
#define ENTER                                                                                      \
    {                                                                                              \
        CALL_MOUSE_ENTERWINDOW, 0, 0                                                               \
    }
#define LEAVE                                                                                      \
    {                                                                                              \
        CALL_MOUSE_LEAVEWINDOW, 0, 0                                                               \
    }
#define PRESS(b)                                                                                   \
    {                                                                                              \
        CALL_MOUSE_KEYPRESS, b, 0                                                                  \
    }
#define RELEASE(b)                                                                                 \
    {                                                                                              \
        CALL_MOUSE_KEYRELEASE, b, 0                                                                \
    }
#define END                                                                                        \
    {                                                                                              \
        0, 0, 0                                                                                    \
    }
#define AT(x, y) ((LPARAM)(((uint32_t)(y)&0xFFFF) << 16 | ((uint32_t)(x)&0xFFFF)))

enum { MOUSE_SETTLE_FRAMES = 3, MOUSE_WAIT_FRAMES = 60, MK_MIDDLE = 0x0010 };

// One message sent from a known state (the pointer outside, or inside with the capture), and
// what it must give: the calls, and whether the window holds the capture afterwards.
static const struct {
    const char *what;
    bool inside;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool capture;
    Expected calls[6];
} mouse_cases[] = {
    {"a move into range takes the capture and enters",
     false,
     WM_MOUSEMOVE,
     0,
     AT(100, 50),
     true,
     {MOVE(100, 50), INSIDE(0), ENTER, END}},
    {"(1, 1) is inside", true, WM_MOUSEMOVE, 0, AT(1, 1), true, {MOVE(1, 1), INSIDE(1), END}},
    {"(639, 399) is inside",
     true,
     WM_MOUSEMOVE,
     0,
     AT(639, 399),
     true,
     {MOVE(639, 399), INSIDE(1), END}},
    {"column 0 is outside: a leave", true, WM_MOUSEMOVE, 0, AT(0, 50), false, {LEAVE, END}},
    {"row 0 is outside: a leave", true, WM_MOUSEMOVE, 0, AT(50, 0), false, {LEAVE, END}},
    {"row 400 is outside: a leave", true, WM_MOUSEMOVE, 0, AT(50, 400), false, {LEAVE, END}},
    {"a left drag to (700, 300) is (639, 300)",
     true,
     WM_MOUSEMOVE,
     MK_LBUTTON,
     AT(700, 300),
     true,
     {MOVE(639, 300), END}},
    {"a left drag to (-5, 450) is (0, 399)",
     true,
     WM_MOUSEMOVE,
     MK_LBUTTON,
     AT(-5, 450),
     true,
     {MOVE(0, 399), END}},
    {"a right drag at the ends of 16 bits",
     true,
     WM_MOUSEMOVE,
     MK_RBUTTON,
     AT(0x7FFF, 0x8000),
     true,
     {MOVE(639, 0), END}},
    {"a middle drag outside is a leave",
     true,
     WM_MOUSEMOVE,
     MK_MIDDLE,
     AT(-5, 10),
     false,
     {LEAVE, END}},
    {"a left press at x 0: clamped, no capture, then the press",
     false,
     WM_LBUTTONDOWN,
     MK_LBUTTON,
     AT(0, 30),
     false,
     {MOVE(0, 30), PRESS(1), END}},
    {"a left press inside: the position, then the press",
     false,
     WM_LBUTTONDOWN,
     MK_LBUTTON,
     AT(20, 30),
     true,
     {MOVE(20, 30), INSIDE(0), ENTER, PRESS(1), END}},
    {"a left release outside: the release, then the leave",
     true,
     WM_LBUTTONUP,
     0,
     AT(800, 30),
     false,
     {RELEASE(1), LEAVE, END}},
    {"a right release outside: the leave, then the release",
     true,
     WM_RBUTTONUP,
     0,
     AT(800, 30),
     false,
     {LEAVE, RELEASE(2), END}},
    {"a middle press inside is a move only",
     false,
     WM_MBUTTONDOWN,
     MK_MIDDLE,
     AT(20, 30),
     true,
     {MOVE(20, 30), INSIDE(0), ENTER, END}},
    {"WM_MOUSELEAVE releases the capture and leaves",
     true,
     WM_MOUSELEAVE,
     0,
     0,
     false,
     {LEAVE, END}},
};

// Real pointer input, step by step (PROBE_STAY: a button alone).
static const struct {
    const char *what;
    int x, y;
    uint32_t buttons;
    bool capture;
    Expected calls[7];
} mouse_real[] = {
    {"real pointer onto (100, 100)", 100, 100, 0, true, {MOVE(100, 100), INSIDE(0), ENTER, END}},
    {"real left press",
     100,
     100,
     PROBE_LEFT_DOWN | PROBE_STAY,
     true,
     {MOVE(100, 100), INSIDE(1), PRESS(1), END}},
    {"real left drag to (-5, 450) is (0, 399)", -5, 450, 0, true, {MOVE(0, 399), END}},
    {"real left release outside",
     -5,
     450,
     PROBE_LEFT_UP | PROBE_STAY,
     false,
     {RELEASE(1), LEAVE, END}},
    {"real right press at (200, 200)",
     200,
     200,
     PROBE_RIGHT_DOWN,
     true,
     {MOVE(200, 200), INSIDE(0), ENTER, MOVE(200, 200), INSIDE(1), PRESS(2), END}},
    {"real right release at (650, 10)",
     650,
     10,
     PROBE_RIGHT_UP,
     false,
     {MOVE(639, 10), LEAVE, RELEASE(2), END}},
};
enum { MOUSE_REAL = sizeof mouse_real / sizeof mouse_real[0] };

static struct {
    uint32_t stage; // 0: messages; 1 + i: real step i under way
    uint32_t from, since;
} s_mouse;

static void Mouse_CheckCapture(const char *what, bool expected)
{
    if ((GetCapture() == Scenario_Window()) != expected)
        Log_Check(false, what, "the capture is %s", expected ? "not held" : "still held");
}

static uint32_t Mouse_Calls(const Expected *calls)
{
    uint32_t count = 0;
    while (calls[count].code)
        count++;
    return count;
}

static ScenarioStep Mouse_Step(uint32_t frame)
{
    HWND window = Scenario_Window();
    if (s_mouse.stage == 0) {
        for (const auto &c : mouse_cases) {
            SendMessageA(window, WM_MOUSELEAVE, 0, 0);
            if (c.inside)
                SendMessageA(window, WM_MOUSEMOVE, 0, AT(300, 200));
            uint32_t from = Record_Count();
            if (SendMessageA(window, c.message, c.wParam, c.lParam) != 1)
                Log_Check(false, c.what, "another result than 1");
            Expect_Calls(c.what, from, c.calls, false);
            Mouse_CheckCapture(c.what, c.capture);
        }
        SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    } else {
        const auto &r = mouse_real[s_mouse.stage - 1];
        uint32_t got = 0;
        for (uint32_t k = s_mouse.from; k < Record_Count(); k++)
            got += Record_Get(k)->code >= CALL_MOUSE_MOVE && Record_Get(k)->code < CALL_COUNT;
        if (frame < s_mouse.since + MOUSE_SETTLE_FRAMES ||
            (got < Mouse_Calls(r.calls) && frame < s_mouse.since + MOUSE_WAIT_FRAMES))
            return STEP_CONTINUE;
        Expect_Calls(r.what, s_mouse.from, r.calls, false);
        Log_Digest(r.what, Record_InputDigest(s_mouse.from, false));
        Mouse_CheckCapture(r.what, r.capture);
    }
    if (s_mouse.stage == MOUSE_REAL)
        return STEP_CLOSE;
    const auto &next = mouse_real[s_mouse.stage++];
    s_mouse.from = Record_Count();
    s_mouse.since = frame;
    Probe_Mouse(window, next.x, next.y, next.buttons);
    return STEP_CONTINUE;
}

static void Mouse_Begin(const char *) {}

const Scenario Scenario_Mouse = {"mouse", Mouse_Begin, Mouse_Step, NULL, NULL, false};
