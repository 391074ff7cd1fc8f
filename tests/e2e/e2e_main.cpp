// Entry of winbrumix.exe's end-to-end tests.
#include "tests/e2e/brumix_process.h"
#include "tests/e2e/driver_main.h"

int main(int argc, char** argv) {
    return e2e::RunDriver(argc, argv, "brumix_e2e", "winbrumix.exe", e2e::SetProgramPath);
}
