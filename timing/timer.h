// Timer service: the millisecond clock offered to the front-end and, through the exports
// Time_Initialize, Time_Get and Time_Shutdown (declared with the core contract), to the core.
#pragma once

#include "core/core.h"

enum {
    TIME_SOURCE_COUNTER = 0, // QueryPerformanceCounter
    TIME_SOURCE_WINMM = 1,   // timeGetTime
    TIME_SOURCE_TICKS = 2    // GetTickCount
};
