// A flood of posted key and mouse messages: all reach the core in order, each batch in time.
#include "core/core.h"
#include "testcore.h"
#include "input_support.h"

enum {
    FLOOD_BATCHES = 40,
    FLOOD_BATCH = 800,
    FLOOD_BIG_AT = 20, // one batch far larger than the others
    FLOOD_BIG = 12000,
    FLOOD_AFTER = 20, // frames that must still run once the flood stops
    FLOOD_SEED = 0x9E3779B9
};

struct FloodMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The message stream, made twice from the same seed: once to post, once to check.
struct FloodStream {
    uint32_t random;
    uint32_t made;
};

// The checking side: the calls the current message must still give.
static struct {
    HWND window;
    FloodStream posting;
    FloodStream checking;
    MouseModel model;
    ExpectedCall calls[MODEL_MAX_CALLS];
    uint32_t count, at; // calls of the current message, and how many of them came
    uint32_t posted;    // messages posted so far
    uint32_t taken;     // calls taken by the filter
    bool failed;
    uint32_t batch;   // batches posted
    uint32_t stopped; // the frame in which the last batch was checked; 0 while flooding
    uint32_t stoppedMicros;
    uint32_t recordFrom; // record length when the filter was installed
} s_flood;

static uint32_t Flood_Random(FloodStream *stream)
{
    uint32_t x = stream->random;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return stream->random = x;
}

// A coordinate in the display, at its edges, or at the ends of 16 bits.
static uint16_t Flood_Coordinate(FloodStream *stream, uint16_t size)
{
    static const uint16_t edges[] = {0, 1, 399, 400, 639, 640, 0x7FFF, 0x8000, 0xFFFF};
    uint32_t r = Flood_Random(stream);
    if ((r & 3) == 0)
        return edges[(r >> 2) % (sizeof edges / sizeof edges[0])];
    return (uint16_t)((r >> 8) % size);
}

static void Flood_Make(FloodStream *stream, FloodMessage *m)
{
    static const UINT mouse[] = {WM_MOUSEMOVE, WM_MOUSEMOVE,   WM_MOUSEMOVE, WM_MOUSEMOVE,
                                 WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                 WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEMOVE};
    uint32_t r = Flood_Random(stream);
    stream->made++;
    if ((r & 7) < 3) {
        // Keys, wide codes too, but none of Shift, Ctrl or Alt: their sided reports would
        // depend on the key state, which posted messages do not change.
        uint32_t vk = (r >> 8) % 0x200;
        if ((vk & 0xFF) >= VK_SHIFT && (vk & 0xFF) <= VK_MENU)
            vk += 3;
        bool up = (r >> 20) & 1;
        bool repeat = ((r >> 21) & 3) == 0;
        m->message = up ? WM_KEYUP : WM_KEYDOWN;
        m->wParam = vk;
        m->lParam = up ? (LPARAM)0xC0000001 : repeat ? 0x40000001 : 1;
        return;
    }
    m->message = mouse[(r >> 8) % (sizeof mouse / sizeof mouse[0])];
    m->wParam = (r >> 16) & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_CONTROL);
    uint16_t x = Flood_Coordinate(stream, 700);
    uint16_t y = Flood_Coordinate(stream, 450);
    m->lParam = MAKELPARAM(x, y);
}

static uint32_t Flood_Expect(const FloodMessage *m, ExpectedCall *calls)
{
    uint32_t vk = (uint32_t)m->wParam;
    switch (m->message) {
    case WM_KEYDOWN:
        if (m->lParam & 0x40000000)
            return 0;
        calls[0] = {CALL_KEYBOARD_PRESS, vk, 0};
        calls[1] = {CALL_INPUT_EVENT, vk & 0xFF, 8};
        return 2;
    case WM_KEYUP:
        calls[0] = {CALL_KEYBOARD_RELEASE, vk, 0};
        calls[1] = {CALL_INPUT_EVENT, vk & 0xFF, 2};
        return 2;
    }
    return Model_MouseMessage(&s_flood.model, m->message, m->wParam, m->lParam, calls);
}

// Takes the next message of the checking stream as the current one.
static void Flood_Load(void)
{
    FloodMessage m;
    Flood_Make(&s_flood.checking, &m);
    s_flood.count = Flood_Expect(&m, s_flood.calls);
    s_flood.at = 0;
}

