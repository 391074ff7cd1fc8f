// The console's observers of a sweep, one for each command.
#include "cli/observers.h"

#include <utility>

bool PreviewObserver::StopRequested() {
    return CtrlCObserver::StopRequested() || context_.console.OutputFailure() != 0;
}

void PreviewObserver::OnVisit(const SweepItem& item) {
    if (!selection_.Has(KindOf(item.store))) return;
    if (cookiesHeld_ && KindOf(item.store) == Kind::Cookies) return;
    // An entry without a URL cannot be deleted by one, so a clear leaves it.
    if (item.name.empty() && item.store != Store::CookieFile && item.store != Store::Typed) return;
    context_.console.Write(Stream::Out, PreviewItem(item.store, context_.decodeName(item.name), first_, json_));
    first_ = false;
}

void PreviewObserver::OnKept(const SweepItem& item) {
    if (json_ && selection_.Has(KindOf(item.store))) kept_.push_back({item.store, context_.decodeName(item.name)});
}

void ClearObserver::OnStayed(const SweepItem& item) {
    ++stayedCount_;
    std::string name = context_.decodeName(item.name);
    context_.console.Write(Stream::Err, NotDeletedLine(item.store, name));
    if (json_) stayed_.push_back({item.store, std::move(name)});
}
