// What the commands need of their surroundings: two output streams, a progress line on a
// console, a clock, and the stop that Ctrl+C asks for.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

enum class Stream { Out, Err };

class Console {
public:
    virtual ~Console() = default;
    // UTF-8 text; a console receives it as Unicode, a file or pipe as these bytes. Standard
    // output may hold it back until Flush.
    virtual void Write(Stream stream, std::string_view utf8) = 0;
    // Writes what standard output holds back.
    virtual void Flush() = 0;
    // The system's error for the first write to standard output that failed, 0 while none
    // has. Once one has failed, the rest of standard output is dropped.
    virtual std::uint32_t OutputFailure() = 0;
    // A progress line may be drawn only where a person watches: standard error is a console.
    virtual bool ErrorIsConsole() = 0;
    // Replaces the progress line on standard error; empty text removes it. Anything written
    // while it stands removes it first.
    virtual void SetProgress(std::string_view utf8) = 0;
    // A monotonic clock in milliseconds.
    virtual std::uint64_t NowMs() = 0;
};

// Set from the console's control handler, which Windows runs on a new thread for each event,
// so two events may arrive together; the sweeps ask it before each item.
class StopFlag {
public:
    // Events closer than this to the first are that same press delivered twice: a launcher
    // that passes on the Ctrl+C its console already sent gives two at once.
    static constexpr std::uint64_t kSamePressMs = 200;

    enum class Answer {
        Stop,       // the first press: stop before the next item
        SamePress,  // nothing more to do
        EndNow,     // a later press while the stop is still pending: end the process
    };

    Answer Press(std::uint64_t nowMs) noexcept {
        const std::uint64_t stamp = nowMs + 1;  // 0 stands for no press yet
        std::uint64_t first = 0;
        if (firstPress_.compare_exchange_strong(first, stamp)) return Answer::Stop;
        // A thread that read the clock first may get here second, with the earlier time.
        return stamp < first + kSamePressMs ? Answer::SamePress : Answer::EndNow;
    }
    bool Requested() const noexcept { return firstPress_.load() != 0; }

private:
    std::atomic<std::uint64_t> firstPress_{0};
};

// The console's control events, as brumix.exe tells them apart.
enum class ConsoleEvent {
    CtrlC,
    CtrlBreak,
    // The console window closed, or the task ended from Task Manager, a log-off or a shutdown.
    Close,
};

enum class ConsoleAction {
    Stop,    // the sweep stops before its next item; the summary is written
    EndNow,  // the process ends at once with kExitStopped
    // Stop, and hold the handler until the program has ended by itself, or at most
    // kCloseHoldMs before the process is ended with kExitStopped: Windows ends the process as
    // soon as the handler of a close returns, and about five seconds after the close in any case.
    StopAndHold,
};

inline constexpr std::uint32_t kCloseHoldMs = 4500;

// A close is a first Ctrl+C, whatever came before it: the run can still stop between two items
// and write its summary, within the time Windows gives.
inline ConsoleAction AnswerConsoleEvent(ConsoleEvent event, StopFlag& stop, std::uint64_t nowMs) noexcept {
    if (event == ConsoleEvent::Close) {
        stop.Press(nowMs);
        return ConsoleAction::StopAndHold;
    }
    return stop.Press(nowMs) == StopFlag::Answer::EndNow ? ConsoleAction::EndNow : ConsoleAction::Stop;
}
