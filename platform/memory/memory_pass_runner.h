// The pass runner in memory: a pass runs on the caller's own thread, at once or when the test
// says, and whatever it hands over runs where it stands; so host tests stay deterministic.
#pragma once

#include <optional>

#include "platform/pass_runner.h"

class MemoryPassRunner final : public PassRunner {
public:
    // False: Start keeps the pass until RunHeldPass.
    bool runAtOnce = true;

    bool Holding() const { return held_.has_value(); }
    // Runs the kept pass and its finished; does nothing when none is kept.
    void RunHeldPass();
    int PassesStarted() const { return started_; }

    void Start(Work pass, Finished finished) override;
    void Post(Work work) override { work(); }
    void Send(Work work) override { work(); }
    void RequestStop() override { stop_ = true; }
    bool StopRequested() override { return stop_; }
    // A pass kept for later runs now; one that is on the stack already cannot be waited for.
    bool Wait() override;

private:
    struct Held {
        Work pass;
        Finished finished;
    };
    void Run(const Held& held);

    std::optional<Held> held_;
    bool running_ = false;
    bool stop_ = false;
    int started_ = 0;
};
