// The frame loop: messages first, one paint and one title a frame; on a set clock the 16-17-17
// cadence, the rate, an overrun, the counter's 32-bit wrap, the time's own 2^32 ms wrap and a
// clock that steps back ("frames 3"), and the clock's fallbacks ("frames 1", "frames 2").
#include "tests/core/testcore.h"

enum { FRAMES_LAST = 200, FRAMES_CHAIN_AT = 10, FRAMES_CHAIN_LENGTH = 20 };
// Frame OVERRUN_AT's core works 25 ms; frame WRAP_AT's 10 ms, across the counter's wrap.
enum { FRAMES_OVERRUN_AT = 130, FRAMES_OVERRUN_MS = 25, FRAMES_WRAP_AT = 150, FRAMES_WRAP_MS = 10 };
enum { FRAMES_COUNTER_HZ = 10000000, FRAMES_BACK_MS = 100 };

static struct {
    bool controlled;                 // the clock is set by the test
    int32_t variant;                 // N of "frames N" (above), -1 for none
    uint32_t steps[FRAMES_LAST + 2]; // record index of each Kernel_Step
    uint32_t frame;                  // the last one stepped
    uint32_t rates[FRAMES_LAST + 2]; // the rate in the title after each frame
    bool titled[FRAMES_LAST + 2];    // that title was "Video Out FPS: N"
    uint64_t clock[FRAMES_LAST + 2]; // the set clock at each Kernel_Step
} s_frames;

// Between two frames: one paint, then one title, then the mark posted during the frame.
static void Frames_CheckSequence(void)
{
    uint32_t frame = 1;
    for (; frame < FRAMES_LAST; frame++) {
        uint32_t from = s_frames.steps[frame], to = s_frames.steps[frame + 1];
        uint32_t paint = Record_Find(CALL_MESSAGE + WM_PAINT, from);
        uint32_t title = Record_Find(CALL_MESSAGE + WM_SETTEXT, from);
        uint32_t mark = Record_Find(CALL_MESSAGE + WM_TEST_MARK, from);
        if (Record_Tally(CALL_MESSAGE + WM_PAINT, from, to) != 1 ||
            Record_Tally(CALL_MESSAGE + WM_SETTEXT, from, to) != 1 || !s_frames.titled[frame] ||
            !(paint < title && title < mark && mark < to))
            break;
    }
    if (!Log_Check(frame == FRAMES_LAST,
                   "each frame: one paint, one title, then the queued messages", "after frame %u",
                   frame))
        Record_Dump(s_frames.steps[frame], s_frames.steps[frame + 1] + 1);
    uint32_t links = Record_Tally(CALL_MESSAGE + WM_TEST_CHAIN, s_frames.steps[FRAMES_CHAIN_AT],
                                  s_frames.steps[FRAMES_CHAIN_AT + 1]);
    Log_Check(links == FRAMES_CHAIN_LENGTH, "a stream of messages delays the next frame",
              "%u of %u chained messages before it", links, FRAMES_CHAIN_LENGTH);
    Log_Check(s_frames.rates[1] == 0, "the title shows rate 0 at first", "%u", s_frames.rates[1]);
}

static uint32_t Frames_Time(uint32_t frame) // as Kernel_Step was called
{
    return Record_Get(s_frames.steps[frame])->a;
}

// The period of frame f on the set clock: the cadence, and the overrun.
static uint32_t Frames_Period(uint32_t f)
{
    return f == FRAMES_OVERRUN_AT ? FRAMES_OVERRUN_MS : f % 3 == 1 ? 16 : 17;
}

