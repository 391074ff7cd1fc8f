// brumix.exe's commands over the cleaning engine: parse, choose the stores, sweep, report,
// and the exit code. Everything outside comes in through the context, so that the tests and
// the benchmark run it as the executable does.
#pragma once

#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/text.h"
#include "platform/platform_services.h"

struct CliContext {
    PlatformServices services;
    Console& console;
    const StopFlag& stop;
    NameDecoder decodeName;
    // The version record's file version; empty when it could not be read.
    std::string version;
};

// args: the words after the program's name. Returns the process's exit code.
int RunBrumix(const std::vector<std::string>& args, CliContext& context);
