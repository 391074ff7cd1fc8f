// The one-line count on standard error while a clear runs long enough for a person to wonder.
#include "cli/progress.h"

#include <string>

ProgressLine::ProgressLine(Console& console) : console_(console), enabled_(console.ErrorIsConsole()) {
    if (enabled_) start_ = console_.NowMs();
}

void ProgressLine::Step() {
    ++items_;
    if (!enabled_) return;
    const std::uint64_t now = console_.NowMs();
    if (now - start_ < kDelayMs) return;
    if (shown_ && now - lastDrawn_ < kRedrawMs) return;
    console_.SetProgress("clearing: " + std::to_string(items_) + " items looked at");
    shown_ = true;
    lastDrawn_ = now;
}

void ProgressLine::Finish() {
    if (!shown_) return;
    console_.SetProgress("");
    shown_ = false;
}
