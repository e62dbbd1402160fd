// The conformance cases' driver: runs them and writes their digests (and, asked, their values).
#include "scripts/gdi/gdi_driver.h"
#include "scripts/gdi/gdi_cases.h"

static struct {
    FILE *digests;
    FILE *values;
    const char *filter;
} s_driver;

static void GdiDriver_Report(const char *name, uint32_t digest, const uint32_t *values, int count)
{
    fprintf(s_driver.digests, "%s\t%08x\n", name, (unsigned)digest);
    if (!s_driver.values || !strstr(name, s_driver.filter))
        return;
    fprintf(s_driver.values, "%s\t", name);
    for (int i = 0; i < count; i++)
        fprintf(s_driver.values, "%08x ", (unsigned)values[i]);
    fprintf(s_driver.values, "\n");
}

int GdiDriver_Main(HDC screen, int argc, char **argv)
{
    if (argc < 2 || !screen) {
        printf("usage: %s DIGEST-FILE [VALUES-FILE NAME-PART]\n", argc ? argv[0] : "gdi_cases");
        return 2;
    }
    s_driver.digests = fopen(argv[1], "wb"); // the same bytes on every system
    if (!s_driver.digests) {
        printf("cannot write %s\n", argv[1]);
        return 2;
    }
    if (argc >= 4) {
        s_driver.values = fopen(argv[2], "wb");
        s_driver.filter = argv[3];
    }
    int count = GdiCases_Run(screen, GdiDriver_Report);
    fclose(s_driver.digests);
    if (s_driver.values)
        fclose(s_driver.values);
    printf("%d cases\n", count);
    fflush(stdout);
    return 0;
}
