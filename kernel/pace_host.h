// The window-system side of the pacing report mode (a no-op where there is no window system).
#pragma once

// Starts a pacing run of the given seconds, to be measured from the next frame on.
void PaceHost_Begin(uint32_t seconds);
// One frame step at Time_Get() = now; reads the window title once a second and, at the end
// of the run, writes the report and closes the window.
void PaceHost_Frame(uint32_t now);
