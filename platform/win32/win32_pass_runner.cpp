// The pass runner over a Win32 thread and the window's message queue.
#include "platform/win32/win32_pass_runner.h"

#include <utility>

namespace {

// The worker must never let an exception out of its thread, nor the window's thread one out of
// a hand-over that a Send is waiting for: either would leave the other side waiting for ever.
bool RunCaught(const PassRunner::Work& work) {
    try {
        work();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

Win32PassRunner::Win32PassRunner() = default;

Win32PassRunner::~Win32PassRunner() {
    Shutdown(INFINITE);
}

void Win32PassRunner::Attach(HWND window) {
    window_ = window;
    windowThread_ = GetCurrentThreadId();
}

DWORD WINAPI Win32PassRunner::WorkerMain(void* self) {
    static_cast<Win32PassRunner*>(self)->WorkerLoop();
    return 0;
}

void Win32PassRunner::WorkerLoop() {
    for (;;) {
        Pending next;
        {
            Locked locked(lock_);
            while (!pending_ && !shutDown_) Sleep();
            if (!pending_) return;
            next = std::move(*pending_);
            pending_.reset();
        }
        const bool completed = RunCaught(next.pass);
        RunCaught([&] { Post([finished = std::move(next.finished), completed] { finished(completed); }); });
        Locked locked(lock_);
        --outstanding_;
        WakeAllConditionVariable(&changed_);
    }
}

void Win32PassRunner::Start(Work pass, Finished finished) {
    stop_ = false;
    {
        Locked locked(lock_);
        if (shutDown_) return;
        if (thread_ == nullptr) thread_ = CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr);
        if (thread_ != nullptr) {
            pending_ = Pending{std::move(pass), std::move(finished)};
            ++outstanding_;
            WakeAllConditionVariable(&changed_);
            return;
        }
    }
    // Without a worker the pass runs here, as passes did before there was one: the window
    // waits, but it still counts and clears.
    const bool completed = RunCaught(pass);
    finished(completed);
}

void Win32PassRunner::Queue(HandOver handOver) {
    handOvers_.push_back(std::move(handOver));
    WakeAllConditionVariable(&changed_);
    // One message per batch: the window's thread takes every queued hand-over at once. A full
    // queue refuses the post; the next hand-over tries again, and the window's thread also
    // looks for hand-overs by itself while a pass runs.
    if (!wakePosted_) wakePosted_ = PostMessageA(window_, kHandOverMessage, 0, 0) != FALSE;
}

void Win32PassRunner::Post(Work work) {
    if (GetCurrentThreadId() == windowThread_) {
        work();
        return;
    }
    Locked locked(lock_);
    if (shutDown_) return;
    Queue({std::move(work), 0});
}

void Win32PassRunner::Send(Work work) {
    if (GetCurrentThreadId() == windowThread_) {
        work();
        return;
    }
    Locked locked(lock_);
    if (shutDown_) return;
    const std::uint64_t send = ++sendsQueued_;
    Queue({std::move(work), send});
    while (sendsDone_ < send && !shutDown_) Sleep();
}

void Win32PassRunner::RunHandOvers() {
    for (;;) {
        HandOver next;
        {
            Locked locked(lock_);
            if (handOvers_.empty()) {
                wakePosted_ = false;
                return;
            }
            next = std::move(handOvers_.front());
            handOvers_.pop_front();
        }
        ++runningHandOvers_;
        RunCaught(next.work);
        --runningHandOvers_;
        if (next.send != 0) {
            Locked locked(lock_);
            sendsDone_ = next.send;
            WakeAllConditionVariable(&changed_);
        }
    }
}

PassRunner::WaitEnd Win32PassRunner::Wait(std::uint32_t limitMs) {
    if (runningHandOvers_ > 0) return WaitEnd::InsideHandOver;
    const ULONGLONG deadline = GetTickCount64() + limitMs;
    for (;;) {
        RunHandOvers();
        Locked locked(lock_);
        if (handOvers_.empty()) {
            if (outstanding_ == 0 || shutDown_) return WaitEnd::Ended;
            const ULONGLONG now = GetTickCount64();
            if (now >= deadline) return WaitEnd::TimedOut;
            Sleep(static_cast<DWORD>(deadline - now));
        }
    }
}

bool Win32PassRunner::Shutdown(DWORD limitMs) {
    stop_ = true;
    HANDLE thread = nullptr;
    {
        Locked locked(lock_);
        shutDown_ = true;
        pending_.reset();
        handOvers_.clear();
        thread = std::exchange(thread_, nullptr);
        WakeAllConditionVariable(&changed_);
    }
    if (thread == nullptr) return true;
    if (WaitForSingleObject(thread, limitMs) != WAIT_OBJECT_0) {
        // Kept, so that the destructor still waits for the worker before anything goes.
        Locked locked(lock_);
        thread_ = thread;
        return false;
    }
    CloseHandle(thread);
    return true;
}
