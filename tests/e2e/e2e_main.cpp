// Entry of the end-to-end tests: refuses to run outside a throwaway Wine prefix, then runs them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/e2e/brumix_process.h"
#include "tests/e2e/stores.h"
#include "tests/e2e/throwaway_guard.h"

namespace {

// CTest hands over the Unix path of the executable; Wine maps the Unix root as drive Z:.
std::string ToWindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path.insert(0, "Z:");
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why = e2e::WhyNotThrowaway();
    if (!why.empty()) {
        std::fprintf(stderr, "brumix_e2e refuses to run, nothing was touched: %s\n", why.c_str());
        return 2;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: brumix_e2e [gtest options] PATH-TO-winbrumix.exe\n");
        return 2;
    }
    std::string program = ToWindowsPath(argv[1]);
    if (!e2e::FileExists(program)) {
        std::fprintf(stderr, "brumix_e2e: no program at %s\n", program.c_str());
        return 2;
    }
    e2e::SetProgramPath(program);
    return RUN_ALL_TESTS();
}
