// The GDI conformance table (tests/data/gdi_conformance.tsv) run on the platform's GDI.
#pragma once

#include "platform/platform.h"

// A check that failed: the table's line, its source, the statement and how it differs.
typedef void (*GdiTableReport)(int line, const char *source, const char *statement,
                               const char *differs);

// Runs the table at `path`, reporting each check that fails; the number of checks, or -1
// when the file cannot be read.
int GdiTable_Run(const char *path, GdiTableReport report);
