// Where the main window's passes run: on one worker, one at a time, handing what the window
// shows back to the window's own thread, so that the window never waits for the stores.
#pragma once

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
    // On the window's thread: returns once no pass runs and its finished has run, running what it
    // hands over meanwhile. False at once when called from inside a hand-over, which the pass is
    // waiting for: the wait has to be left to finished.
    virtual bool Wait() = 0;
};
