// Frame pacing: one core frame per idle pass on the 16-17-17 ms cadence, and the frame rate.
#pragma once

#include "platform/platform.h"

// Runs one frame (core step, render step), sleeps to its deadline and counts it.
void Frame_Run(HWND window);

// Frames counted in the last completed measuring window of 1000 ms; 0 until the first.
uint16_t Frame_GetShownRate(void);
