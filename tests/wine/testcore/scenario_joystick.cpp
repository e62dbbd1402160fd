// Joystick polling against the fake winmm.dll: each frame's changes as exactly listed events.
#include "core/core.h"
#include "testcore.h"
#include "input_support.h"
#include "../fakewinmm/fakewinmm.h"

enum {
    JOY_RECORDS = 16, // the front-end polls ids 0..15 at most
    JOY_MAX_EVENTS = 56,
    JOY_CENTRED = 0xFFFFFFFFu,
    JOY_UNPLUGGED = 167 // JOYERR_UNPLUGGED
};

// One scripted change: from this stage on, the id answers with result and these fields.
struct JoyChange {
    uint32_t id;
    uint32_t result;
    uint32_t fields[FAKEWINMM_FIELDS]; // X Y Z R U V, buttons, button number, POV, reserved
};

struct JoyEvent {
    uint32_t code;
    uint32_t value;
};

struct JoyStage {
    const char *what;
    uint32_t changeCount;
    JoyChange changes[6];
    JoyEvent events[JOY_MAX_EVENTS]; // in order; a zero code ends the list
};

static const uint32_t ALL = 0xFFFFFFFFu;

// The hat codes are 0x20 forward, 0x21 right, 0x22 back, 0x23 left in the button group.
static const JoyStage joy_stages[] = {
    {"first answering poll against all-zero saved states",
     6,
     {{0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0}}, // hat held forward: nothing to report
      {1, 0, {0x1234, 0, 0x80, 0xFFFF, 0, 0x10000, 0x5, 2, 9000}},
      {3, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0xFFFF}}, // 655.35 degrees counts as centred
      {5, 0, {ALL, ALL, ALL, ALL, ALL, ALL, ALL, ALL, ALL}},
      {15, 0, {0x100, 0, 0, 0, 0, 0, 0x80000000u, 1, 31500}},
      {16, 0, {0x4000, 0, 0, 0, 0, 0, 0x2, 1, 9000}}}, // past the table: never asked
     {{0x4100, 8},        {0x4102, 8},        {0x4120, 2},        {0x4121, 8},
      {0x5100, 0x12},     {0x5102, 0},        {0x5103, 0xFF},     {0x5105, 0x100},
      {0x4320, 2},        {0x4500, 8},        {0x4501, 8},        {0x4502, 8},
      {0x4503, 8},        {0x4504, 8},        {0x4505, 8},        {0x4506, 8},
      {0x4507, 8},        {0x4508, 8},        {0x4509, 8},        {0x450A, 8},
      {0x450B, 8},        {0x450C, 8},        {0x450D, 8},        {0x450E, 8},
      {0x450F, 8},        {0x4510, 8},        {0x4511, 8},        {0x4512, 8},
      {0x4513, 8},        {0x4514, 8},        {0x4515, 8},        {0x4516, 8},
      {0x4517, 8},        {0x4518, 8},        {0x4519, 8},        {0x451A, 8},
      {0x451B, 8},        {0x451C, 8},        {0x451D, 8},        {0x451E, 8},
      {0x451F, 8},        {0x4520, 2},        {0x5500, 0xFFFFFF}, {0x5501, 0xFFFFFF},
      {0x5502, 0xFFFFFF}, {0x5503, 0xFFFFFF}, {0x5504, 0xFFFFFF}, {0x5505, 0xFFFFFF},
      {0x4F1F, 8},        {0x4F20, 2},        {0x4F23, 8},        {0x4F20, 8},
      {0x5F00, 1}}},
    {"nothing changed: no events", 0, {}, {}},
    {"small axis move, two buttons, hat from right to back",
     1,
     {{1, 0, {0x1235, 0, 0x80, 0xFFFF, 0, 0x10000, 0x6, 2, 18000}}},
     {{0x4100, 2}, {0x4101, 8}, {0x4121, 2}, {0x4122, 8}, {0x5100, 0x12}}},
    {"hat to centred; hat from forward to forward-right",
     2,
     {{0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 4500}},
      {1, 0, {0x1235, 0, 0x80, 0xFFFF, 0, 0x10000, 0x6, 2, JOY_CENTRED}}},
     {{0x4020, 2}, {0x4020, 8}, {0x4021, 8}, {0x4122, 2}}},
    {"diagonal to diagonal; centred to diagonal",
     2,
     {{0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 22500}},
      {1, 0, {0x1235, 0, 0x80, 0xFFFF, 0, 0x10000, 0x6, 2, 13500}}},
     {{0x4020, 2}, {0x4021, 2}, {0x4022, 8}, {0x4023, 8}, {0x4121, 8}, {0x4122, 8}}},
    {"an id stops answering; another one is plugged in",
     2,
     {{1, JOY_UNPLUGGED, {0x2000, 0, 0x80, 0xFFFF, 0, 0x10000, 0, 0, JOY_CENTRED}},
      {2, 0, {0, 0, 0, 0, 0, 0, 0x8, 1, 0}}},
     {{0x4203, 8}}},
    {"the id answers again: changes against its last reported state",
     1,
     {{1, 0, {0x2000, 0, 0x80, 0xFFFF, 0, 0x10000, 0, 0, JOY_CENTRED}}},
     {{0x4101, 2}, {0x4102, 2}, {0x4121, 2}, {0x4122, 2}, {0x5100, 0x20}}},
    {"hat to 360 degrees counts as centred; a move within one value is sent",
     2,
     {{2, 0, {0, 0, 0, 0, 0, 0, 0x8, 1, 36000}},
      {5, 0, {0xFFFFFF00u, ALL, ALL, ALL, ALL, ALL, ALL, ALL, ALL}}},
     {{0x4220, 2}, {0x5500, 0xFFFFFF}}},
    {"from 360 degrees to left; all of a joystick back to zero",
     2,
     {{2, 0, {0, 0, 0, 0, 0, 0, 0x8, 1, 27000}}, {5, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0}}},
     {{0x4223, 8}, {0x4500, 2}, {0x4501, 2}, {0x4502, 2}, {0x4503, 2}, {0x4504, 2}, {0x4505, 2},
      {0x4506, 2}, {0x4507, 2}, {0x4508, 2}, {0x4509, 2}, {0x450A, 2}, {0x450B, 2}, {0x450C, 2},
      {0x450D, 2}, {0x450E, 2}, {0x450F, 2}, {0x4510, 2}, {0x4511, 2}, {0x4512, 2}, {0x4513, 2},
      {0x4514, 2}, {0x4515, 2}, {0x4516, 2}, {0x4517, 2}, {0x4518, 2}, {0x4519, 2}, {0x451A, 2},
      {0x451B, 2}, {0x451C, 2}, {0x451D, 2}, {0x451E, 2}, {0x451F, 2}, {0x4520, 8}, {0x5500, 0},
      {0x5501, 0}, {0x5502, 0}, {0x5503, 0}, {0x5504, 0}, {0x5505, 0}}},
    {"ids from 16 up change: still never asked",
     2,
     {{16, 0, {0, 0, 0, 0, 0, 0, 0x1, 1, 0}}, {19, 0, {0x8000, 0, 0, 0, 0, 0, 0x3, 2, 0}}},
     {}},
};

