// The process (start, failure, command line), the clocks and the modules a core may look up.
#pragma once

#include "platform/winapi_more.h"

// Keeps the program's name and command line, and starts SDL (or ends the process with a
// clear message when there is no display).
void System_Begin(int argc, const char *const *argv);
// Ends the process with code 1 after one line on standard error: the program's name, the
// text with detail put in for its %s.
void System_Fail(const char *format, const char *detail) __attribute__((noreturn));
// Starts SDL's video and joystick parts once; false after a clear message when it cannot.
bool System_StartSdl(void);
// Builds the process command line from argv as Wine does; the length written (cut to fit).
size_t System_BuildCommandLine(int argc, const char *const *argv, char *out, size_t size);
// Microseconds on the clock every time function reads (the virtual clock once it is set).
uint64_t Clock_Micros(void);
// From now on every clock reads a virtual clock starting at startMicros, which Sleep
// advances instead of waiting.
void Clock_SetVirtual(uint64_t startMicros);
// Advances the virtual clock.
void Clock_Advance(uint64_t micros);
// Every virtual Sleep takes this much longer than asked.
void Clock_SetSleepOvershoot(uint32_t micros);
// The counter's frequency (0: 10 MHz), whether QueryPerformanceFrequency fails, and a value
// added to the counter.
void Clock_SetCounter(uint64_t frequency, bool frequencyFails, uint64_t counterStart);
// A value added to GetTickCount and timeGetTime.
void Clock_SetTickStart(uint32_t ticks);
// Hides a library ("WinMM", "Kernel32.dll"...) from LoadLibraryA and GetModuleHandleA, or
// shows it again; other names are ignored.
void Module_HideLibrary(const char *library, bool hidden);
// Hides one function of a library from GetProcAddress, or shows it again.
void Module_HideFunction(const char *library, const char *function, bool hidden);
