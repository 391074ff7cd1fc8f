// Everything brumix.exe says, worded and shaped: the usage text, each command's report in text
// and in JSON, and the lines on standard error.
#include "cli/report.h"

#include <initializer_list>

#include "cli/text.h"

namespace {

constexpr char kUsage[] =
    "Usage: brumix COMMAND [--temp] [--cookies] [--history] [--visited] [--json]\n"
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
    "  1    some items could not be deleted\n"
    "  2    usage error, or nothing selected\n"
    "  3    a store could not be walked to its end\n"
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

// A missing TypedURLs key holds no address, so it counts 0, as in the window.
std::string CountReport(const StoreSweepResult& result, bool json) {
    const CacheWalkResult& walk = result.cache.walk;
    return Numbers({{"Cached Files: ", "cached_files", walk.cachedFiles},
                    {"Cookies: ", "cookies", result.cache.Cookies()},
                    {"URLs In History: ", "typed_urls", result.typedUrls.opened ? result.typedUrls.listed : 0},
                    {"Pages Visited: ", "visited_pages", walk.visitedPages}},
                   json) +
           (json ? "\n" : "");
}

std::string PreviewOpening(bool json) {
    return json ? "{\"items\": [" : "";
}

std::string PreviewItem(Store store, std::string_view utf8Name, bool first, bool json) {
    if (json) return (first ? "\n" : ",\n") + ItemText(store, utf8Name, true);
    return ItemText(store, utf8Name, false) + "\n";
}

std::string PreviewClosing(bool json) {
    return json ? "\n]}\n" : "";
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
    if (!json) return numbers;
    std::string kept;
    for (const NamedItem& item : notDeleted) {
        kept += (kept.empty() ? "" : ", ") + ItemText(item.store, item.utf8Name, true);
    }
    const int pending = cache.walk.pendingDeletions;
    const bool complete = result.Complete() && !result.Stopped();
    return "{\"deleted\": " + numbers + ", \"not_deleted\": [" + kept + "]" +
           (pending != 0 ? ", \"pending\": " + std::to_string(pending) : "") +
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
    return text;
}
