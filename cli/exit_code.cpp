// What brumix.exe's exit code tells a script.
#include "cli/exit_code.h"

ExitCode SweepExitCode(const SweepResult& result, int stayed) {
    if (result.stopped) return kExitStopped;
    if (!result.Complete() || result.CookiesHeld()) return kExitIncomplete;
    if (stayed > 0) return kExitNotDeleted;
    return kExitDone;
}
