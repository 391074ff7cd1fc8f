// Everything brumix.exe says, worded and shaped: the usage text, each command's report in text
// and in JSON, and the lines on standard error.
#include "cli/report.h"

#include <initializer_list>

#include "cli/text.h"

namespace {

constexpr char kUsage[] =
    "Usage: brumix COMMAND [--temp] [--cookies] [--history] [--visited] [--json]\n"
    "       brumix keep [add SITE... | remove SITE...] [--json]\n"
    "\n"
    "Counts and clears what the system web browser leaves behind, as Win Brumix does.\n"
    "\n"
    "Commands:\n"
    "  count         count the cached files, the cookies, the typed addresses and the\n"
    "                pages visited\n"
    "  preview       list what clear would delete, one STORE<TAB>NAME a line, where STORE\n"
    "                is cache, cookie, cookie-file, typed or visited; deletes nothing\n"
    "  clear         delete the selected stores; print how many items of each went, and\n"
    "                name each item that could not be deleted on standard error; cache\n"
    "                entries in use go once released, and are only counted as pending\n"
    "  keep          list the sites whose cookies are kept: no clear deletes them, and\n"
    "                count and preview leave them out\n"
    "  keep add SITE...     keep the cookies of these sites and of every name under\n"
    "                them; a SITE is a host name, an IP address or a URL\n"
    "  keep remove SITE...  keep them no longer\n"
    "  --help, -h, /?  this text\n"
    "  --version     the program's version\n"
    "\n"
    "Stores, for preview and clear (without any, the choices that Win Brumix remembered):\n"
    "  --temp        the temporary Internet files: the cache entries that are neither\n"
    "                cookies nor pages visited\n"
    "  --cookies     the cookies as well; only together with --temp\n"
    "  --history     the addresses typed into the address bar\n"
    "  --visited     the pages visited, from the browser's history\n"
    "\n"
    "  --json        one JSON object on standard output instead of the text\n"
    "\n"
    "Exit codes (when several hold, the highest):\n"
    "  0    done\n"
    "  1    some items could not be deleted, or keep remove named a site not kept\n"
    "  2    usage error, or nothing selected\n"
    "  3    a store could not be walked to its end, or the list of cookies to keep\n"
    "       could not be read (no cookie is then deleted) or written\n"
    "  4    standard output could not be written (a clear still deletes what it was asked to)\n"
    "  5    an unexpected internal failure, named on standard error\n"
    "  6    a system DLL or one of its functions could not be loaded\n"
    "  130  stopped by Ctrl+C\n";

// The store's name in preview's lines and in JSON.
const char* StoreName(Store store) {
    switch (store) {
        case Store::Cache:
            return "cache";
        case Store::Cookie:
            return "cookie";
        case Store::CookieFile:
            return "cookie-file";
        case Store::Typed:
            return "typed";
        case Store::Visited:
            return "visited";
    }
    return "";
}

// The flags that name the selection, for example "--temp --history".
std::string SelectionFlags(const StoreSelection& selection) {
    std::string flags;
    auto add = [&](bool on, const char* flag) {
        if (!on) return;
        if (!flags.empty()) flags += ' ';
        flags += flag;
    };
    add(selection.cache, "--temp");
    add(selection.cache && selection.cookies, "--cookies");
    add(selection.typedUrls, "--history");
    add(selection.visited, "--visited");
    return flags;
}

// One item of preview's list or of clear's "not deleted", as a line or as a JSON object.
std::string ItemText(Store store, std::string_view utf8Name, bool json) {
    if (json) return std::string("{\"store\": \"") + StoreName(store) + "\", \"name\": " + JsonString(utf8Name) + "}";
    return std::string(StoreName(store)) + "\t" + PlainText(utf8Name);
}

// A named number: its words in the text, its key in JSON.
struct Number {
    const char* words;
    const char* jsonKey;
    int value;
};

// The numbers in the window's words, one a line, or as one JSON object.
std::string Numbers(std::initializer_list<Number> numbers, bool json) {
    std::string text = json ? "{" : "";
    const char* separator = "";
    for (const Number& n : numbers) {
        if (json) {
            text += std::string(separator) + "\"" + n.jsonKey + "\": " + std::to_string(n.value);
            separator = ", ";
        } else {
            text += std::string(n.words) + std::to_string(n.value) + "\n";
        }
    }
    return json ? text + "}" : text;
}

const char* CookiesHeldText(Command command) {
    switch (command) {
        case Command::Count:
            return "the list of cookies to keep cannot be read; a clear would delete no cookie";
        case Command::Preview:
            return "the list of cookies to keep cannot be read; no cookie is listed, as a clear would delete none";
        default:
            return "the list of cookies to keep cannot be read; no cookie was deleted";
    }
}

const char* StoppedText(Command command) {
    switch (command) {
        case Command::Count:
            return "stopped by Ctrl+C; the counts are those so far";
        case Command::Preview:
            return "stopped by Ctrl+C; the list is what was found so far";
        default:
            return "stopped by Ctrl+C; what was deleted stays deleted";
    }
}

}  // namespace