enum { JOY_STAGES = sizeof joy_stages / sizeof joy_stages[0] };

static struct {
    FakeJoy_SetFn set;
    FakeJoy_TakeQueriesFn takeQueries;
    uint32_t devices; // what the fake reports
    uint32_t polled;  // ids the front-end must poll: the count, at most 16
    uint32_t stage;   // the stage whose poll comes next
    uint32_t from;    // record index where that poll's events begin
    FakeJoyQuery queries[FAKEWINMM_LOG];
} s_joy;

static void Joy_Apply(const JoyStage *stage)
{
    for (uint32_t i = 0; i < stage->changeCount; i++)
        s_joy.set(stage->changes[i].id, stage->changes[i].result, stage->changes[i].fields);
}

// The stage's events of the polled ids, as expected calls.
static uint32_t Joy_Expected(const JoyStage *stage, ExpectedCall *calls)
{
    uint32_t count = 0;
    for (uint32_t i = 0; i < JOY_MAX_EVENTS && stage->events[i].code; i++) {
        const JoyEvent *event = &stage->events[i];
        if (((event->code >> 8) & 0xF) >= s_joy.polled)
            continue;
        calls[count++] = {CALL_INPUT_EVENT, event->code, event->value};
    }
    return count;
}

// The queries since the last look: every polled id once, ascending, with the poll's record.
static void Joy_CheckQueries(const char *what, uint32_t flags, bool sameRecord)
{
    uint32_t lost = 0;
    uint32_t count = s_joy.takeQueries(s_joy.queries, FAKEWINMM_LOG, &lost);
    bool ok = count == s_joy.polled && !lost;
    for (uint32_t i = 0; ok && i < count; i++) {
        const FakeJoyQuery *q = &s_joy.queries[i];
        ok = q->id == i && q->size == sizeof(JOYINFOEX) && q->flags == flags &&
             (!sameRecord || q->record == s_joy.queries[0].record);
    }
    if (ok)
        return;
    Log_Fail(what, "%u queries%s, expected %u (ids from 0 up) with size 52 and flags 0x%x", count,
             lost ? " (some lost)" : "", s_joy.polled, flags);
    for (uint32_t i = 0; i < count && i < 40; i++)
        Log_Line("  query id %u, size %u, flags 0x%x, record 0x%x", s_joy.queries[i].id,
                 s_joy.queries[i].size, s_joy.queries[i].flags, s_joy.queries[i].record);
}

