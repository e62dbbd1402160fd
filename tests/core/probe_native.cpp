// The scripted core's platform probe natively: POSIX clocks and the process's resources. The
// test programs' hooks answer the rest of the probe inside the program.
#include "platform/sdl/hooks/hooks.h"
#include "tests/core/testcore.h"

#include <fcntl.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

__attribute__((constructor)) static void Probe_AtLoad(void)
{
    Scenario_AtLoad();
}

__attribute__((destructor)) static void Probe_AtExit(void)
{
    Scenario_Exit();
}

static uint64_t Probe_ClockMicros(clockid_t clock)
{
    struct timespec now;
    clock_gettime(clock, &now);
    return (uint64_t)now.tv_sec * 1000000u + (uint64_t)now.tv_nsec / 1000u;
}

uint64_t Probe_Micros(void)
{
    return Probe_ClockMicros(CLOCK_MONOTONIC);
}

uint64_t Probe_CpuMicros(void)
{
    return Probe_ClockMicros(CLOCK_PROCESS_CPUTIME_ID);
}

static void Probe_Observe(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT)
{
    Scenario_Observe(window, message, wParam, lParam);
}

HWND Probe_HookWindow(void)
{
    return Hooks_Observe("WCGRAPH", Probe_Observe);
}

void Probe_Resources(uint64_t *residentBytes, int64_t *heapBytes, int32_t *handles,
                     int32_t *gdiObjects)
{
    unsigned long pages = 0, resident = 0;
    FILE *statm = fopen("/proc/self/statm", "r");
    if (statm && fscanf(statm, "%lu %lu", &pages, &resident) != 2)
        resident = 0;
    if (statm)
        fclose(statm);
    *residentBytes = (uint64_t)resident * (uint64_t)sysconf(_SC_PAGESIZE);
    *heapBytes = (int64_t)mallinfo2().uordblks;
    *handles = 0;
    for (int fd = 0; fd < 1024; fd++)
        *handles += fcntl(fd, F_GETFD) != -1;
    *gdiObjects = Probe_LiveGdiObjects();
}
