// What brumix.exe's exit code tells a script.
#include "cli/exit_code.h"

ExitCode SweepExitCode(const StoreSweepResult& result, int notDeleted) {
    if (result.Stopped()) return kExitStopped;
    if (!result.Complete() || result.CookiesHeld()) return kExitIncomplete;
    if (notDeleted > 0) return kExitNotDeleted;
    return kExitDone;
}
