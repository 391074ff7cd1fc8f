// The cookies to keep as one filter of a pass.
#include "sweep/kept_cookie_filter.h"

#include <utility>

#include "platform/ascii_case.h"

namespace {

// The last part of a local file's path, as a file search in its folder names it, lower-cased.
std::string BareFileName(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return AsciiLowered(std::string(slash == std::string_view::npos ? path : path.substr(slash + 1)));
}

}  // namespace

const KeptCookieList& KeptCookieFilter::List() {
    if (!list_) {
        list_ = ReadKeptList(read_);
        if (list_->Unreadable()) observer_.OnKeptListUnreadable();
    }
    return *list_;
}

bool KeptCookieFilter::Unreadable() {
    return List().Unreadable();
}

bool KeptCookieFilter::KeepsCookie(std::string_view url) {
    const KeptCookieList& list = List();
    return list.state == KeptCookieList::State::List && list.sites.KeepsCookie(url);
}

void KeptCookieFilter::RememberKeptFile(const char* localFile) {
    if (localFile == nullptr) return;
    if (std::string file = BareFileName(localFile); !file.empty()) keptFiles_.insert(std::move(file));
}

bool KeptCookieFilter::KeepsFile(std::string_view fileName) const {
    return !keptFiles_.empty() && keptFiles_.count(AsciiLowered(std::string(fileName))) != 0;
}

bool KeptCookieFilter::HoldsEveryFile() {
    const KeptCookieList& list = List();
    if (list.Unreadable()) return true;
    return list.state == KeptCookieList::State::List && !list.sites.Empty() && !keptFilesKnown_;
}
