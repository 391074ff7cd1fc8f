// The console's observers of a sweep, one for each command.
#include "cli/observers.h"

#include <utility>

namespace {

// The name in UTF-8: the system browser's decoded from the code page, another browser's as it is.
std::string Decoded(const CliContext& context, const SweepItem& item) {
    return item.utf8 ? std::string(item.name) : context.decodeName(item.name);
}

}  // namespace

bool PreviewObserver::StopRequested() {
    return CtrlCObserver::StopRequested() || context_.console.OutputFailure() != 0;
}

void PreviewObserver::OnVisit(const SweepItem& item) {
    if (!selection_.Has(KindOf(item.store))) return;
    if (cookiesHeld_ && KindOf(item.store) == Kind::Cookies) return;
    // An entry without a URL cannot be deleted by one, so a clear leaves it.
    if (item.name.empty() && item.store != Store::CookieFile && item.store != Store::Typed) return;
    context_.console.Write(Stream::Out, PreviewItem(item.store, Decoded(context_, item), first_, json_));
    first_ = false;
}

void PreviewObserver::OnKept(const SweepItem& item) {
    if (json_ && selection_.Has(KindOf(item.store))) kept_.push_back({item.store, Decoded(context_, item)});
}

void ClearObserver::OnStayed(const SweepItem& item) {
    ++stayedCount_;
    std::string name = Decoded(context_, item);
    context_.console.Write(Stream::Err, NotDeletedLine(item.store, name));
    if (json_) stayed_.push_back({item.store, std::move(name)});
}
