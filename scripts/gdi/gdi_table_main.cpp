// The conformance table on the platform's GDI (Windows or Wine, by hand): prints each check
// that fails and how many did.
#include "scripts/gdi/gdi_table.h"

static int s_failed;

static void GdiTableMain_Print(int line, const char *source, const char *statement,
                               const char *differs)
{
    printf("line %d: %s: %s (%s)\n", line, statement, differs, source);
    s_failed++;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        printf("usage: %s TABLE.tsv\n", argc ? argv[0] : "gdi_table");
        return 2;
    }
    int checks = GdiTable_Run(argv[1], GdiTableMain_Print);
    if (checks < 0) {
        printf("cannot read %s\n", argv[1]);
        return 2;
    }
    printf("%d checks, %d fail\n", checks, s_failed);
    return s_failed ? 1 : 0;
}
