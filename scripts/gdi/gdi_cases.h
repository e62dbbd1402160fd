// GDI conformance cases: the same drawing on every platform, each result reported as a digest.
#pragma once

#include "platform/platform.h"

// One case's result: its name, a digest of its values, and the values (pixels, then results).
typedef void (*GdiCasesReport)(const char *name, uint32_t digest, const uint32_t *values,
                               int count);

// Runs every case, drawing into `screen` (a window device context of at least 640 x 400
// pixels) and memory device contexts; returns how many cases were reported.
int GdiCases_Run(HDC screen, GdiCasesReport report);
