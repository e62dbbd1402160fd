// The native GDI against the conformance table (tests/data/gdi_conformance.tsv).
#include "scripts/gdi/gdi_table.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

void Fail(int line, const char *source, const char *statement, const char *differs)
{
    ADD_FAILURE() << "line " << line << ": " << statement << ": " << differs << " (" << source
                  << ")";
}

TEST(GdiConformance, TableOfPublishedExpectations)
{
#if !defined(__SANITIZE_ADDRESS__)
    // A stretch must cost what is visible: far less memory than this.
    struct rlimit limit = {1u << 30, 1u << 30};
    setrlimit(RLIMIT_AS, &limit);
#endif
    EXPECT_GT(GdiTable_Run(TEST_DATA "gdi_conformance.tsv", Fail), 200)
        << TEST_DATA "gdi_conformance.tsv";
}

} // namespace
