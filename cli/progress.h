// The one-line count on standard error while a clear runs long enough for a person to wonder.
#pragma once

#include <cstdint>

#include "cli/console.h"

class ProgressLine {
public:
    // Nothing shows before this much time has passed, nor more often than every kRedrawMs.
    static constexpr std::uint64_t kDelayMs = 500;
    static constexpr std::uint64_t kRedrawMs = 100;

    explicit ProgressLine(Console& console);
    ~ProgressLine() { Finish(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // One more item looked at; when due, the line shows how many so far.
    void Step();
    // Removes the line if it stands.
    void Finish();

private:
    Console& console_;
    bool enabled_;
    bool shown_ = false;
    std::uint64_t start_ = 0;
    std::uint64_t lastDrawn_ = 0;
    long items_ = 0;
};
