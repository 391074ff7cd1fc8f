// The pass runner in memory.
#include "platform/memory/memory_pass_runner.h"

#include <utility>

void MemoryPassRunner::Start(Work pass, Finished finished) {
    ++started_;
    stop_ = false;
    Held held{std::move(pass), std::move(finished)};
    if (runAtOnce) {
        Run(held);
    } else {
        held_ = std::move(held);
    }
}

void MemoryPassRunner::RunHeldPass() {
    if (!held_) return;
    Held held = std::move(*held_);
    held_.reset();
    Run(held);
}

// As on the real worker, an exception ends the pass and reaches no caller.
void MemoryPassRunner::Run(const Held& held) {
    running_ = true;
    bool completed = true;
    try {
        held.pass();
    } catch (...) {
        completed = false;
    }
    running_ = false;
    held.finished(completed);
}

bool MemoryPassRunner::Wait() {
    if (running_) return false;
    RunHeldPass();
    return true;
}
