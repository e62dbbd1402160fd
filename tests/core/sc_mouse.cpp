// Mouse forwarding: messages from a known state, their calls and capture; real pointer input.
#include "tests/core/testcore.h"

#define AT(x, y) ((LPARAM)(((uint32_t)(y)&0xFFFF) << 16 | ((uint32_t)(x)&0xFFFF)))

enum { MOUSE_SETTLE_FRAMES = 3, MOUSE_WAIT_FRAMES = 60, MK_MIDDLE = 0x0010 };
enum { MOUSE_THEN_MOVE = 128 }; // the buttons, then a move to (x, y) queued behind them

// One message sent from a known state (inside 1: the pointer inside with the capture, 0:
// outside), the calls it must give, and whether the window holds the capture afterwards.
static const struct {
    const char *what;
    struct {
        int inside;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int capture;
        Expected calls[6];
    } c;
} mouse_cases[] = {
    {"a move into range takes the capture and enters",
     {0, WM_MOUSEMOVE, 0, AT(100, 50), 1, {MOVE(100, 50), INSIDE(0), ENTER}}},
    {"(1, 1) is inside", {1, WM_MOUSEMOVE, 0, AT(1, 1), 1, {MOVE(1, 1), INSIDE(1)}}},
    {"(639, 399) is inside", {1, WM_MOUSEMOVE, 0, AT(639, 399), 1, {MOVE(639, 399), INSIDE(1)}}},
    {"column 0 is outside: a leave", {1, WM_MOUSEMOVE, 0, AT(0, 50), 0, {LEAVE}}},
    {"row 0 is outside: a leave", {1, WM_MOUSEMOVE, 0, AT(50, 0), 0, {LEAVE}}},
    {"row 400 is outside: a leave", {1, WM_MOUSEMOVE, 0, AT(50, 400), 0, {LEAVE}}},
    {"a left drag to (700, 300) is (639, 300)",
     {1, WM_MOUSEMOVE, MK_LBUTTON, AT(700, 300), 1, {MOVE(639, 300)}}},
    {"a left drag to (-5, 450) is (0, 399)",
     {1, WM_MOUSEMOVE, MK_LBUTTON, AT(-5, 450), 1, {MOVE(0, 399)}}},
    {"a right drag at the ends of 16 bits",
     {1, WM_MOUSEMOVE, MK_RBUTTON, AT(0x7FFF, 0x8000), 1, {MOVE(639, 0)}}},
    {"a middle drag outside is a leave", {1, WM_MOUSEMOVE, MK_MIDDLE, AT(-5, 10), 0, {LEAVE}}},
    {"a left press at x 0: clamped, no capture, then the press",
     {0, WM_LBUTTONDOWN, MK_LBUTTON, AT(0, 30), 0, {MOVE(0, 30), BTN_DOWN(1)}}},
    {"a left press inside: the position, then the press",
     {0, WM_LBUTTONDOWN, MK_LBUTTON, AT(20, 30), 1, {MOVE(20, 30), INSIDE(0), ENTER, BTN_DOWN(1)}}},
    {"a left release outside: the release, then the leave",
     {1, WM_LBUTTONUP, 0, AT(800, 30), 0, {BTN_UP(1), LEAVE}}},
    {"a right release outside: the leave, then the release",
     {1, WM_RBUTTONUP, 0, AT(800, 30), 0, {LEAVE, BTN_UP(2)}}},
    {"a middle press inside is a move only",
     {0, WM_MBUTTONDOWN, MK_MIDDLE, AT(20, 30), 1, {MOVE(20, 30), INSIDE(0), ENTER}}},
    {"WM_MOUSELEAVE releases the capture and leaves", {1, WM_MOUSELEAVE, 0, 0, 0, {LEAVE}}},
};

// Real pointer input step by step (PROBE_STAY: a button alone), and the capture after. Once a
// release outside has let the capture go, input outside is not the window's: not a move queued
// before the release was taken, nor a click.
static const struct {
    const char *what;
    struct {
        int x, y;
        uint32_t buttons;
        int capture;
    } r;
    Expected calls[7];
} mouse_real[] = {
    {"real pointer onto (100, 100)", {100, 100, 0, 1}, {MOVE(100, 100), INSIDE(0), ENTER}},
    {"real left press",
     {100, 100, PROBE_LEFT_DOWN | PROBE_STAY, 1},
     {MOVE(100, 100), INSIDE(1), BTN_DOWN(1)}},
    {"real left drag to (-5, 450) is (0, 399)", {-5, 450, 0, 1}, {MOVE(0, 399)}},
    {"real left release outside, a move outside queued behind it",
     {-20, 300, PROBE_LEFT_UP | PROBE_STAY | MOUSE_THEN_MOVE, 0},
     {BTN_UP(1), LEAVE}},
    {"real right press at (200, 200)",
     {200, 200, PROBE_RIGHT_DOWN, 1},
     {MOVE(200, 200), INSIDE(0), ENTER, MOVE(200, 200), INSIDE(1), BTN_DOWN(2)}},
    {"real right release at (650, 10)",
     {650, 10, PROBE_RIGHT_UP, 0},
     {MOVE(639, 10), LEAVE, BTN_UP(2)}},
    {"real middle click outside without the capture",
     {650, 10, PROBE_MIDDLE_DOWN | PROBE_MIDDLE_UP | PROBE_STAY, 0},
     {}},
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

static ScenarioStep Mouse_Step(uint32_t frame)
{
    HWND window = Scenario_Window();
    if (s_mouse.stage == 0) {
        for (const auto &m : mouse_cases) {
            SendMessageA(window, WM_MOUSELEAVE, 0, 0);
            if (m.c.inside)
                SendMessageA(window, WM_MOUSEMOVE, 0, AT(300, 200));
            uint32_t from = Record_Count();
            if (SendMessageA(window, m.c.message, m.c.wParam, m.c.lParam) != 1)
                Log_Check(false, m.what, "another result than 1");
            Expect_Calls(m.what, from, m.c.calls, false);
            Mouse_CheckCapture(m.what, m.c.capture != 0);
        }
        SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    } else {
        const auto &m = mouse_real[s_mouse.stage - 1];
        uint32_t got = 0, want = 0;
        for (uint32_t k = s_mouse.from; k < Record_Count(); k++)
            got += Record_Get(k)->code >= CALL_MOUSE_MOVE && Record_Get(k)->code < CALL_COUNT;
        while (m.calls[want].code)
            want++;
        if (frame < s_mouse.since + MOUSE_SETTLE_FRAMES ||
            (got < want && frame < s_mouse.since + MOUSE_WAIT_FRAMES))
            return STEP_CONTINUE;
        Expect_Calls(m.what, s_mouse.from, m.calls, false);
        Log_Digest(m.what, Record_InputDigest(s_mouse.from, false));
        Mouse_CheckCapture(m.what, m.r.capture != 0);
    }
    if (s_mouse.stage == MOUSE_REAL)
        return STEP_CLOSE;
    const auto &next = mouse_real[s_mouse.stage++].r;
    s_mouse.from = Record_Count();
    s_mouse.since = frame;
    Probe_Mouse(window, next.x, next.y, next.buttons & ~MOUSE_THEN_MOVE);
    if (next.buttons & MOUSE_THEN_MOVE)
        Probe_Mouse(window, next.x, next.y, 0);
    return STEP_CONTINUE;
}

const Scenario Scenario_Mouse = {"mouse", NULL, Mouse_Step, NULL, NULL, false};
