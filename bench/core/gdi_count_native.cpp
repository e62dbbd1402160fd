// The soak's count of GDI objects natively: the backend counts every one alive.
#include "bench/core/bench.h"
#include "tests/core/testcore.h"

int32_t Bench_GdiObjects(void)
{
    return Probe_LiveGdiObjects();
}
