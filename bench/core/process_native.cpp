// What the benchmarks read of the process natively: POSIX clocks, /proc, and the backend's own
// count of the GDI objects alive.
#include "bench/core/bench.h"
#include "tests/core/testcore.h"

#include <fcntl.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

int32_t Bench_GdiObjects(void)
{
    return Probe_LiveGdiObjects();
}

uint64_t Bench_CpuMicros(void)
{
    struct timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return (uint64_t)now.tv_sec * 1000000u + (uint64_t)now.tv_nsec / 1000u;
}

void Bench_Resources(uint64_t *residentBytes, int64_t *heapBytes, int32_t *handles,
                     int32_t *gdiObjects)
{
    unsigned long pages = 0, resident = 0;
    FILE *statm = fopen("/proc/self/statm", "r");
    if (statm && fscanf(statm, "%lu %lu", &pages, &resident) != 2)
        resident = 0;
    if (statm)
        fclose(statm);
    *residentBytes = (uint64_t)resident * (uint64_t)sysconf(_SC_PAGESIZE);
    *heapBytes = (int64_t)mallinfo2().uordblks;
    *handles = 0;
    for (int fd = 0; fd < 1024; fd++)
        *handles += fcntl(fd, F_GETFD) != -1;
    *gdiObjects = Probe_LiveGdiObjects();
}
