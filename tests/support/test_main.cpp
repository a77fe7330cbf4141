// Entry point of every test program: runs a requested child entry, or the tests.
#include "support/child_process.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    int exitCode = 0;
    if (TestSupport::RunChildEntryIfRequested(argc, argv, exitCode)) return exitCode;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
