// The one door to the platform: every front-end file includes this first and nothing else
// of the system's. On Windows it is the real API; elsewhere our own declarations of the
// subset we use, implemented by whichever backend the build links.
#pragma once

// The C runtime's own printf, not mingw's replacement: the program has no start-up code
// that would initialise the latter. <stdio.h> must come before any other header.
#ifndef __USE_MINGW_ANSI_STDIO
#define __USE_MINGW_ANSI_STDIO 0
#endif
#include <stdio.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#define PLATFORM_EXPORT extern "C"
#else
#include "winapi.h"
#define PLATFORM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Signatures of the entry points looked up at run time.
typedef BOOL(WINAPI *Platform_QueryCounterFn)(LARGE_INTEGER *value);
typedef UINT(WINAPI *Platform_TimerPeriodFn)(UINT period);
typedef DWORD(WINAPI *Platform_TimeGetTimeFn)(void);
typedef void(WINAPI *Platform_SetThemeAppPropertiesFn)(DWORD flags);

// Standard output written out line by line, and a crash reported in one line on standard
// error (naming the core library when it was running) before it ends the process as before.
void Platform_WatchProcess(void);
