// Pacing report statistics: argument and title parsing, run control, figures and text.
#include "core/core.h"
#include "kernel/pace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StandinPace, SecondsComeFromThePaceArgument)
{
    struct Case {
        const char *tail;
        uint32_t seconds;
    };
    const Case cases[] = {
        {nullptr, 0},           // no tail at all
        {"", 0},                //
        {"--pace 10", 10},      //
        {"-x --pace   7 y", 7}, // anywhere in the tail, spaces allowed
        {"--pace", 0},          // no number
        {"--pace x", 0},        //
        {"--pace 99999", PACE_MAX_SECONDS},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Pace_ParseSeconds(c.tail), c.seconds) << (c.tail ? c.tail : "(null)");
}

TEST(StandinPace, RateComesFromTheTitle)
{
    struct Case {
        const char *title;
        int32_t rate;
    };
    const Case cases[] = {
        {"Video Out FPS: 60", 60}, {"Video Out FPS: 0", 0}, {"Video Out FPS: 12345", 12345},
        {"Video Out", -1},         {"Video Out FPS: ", -1}, {nullptr, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Pace_ParseTitle(c.title), c.rate) << (c.title ? c.title : "(null)");
}

// Runs frames with the given periods from time `start`; returns the flags of each frame ORed.
int RunPeriods(uint32_t start, const uint32_t *periods, int count, int repeat)
{
    int all = Pace_Frame(start);
    uint32_t now = start;
    for (int r = 0; r < repeat; ++r) {
        for (int i = 0; i < count; ++i) {
            now += periods[i];
            all |= Pace_Frame(now);
        }
    }
    return all;
}

TEST(StandinPace, SteadyCadenceGivesSixtyFramesPerSecond)
{
    Pace_Start(2);
    const uint32_t cadence[] = {16, 17, 17};
    // Starts just below the 32-bit wrap: differences must survive it.
    int flags = RunPeriods(0xFFFFFF00u, cadence, 3, 40); // 120 periods, 2000 ms
    EXPECT_TRUE(flags & PACE_STARTED);
    EXPECT_TRUE(flags & PACE_FINISHED);
    PaceSummary s;
    Pace_Summarize(&s);
    EXPECT_EQ(s.frames, 121u);
    EXPECT_EQ(s.periods, 120u);
    EXPECT_EQ(s.wallMs, 2000u);
    EXPECT_NEAR(s.fps, 60.0, 1e-9);
    EXPECT_NEAR(s.meanMs, 50.0 / 3, 1e-9);
    EXPECT_NEAR(s.stdDevMs, 0.4714, 1e-3); // one third at 16, two thirds at 17
    EXPECT_EQ(s.p99Ms, 17u);
    EXPECT_EQ(s.maxMs, 17u);
    EXPECT_EQ(Pace_Frame(0xFFFFFF00u + 2017), 0) << "frames after the end are not taken";
}

TEST(StandinPace, RareLongFramesShowInPercentileAndMaximum)
{
    Pace_Start(10);
    uint32_t periods[100];
    for (uint32_t &p : periods)
        p = 16;
    periods[10] = 40; // one in a hundred: below the 99th percentile rank
    periods[50] = 25;
    RunPeriods(0, periods, 100, 1);
    PaceSummary s;
    Pace_Summarize(&s);
    EXPECT_EQ(s.maxMs, 40u);
    EXPECT_EQ(s.p99Ms, 25u);
    EXPECT_NEAR(s.meanMs, (98 * 16 + 40 + 25) / 100.0, 1e-9);
}

TEST(StandinPace, TitleIsDueOncePerSecondAndTheRunEndsOnTime)
{
    Pace_Start(3);
    int titles = 0, finishedAt = -1;
    EXPECT_EQ(Pace_Frame(500), PACE_STARTED);
    for (uint32_t t = 510; t <= 4000; t += 10) {
        int flags = Pace_Frame(t);
        titles += (flags & PACE_READ_TITLE) != 0;
        if (flags & PACE_FINISHED) {
            finishedAt = (int)t;
            break;
        }
    }
    EXPECT_EQ(titles, 3);
    EXPECT_EQ(finishedAt, 3500);
}

TEST(StandinPace, ReportListsTheFigures)
{
    Pace_Start(1);
    const uint32_t cadence[] = {16, 17, 17};
    RunPeriods(0, cadence, 3, 20);
    Pace_AddRate(0);
    Pace_AddRate(60);
    PaceSummary s;
    Pace_Summarize(&s);
    s.cpuMsPerSecond = 123.375;
    char text[1024];
    int length = Pace_Format(&s, text, sizeof text);
    std::string report(text, (size_t)length);
    for (const char *line : {"real fps: 60.00\n", "mean 16.67 ms", "p99 17 ms, max 17 ms",
                             "shown fps in title: 0 60\n", "cpu: 123.4 ms per second",
                             "1000 ms measured, 61 frame steps"})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    EXPECT_EQ(strlen(text), (size_t)length);

    char small[40];
    length = Pace_Format(&s, small, sizeof small);
    EXPECT_EQ(length, (int)sizeof small - 1);
    EXPECT_EQ(strlen(small), sizeof small - 1);
}

} // namespace
