// What brumix.exe's exit code tells a script.
#pragma once

#include "sweep/store_sweep.h"

enum ExitCode : int {
    kExitDone = 0,
    kExitNotDeleted = 1,
    kExitUsage = 2,
    kExitIncomplete = 3,
    // A system DLL or one of its functions could not be had; nothing was touched.
    kExitSystemDll = 6,
    kExitStopped = 130,
};

// When several hold, the one that says least was done wins: a stop over a store not walked
// to its end over items that could not be deleted.
ExitCode SweepExitCode(const StoreSweepResult& result, int notDeleted);
