// Test hooks on the system: the virtual clock, the display, the GDI's objects.
#include "platform/gdi/gdi.h"
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/display.h"
#include "platform/sdl/system.h"

HOOKS_API void Hooks_ClockSet(uint64_t startMicros, uint64_t counterHz, int winmm)
{
    Clock_SetVirtual(startMicros);
    Clock_SetCounter(counterHz, counterHz == 0, 0);
    Module_HideFunction("WinMM", "timeGetTime", !winmm);
}

HOOKS_API uint64_t Hooks_ClockAdvance(uint64_t micros)
{
    Clock_Advance(micros);
    return Clock_Micros();
}

HOOKS_API void Hooks_SetDesktop(int width, int height, int classicModes)
{
    Display_ListClassicModes(classicModes != 0);
    Display_SetDesktop(width, height);
}

HOOKS_API uint32_t Hooks_GdiLiveObjects(void)
{
    return Gdi_LiveObjects();
}

HOOKS_API void Hooks_GdiFailCreationAt(uint32_t n)
{
    Gdi_FailCreationAt(n);
}
