// The scripted core's platform probe natively: real time, and the window's messages. The test
// programs' hooks answer the rest of the probe inside the program.
#include "platform/sdl/hooks/hooks.h"
#include "tests/core/testcore.h"

#include <time.h>

__attribute__((constructor)) static void Probe_AtLoad(void)
{
    Scenario_AtLoad();
}

__attribute__((destructor)) static void Probe_AtExit(void)
{
    Scenario_Exit();
}

uint64_t Probe_Micros(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint64_t)now.tv_sec * 1000000u + (uint64_t)now.tv_nsec / 1000u;
}

static void Probe_Observe(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT)
{
    Scenario_Observe(window, message, wParam, lParam);
}

HWND Probe_HookWindow(void)
{
    return Hooks_Observe("WCGRAPH", Probe_Observe);
}
