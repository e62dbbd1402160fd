// The process side: the command line as Wine writes it, modules, and the clocks.
#include "native_fixture.h"

TEST(NativeSystem, CommandLineIsQuotedAsWineQuotesIt)
{
    struct {
        std::vector<const char *> argv;
        const char *line;
    } cases[] = {
        // Measured: wine probe.exe args "x  y" z "" p\"q a\b c\\\"d "e f\\"
        {{"prog", "args", "x  y", "z", "", "p\"q", "a\\b", "c\\\"d", "e f\\"},
         "\"prog\" args \"x  y\" z \"\" p\\\"q a\\b c\\\\\\\"d \"e f\\\\\""},
        {{"./video-out"}, "\"./video-out\""},
        {{"my prog", "tab\there"}, "\"my prog\" \"tab\there\""},
    };
    for (auto &c : cases) {
        char line[256];
        System_BuildCommandLine((int)c.argv.size(), c.argv.data(), line, sizeof line);
        EXPECT_STREQ(line, c.line);
    }
    char small[8];
    const char *argv[] = {"prog", "long argument"};
    EXPECT_EQ(System_BuildCommandLine(2, argv, small, sizeof small), 7u); // cut, still ended
    EXPECT_STREQ(small, "\"prog\" ");
}

TEST(NativeSystem, LibrariesOfferTheTimerFunctionsOnly)
{
    struct {
        const char *library;
        const char *function;
        bool found;
    } cases[] = {
        {"WinMM", "timeBeginPeriod", true}, {"winmm.dll", "timeEndPeriod", true},
        {"WINMM", "timeGetTime", true},     {"WinMM", "joyConfigChanged", false},
        {"UxTheme.dll", NULL, false},       {"user32", NULL, false},
    };
    for (auto &c : cases) {
        HMODULE module = LoadLibraryA(c.library);
        EXPECT_EQ(module != NULL, c.found || c.function) << c.library;
        if (c.function)
            EXPECT_EQ(GetProcAddress(module, c.function) != NULL, c.found) << c.function;
        if (module)
            EXPECT_TRUE(FreeLibrary(module));
    }
    HMODULE kernel = GetModuleHandleA("Kernel32");
    ASSERT_NE(kernel, (HMODULE)NULL);
    EXPECT_NE(GetProcAddress(kernel, "QueryPerformanceFrequency"), (FARPROC)NULL);
    EXPECT_EQ(GetProcAddress(kernel, "Sleep"), (FARPROC)NULL);
    EXPECT_EQ(GetProcAddress(NULL, "Sleep"), (FARPROC)NULL);

    Hooks_HideFunction("Kernel32", "QueryPerformanceCounter", 1);
    EXPECT_EQ(GetProcAddress(kernel, "QueryPerformanceCounter"), (FARPROC)NULL);
    Hooks_HideFunction("Kernel32", "QueryPerformanceCounter", 0);
    EXPECT_NE(GetProcAddress(kernel, "QueryPerformanceCounter"), (FARPROC)NULL);
    Hooks_HideLibrary("WinMM", 1);
    EXPECT_EQ(LoadLibraryA("WinMM"), (HMODULE)NULL);
    Hooks_HideLibrary("WinMM", 0);
    EXPECT_NE(LoadLibraryA("WinMM"), (HMODULE)NULL);
}

TEST(NativeSystem, VirtualClockDrivesEveryClock)
{
    HMODULE kernel = GetModuleHandleA("Kernel32");
    auto counter =
        (Platform_QueryCounterFn)(void *)GetProcAddress(kernel, "QueryPerformanceCounter");
    auto frequency =
        (Platform_QueryCounterFn)(void *)GetProcAddress(kernel, "QueryPerformanceFrequency");
    auto getTime =
        (Platform_TimeGetTimeFn)(void *)GetProcAddress(LoadLibraryA("WinMM"), "timeGetTime");
    struct {
        uint64_t hz;
        int fails;
        uint64_t start;
        uint64_t advance; // microseconds
        BOOL frequencyOk;
        int64_t count;
    } cases[] = {
        {0, 0, 0, 1500, TRUE, 15000},                          // Wine's 10 MHz
        {500, 0, 0, 3000000, TRUE, 1500},                      // below 1000 Hz
        {1000, 1, 0, 2000, FALSE, 2},                          // QueryPerformanceFrequency fails
        {0, 0, 0xFFFFFF00u, 1000, TRUE, 0xFFFFFF00ll + 10000}, // passes a 32-bit wrap
    };
    for (auto &c : cases) {
        Hooks_ClockVirtual(1000000);
        Hooks_ClockCounter(c.hz, c.fails, c.start);
        LARGE_INTEGER before, after, hz;
        counter(&before);
        Hooks_ClockAdvance(c.advance);
        counter(&after);
        EXPECT_EQ(frequency(&hz), c.frequencyOk);
        EXPECT_EQ(after.QuadPart - before.QuadPart + (int64_t)c.start, c.count);
        EXPECT_EQ(before.QuadPart >= (int64_t)c.start, true);
    }
    Hooks_ClockCounter(0, 0, 0);
    Hooks_ClockVirtual(0);
    Hooks_ClockSleepOvershoot(80);
    Hooks_ClockTickStart(0xFFFFFFF0u);
    Sleep(16);
    EXPECT_EQ(Hooks_ClockNow(), 16080u);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u + 16u);
    EXPECT_EQ(getTime(), 0u); // 16 ms past the tick start: wrapped
    Hooks_ClockSleepOvershoot(0);
    Hooks_ClockTickStart(0);
}