// With the clock standing still but for the pacing's own Sleep, every period is exact.
static void Frames_CheckCadence(void)
{
    uint32_t wrong = 0;
    bool timeWraps = s_frames.variant == 3;
    // With the step back in WRAP_AT the time wraps at 2^32 ms some frames later, exactly.
    for (uint32_t frame = 1; frame < (timeWraps ? FRAMES_LAST : FRAMES_WRAP_AT + 1); frame++) {
        if (timeWraps && frame == FRAMES_WRAP_AT)
            continue;
        uint32_t period = Frames_Time(frame + 1) - Frames_Time(frame);
        uint32_t want = Frames_Period(frame);
        if (period != want && wrong++ < 4)
            Log_Line("  frame %u took %u ms, expected %u", frame, period, want);
    }
    Log_Check(wrong == 0, "periods of 16, 17 and 17 ms; an overrun is not slept nor made up",
              "%u frames off", wrong);
    // Sixty frames fill the first second exactly; later windows start counting at 1.
    Log_Check(s_frames.rates[59] == 0 && s_frames.rates[60] == 60 && s_frames.rates[119] == 60 &&
                  s_frames.rates[120] == 61,
              "shown rate 60 after the first second, then 61",
              "rates after frames 59, 60, 119, 120: %u, %u, %u, %u", s_frames.rates[59],
              s_frames.rates[60], s_frames.rates[119], s_frames.rates[120]);
    // In that frame the counter's low 32 bits wrapped, or the clock stepped back.
    uint32_t before = Frames_Time(FRAMES_WRAP_AT), after = Frames_Time(FRAMES_WRAP_AT + 1);
    uint64_t took = s_frames.clock[FRAMES_WRAP_AT + 1] - s_frames.clock[FRAMES_WRAP_AT];
    if (!timeWraps)
        Log_Check(after > before,
                  "the time keeps rising across the counter's 32-bit wrap, where one counts",
                  "times %u then %u", before, after);
    else
        Log_Check(after < before && took < 18 * 1000,
                  "a clock that steps back gives a wait under 18 ms",
                  "times %u then %u, %u us apart", before, after, (unsigned)took);
}

static void Frames_Begin(const char *)
{
    s_frames.variant = Scenario_Argument();
    // Before Time_Initialize: the counter's low 32 bits (in variant 3 the time, at 2^32 ms)
    // are to wrap 5 ms into frame WRAP_AT.
    uint64_t elapsed = 5;
    for (uint32_t f = 1; f < FRAMES_WRAP_AT; f++)
        elapsed += Frames_Period(f);
    int32_t v = s_frames.variant;
    uint64_t wrapMicros =
        v == 3 ? 0x100000000ull * 1000 : 0x100000000ull * 1000000 / FRAMES_COUNTER_HZ;
    uint64_t hz = v == 1 ? 999 : v == 2 ? 0 : FRAMES_COUNTER_HZ; // too slow, or none
    s_frames.controlled = Probe_ClockSet(wrapMicros - elapsed * 1000, hz, v != 2);
}

static ScenarioStep Frames_Step(uint32_t frame)
{
    s_frames.frame = frame;
    s_frames.steps[frame] = Record_Count() - 1;
    s_frames.clock[frame] = Probe_ClockAdvance(0);
    if (frame == FRAMES_WRAP_AT && s_frames.variant == 3) {
        // The clock steps back 100 ms within the frame: the wait must stay under 18 ms.
        s_frames.clock[frame] -= FRAMES_BACK_MS * 1000;
        Probe_ClockSet(s_frames.clock[frame], FRAMES_COUNTER_HZ, true);
    } else if (frame == FRAMES_OVERRUN_AT || frame == FRAMES_WRAP_AT) {
        Probe_ClockAdvance((frame == FRAMES_WRAP_AT ? FRAMES_WRAP_MS : FRAMES_OVERRUN_MS) * 1000);
    }
    if (frame <= FRAMES_LAST) {
        Probe_Post(Scenario_Window(), WM_TEST_MARK, frame, 0);
        if (frame == FRAMES_CHAIN_AT)
            Probe_Post(Scenario_Window(), WM_TEST_CHAIN, FRAMES_CHAIN_LENGTH, 0);
        return STEP_CONTINUE;
    }
    Frames_CheckSequence();
    if (s_frames.controlled)
        Frames_CheckCadence(); // on the fallback clocks too: they count milliseconds
    if (s_frames.controlled && (s_frames.variant == 1 || s_frames.variant == 2)) {
        // A second Time_Initialize changes nothing and answers with the clock chosen.
        int32_t source = Time_Initialize(1); // 1: the tick count, 2: WinMM
        Log_Check(source == s_frames.variant,
                  "a counter below 1000 Hz or missing falls back in turn", "clock %d, expected %d",
                  source, s_frames.variant);
    }
    return STEP_CLOSE;
}

// The title set after a frame: "Video Out FPS: N", and its rate N.
static void Frames_Message(UINT message, WPARAM, LPARAM lParam)
{
    unsigned frame = s_frames.frame, rate = 0;
    if (message != WM_SETTEXT || frame > FRAMES_LAST)
        return;
    char form[32];
    sscanf((const char *)lParam, "Video Out FPS: %u", &rate);
    snprintf(form, sizeof form, "Video Out FPS: %u", rate);
    s_frames.rates[frame] = rate;
    s_frames.titled[frame] = strcmp((const char *)lParam, form) == 0;
}

const Scenario Scenario_Frames = {"frames", Frames_Begin, Frames_Step, Frames_Message, NULL, false};
