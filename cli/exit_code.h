// What brumix.exe's exit code tells a script.
#pragma once

#include "sweep/sweep.h"

// When several hold, the highest: the one that says least was done, or that the user asked
// for, wins. A stop by Ctrl+C over an unexpected failure over lost output (the script cannot
// know what was done) over a store not walked to its end over items that could not be deleted.
enum ExitCode : int {
    kExitDone = 0,
    kExitNotDeleted = 1,
    kExitUsage = 2,
    kExitIncomplete = 3,
    kExitOutputLost = 4,
    kExitFailure = 5,
    // A system DLL or one of its functions could not be had; nothing was touched.
    kExitSystemDll = 6,
    kExitStopped = 130,
};

// A list of cookies to keep that could not be read while the cookies were selected ranks with a
// store not walked to its end: the run did less than it was asked to.
ExitCode SweepExitCode(const SweepResult& result, int stayed);
