// Timer service: chooses the clock, holds the raised timer resolution, answers Time_Get.
#include "platform/platform.h"
#include "timing/timer.h"

static struct {
    int32_t source;
    uint32_t divisor; // counter counts per returned unit; non-zero whenever source is 0
    uint8_t running;  // between Time_Initialize and Time_Shutdown
    HMODULE winmm;    // still the released handle after Time_Shutdown
    Platform_TimerPeriodFn beginPeriod;
    Platform_TimerPeriodFn endPeriod;
    Platform_TimeGetTimeFn getTime;
    Platform_QueryCounterFn queryCounter;
    Platform_QueryCounterFn queryFrequency;
} s_time;

// Loads WinMM with all three entry points, or leaves it unloaded.
static void Time_LoadWinMM(void)
{
    s_time.winmm = LoadLibraryA("WinMM");
    if (!s_time.winmm)
        return;
    s_time.beginPeriod =
        (Platform_TimerPeriodFn)(void *)GetProcAddress(s_time.winmm, "timeBeginPeriod");
    s_time.endPeriod =
        (Platform_TimerPeriodFn)(void *)GetProcAddress(s_time.winmm, "timeEndPeriod");
    s_time.getTime = (Platform_TimeGetTimeFn)(void *)GetProcAddress(s_time.winmm, "timeGetTime");
    if (!s_time.beginPeriod || !s_time.endPeriod || !s_time.getTime) {
        // A WinMM without its timer functions is no clock: treat it as not loaded.
        FreeLibrary(s_time.winmm);
        s_time.winmm = 0;
    }
}

CORE_API int32_t Time_Initialize(uint32_t period)
{
    if (s_time.running)
        return s_time.source; // the period is begun once per run

    HMODULE kernel = GetModuleHandleA("Kernel32");
    s_time.queryCounter = 0;
    s_time.queryFrequency = 0;
    if (kernel) {
        s_time.queryCounter =
            (Platform_QueryCounterFn)(void *)GetProcAddress(kernel, "QueryPerformanceCounter");
        s_time.queryFrequency =
            (Platform_QueryCounterFn)(void *)GetProcAddress(kernel, "QueryPerformanceFrequency");
    }
    Time_LoadWinMM();
    if (s_time.winmm)
        s_time.beginPeriod(period); // in force for the counter too
    s_time.running = 1;

    if (s_time.queryCounter && s_time.queryFrequency) {
        LARGE_INTEGER frequency;
        frequency.QuadPart = 0;
        if (s_time.queryFrequency(&frequency)) {
            uint32_t divisor = ((uint32_t)frequency.QuadPart / 1000u) * period;
            // Below 1000 counts a second the divisor would be 0: take the next clock.
            if (divisor != 0) {
                s_time.divisor = divisor;
                s_time.source = TIME_SOURCE_COUNTER;
                return s_time.source;
            }
        }
    }
    s_time.source = s_time.winmm ? TIME_SOURCE_WINMM : TIME_SOURCE_TICKS;
    return s_time.source;
}

CORE_API uint32_t Time_Get(void)
{
    // Outside the running state no chosen clock may be usable (a core may ask from
    // Kernel_Initialize, before the clock starts): the tick count is always there.
    if (s_time.source == TIME_SOURCE_COUNTER && s_time.divisor != 0) {
        LARGE_INTEGER count;
        count.QuadPart = 0;
        s_time.queryCounter(&count);
        // The whole count is divided, so the time wraps only at 2^32 units, not each time
        // the count's low 32 bits do (every 429.5 s at 10 MHz).
        return (uint32_t)((uint64_t)count.QuadPart / s_time.divisor);
    }
    if (s_time.source == TIME_SOURCE_WINMM && s_time.running)
        return s_time.getTime();
    return GetTickCount();
}

CORE_API int32_t Time_Shutdown(uint32_t period)
{
    if (s_time.running && s_time.winmm) {
        s_time.endPeriod(period);
        FreeLibrary(s_time.winmm);
    }
    s_time.running = 0;
    return s_time.source;
}
