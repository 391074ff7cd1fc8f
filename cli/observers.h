// The console's observers of a sweep, one for each command. Each answers Ctrl+C before every
// item; preview's and clear's say what they hear as they hear it.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/progress.h"
#include "cli/report.h"
#include "sweep/sweep_observer.h"

// count's: hears nothing, stops when Ctrl+C asks.
class CtrlCObserver : public SweepObserver {
public:
    explicit CtrlCObserver(const StopFlag& stop) : stop_(stop) {}
    bool StopRequested() override { return stop_.Requested(); }

private:
    const StopFlag& stop_;
};

// preview's: lists each item that a clear with the selection would delete, as the sweep
// stands on it, and keeps the selected cookies that the list of cookies to keep keeps for the
// end; stops when the list can no longer be written, since nobody will read the rest.
class PreviewObserver final : public CtrlCObserver {
public:
    PreviewObserver(CliContext& context, KindSet selection, bool json)
        : CtrlCObserver(context.stop), context_(context), selection_(selection), json_(json) {}

    bool StopRequested() override;
    void OnVisit(const SweepItem& item) override;
    void OnKept(const SweepItem& item) override;
    // A clear would delete no cookie from here on, so none is an item.
    void OnKeptListUnreadable() override { cookiesHeld_ = true; }

    // Only with JSON, which names them at the end.
    const std::vector<NamedItem>& Kept() const { return kept_; }

private:
    CliContext& context_;
    KindSet selection_;
    bool json_;
    bool first_ = true;
    bool cookiesHeld_ = false;
    std::vector<NamedItem> kept_;
};

// clear's: names each item that stays on standard error as it happens, remembers them for the
// JSON report, and draws the progress line.
class ClearObserver final : public CtrlCObserver {
public:
    ClearObserver(CliContext& context, bool json)
        : CtrlCObserver(context.stop), context_(context), json_(json), progress_(context.console) {}

    void OnVisit(const SweepItem&) override { progress_.Step(); }
    void OnKept(const SweepItem&) override { progress_.Step(); }
    void OnStayed(const SweepItem& item) override;

    // Removes the progress line.
    void Finish() { progress_.Finish(); }
    int StayedCount() const { return stayedCount_; }
    // Only with JSON, which names them in the report.
    const std::vector<NamedItem>& Stayed() const { return stayed_; }

private:
    CliContext& context_;
    bool json_;
    ProgressLine progress_;
    int stayedCount_ = 0;
    std::vector<NamedItem> stayed_;
};
