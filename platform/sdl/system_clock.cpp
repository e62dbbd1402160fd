// Clocks of the native build: Sleep, the tick count, the performance counter (10 MHz, as
// Wine reports) and WinMM's timer functions, all on CLOCK_MONOTONIC; or on a virtual
// clock, where Sleep advances time instead of waiting.
#include "platform/sdl/system.h"

#include <errno.h>
#include <sched.h>
#include <sys/prctl.h>
#include <time.h>

enum {
    CLOCK_COUNTER_HZ = 10000000,
    CLOCK_FINE_SLACK_NS = 1000 // timer slack while a 1 ms period is begun
};

static struct {
    bool virtualOn;
    uint64_t virtualMicros;
    uint32_t overshootMicros; // added to every virtual Sleep
    uint64_t counterHz;
    bool frequencyFails;
    uint64_t counterStart; // added to the counter
    uint32_t tickStart;    // added to the millisecond clocks
    int periods;           // timeBeginPeriod calls not yet ended
    long savedSlack;
} s_clock = {false, 0, 0, CLOCK_COUNTER_HZ, false, 0, 0, 0, 0};

uint64_t Clock_Micros(void)
{
    if (s_clock.virtualOn)
        return s_clock.virtualMicros;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint64_t)now.tv_sec * 1000000u + (uint64_t)now.tv_nsec / 1000u;
}

// Nanoseconds, for the counter's finer resolution on the real clock.
static uint64_t Clock_Nanos(void)
{
    if (s_clock.virtualOn)
        return s_clock.virtualMicros * 1000u;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint64_t)now.tv_sec * 1000000000u + (uint64_t)now.tv_nsec;
}

static uint32_t Clock_Millis(void)
{
    return (uint32_t)(Clock_Micros() / 1000u) + s_clock.tickStart;
}

void WINAPI Sleep(DWORD milliseconds)
{
    if (s_clock.virtualOn) {
        s_clock.virtualMicros += (uint64_t)milliseconds * 1000u + s_clock.overshootMicros;
        return;
    }
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    struct timespec wake;
    clock_gettime(CLOCK_MONOTONIC, &wake);
    wake.tv_sec += milliseconds / 1000;
    wake.tv_nsec += (long)(milliseconds % 1000) * 1000000L;
    if (wake.tv_nsec >= 1000000000L) {
        wake.tv_sec++;
        wake.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, NULL) == EINTR) {
    }
}

DWORD WINAPI GetTickCount(void)
{
    return Clock_Millis();
}

// Found through GetProcAddress(GetModuleHandleA("Kernel32"), ...).
BOOL WINAPI Clock_QueryPerformanceCounter(LARGE_INTEGER *value)
{
    if (!value)
        return FALSE;
    uint64_t nanos = Clock_Nanos();
    uint64_t hz = s_clock.counterHz;
    // Whole seconds and the rest apart: the product must not overflow 64 bits.
    uint64_t counts = nanos / 1000000000u * hz + nanos % 1000000000u * hz / 1000000000u;
    value->QuadPart = (int64_t)(counts + s_clock.counterStart);
    return TRUE;
}

BOOL WINAPI Clock_QueryPerformanceFrequency(LARGE_INTEGER *value)
{
    if (!value)
        return FALSE;
    if (s_clock.frequencyFails) {
        value->QuadPart = 0;
        return FALSE;
    }
    value->QuadPart = (int64_t)s_clock.counterHz;
    return TRUE;
}

// Found through LoadLibraryA("WinMM").
UINT WINAPI Clock_TimeBeginPeriod(UINT period)
{
    if (period == 0)
        return TIMERR_NOCANDO;
    if (s_clock.periods++ == 0) {
        s_clock.savedSlack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
        if (period <= 1)
            prctl(PR_SET_TIMERSLACK, (unsigned long)CLOCK_FINE_SLACK_NS, 0, 0, 0);
    }
    return TIMERR_NOERROR;
}

UINT WINAPI Clock_TimeEndPeriod(UINT period)
{
    if (period == 0 || s_clock.periods == 0)
        return TIMERR_NOCANDO;
    if (--s_clock.periods == 0 && s_clock.savedSlack > 0)
        prctl(PR_SET_TIMERSLACK, (unsigned long)s_clock.savedSlack, 0, 0, 0);
    return TIMERR_NOERROR;
}

DWORD WINAPI Clock_TimeGetTime(void)
{
    return Clock_Millis();
}

void Clock_SetVirtual(uint64_t startMicros)
{
    s_clock.virtualMicros = startMicros;
    s_clock.virtualOn = true;
}

void Clock_Advance(uint64_t micros)
{
    s_clock.virtualMicros += micros;
}

void Clock_SetSleepOvershoot(uint32_t micros)
{
    s_clock.overshootMicros = micros;
}

void Clock_SetCounter(uint64_t frequency, bool frequencyFails, uint64_t counterStart)
{
    s_clock.counterHz = frequency ? frequency : (uint64_t)CLOCK_COUNTER_HZ;
    s_clock.frequencyFails = frequencyFails;
    s_clock.counterStart = counterStart;
}

void Clock_SetTickStart(uint32_t ticks)
{
    s_clock.tickStart = ticks;
}
