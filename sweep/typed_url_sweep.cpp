// The addresses typed into the browser's address bar: the values of the TypedURLs key.
#include "sweep/typed_url_sweep.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/errors.h"
#include "sweep/source.h"

namespace {

// A name of the registry's longest takes up to two bytes a character in a double-byte
// code page, and the terminator one more.
constexpr std::uint32_t kNameRoom = kMaxValueNameChars * 2 + 1;

// Whether a caller's order holds the very names listed, each once.
bool SameNames(std::vector<std::string> ordered, std::vector<std::string> listed) {
    std::sort(ordered.begin(), ordered.end());
    std::sort(listed.begin(), listed.end());
    return ordered == listed;
}

}  // namespace

bool TypedUrlNameLess(const std::string& a, const std::string& b) {
    return LessIgnoringAsciiCase(a, b);
}

TypedUrlResult SweepTypedUrls(Registry& registry, bool deleteValues, SweepObserver& observer) {
    TypedUrlResult result;
    ScopedKey key(registry);
    result.openStatus = key.Open(kTypedUrlsKey);
    if (result.openStatus != 0) return result;
    result.opened = true;

    // Every name is listed before the first deletion, and the sweep deletes from its own list:
    // whatever runs while a caller's box is open cannot change which values this one deletes.
    std::vector<std::string> names;
    std::vector<char> name(kNameRoom);
    for (std::uint32_t index = 0;; ++index) {
        if (observer.StopRequested()) {
            result.stopped = true;
            return result;
        }
        auto room = static_cast<std::uint32_t>(name.size());
        // Neither data nor type is asked for, so a long address lists like a short one.
        const std::int32_t status = registry.EnumValueName(key.Get(), index, name.data(), room);
        if (status == static_cast<std::int32_t>(kErrorMoreData)) continue;
        if (status != 0) {
            result.complete = status == static_cast<std::int32_t>(kErrorNoMoreItems);
            break;
        }
        names.emplace_back(name.data());
        observer.OnVisit({Store::Typed, names.back()});
    }
    result.listed = static_cast<int>(names.size());
    std::sort(names.begin(), names.end(), TypedUrlNameLess);
    std::vector<std::string> ordered = names;
    observer.OnTypedUrlsListed(ordered);
    if (!deleteValues) return result;
    if (SameNames(ordered, names)) names = std::move(ordered);

    // A time left behind would date what the user asked to clear. It is no typed address
    // itself: one that stays is neither counted nor reported.
    ScopedKey times(registry);
    times.Open(kTypedUrlsTimeKey);
    for (const std::string& valueName : names) {
        if (observer.StopRequested()) {
            result.stopped = true;
            return result;
        }
        if (registry.DeleteValue(key.Get(), valueName) == 0) {
            ++result.deleted;
            if (times.IsOpen()) registry.DeleteValue(times.Get(), valueName);
        } else {
            observer.OnStayed({Store::Typed, valueName});
        }
    }
    return result;
}

void RunTypedUrls(SourceContext& context) {
    const TypedUrlResult typed =
        SweepTypedUrls(context.services.registry, context.Deletes(Kind::TypedUrls), context.observer);
    Tally& tally = context.result.counts[Kind::TypedUrls];
    tally.found = typed.listed;
    tally.deleted = typed.deleted;
    context.result.openStatus = typed.openStatus;
    context.result.complete = typed.complete;
    context.result.stopped = typed.stopped;
}
