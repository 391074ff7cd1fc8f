// The shared entry of the end-to-end drivers: refuses to run outside a throwaway Wine prefix,
// takes the program under test from the command line, then runs the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/throwaway_prefix.h"
#include "tests/support/wine_files.h"

namespace e2e {

inline int RunDriver(int argc, char** argv, const char* driver, const char* program,
                     void (*usePath)(const std::string&)) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "%s refuses to run, nothing was touched: %s\n", driver, why.c_str());
        return 2;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s [gtest options] PATH-TO-%s\n", driver, program);
        return 2;
    }
    // CTest hands over the Unix path of the executable.
    const std::string path = ToWindowsPath(argv[1]);
    if (!FileExists(path)) {
        std::fprintf(stderr, "%s: no program at %s\n", driver, path.c_str());
        return 2;
    }
    usePath(path);
    return RUN_ALL_TESTS();
}

}  // namespace e2e