const char* UsageText() {
    return kUsage;
}

std::string VersionText(std::string_view version) {
    return "brumix " + std::string(version) + "\n";
}

std::string ErrorLine(std::string_view message) {
    return "brumix: " + std::string(message) + "\n";
}

std::string UsageErrorText(std::string_view problem) {
    return ErrorLine(std::string(problem) + "\nTry 'brumix --help'.");
}

// Only a damaged executable lacks its version record.
std::string NoVersionText() {
    return ErrorLine("the version record cannot be read");
}

std::string OutputLostText(std::uint32_t error) {
    return ErrorLine("standard output could not be written (error " + std::to_string(error) +
                     "); what it was to show is lost");
}

std::string RememberedSelectionText(const StoreSelection& selection) {
    return ErrorLine("no store named; the remembered choices select " + SelectionFlags(selection));
}

std::string NothingRememberedText() {
    return ErrorLine(
        "no store named, and the remembered choices select none; name them with --temp, --cookies or --history");
}

// A missing TypedURLs key holds no address, so it counts 0, as in the window. The cookies kept
// have a line only when there are some, so that a count without them reads as it always has.
std::string CountReport(const StoreSweepResult& result, bool json) {
    const CacheWalkResult& walk = result.cache.walk;
    const Number files{"Cached Files: ", "cached_files", walk.cachedFiles};
    const Number cookies{"Cookies: ", "cookies", result.cache.Cookies()};
    const Number kept{"Cookies kept: ", "cookies_kept", result.cache.CookiesKept()};
    const Number typed{"URLs In History: ", "typed_urls", result.typedUrls.opened ? result.typedUrls.listed : 0};
    const Number visited{"Pages Visited: ", "visited_pages", walk.visitedPages};
    if (json) return Numbers({files, cookies, kept, typed, visited}, true) + "\n";
    return Numbers({files, cookies, typed, visited}, false) + (kept.value > 0 ? Numbers({kept}, false) : "");
}

std::string PreviewOpening(bool json) {
    return json ? "{\"items\": [" : "";
}

std::string PreviewItem(Store store, std::string_view utf8Name, bool first, bool json) {
    if (json) return (first ? "\n" : ",\n") + ItemText(store, utf8Name, true);
    return ItemText(store, utf8Name, false) + "\n";
}

std::string PreviewClosing(bool json, const std::vector<NamedItem>& kept) {
    if (!json) return "";
    if (kept.empty()) return "\n]}\n";
    std::string text = "\n], \"kept\": [";
    const char* separator = "\n";
    for (const NamedItem& item : kept) {
        text += separator + ItemText(item.store, item.utf8Name, true);
        separator = ",\n";
    }
    return text + "\n]}\n";
}

std::string NotDeletedLine(Store store, std::string_view utf8Name) {
    return ErrorLine("not deleted: " + ItemText(store, utf8Name, false));
}

