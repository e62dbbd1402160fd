// What the benchmarks' scenarios need per platform.
#pragma once

#include <stdint.h>

// GDI objects made less deleted since the first call (by the program and the core).
int32_t Bench_GdiObjects(void);
