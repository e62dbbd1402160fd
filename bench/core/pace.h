// Frame pacing statistics of the pacing report, and the report's text.
#pragma once

#include "platform/platform.h"

#include <stdint.h>

enum {
    PACE_MAX_SECONDS = 120,    // longest run accepted
    PACE_MAX_PERIODS = 8192,   // frame periods kept; later ones still count as frames
    PACE_MAX_RATES = 128,      // title readings kept
    PACE_TITLE_INTERVAL = 1000 // milliseconds between two title readings
};

// What Pace_Frame asks of its caller.
enum {
    PACE_STARTED = 1,    // the run began with this frame
    PACE_READ_TITLE = 2, // the title is due to be read
    PACE_FINISHED = 4    // the run is over; no further frames are taken
};

// The figures of one run, as the report shows them.
struct PaceSummary {
    uint32_t seconds;               // run length asked for
    uint32_t frames;                // frame steps from the first to the last
    uint32_t wallMs;                // time from the first to the last frame step
    uint32_t periods;               // frame periods kept
    double fps;                     // real frames per second
    double meanMs, stdDevMs;        // frame period
    uint32_t p99Ms, maxMs;          // frame period
    uint32_t rates[PACE_MAX_RATES]; // frame rates read from the title, in order
    uint32_t rateCount;
    double cpuMsPerSecond; // process CPU time per wall second, set by the caller
};

// The rate shown in a window title such as "Video Out FPS: 60"; -1 when it has none.
int32_t Pace_ParseTitle(const char *title);
// Begins a run of the given seconds (0 ends any run); earlier samples are dropped.
void Pace_Start(uint32_t seconds);
// Records a frame step at time now (ms); returns the PACE_STARTED/READ_TITLE/FINISHED flags.
int Pace_Frame(uint32_t now);
// Records one rate read from the title.
void Pace_AddRate(uint32_t rate);
// Computes the statistics of the run so far; cpuMsPerSecond is left 0.
void Pace_Summarize(PaceSummary *out);
// Writes the report text; returns its length (truncated to fit size).
int Pace_Format(const PaceSummary *summary, char *out, int size);
