// The conformance cases' driver, shared by the Windows and the native program.
#pragma once

#include "platform/platform.h"

// Runs the cases on `screen` and writes "name digest" lines to argv[1]; with argv[2] and
// argv[3], also the values of every case whose name contains argv[3] to the file argv[2].
// Returns the process exit status.
int GdiDriver_Main(HDC screen, int argc, char **argv);
