// The last line of defence at main: an exception that got this far would end the program
// through the C runtime's abort, with an exit code that means something else.
#pragma once

#include <functional>

#include "cli/console.h"

// Runs the program and returns its exit code. An exception ends it with one line on standard
// error, through sayLine, and kExitFailure, or kExitStopped when Ctrl+C had asked it to stop.
int RunGuarded(const std::function<int()>& program, void (*sayLine)(const char* line), const StopFlag& stop) noexcept;
