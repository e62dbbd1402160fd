// Frame loop: one frame per idle pass, messages first, 60 fps pacing, the rate in the title.
#include "core/core.h"
#include "testcore.h"

enum {
    FRAMES_LAST = 160,  // about 2.7 s
    FRAMES_SETTLED = 5, // rates are measured from here on, past the start-up
    FRAMES_CHAIN_AT = 10,
    FRAMES_CHAIN_LENGTH = 20
};

static HWND frames_window;
static uint32_t frames_step_index[FRAMES_LAST + 1];  // record index of each Kernel_Step
static uint32_t frames_title_rate[FRAMES_LAST + 1];  // rate in the title after each frame
static uint32_t frames_paint_index[FRAMES_LAST + 1]; // record index of each frame's paint
static uint32_t frames_title_index[FRAMES_LAST + 1]; // and of its title

// The rate in a title "Video Out FPS: N"; false when the title has another form.
static bool Frames_ParseTitle(const char *title, uint32_t *rate)
{
    static const char head[] = "Video Out FPS: ";
    if (strncmp(title, head, sizeof head - 1) != 0)
        return false;
    const char *digits = title + sizeof head - 1;
    *rate = 0;
    for (const char *at = digits; *at; at++) {
        if (*at < '0' || *at > '9')
            return false;
        *rate = *rate * 10 + (*at - '0');
    }
    return *digits != 0;
}

// Between frame and frame + 1: exactly one paint, then exactly one title, then the marker
// posted during the frame. Writes what is wrong into problem.
static bool Frames_CheckOne(uint32_t frame, char *problem, size_t size)
{
    uint32_t from = frames_step_index[frame], to = frames_step_index[frame + 1];
    uint32_t paints = 0, titles = 0, paint = to, title = to, mark = to;
    for (uint32_t i = from; i < to; i++) {
        const RecordEvent *event = Record_Get(i);
        if (Record_IsMessage(event, WM_PAINT)) {
            paints++;
            paint = i;
        } else if (Record_IsMessage(event, WM_SETTEXT)) {
            titles++;
            title = i;
            if (!Frames_ParseTitle(event->text, &frames_title_rate[frame])) {
                _snprintf(problem, size, "title \"%s\"", event->text);
                return false;
            }
        } else if (Record_IsMessage(event, WM_TEST_FRAME_MARK) && event->a == frame) {
            mark = i;
        }
    }
    frames_paint_index[frame] = paint;
    frames_title_index[frame] = title;
    if (paints == 1 && titles == 1 && paint < title && title < mark)
        return true;
    _snprintf(problem, size, "%u paints, %u titles, at #%u #%u, marker at #%u", paints, titles,
              paint, title, mark);
    return false;
}

static void Frames_CheckSequence(void)
{
    char problem[160];
    for (uint32_t frame = 1; frame < FRAMES_LAST; frame++) {
        problem[sizeof problem - 1] = 0;
        if (!Frames_CheckOne(frame, problem, sizeof problem - 1)) {
            Log_Fail("each frame: one paint, one title, then the queued messages",
                     "after frame %u: %s", frame, problem);
            Record_Dump(frames_step_index[frame], frames_step_index[frame + 1] + 1);
            return;
        }
    }
    Log_Line("ok each frame: one paint, one title, then the queued messages");

    // A message posted while handling a message is still handled before the next frame.
    uint32_t from = frames_step_index[FRAMES_CHAIN_AT];
    uint32_t to = frames_step_index[FRAMES_CHAIN_AT + 1];
    uint32_t links = Record_CountMessages(WM_TEST_CHAIN, from, to);
    if (!Log_Check(links == FRAMES_CHAIN_LENGTH, "a stream of messages delays the next frame",
                   "%u of %u chained messages before the next frame", links, FRAMES_CHAIN_LENGTH))
        Record_Dump(from, to + 1);
}

static void Frames_CheckTitles(void)
{
    // The first measuring window counts from 0: its rate is the number of frames run.
    uint32_t first = 1;
    while (first < FRAMES_LAST && frames_title_rate[first] == 0)
        first++;
    Log_Check(frames_title_rate[1] == 0, "title shows rate 0 at first", "rate %u",
              frames_title_rate[1]);
    Log_Check(first < FRAMES_LAST && frames_title_rate[first] == first && first >= 50,
              "first shown rate is the frame count after a second",
              "first non-zero rate %u after frame %u", frames_title_rate[first], first);
    uint32_t shown = frames_title_rate[FRAMES_LAST - 1];
    Log_Check(shown >= 50 && shown <= 62, "shown rate 50 to 62 after 2.5 s", "rate %u", shown);
}

