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

void MemoryPassRunner::Post(Work work) {
    if (wakeUpsLost) {
        lost_.push_back(std::move(work));
    } else {
        work();
    }
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
    Post([finished = held.finished, completed] { finished(completed); });
}

PassRunner::WaitEnd MemoryPassRunner::Wait(std::uint32_t limitMs) {
    waitLimits_.push_back(limitMs);
    if (onWait) onWait();
    if (running_) return WaitEnd::InsideHandOver;
    if (held_ && heldPassStuck) return WaitEnd::TimedOut;
    RunHeldPass();
    RunHandOvers();
    return WaitEnd::Ended;
}

void MemoryPassRunner::RunHandOvers() {
    std::vector<Work> waiting = std::exchange(lost_, {});
    for (const Work& work : waiting) work();
}
