// What the benchmarks' scenarios need per platform.
#pragma once

#include <stdint.h>

// GDI objects made less deleted since the first call (by the program and the core).
int32_t Bench_GdiObjects(void);
// The process's CPU time in microseconds.
uint64_t Bench_CpuMicros(void);
// What the process holds: resident memory, heap in use, open handles (or files), and the GDI
// objects the platform itself counts (-1 where it answers nothing useful).
void Bench_Resources(uint64_t *residentBytes, int64_t *heapBytes, int32_t *handles,
                     int32_t *gdiObjects);
// The floor: the frame composed from its planes through lookup tables into 32-bit pixels;
// the median time of one composition in ms.
double Bench_FloorMs(void);
