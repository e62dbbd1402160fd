// What the benchmarks' scenarios need per platform.
#pragma once

#include <stdint.h>

// GDI objects made less deleted since the first call (by the program and the core).
int32_t Bench_GdiObjects(void);
// The floor: the frame composed from its planes through lookup tables into 32-bit pixels;
// the median time of one composition in ms.
double Bench_FloorMs(void);
