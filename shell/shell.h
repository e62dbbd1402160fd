// Host shell: process entry, argument splitting, main loop and window procedure.
#pragma once

#include "platform/platform.h"

// Process entry: splits the command line, runs Main_Run and exits with its result.
PLATFORM_EXPORT void Main_Startup(void);

// Counts the line's arguments into *count; the size in bytes of the block that holds them.
size_t WINAPI Main_MeasureArgs(const char *line, uint32_t *count);

// Fills the block of the given size: one pointer per argument, then the NUL-ended arguments;
// nothing is written past the size, whatever the count.
void WINAPI Main_SplitArgs(const char *line, uint32_t count, char *block, size_t size);

// The command line after the program name, or null when nothing follows it.
const char *Main_FindArgumentTail(const char *line);

// Titles the console, logs and runs the window loop; the process exit code.
int Main_Run(int count, char **arguments);

// Opens the window, starts the core and runs frames until the window closes; 0, or 1 after
// one line on standard error when the window cannot be made.
int Main_WindowLoop(HINSTANCE instance, HINSTANCE unused, const char *commandLine, int show);

// Window procedure of class "WCGRAPH".
LRESULT CALLBACK Main_WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