// Messages whose calls have all come; messages that give none count once reached.
static uint32_t Flood_Done(void)
{
    while (s_flood.at == s_flood.count && s_flood.checking.made < s_flood.posted)
        Flood_Load();
    return s_flood.checking.made - (s_flood.at < s_flood.count ? 1 : 0);
}

static bool Flood_Filter(uint32_t call, uint32_t a, uint32_t b)
{
    if (call < CALL_KEYBOARD_PRESS || call >= CALL_COUNT)
        return false; // frames are recorded as usual
    s_flood.taken++;
    if (s_flood.failed)
        return true;
    while (s_flood.at == s_flood.count)
        Flood_Load();
    const ExpectedCall *want = &s_flood.calls[s_flood.at];
    if (call != want->call || a != want->a || b != want->b) {
        s_flood.failed = true;
        Log_Fail("flood: every call as the posted messages ask, in order",
                 "message %u of %u posted, call %u of %u: got call %u (0x%x, 0x%x), expected "
                 "call %u (0x%x, 0x%x)",
                 s_flood.checking.made, s_flood.posted, s_flood.at + 1, s_flood.count, call, a, b,
                 want->call, want->a, want->b);
        return true;
    }
    s_flood.at++;
    return true;
}

static void Flood_Post(uint32_t count)
{
    for (uint32_t i = 0; i < count; i++) {
        FloodMessage m;
        Flood_Make(&s_flood.posting, &m);
        if (!PostMessageA(s_flood.window, m.message, m.wParam, m.lParam)) {
            Log_Fail("flood: messages posted", "PostMessageA failed at message %u, error %lu",
                     s_flood.posted, (unsigned long)GetLastError());
            s_flood.failed = true;
            return;
        }
        s_flood.posted++;
    }
}

static void Flood_Begin(const char *tail)
{
    (void)tail;
    s_flood.window = Hook_Window();
    s_flood.posting.random = s_flood.checking.random = FLOOD_SEED;
}

// Every message posted before this frame has been handled: nothing lost, nothing left queued.
static bool Flood_CheckDrained(uint32_t frame)
{
    uint32_t done = Flood_Done();
    if (done == s_flood.posted || s_flood.failed)
        return true;
    Log_Fail("flood: each batch is handled before the next frame",
             "frame %u: %u of %u messages handled", frame, done, s_flood.posted);
    s_flood.failed = true;
    return false;
}

static ScenarioStep Flood_Step(uint32_t frame)
{
    if (frame == 1) {
        // A known start: outside, nothing captured; then the filter takes every input call.
        SendMessageA(s_flood.window, WM_MOUSELEAVE, 0, 0);
        s_flood.count = s_flood.at = 0;
        s_flood.recordFrom = Record_Count();
        Record_SetFilter(Flood_Filter);
    }
    if (s_flood.stopped == 0) {
        if (!Flood_CheckDrained(frame) || s_flood.batch == FLOOD_BATCHES) {
            s_flood.stopped = frame;
            s_flood.stoppedMicros = Clock_Micros();
            return STEP_CONTINUE;
        }
        Flood_Post(s_flood.batch == FLOOD_BIG_AT ? FLOOD_BIG : FLOOD_BATCH);
        s_flood.batch++;
        return STEP_CONTINUE;
    }
    if (frame < s_flood.stopped + FLOOD_AFTER)
        return STEP_CONTINUE;
    Record_SetFilter(NULL);
    Flood_CheckDrained(frame);
    if (!s_flood.failed)
        Log_Line("ok flood: %u messages in %u batches gave %u calls, all in order, each batch "
                 "before the next frame",
                 s_flood.posted, s_flood.batch, s_flood.taken);
    uint32_t late = Expect_CountInputCalls(s_flood.recordFrom);
    Log_Check(late == 0, "flood: no input call beyond those of the posted messages",
              "%u more recorded", late);
    // Once the stream stops the frames come at about their pace again (60 a second; a busy
    // machine may be slower).
    uint32_t ms = (Clock_Micros() - s_flood.stoppedMicros) / 1000;
    Log_Check(ms <= FLOOD_AFTER * 17 * 4, "flood: frames run on at their pace after the stream",
              "%u frames took %u ms", FLOOD_AFTER, ms);
    return STEP_CLOSE;
}

const Scenario Scenario_Flood = {"flood", Flood_Begin, Flood_Step, NULL, NULL};
