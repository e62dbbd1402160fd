// Test hooks on the system: the virtual clock, the display, the GDI's objects.
#include "platform/gdi/gdi.h"
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/display.h"
#include "platform/sdl/system.h"

bool Probe_ClockSet(uint64_t startMicros, uint64_t counterHz, bool winmm)
{
    Clock_SetVirtual(startMicros);
    Clock_SetCounter(counterHz, counterHz == 0, 0);
    Module_HideFunction("WinMM", "timeGetTime", !winmm);
    return true;
}

uint64_t Probe_ClockAdvance(uint32_t micros)
{
    Clock_Advance(micros);
    return Clock_Micros();
}

bool Probe_SetDesktop(int width, int height, bool classicModes)
{
    Display_ListClassicModes(classicModes);
    Display_SetDesktop(width, height);
    return true;
}

int32_t Probe_LiveGdiObjects(void)
{
    return (int32_t)Gdi_LiveObjects();
}

bool Probe_FailGdiCreation(uint32_t n)
{
    Gdi_FailCreationAt(n);
    return true;
}
