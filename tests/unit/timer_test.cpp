// Timer service: clock choice and its fallbacks, Time_Get arithmetic and wrap, lifetimes.
#include "timing/timer.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

namespace {

struct TimerTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
    }
};

TEST_F(TimerTest, ChoosesTheFirstUsableClock)
{
    const struct {
        const char *what;
        bool counter, frequency, frequencyFails;
        uint64_t hz;
        bool winmm;
        const char *winmmMissing;
        int32_t source;
        bool periodBegun;
    } cases[] = {
        {"counter", true, true, false, 10000000, true, "", TIME_SOURCE_COUNTER, true},
        {"counter without WinMM", true, true, false, 10000000, false, "", TIME_SOURCE_COUNTER,
         false},
        {"no counter entry", false, true, false, 10000000, true, "", TIME_SOURCE_WINMM, true},
        {"no frequency entry", true, false, false, 10000000, true, "", TIME_SOURCE_WINMM, true},
        {"frequency query fails", true, true, true, 10000000, true, "", TIME_SOURCE_WINMM, true},
        {"frequency below 1000", true, true, false, 999, true, "", TIME_SOURCE_WINMM, true},
        {"nothing but ticks", false, false, false, 0, false, "", TIME_SOURCE_TICKS, false},
        {"WinMM without timeGetTime", false, false, false, 0, true, "timeGetTime",
         TIME_SOURCE_TICKS, false},
        {"WinMM without timeBeginPeriod", true, true, false, 10000000, true, "timeBeginPeriod",
         TIME_SOURCE_COUNTER, false},
        {"WinMM without timeEndPeriod", false, true, false, 10000000, true, "timeEndPeriod",
         TIME_SOURCE_TICKS, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Fake_Reset();
        Fake().counterPresent = c.counter;
        Fake().frequencyPresent = c.frequency;
        Fake().frequencyFails = c.frequencyFails;
        Fake().counterFrequency = c.hz;
        Fake().winmmPresent = c.winmm;
        Fake().winmmMissing = c.winmmMissing;
        Fake().nowMicros = 123456789;

        EXPECT_EQ(Time_Initialize(1), c.source);
        EXPECT_EQ(Fake_CallsMatching({"timeBeginPeriod"}).size(), c.periodBegun ? 1u : 0u);
        EXPECT_EQ(Time_Get(), 123456u); // every clock answers in milliseconds
        EXPECT_EQ(Time_Shutdown(1), c.source);
        EXPECT_EQ(Fake_CallsMatching({"timeEndPeriod"}).size(), c.periodBegun ? 1u : 0u);
        EXPECT_EQ(Fake().librariesHeld, 0) << "WinMM must be released exactly once";
    }
}

TEST_F(TimerTest, TimeBeforeInitializeIsAValidMillisecondTime)
{
    // A core may ask from Kernel_Initialize, before the clock is chosen.
    Fake().nowMicros = 5000000;
    EXPECT_EQ(Time_Get(), 5000u);
    EXPECT_EQ(Time_Shutdown(1), 0);
    EXPECT_TRUE(Fake_CallsMatching({"timeEndPeriod", "FreeLibrary"}).empty());
}

TEST_F(TimerTest, CounterTimeDividesTheLow32BitsAndWraps)
{
    // 10 MHz: the low 32 bits wrap every 2^32 / 10^4 = 429496 ms.
    ASSERT_EQ(Time_Initialize(1), TIME_SOURCE_COUNTER);
    Fake().nowMicros = 429496000;
    EXPECT_EQ(Time_Get(), 429496u);
    Fake().nowMicros = 429497000; // 4294970000 counts: past 2^32
    EXPECT_EQ(Time_Get(), (uint32_t)(4294970000ull - (1ull << 32)) / 10000u);
    Fake().nowMicros = 1000000ull * 1000; // 1000 s
    EXPECT_EQ(Time_Get(), (uint32_t)(10000000000ull % (1ull << 32)) / 10000u);
}

TEST_F(TimerTest, CounterDivisorTakesTheLow32BitsOfTheFrequencyAndThePeriod)
{
    const struct {
        uint64_t hz;
        uint32_t period;
        uint64_t micros;
        uint32_t expected;
    } cases[] = {
        {10000000, 3, 9000, 3},                            // units of 3 ms
        {3579545, 1, 1000000, 3579545 / 3579},             // remainder of /1000 dropped: runs fast
        {(1ull << 32) + 5000000, 1, 1000, 4299967 / 5000}, // low 32 bits of the frequency
        {1000, 1, 7000, 7},                                // the slowest usable counter
    };
    for (const auto &c : cases) {
        Fake_Reset();
        Fake().counterFrequency = c.hz;
        Fake().nowMicros = c.micros;
        ASSERT_EQ(Time_Initialize(c.period), TIME_SOURCE_COUNTER) << c.hz;
        EXPECT_EQ(Time_Get(), c.expected) << c.hz;
        Time_Shutdown(c.period);
    }
}

TEST_F(TimerTest, RepeatedInitializeAndShutdownDoNoHarm)
{
    EXPECT_EQ(Time_Initialize(1), TIME_SOURCE_COUNTER);
    EXPECT_EQ(Time_Initialize(1), TIME_SOURCE_COUNTER);
    EXPECT_EQ(Time_Shutdown(1), TIME_SOURCE_COUNTER);
    EXPECT_EQ(Time_Shutdown(1), TIME_SOURCE_COUNTER);
    EXPECT_EQ(
        Fake_CallsMatching({"timeBeginPeriod", "timeEndPeriod", "LoadLibraryA", "FreeLibrary"}),
        (std::vector<std::string>{"LoadLibraryA(WinMM)", "timeBeginPeriod(1)", "timeEndPeriod(1)",
                                  "FreeLibrary(WinMM)"}));
    EXPECT_EQ(Fake().librariesHeld, 0);
}

TEST_F(TimerTest, MultimediaClockIsNotUsedAfterItsLibraryIsReleased)
{
    Fake().counterPresent = false;
    ASSERT_EQ(Time_Initialize(1), TIME_SOURCE_WINMM);
    Time_Shutdown(1);
    Fake().nowMicros = 77000;
    EXPECT_EQ(Time_Get(), 77u); // answered by the tick count
}

} // namespace
