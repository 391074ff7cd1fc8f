// The pass runner in memory: a pass runs on the caller's own thread, at once or when the test
// says, and whatever it hands over runs where it stands; so host tests stay deterministic.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/pass_runner.h"

class MemoryPassRunner final : public PassRunner {
public:
    // False: Start keeps the pass until RunHeldPass.
    bool runAtOnce = true;
    // A kept pass stands in a call that does not return: a Wait times out instead of running it.
    bool heldPassStuck = false;
    // As when the window's queue refuses the wake-up: what a pass posts, and its finished, wait
    // until RunHandOvers.
    bool wakeUpsLost = false;
    // Runs at the start of every Wait, before anything else.
    std::function<void()> onWait;

    bool Holding() const { return held_.has_value(); }
    // Runs the kept pass and its finished; does nothing when none is kept.
    void RunHeldPass();
    int PassesStarted() const { return started_; }
    // The limit of each Wait, in order.
    const std::vector<std::uint32_t>& WaitLimits() const { return waitLimits_; }

    void Start(Work pass, Finished finished) override;
    void Post(Work work) override;
    void Send(Work work) override { work(); }
    void RequestStop() override { stop_ = true; }
    bool StopRequested() override { return stop_; }
    // A pass kept for later runs now, unless it is stuck; one that is on the stack already
    // cannot be waited for.
    WaitEnd Wait(std::uint32_t limitMs) override;
    void RunHandOvers() override;

private:
    struct Held {
        Work pass;
        Finished finished;
    };
    void Run(const Held& held);

    std::optional<Held> held_;
    std::vector<Work> lost_;
    std::vector<std::uint32_t> waitLimits_;
    bool running_ = false;
    bool stop_ = false;
    int started_ = 0;
};
