// Everything brumix.exe says, worded and shaped: the usage text, each command's report in text
// and in JSON, and the lines on standard error.
#include "cli/report.h"

#include "cli/text.h"

namespace {

constexpr char kUsage[] =
    "Usage: brumix COMMAND [--temp] [--cookies] [--history] [--json]\n"
    "\n"
    "Counts and clears what the system web browser leaves behind, as Win Brumix does.\n"
    "\n"
    "Commands:\n"
    "  count         count the cached files, the cookies and the typed addresses\n"
    "  preview       list what clear would delete, one STORE<TAB>NAME a line, where STORE\n"
    "                is cache, cookie, cookie-file or typed; deletes nothing\n"
    "  clear         delete the selected stores; print how many items of each went, and\n"
    "                name each item that could not be deleted on standard error\n"
    "  --help, -h, /?  this text\n"
    "  --version     the program's version\n"
    "\n"
    "Stores, for preview and clear (without any, the choices that Win Brumix remembered):\n"
    "  --temp        the temporary Internet files: the cache entries that are not cookies\n"
    "  --cookies     the cookies as well; only together with --temp\n"
    "  --history     the addresses typed into the address bar\n"
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
    return flags;
}

// One item of preview's list or of clear's "not deleted", as a line or as a JSON object.
std::string ItemText(Store store, std::string_view utf8Name, bool json) {
    if (json) return std::string("{\"store\": \"") + StoreName(store) + "\", \"name\": " + JsonString(utf8Name) + "}";
    return std::string(StoreName(store)) + "\t" + PlainText(utf8Name);
}

// The three numbers in the window's words, one a line, or as one JSON object.
std::string ThreeNumbers(const char* const (&names)[3], const int (&values)[3], bool json) {
    static constexpr const char* kJsonKeys[3] = {"cached_files", "cookies", "typed_urls"};
    std::string text = json ? "{" : "";
    for (int i = 0; i < 3; ++i) {
        if (json) {
            text += std::string(i == 0 ? "" : ", ") + "\"" + kJsonKeys[i] + "\": " + std::to_string(values[i]);
        } else {
            text += std::string(names[i]) + std::to_string(values[i]) + "\n";
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
    static constexpr const char* kNames[3] = {"Cached Files: ", "Cookies: ", "URLs In History: "};
    const int counts[3] = {result.cache.walk.cachedFiles, result.cache.Cookies(),
                           result.typedUrls.opened ? result.typedUrls.listed : 0};
    return ThreeNumbers(kNames, counts, json) + (json ? "\n" : "");
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

std::string ClearReport(const StoreSweepResult& result, const std::vector<NamedItem>& notDeleted, bool json) {
    static constexpr const char* kNames[3] = {
        "Cached Files deleted: ", "Cookies deleted: ", "URLs In History deleted: "};
    const CacheSweepResult& cache = result.cache;
    const int deleted[3] = {cache.walk.deletedFiles, cache.walk.deletedCookieEntries + cache.cookieFiles.deleted,
                            result.typedUrls.deleted};
    std::string numbers = ThreeNumbers(kNames, deleted, json);
    if (!json) return numbers;
    std::string kept;
    for (const NamedItem& item : notDeleted) {
        kept += (kept.empty() ? "" : ", ") + ItemText(item.store, item.utf8Name, true);
    }
    const bool complete = result.Complete() && !result.Stopped();
    return "{\"deleted\": " + numbers + ", \"not_deleted\": [" + kept +
           "], \"complete\": " + (complete ? "true" : "false") + "}\n";
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
