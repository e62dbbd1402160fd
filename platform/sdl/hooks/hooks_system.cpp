// Test hooks on the system: the virtual clock, hidden functions, the display, the GDI's objects.
#include "platform/gdi/gdi.h"
#include "platform/sdl/hooks/hooks.h"
#include "platform/sdl/display.h"
#include "platform/sdl/system.h"

HOOKS_API void Hooks_ClockVirtual(uint64_t startMicros)
{
    Clock_SetVirtual(startMicros);
}

HOOKS_API void Hooks_ClockAdvance(uint64_t micros)
{
    Clock_Advance(micros);
}

HOOKS_API uint64_t Hooks_ClockNow(void)
{
    return Clock_Micros();
}

HOOKS_API void Hooks_ClockCounter(uint64_t frequency, int frequencyFails, uint64_t counterStart)
{
    Clock_SetCounter(frequency, frequencyFails != 0, counterStart);
}

HOOKS_API void Hooks_HideFunction(const char *library, const char *function, int hidden)
{
    Module_HideFunction(library, function, hidden != 0);
}

HOOKS_API void Hooks_ListClassicModes(int listed)
{
    Display_ListClassicModes(listed != 0);
}

HOOKS_API void Hooks_SetDesktopSize(int width, int height)
{
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
