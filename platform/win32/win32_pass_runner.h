// The pass runner over a Win32 thread: one worker runs one pass at a time, and what it hands
// over reaches the window's thread through a private message to the window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>

#include "platform/pass_runner.h"

class Win32PassRunner final : public PassRunner {
public:
    // The message that tells the window's thread that hand-overs wait; the window's procedure
    // answers it with RunHandOvers.
    static constexpr UINT kHandOverMessage = WM_APP + 1;

    Win32PassRunner();
    // Shuts down: nothing runs on the worker once the runner is gone.
    ~Win32PassRunner() override;
    Win32PassRunner(const Win32PassRunner&) = delete;
    Win32PassRunner& operator=(const Win32PassRunner&) = delete;

    // The window whose thread takes the hand-overs; attached before the first Start.
    void Attach(HWND window);
    // On the window's thread: asks a running pass to stop, drops whatever it would still hand
    // over (a Send returns without its work), and waits at most limitMs for the worker to end.
    // Called before whatever the passes use goes away; Start does nothing afterwards. False when
    // the worker is still in a call that has not returned: it may still touch what the passes
    // use, so none of that may go.
    bool Shutdown(DWORD limitMs = INFINITE);

    void Start(Work pass, Finished finished) override;
    void Post(Work work) override;
    void Send(Work work) override;
    void RequestStop() override { stop_ = true; }
    bool StopRequested() override { return stop_; }
    WaitEnd Wait(std::uint32_t limitMs) override;
    // Also for kHandOverMessage.
    void RunHandOvers() override;

private:
    struct Pending {
        Work pass;
        Finished finished;
    };
    struct HandOver {
        Work work;
        // A Send's number, counted from 1; it waits until sendsDone_ reaches it. 0 for a Post.
        std::uint64_t send = 0;
    };
    // Holds the lock for one scope.
    class Locked {
    public:
        explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
        ~Locked() { ReleaseSRWLockExclusive(&lock_); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;

    private:
        SRWLOCK& lock_;
    };

    static DWORD WINAPI WorkerMain(void* self);
    void WorkerLoop();
    // Under the lock: queues a hand-over and wakes the window's thread, in or out of Wait.
    void Queue(HandOver handOver);
    // Under the lock: until the next change, or at most limitMs.
    void Sleep(DWORD limitMs = INFINITE) { SleepConditionVariableSRW(&changed_, &lock_, limitMs, 0); }

    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    HWND window_ = nullptr;
    DWORD windowThread_ = 0;
    HANDLE thread_ = nullptr;
    std::optional<Pending> pending_;
    // Started and not yet handed back by the worker.
    int outstanding_ = 0;
    std::deque<HandOver> handOvers_;
    std::uint64_t sendsQueued_ = 0;
    std::uint64_t sendsDone_ = 0;
    // A wake-up message for the queued hand-overs is on its way; when a post fails, the next
    // hand-over tries again.
    bool wakePosted_ = false;
    bool shutDown_ = false;
    // The window's thread runs a hand-over; a Wait from inside it would wait for itself.
    int runningHandOvers_ = 0;
    std::atomic<bool> stop_{false};
};
