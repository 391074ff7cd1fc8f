// The last line of defence at main.
#include "cli/barrier.h"

#include <cstdio>
#include <exception>

#include "cli/exit_code.h"

namespace {

// Built in a fixed buffer: the failure may be that memory has run out.
void SayFailure(void (*sayLine)(const char* line), const char* what) {
    char line[256];
    std::snprintf(line, sizeof line, "brumix: unexpected failure (%s); the run was cut short\n", what);
    sayLine(line);
}

}  // namespace

int RunGuarded(const std::function<int()>& program, void (*sayLine)(const char* line), const StopFlag& stop) noexcept {
    try {
        return program();
    } catch (const std::exception& failure) {
        SayFailure(sayLine, failure.what());
    } catch (...) {
        SayFailure(sayLine, "an unknown exception");
    }
    return stop.Requested() ? kExitStopped : kExitFailure;
}
