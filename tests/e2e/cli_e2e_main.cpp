// Entry of brumix.exe's end-to-end tests.
#include "tests/e2e/cli_run.h"
#include "tests/e2e/driver_main.h"

int main(int argc, char** argv) {
    return e2e::RunDriver(argc, argv, "brumix_cli_e2e", "brumix.exe", e2e::SetCliPath);
}