// The pages visited have a line and a key only when they were selected, so that every other
// clear reads as it always has; so has "pending" only when an entry was in use.
std::string ClearReport(const StoreSweepResult& result, const std::vector<NamedItem>& notDeleted, bool json) {
    const CacheSweepResult& cache = result.cache;
    const Number files{"Cached Files deleted: ", "cached_files", cache.walk.deletedFiles};
    const Number cookies{"Cookies deleted: ", "cookies", cache.walk.deletedCookieEntries + cache.cookieFiles.deleted};
    const Number typed{"URLs In History deleted: ", "typed_urls", result.typedUrls.deleted};
    const Number visited{"Pages Visited deleted: ", "visited_pages", cache.walk.deletedVisitedPages};
    std::string numbers =
        result.visitedSwept ? Numbers({files, cookies, typed, visited}, json) : Numbers({files, cookies, typed}, json);
    // The cookies kept are a clear's news only when it took the cookies.
    const int cookiesKept = result.cookiesSelected ? cache.CookiesKept() : 0;
    if (!json) return numbers + (cookiesKept > 0 ? Numbers({{"Cookies kept: ", "", cookiesKept}}, false) : "");
    std::string stayed;
    for (const NamedItem& item : notDeleted) {
        stayed += (stayed.empty() ? "" : ", ") + ItemText(item.store, item.utf8Name, true);
    }
    const int pending = cache.walk.pendingDeletions;
    const bool complete = result.Complete() && !result.Stopped();
    return "{\"deleted\": " + numbers +
           (cookiesKept > 0 ? ", \"kept\": " + Numbers({{"", "cookies", cookiesKept}}, true) : "") +
           ", \"not_deleted\": [" + stayed + "]" + (pending != 0 ? ", \"pending\": " + std::to_string(pending) : "") +
           ", \"complete\": " + (complete ? "true" : "false") + "}\n";
}

std::string PendingText(const StoreSweepResult& result) {
    const int pending = result.cache.walk.pendingDeletions;
    if (pending == 0) return "";
    return ErrorLine("cache entries in use, deletion pending: " + std::to_string(pending));
}

std::string ShortfallText(const StoreSweepResult& result, Command command) {
    if (result.Stopped()) return ErrorLine(StoppedText(command));
    std::string text;
    const TypedUrlResult& typed = result.typedUrls;
    if (result.typedUrlsSwept && typed.Refused()) {
        text += ErrorLine("the TypedURLs key cannot be opened (error " + std::to_string(typed.openStatus) + ")");
    } else if (result.typedUrlsSwept && typed.opened && !typed.complete) {
        text += ErrorLine("the typed addresses could not be listed to their end");
    }
    if (result.cacheSwept && !result.cache.walk.complete) {
        text += ErrorLine("the URL cache could not be walked to its end");
    }
    if (result.CookiesHeld()) text += ErrorLine(CookiesHeldText(command));
    return text;
}

std::string KeptSitesReport(const std::vector<std::string>& sites, bool json) {
    std::string text;
    if (json) {
        for (const std::string& site : sites) text += (text.empty() ? "" : ", ") + JsonString(site);
        return "{\"keep\": [" + text + "]}\n";
    }
    for (const std::string& site : sites) text += PlainText(site) + "\n";
    return text;
}

std::string KeptListUnreadableText(const KeptCookieList& list, KeepAction action) {
    std::string why;
    if (list.status != 0) {
        why = "error " + std::to_string(list.status);
    } else if (list.type != kRegMultiSz) {
        why = "keep_cookies is not a REG_MULTI_SZ value";
    } else {
        why = "keep_cookies holds a string that is not a site";
    }
    return ErrorLine("the list of cookies to keep cannot be read (" + why + ")" +
                     (action == KeepAction::Show ? "" : "; it is left as it is"));
}

std::string KeptListNotWrittenText(std::int32_t status) {
    return ErrorLine("the list of cookies to keep could not be written (error " + std::to_string(status) +
                     "); it is as it was");
}

std::string NotKeptText(std::string_view site) {
    return ErrorLine("not on the list of cookies to keep: " + PlainText(site));
}
