// Where the main window's passes run: on one worker, one at a time, handing what the window
// shows back to the window's own thread, so that the window never waits for the stores.
#pragma once

#include <cstdint>
#include <functional>

class PassRunner {
public:
    using Work = std::function<void()>;
    // completed is false when the pass ended by an exception.
    using Finished = std::function<void(bool completed)>;

    virtual ~PassRunner() = default;

    // On the window's thread: runs pass on the worker with no stop requested. finished then
    // runs on the window's thread, after everything the pass handed over. The caller starts a
    // pass only once the one before has finished.
    virtual void Start(Work pass, Finished finished) = 0;

    // On the worker, inside a pass: work runs on the window's thread, in the order handed over.
    // Post returns at once; Send returns once work has run there, or at once, without running
    // it, when the window is gone.
    virtual void Post(Work work) = 0;
    virtual void Send(Work work) = 0;

    // On the window's thread: from now on the pass sees StopRequested, and stops between two items.
    virtual void RequestStop() = 0;
    // On either thread.
    virtual bool StopRequested() = 0;
    enum class WaitEnd {
        Ended,           // no pass runs, and its finished has run
        InsideHandOver,  // called from inside a hand-over the pass waits for: left to finished
        TimedOut,        // the pass is still in a call that has not returned
    };
    // On the window's thread: waits at most limitMs for the pass to end, running what it hands
    // over meanwhile.
    virtual WaitEnd Wait(std::uint32_t limitMs) = 0;

    // On the window's thread: runs whatever the pass has handed over and not yet run. Each batch
    // of hand-overs wakes the window's thread by itself; this is for a wake-up that was lost (a
    // window's message queue that is full refuses it).
    virtual void RunHandOvers() = 0;
};