static void Joy_Begin(const char *tail)
{
    (void)tail;
    HMODULE winmm = GetModuleHandleA("winmm.dll");
    s_joy.set = (FakeJoy_SetFn)(void *)GetProcAddress(winmm, "FakeJoy_Set");
    s_joy.takeQueries = (FakeJoy_TakeQueriesFn)(void *)GetProcAddress(winmm, "FakeJoy_TakeQueries");
    FakeJoy_DeviceCountFn count =
        (FakeJoy_DeviceCountFn)(void *)GetProcAddress(winmm, "FakeJoy_DeviceCount");
    if (!Log_Check(s_joy.set && s_joy.takeQueries && count, "the fake winmm.dll is in use",
                   "winmm.dll has no FakeJoy_ functions (is winmm=n set?)")) {
        s_joy.set = NULL;
        return;
    }
    s_joy.devices = count();
    s_joy.polled = s_joy.devices < JOY_RECORDS ? s_joy.devices : JOY_RECORDS;
    Log_Line("the fake reports %u joystick ids; %u must be polled", s_joy.devices, s_joy.polled);
    // At start every id was asked once into one record, with no flags set.
    Joy_CheckQueries("start-up queries: each id once, all into the same record", 0, true);
    Joy_Apply(&joy_stages[0]);
    s_joy.from = Record_Count();
}

static ScenarioStep Joy_Step(uint32_t frame)
{
    (void)frame;
    if (!s_joy.set)
        return STEP_CLOSE;
    // The poll of this frame ran before this Kernel_Step, which is the last event recorded.
    const JoyStage *stage = &joy_stages[s_joy.stage];
    ExpectedCall calls[JOY_MAX_EVENTS];
    uint32_t count = Joy_Expected(stage, calls);
    // Late events would show up in the next frame's list.
    Expect_InputCalls(stage->what, s_joy.from, calls, count);
    Joy_CheckQueries("each frame polls every id once, in order", JOY_RETURNALL | JOY_USEDEADZONE,
                     false);
    if (++s_joy.stage == JOY_STAGES)
        return STEP_CLOSE;
    Joy_Apply(&joy_stages[s_joy.stage]);
    s_joy.from = Record_Count();
    return STEP_CONTINUE;
}

const Scenario Scenario_Joystick = {"joystick", Joy_Begin, Joy_Step, NULL, NULL};
