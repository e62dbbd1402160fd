// Joystick polling: a script of joystick states, one step a frame, and the events each step
// must give before the next frame.
#include "tests/core/testcore.h"

enum { JOY_CENTRED = 0xFFFFFFFFu };
enum JoyPlug { JOY_END, JOY_OUT, JOY_IN }; // no more states; nothing plugged in; the state

struct JoyState {
    uint32_t id;
    JoyPlug plug;
    uint32_t axes[6];
    uint32_t buttons, pov;
};

static const struct {
    const char *what;
    JoyState states[3];
    Expected events[12];
} joy_steps[] = {
    {"first poll: buttons, the hat from forward, every changed axis",
     {{0, JOY_IN, {0x1234, 65535, 0, 32768, 100, 65280}, 0x5, 9000}},
     {EVENT(0x4000, 8), EVENT(0x4002, 8), EVENT(0x4020, 2), EVENT(0x4021, 8), EVENT(0x5000, 0x12),
      EVENT(0x5001, 0xFF), EVENT(0x5003, 0x80), EVENT(0x5004, 0), EVENT(0x5005, 0xFF)}},
    {"a release and a press, the hat to a diagonal, an axis moved by 1",
     {{0, JOY_IN, {0x1235, 65535, 0, 32768, 100, 65280}, 0x80000004, 13500}},
     {EVENT(0x4000, 2), EVENT(0x401F, 8), EVENT(0x4021, 2), EVENT(0x4021, 8), EVENT(0x4022, 8),
      EVENT(0x5000, 0x12)}},
    {"an unplugged id says nothing; another id is polled on its own",
     {{0, JOY_OUT, {0}, 0, 0}, {3, JOY_IN, {256, 0, 0, 0, 0, 0}, 0, 0}},
     {EVENT(0x5300, 0x01)}},
    {"nothing changed: nothing sent", {{3, JOY_IN, {256, 0, 0, 0, 0, 0}, 0, 0}}, {}},
    {"the id comes back: its changes since it went",
     {{0, JOY_IN, {0x1235, 32768, 0, 32768, 100, 65280}, 0, JOY_CENTRED}},
     {EVENT(0x4002, 2), EVENT(0x401F, 2), EVENT(0x4021, 2), EVENT(0x4022, 2), EVENT(0x5001, 0x80)}},
    {"from held forward to a diagonal: forward up, then left and forward down",
     {{3, JOY_IN, {256, 0, 0, 0, 0, 0}, 0, 31500}},
     {EVENT(0x4320, 2), EVENT(0x4323, 8), EVENT(0x4320, 8)}},
    {"from a diagonal to centred: both up",
     {{3, JOY_IN, {256, 0, 0, 0, 0, 0}, 0, JOY_CENTRED}},
     {EVENT(0x4323, 2), EVENT(0x4320, 2)}},
    // Where shown: a hat at 36000 is centred; ids from 16 are not asked (16 would be taken for 0).
    {"a hat from 36000 up counts as centred, an id from 16 is not asked",
     {{0, JOY_IN, {0x1235, 32768, 0, 32768, 100, 65280}, 0, 36000},
      {16, JOY_IN, {1, 2, 3, 4, 5, 6}, 0x7, 9000}},
     {}},
};
enum { JOY_STEPS = sizeof joy_steps / sizeof joy_steps[0] };

static struct {
    uint32_t step; // the step set in the last frame, +1
    uint32_t from; // record index after that frame's Kernel_Step
    bool shown;    // the platform showed every state of the step
    uint32_t digest;
} s_joy = {0, 0, false, TEST_HASH_START};

static ScenarioStep Joy_Step(uint32_t)
{
    if (s_joy.step > 0) {
        // The events of the poll that ran before this frame's Kernel_Step.
        const auto &done = joy_steps[s_joy.step - 1];
        if (s_joy.shown)
            Expect_Calls(done.what, s_joy.from, done.events, false);
        else
            Log_Line("skipped: %s (this platform cannot show it)", done.what);
        if (s_joy.shown && s_joy.step < JOY_STEPS) { // every platform shows the steps but the last
            uint32_t events[2] = {s_joy.step, Record_InputDigest(s_joy.from, false)};
            s_joy.digest = Test_Hash(s_joy.digest, events, 2);
        }
    }
    if (s_joy.step == JOY_STEPS) {
        Log_Digest("joystick events", s_joy.digest);
        return STEP_CLOSE;
    }
    s_joy.shown = true;
    for (const JoyState &j : joy_steps[s_joy.step].states) {
        const uint32_t *a = j.axes;
        JOYINFOEX info = {sizeof(JOYINFOEX), 0, a[0],  a[1], a[2], a[3], a[4], a[5],
                          j.buttons,         0, j.pov, 0,    0};
        if (j.plug != JOY_END)
            s_joy.shown = Probe_Joystick(j.id, j.plug == JOY_IN ? &info : NULL) && s_joy.shown;
    }
    s_joy.step++;
    s_joy.from = Record_Count();
    return STEP_CONTINUE;
}

const Scenario Scenario_Joystick = {"joystick", NULL, Joy_Step, NULL, NULL, false};
