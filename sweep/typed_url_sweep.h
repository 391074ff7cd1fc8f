// The addresses typed into the browser's address bar: the values of the TypedURLs key, as a source.
#pragma once

#include <cstdint>

#include "platform/errors.h"
#include "platform/registry.h"
#include "sweep/sweep_observer.h"

struct SourceContext;

inline constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
// When each address was typed (Windows 8 on): one value per address, under the same name.
inline constexpr char kTypedUrlsTimeKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLsTime";

struct TypedUrlResult {
    // False when the key is missing or cannot be opened with full access; nothing else then holds.
    bool opened = false;
    // The registry's answer to the open: kErrorFileNotFound for a missing key, which holds
    // no typed address, unlike a key that is there but refused.
    std::int32_t openStatus = 0;
    // The values listed, before any deletion.
    int listed = 0;
    int deleted = 0;
    // The listing reached its end; false when an error other than a too-long name ended it.
    bool complete = false;
    bool stopped = false;

    // The key is there but was refused: its addresses were not reached. A missing key holds none.
    bool Refused() const { return !opened && openStatus != static_cast<std::int32_t>(kErrorFileNotFound); }
    // Every typed address there is was listed.
    bool Whole() const { return opened ? complete : !Refused(); }
};

// Lists every value name first and hands the names to the observer to be put in order (as
// given, the order of TypedUrlNameLess), then, when asked, deletes them in that order; with
// each address deleted goes its time, if it has one.
TypedUrlResult SweepTypedUrls(Registry& registry, bool deleteValues, SweepObserver& observer);

// The source: the typed addresses, their key's open and listing as the source's own.
void RunTypedUrls(SourceContext& context);

// Without regard to case, byte by byte: the order a sweep deletes in unless its caller gives another.
bool TypedUrlNameLess(const std::string& a, const std::string& b);
