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
    // UTF-8 text; a console receives it as Unicode, a file or pipe as these bytes.
    virtual void Write(Stream stream, std::string_view utf8) = 0;
    // A progress line may be drawn only where a person watches: standard error is a console.
    virtual bool ErrorIsConsole() = 0;
    // Replaces the progress line on standard error; empty text removes it. Anything written
    // while it stands removes it first.
    virtual void SetProgress(std::string_view utf8) = 0;
    // A monotonic clock in milliseconds.
    virtual std::uint64_t NowMs() = 0;
};

// Set from the console's control handler, which Windows runs on a thread of its own; the
// sweeps ask it before each item.
class StopFlag {
public:
    void Request() noexcept { requested_.store(true, std::memory_order_relaxed); }
    bool Requested() const noexcept { return requested_.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> requested_{false};
};
