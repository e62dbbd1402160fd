// Frame pacing with a fake clock: cadence, the single bounded sleep, and the frame rate.
#include "timing/frame.h"
#include "timing/timer.h"
#include "tests/unit/fake_core.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct FrameTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
        FakeCore_Reset();
        ASSERT_EQ(Time_Initialize(1), TIME_SOURCE_COUNTER);
        Fake().calls.clear();
    }
    std::vector<std::string> Sleeps()
    {
        return Fake_CallsMatching({"Sleep"});
    }
};

TEST_F(FrameTest, EachFrameStepsTheCoreRendersThenSleepsToItsDeadline)
{
    Frame_Run(FAKE_WINDOW);
    EXPECT_EQ(Fake_CallsMatching({"Kernel_Step", "RedrawWindow", "Sleep"}),
              (std::vector<std::string>{"Kernel_Step()", "RedrawWindow(all, none, 0x0101)",
                                        "Sleep(16)"}));
}

TEST_F(FrameTest, CadenceIs16Then17And17)
{
    FakeCore_State().stepMicros = 4000; // the core's frame takes 4 ms of each period
    for (int i = 0; i < 6; i++)
        Frame_Run(FAKE_WINDOW);
    EXPECT_EQ(Sleeps(), (std::vector<std::string>{"Sleep(12)", "Sleep(13)", "Sleep(13)",
                                                  "Sleep(12)", "Sleep(13)", "Sleep(13)"}));
    EXPECT_EQ(Fake().nowMicros, 100000u); // 6 frames, 100 ms: 60 frames per second
}

TEST_F(FrameTest, ShownRateIs60FirstThen61)
{
    std::vector<uint16_t> shown;
    for (int i = 0; i < 180; i++) {
        Frame_Run(FAKE_WINDOW);
        shown.push_back(Frame_GetShownRate());
    }
    EXPECT_EQ(shown[0], 0);
    EXPECT_EQ(shown[58], 0);
    EXPECT_EQ(shown[59], 60); // sixty frames make exactly 1000 ms
    EXPECT_EQ(shown[118], 60);
    EXPECT_EQ(shown[119], 61); // later windows start counting at 1
    EXPECT_EQ(shown[179], 61);
}

TEST_F(FrameTest, OverrunFramesAreNotSleptNorMadeUp)
{
    FakeCore_State().stepMicros = 25000;
    for (int i = 0; i < 3; i++)
        Frame_Run(FAKE_WINDOW);
    EXPECT_TRUE(Sleeps().empty());
    FakeCore_State().stepMicros = 0;
    Frame_Run(FAKE_WINDOW); // its full 16 ms from its own start
    Frame_Run(FAKE_WINDOW);
    EXPECT_EQ(Sleeps(), (std::vector<std::string>{"Sleep(16)", "Sleep(17)"}));
    // 5 frames have gathered 108 ms; 36 more of 25 ms close the window at 1008 ms.
    FakeCore_State().stepMicros = 25000;
    for (int i = 0; i < 36; i++)
        Frame_Run(FAKE_WINDOW);
    EXPECT_EQ(Frame_GetShownRate(), 41);
}

TEST_F(FrameTest, SleepStaysBoundedWhenTheClockStepsBack)
{
    // The counter's 32-bit wrap falls just after each frame's start, and the core's step
    // takes 1 to 18 ms: the clock has fallen back by about 429496 ms at the wait.
    std::vector<bool> seen(18, false);
    for (int frame = 0; frame < 54; frame++) { // each step length with each cadence
        FakeCore_State().stepMicros = 1000u * (1 + frame / 3 % 18);
        Fake().counterOffset = (1ull << 32) - Fake().nowMicros * 10 - 1;
        Fake().calls.clear();
        Frame_Run(FAKE_WINDOW);
        std::vector<std::string> sleeps = Sleeps();
        ASSERT_EQ(sleeps.size(), 1u);
        unsigned ms = 0;
        ASSERT_EQ(sscanf(sleeps[0].c_str(), "Sleep(%u)", &ms), 1);
        ASSERT_LT(ms, 18u) << "frame " << frame;
        seen[ms] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 18)
        << "every remainder 0..17 occurs, Sleep(0) for a multiple of 18";
}

} // namespace
