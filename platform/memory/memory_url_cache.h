// An in-memory URL cache that walks, grows records and fails the way the real service does.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/faults.h"
#include "platform/url_cache.h"
#include "platform/url_history.h"

// How a cache service reads the first call's pattern.
enum class CachePatternReading {
    // Wine's, and the older cache's as studied from outside: no pattern walks every container,
    // and only a container's own spelling (kCookieContainerPrefix, kVisitedContainerPrefix),
    // matched with its case, walks that container.
    EveryContainer,
    // The service's reference: no pattern walks the content entries alone, and kCookiePattern
    // or kVisitedPattern, in any case, walks the cookies or the history.
    Documented,
};

// How the history's own clear answers.
enum class HistoryClearing {
    // Windows: the day and week containers are emptied.
    Documented,
    // Wine 8, whose object is a stub: E_NOTIMPL, and nothing changes.
    NotImplemented,
};

// The cache and the history share one store: the history's day and week views are containers of
// the cache that no walk the program makes returns (as on Windows, where they are extensible
// containers found only by their own enumeration).
class MemoryUrlCache final : public UrlCache, public UrlHistory {
public:
    explicit MemoryUrlCache(Faults& faults) : faults_(faults) {}

    void ReadPatternsAs(CachePatternReading reading) { reading_ = reading; }

    // padding: extra bytes after the strings, to make a record as large as needed. An entry
    // lives in the cookie container when it has the cookie bit, else in the history container
    // when it has the history bit or its URL begins with kVisitedContainerPrefix, as the
    // service files a URL by its container's prefix; else among the content. A locked entry
    // refuses deletion with kErrorSharingViolation.
    void Add(const std::string& url, std::uint32_t type = kNormalCacheEntry, std::uint32_t padding = 0,
             bool locked = false);
    // The entry's record names this local file from now on, laid out after its URL.
    void SetLocalFile(const std::string& url, const std::string& localFile);
    std::size_t Size() const { return entries_.size(); }
    std::vector<std::string> Urls() const;
    // The record size the service reports for an entry without a local file that does not fit.
    static std::uint32_t RecordSize(const std::string& url, std::uint32_t padding);
    // From now on a call that does not fit reports this size instead of the true one.
    void ReportNeededSize(std::uint32_t size) { neededSizeOverride_ = size; }

    // An entry of a day or week container of the history, such as "MSHist012026120920261210" with
    // ":2026120920261210: ann@https://bank.example/".
    void AddDayEntry(const std::string& container, const std::string& url) { dayEntries_.push_back({container, url}); }
    const std::vector<std::pair<std::string, std::string>>& DayEntries() const { return dayEntries_; }
    void ClearHistoryAs(HistoryClearing clearing) { clearing_ = clearing; }

    int OpenWalks() const { return static_cast<int>(walks_.size()); }
    // The size in/out given to each first or next call, in order.
    const std::vector<std::uint32_t>& SizesOffered() const { return sizesOffered_; }
    // The pattern of each first call, in order; "(null)" for none.
    const std::vector<std::string>& PatternsWalked() const { return patternsWalked_; }

    WalkHandle FindFirstEntry(const char* pattern, CacheEntryRecord* block, std::uint32_t& size) override;
    bool FindNextEntry(WalkHandle walk, CacheEntryRecord* block, std::uint32_t& size) override;
    bool DeleteEntry(const char* sourceUrl) override;
    void CloseWalk(WalkHandle walk) override;
    std::uint32_t LastError() override { return lastError_; }

    // Empties the day and week containers; the history container is the walk's to clear.
    std::int32_t ClearHistory() override;

private:
    // What a walk returns; an entry's container is one of Content, Cookies and History.
    enum class Walked { Every, Content, Cookies, History, Nothing };
    struct Entry {
        std::string url;
        std::uint32_t type;
        std::uint32_t padding;
        bool locked;
        Walked container;
        std::string localFile;
    };
    struct Walk {
        Walked walked;
        // The index in entries_ from which the next call looks for an entry it walks.
        std::size_t next;
    };
    Walked WalkedBy(const char* pattern) const;
    // The first entry at or after from that the walk returns; entries_.size() when none.
    std::size_t NextWalked(std::size_t from, Walked walked) const;
    bool Fill(std::size_t index, CacheEntryRecord* block, std::uint32_t& size);
    bool Fail(std::uint32_t error);

    Faults& faults_;
    std::vector<Entry> entries_;
    std::map<WalkHandle, Walk> walks_;
    CachePatternReading reading_ = CachePatternReading::EveryContainer;
    WalkHandle nextHandle_ = 0x100;
    std::uint32_t lastError_ = 0;
    std::uint32_t neededSizeOverride_ = 0;
    std::vector<std::uint32_t> sizesOffered_;
    std::vector<std::string> patternsWalked_;
    std::vector<std::pair<std::string, std::string>> dayEntries_;
    HistoryClearing clearing_ = HistoryClearing::Documented;
};
