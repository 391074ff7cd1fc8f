// Entry of brumix.exe's end-to-end tests: refuses to run outside a throwaway Wine prefix.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/cli_run.h"
#include "tests/support/throwaway_prefix.h"
#include "tests/support/wine_files.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!InThrowawayPrefix(why)) {
        std::fprintf(stderr, "brumix_cli_e2e refuses to run, nothing was touched: %s\n", why.c_str());
        return 2;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: brumix_cli_e2e [gtest options] PATH-TO-brumix.exe\n");
        return 2;
    }
    // CTest hands over the Unix path of the executable.
    const std::string program = ToWindowsPath(argv[1]);
    if (!FileExists(program)) {
        std::fprintf(stderr, "brumix_cli_e2e: no program at %s\n", program.c_str());
        return 2;
    }
    e2e::SetCliPath(program);
    return RUN_ALL_TESTS();
}
