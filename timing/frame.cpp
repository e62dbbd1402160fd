// Frame pacing: deadlines of 16, 17, 17 ms from each frame's own start, one bounded Sleep,
// and the frame-rate window that the title shows.
#include "platform/platform.h"
#include "core/core.h"
#include "render/render.h"
#include "timing/frame.h"

enum {
    FRAME_SLEEP_BOUND = 18, // no sleep reaches this many ms, even when the clock stepped back
    FRAME_WINDOW_MS = 1000
};

static struct {
    uint8_t cadence; // 0 takes 16 ms, 1 and 2 take 17 ms
    uint32_t start;
    uint32_t deadline;
    uint16_t counted;
    uint16_t measured; // ms of in-frame time in the current window
    uint16_t shown;
} s_frame;

void Frame_Run(HWND window)
{
    s_frame.start = Time_Get();
    s_frame.deadline = s_frame.start + (s_frame.cadence == 0 ? 16u : 17u);
    s_frame.cadence = (uint8_t)((s_frame.cadence + 1) % 3);

    Kernel_Step();
    Render_Step(window);

    int32_t remaining = (int32_t)(s_frame.deadline - Time_Get());
    if (remaining > 0)
        Sleep((uint32_t)remaining % FRAME_SLEEP_BOUND);

    s_frame.counted++;
    s_frame.measured = (uint16_t)(s_frame.measured + (uint16_t)(Time_Get() - s_frame.start));
    // The frame that closes a window counts in it and again as the first of the next, whose
    // time starts at 0 all the same. At an exact 16-17-17 cadence sixty frames make 1000 ms:
    // the first window shows 60, every later one 61, one frame more than ran in it. Time over
    // the 1000 ms is dropped, not carried.
    if (s_frame.measured >= FRAME_WINDOW_MS) {
        s_frame.shown = s_frame.counted;
        s_frame.counted = 1; // the frame that closed this window opens the next
        s_frame.measured = 0;
    }
}

uint16_t Frame_GetShownRate(void)
{
    return s_frame.shown;
}
