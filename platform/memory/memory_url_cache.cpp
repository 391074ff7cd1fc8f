// The in-memory URL cache: entries in insertion order, records laid out as the service does.
#include "platform/memory/memory_url_cache.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii_case.h"
#include "platform/errors.h"

void MemoryUrlCache::Add(const std::string& url, std::uint32_t type, std::uint32_t padding, bool locked) {
    Walked container = Walked::Content;
    if ((type & kCookieCacheEntry) != 0) {
        container = Walked::Cookies;
    } else if ((type & kUrlHistoryCacheEntry) != 0 || url.rfind(kVisitedContainerPrefix, 0) == 0) {
        container = Walked::History;
    }
    entries_.push_back({url, type, padding, locked, container, {}});
}

void MemoryUrlCache::SetLocalFile(const std::string& url, const std::string& localFile) {
    for (Entry& entry : entries_) {
        if (entry.url == url) entry.localFile = localFile;
    }
}

std::vector<std::string> MemoryUrlCache::Urls() const {
    std::vector<std::string> urls;
    for (const Entry& e : entries_) urls.push_back(e.url);
    return urls;
}

std::uint32_t MemoryUrlCache::RecordSize(const std::string& url, std::uint32_t padding) {
    return static_cast<std::uint32_t>(sizeof(CacheEntryRecord) + url.size() + 1 + padding);
}

bool MemoryUrlCache::Fail(std::uint32_t error) {
    lastError_ = error;
    return false;
}

bool MemoryUrlCache::Fill(std::size_t index, CacheEntryRecord* block, std::uint32_t& size) {
    const Entry& entry = entries_[index];
    const std::uint32_t fileRoom = entry.localFile.empty() ? 0 : static_cast<std::uint32_t>(entry.localFile.size() + 1);
    const std::uint32_t needed = RecordSize(entry.url, entry.padding) + fileRoom;
    if (block == nullptr || size < needed) {
        size = neededSizeOverride_ != 0 ? neededSizeOverride_ : needed;
        return Fail(kErrorInsufficientBuffer);
    }
    auto* bytes = reinterpret_cast<char*>(block);
    std::memset(bytes, 0, needed);
    block->dwStructSize = sizeof(CacheEntryRecord);
    block->CacheEntryType = entry.type;
    char* url = bytes + sizeof(CacheEntryRecord);
    std::memcpy(url, entry.url.c_str(), entry.url.size() + 1);
    block->lpszSourceUrlName = url;
    if (fileRoom != 0) {
        char* file = url + entry.url.size() + 1;
        std::memcpy(file, entry.localFile.c_str(), fileRoom);
        block->lpszLocalFileName = file;
    }
    size = needed;
    return true;
}

MemoryUrlCache::Walked MemoryUrlCache::WalkedBy(const char* pattern) const {
    if (reading_ == CachePatternReading::EveryContainer) {
        if (pattern == nullptr) return Walked::Every;
        if (std::strcmp(pattern, kCookieContainerPrefix) == 0) return Walked::Cookies;
        return std::strcmp(pattern, kVisitedContainerPrefix) == 0 ? Walked::History : Walked::Nothing;
    }
    if (pattern == nullptr) return Walked::Content;
    if (EqualsIgnoringAsciiCase(pattern, kCookiePattern)) return Walked::Cookies;
    return EqualsIgnoringAsciiCase(pattern, kVisitedPattern) ? Walked::History : Walked::Nothing;
}

std::size_t MemoryUrlCache::NextWalked(std::size_t from, Walked walked) const {
    for (std::size_t index = from; index < entries_.size(); ++index) {
        if (walked == Walked::Every || entries_[index].container == walked) return index;
    }
    return entries_.size();
}

UrlCache::WalkHandle MemoryUrlCache::FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) {
    sizesOffered_.push_back(size);
    patternsWalked_.emplace_back(pattern != nullptr ? pattern : "(null)");
    if (auto error = faults_.Hit("FindFirstUrlCacheEntry")) {
        Fail(*error);
        return kNoWalk;
    }
    const Walked walked = WalkedBy(pattern);
    const std::size_t first = NextWalked(0, walked);
    if (walked == Walked::Nothing || first == entries_.size()) {
        Fail(kErrorNoMoreItems);
        return kNoWalk;
    }
    if (!Fill(first, block, size)) return kNoWalk;
    const WalkHandle handle = nextHandle_++;
    walks_[handle] = Walk{walked, first + 1};
    return handle;
}

bool MemoryUrlCache::FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) {
    sizesOffered_.push_back(size);
    if (auto error = faults_.Hit("FindNextUrlCacheEntry")) return Fail(*error);
    auto found = walks_.find(walk);
    if (found == walks_.end()) return Fail(6);
    const std::size_t index = NextWalked(found->second.next, found->second.walked);
    if (index == entries_.size()) return Fail(kErrorNoMoreItems);
    if (!Fill(index, block, size)) return false;
    found->second.next = index + 1;
    return true;
}

bool MemoryUrlCache::DeleteEntry(const char* sourceUrl) {
    if (auto error = faults_.Hit("DeleteUrlCacheEntry")) return Fail(*error);
    auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.url == sourceUrl; });
    if (entry == entries_.end()) return Fail(kErrorFileNotFound);
    if (entry->locked) return Fail(kErrorSharingViolation);
    const auto index = static_cast<std::size_t>(entry - entries_.begin());
    entries_.erase(entry);
    for (auto& walk : walks_) {
        if (index < walk.second.next) --walk.second.next;
    }
    return true;
}

void MemoryUrlCache::CloseWalk(WalkHandle walk) {
    faults_.Hit("FindCloseUrlCache");
    walks_.erase(walk);
}

std::int32_t MemoryUrlCache::ClearHistory() {
    if (const auto error = faults_.Hit("ClearHistory")) return static_cast<std::int32_t>(*error);
    if (clearing_ == HistoryClearing::NotImplemented) return kENotImpl;
    dayEntries_.clear();
    return kSOk;
}