static void Frames_CheckPacing(void)
{
    const RecordEvent *settled = Record_Get(frames_step_index[FRAMES_SETTLED]);
    const RecordEvent *last = Record_Get(frames_step_index[FRAMES_LAST]);
    uint32_t frames = FRAMES_LAST - FRAMES_SETTLED;
    uint32_t clock_ms = last->a - settled->a;
    uint32_t real_us = last->micros - settled->micros;
    uint32_t shortest = 0xFFFFFFFF;
    // Where the real time goes: core step and frame fetch, paint and wait, title and loop.
    uint32_t fetch_us = 0, paint_us = 0, drawing_us = 0, loop_us = 0;
    for (uint32_t frame = FRAMES_SETTLED; frame < FRAMES_LAST; frame++) {
        const RecordEvent *step = Record_Get(frames_step_index[frame]);
        const RecordEvent *next = Record_Get(frames_step_index[frame + 1]);
        if (next->a - step->a < shortest)
            shortest = next->a - step->a;
        fetch_us += Record_Get(frames_paint_index[frame])->micros - step->micros;
        drawing_us += Record_Get(frames_paint_index[frame])->b;
        paint_us += Record_Get(frames_title_index[frame])->micros -
                    Record_Get(frames_paint_index[frame])->micros;
        loop_us += next->micros - Record_Get(frames_title_index[frame])->micros;
    }
    // 60 frames per second is 16.7 ms a frame; a busy machine may lose some.
    Log_Check(clock_ms * 10 >= frames * 160 && clock_ms * 10 <= frames * 200,
              "frames 16 to 20 ms apart on Time_Get", "%u frames in %u ms", frames, clock_ms);
    // Each frame waits out its own period from its own start: none comes early.
    Log_Check(shortest >= 15, "no frame shorter than its period", "shortest %u ms", shortest);
    uint32_t rate_x10 = real_us ? (uint32_t)(frames * 10000000ull / real_us) : 0;
    Log_Line("measured %u frames in %u ms on Time_Get, %u us real (%u.%u per second), "
             "shortest %u ms; per frame on average %u us to the paint, %u us drawing, "
             "%u us to the title, %u us to the next frame",
             frames, clock_ms, real_us, rate_x10 / 10, rate_x10 % 10, shortest, fetch_us / frames,
             drawing_us / frames, paint_us / frames, loop_us / frames);
    Log_Check(rate_x10 >= 500 && rate_x10 <= 620, "real frame rate 50 to 62",
              "%u.%u frames per second", rate_x10 / 10, rate_x10 % 10);
    // Time_Get counts real milliseconds.
    uint32_t real_ms = real_us / 1000;
    uint32_t slack = real_ms / 50 + 5;
    Log_Check(clock_ms + slack >= real_ms && clock_ms <= real_ms + slack,
              "Time_Get keeps real time", "%u ms counted in %u real ms", clock_ms, real_ms);
}

static void Frames_Begin(const char *tail)
{
    (void)tail;
    frames_window = Hook_Window();
}

static ScenarioStep Frames_Step(uint32_t frame)
{
    frames_step_index[frame] = Record_Count() - 1;
    if (frame == FRAMES_LAST) {
        Frames_CheckSequence();
        Frames_CheckTitles();
        Frames_CheckPacing();
        return STEP_CLOSE;
    }
    PostMessageA(frames_window, WM_TEST_FRAME_MARK, frame, 0);
    if (frame == FRAMES_CHAIN_AT)
        PostMessageA(frames_window, WM_TEST_CHAIN, FRAMES_CHAIN_LENGTH, 0);
    return STEP_CONTINUE;
}

static void Frames_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_TEST_CHAIN && wParam > 1)
        PostMessageA(window, WM_TEST_CHAIN, wParam - 1, 0);
}

const Scenario Scenario_Frames = {"frames", Frames_Begin, Frames_Step, Frames_Message, NULL};
