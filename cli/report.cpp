// Everything brumix.exe says, worded and shaped: the usage text, each command's report in text
// and in JSON, and the lines on standard error.
#include "cli/report.h"

#include <algorithm>
#include <vector>

#include "cli/kind_words.h"
#include "cli/text.h"

namespace {

// Up to the commands' list; each command's entry, the stores' and the rest follow.
constexpr char kUsageHead[] =
    "Counts and clears what the system web browser and the other browsers chosen leave\n"
    "behind, as Win Brumix does.\n"
    "\n"
    "Commands:\n";
constexpr char kPreviewHelp[] = "list what clear would delete, one STORE<TAB>NAME a line, where STORE\n";
constexpr char kUsageCommands[] =
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
    "Stores, for preview and clear (without any, the choices that Win Brumix remembered):\n";
constexpr char kUsageTail[] =
    "\n"
    "  --json        one JSON object on standard output instead of the text\n"
    "\n"
    "Exit codes (when several hold, the highest):\n"
    "  0    done\n"
    "  1    some items could not be deleted, or keep remove named a site not kept\n"
    "  2    usage error (an unknown browser among them), or nothing selected\n"
    "  3    a store could not be walked to its end, or the list of cookies to keep\n"
    "       could not be read (no cookie is then deleted) or written, or a browser\n"
    "       was running or holds a database whose layout is not known (left whole)\n"
    "  4    standard output could not be written (a clear still deletes what it was asked to)\n"
    "  5    an unexpected internal failure, named on standard error\n"
    "  6    a system DLL or one of its functions could not be loaded\n"
    "  130  stopped by Ctrl+C\n";

// Where an entry's text starts, and the width its lines are filled to.
constexpr std::size_t kHelpColumn = 16;
constexpr std::size_t kHelpWidth = 80;

// One entry of the usage text: the name, and its text filled word by word from the help column,
// on a line of its own below a name that reaches that column.
std::string UsageEntry(std::string_view name, std::string_view text) {
    std::string entry = "  ";
    entry.append(name);
    std::size_t lineStart = 0;
    if (entry.size() + 1 > kHelpColumn) {
        entry += '\n';
        lineStart = entry.size();
    }
    entry.resize(lineStart + std::max(entry.size() - lineStart + 1, kHelpColumn), ' ');
    bool lineHasWord = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string_view word = text.substr(at, end - at);
        if (lineHasWord && entry.size() - lineStart + 1 + word.size() > kHelpWidth) {
            entry += '\n';
            lineStart = entry.size();
            entry.append(kHelpColumn, ' ');
            lineHasWord = false;
        }
        if (lineHasWord) entry += ' ';
        entry.append(word);
        lineHasWord = true;
        at = end + 1;
    }
    return entry + '\n';
}

// The names preview gives, as a sentence lists them.
std::string StoreNameList() {
    std::string list;
    for (std::size_t i = 0; i < kStoreCount; ++i) {
        list += i == 0 ? "" : i + 1 == kStoreCount ? " or " : ", ";
        list += StoreName(static_cast<Store>(i));
    }
    return list;
}

// The flags that name the selection, for example "--temp --history".
std::string SelectionFlags(KindSet selection) {
    std::string flags;
    for (const KindWords& row : kKindWords) {
        if (!selection.Has(row.kind)) continue;
        if (!flags.empty()) flags += ' ';
        flags += row.flag;
    }
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

// The numbers as the members of a JSON object, without its braces.
std::string JsonMembers(const std::vector<Number>& numbers) {
    std::string text;
    for (const Number& n : numbers) {
        text += std::string(text.empty() ? "" : ", ") + "\"" + n.jsonKey + "\": " + std::to_string(n.value);
    }
    return text;
}

// The numbers in the window's words, one a line, or as one JSON object.
std::string Numbers(const std::vector<Number>& numbers, bool json) {
    if (json) return "{" + JsonMembers(numbers) + "}";
    std::string text;
    for (const Number& n : numbers) text += std::string(n.words) + std::to_string(n.value) + "\n";
    return text;
}

// The numbers on one line after a browser's name, "Cached Files 5, Cookies 2": the words
// without the colon that ends them on a line of their own.
std::string InlineNumbers(const std::vector<Number>& numbers) {
    std::string text;
    for (const Number& n : numbers) {
        std::string_view words = n.words;
        if (words.ends_with(": ")) words.remove_suffix(2);
        text += (text.empty() ? "" : ", ") + std::string(words) + " " + std::to_string(n.value);
    }
    return text;
}

// count's numbers of one share of the counts: every kind found, and in JSON the cookies kept
// always; in the text the cookies kept come apart, and only when there are some.
void CountNumbers(const KindTallies& counts, bool json, std::vector<Number>& numbers, std::vector<Number>& kept) {
    for (const KindWords& row : kKindWords) {
        const Tally& tally = counts[row.kind];
        numbers.push_back({row.countWords, row.jsonKey, tally.found});
        if (row.keptWords == nullptr) continue;
        if (json) {
            numbers.push_back({row.keptWords, row.keptJsonKey, tally.kept});
        } else if (tally.kept > 0) {
            kept.push_back({row.keptWords, row.keptJsonKey, tally.kept});
        }
    }
}

// clear's numbers of one share: each kind deleted that a clear reports, and the cookies kept
// when the clear took them and some were.
void ClearNumbers(const KindTallies& counts, KindSet selected, std::vector<Number>& deleted,
                  std::vector<Number>& kept) {
    for (const KindWords& row : kKindWords) {
        const Tally& tally = counts[row.kind];
        const bool taken = selected.Has(row.kind);
        if (row.inEveryClear || taken) deleted.push_back({row.clearWords, row.jsonKey, tally.deleted});
        // What was kept is a clear's news only when it took the kind.
        if (row.keptWords != nullptr && taken && tally.kept > 0) {
            kept.push_back({row.keptWords, row.jsonKey, tally.kept});
        }
    }
}

// The other browsers the pass ran, in the table's order: the chosen ones, all of them unless a
// stop came first.
std::vector<const Source*> BrowsersRun(const SweepResult& result) {
    std::vector<const Source*> rows;
    for (const Source& row : BrowserSources()) {
        if (result.BySource(row.id).ran) rows.push_back(&row);
    }
    return rows;
}

// A browser's line before its numbers: its name, how many profiles, and whether it runs.
std::string BrowserHeading(const Source& row, const BrowserFacts& facts) {
    std::string heading(row.browserName);
    if (!facts.installed) return heading + ": not installed";
    heading += " (" + std::to_string(facts.profiles) + (facts.profiles == 1 ? " profile" : " profiles");
    return heading + (facts.inUse ? ", in use): " : "): ");
}

// In the text: a line for each browser the pass ran, its heading and then, when it is installed,
// the numbers share gives of its counts.
template <typename Share>
std::string BrowserLines(const SweepResult& result, Share share) {
    std::string text;
    for (const Source* row : BrowsersRun(result)) {
        const SourceResult& source = result.BySource(row->id);
        text += BrowserHeading(*row, source.browser);
        if (source.browser.installed) text += InlineNumbers(share(source.counts));
        text += "\n";
    }
    return text;
}

// In JSON: "browsers" and an object for each browser the pass ran, keyed by its id; nothing
// when no browser was chosen, so that such a report reads as it always has.
template <typename Members>
std::string BrowsersJson(const SweepResult& result, Members members) {
    const std::vector<const Source*> rows = BrowsersRun(result);
    if (rows.empty()) return "";
    std::string text = ", \"browsers\": {";
    for (const Source* row : rows) {
        const SourceResult& source = result.BySource(row->id);
        text += std::string(row == rows.front() ? "" : ", ") + "\"" + std::string(row->browser) + "\": {" +
                members(source) + ", \"in_use\": " + (source.browser.inUse ? "true" : "false") + "}";
    }
    return text + "}";
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

// What a clear does with what keeps a browser from being reached whole, in the command's tense.
const char* LeftWhole(Command command) {
    return command == Command::Clear ? "was left whole" : "a clear leaves it whole";
}

// Why another browser was not reached whole, a line each: running, databases it cannot use, or
// a listing or read cut short; with a note on the browsers that outlive their windows.
std::string BrowserShortfall(const Source& row, const BrowserFacts& facts, bool complete, Command command) {
    const std::string name(row.browserName);
    std::string text;
    if (facts.inUse) {
        text += ErrorLine(name + " is running, so " +
                          (command == Command::Clear ? "it was left whole; close it and clear again"
                                                     : "a clear leaves it whole until it is closed"));
    }
    for (const std::string& problem : facts.layoutProblems) {
        std::string line = name + ": a database this program does not know how to change, so ";
        line.append(LeftWhole(command)).append(": ").append(problem);
        text += ErrorLine(line);
    }
    if (!complete && !facts.inUse && facts.layoutProblems.empty()) {
        text += ErrorLine(name + " could not be read to its end");
    }
    return text;
}

}  // namespace

std::string UsageText() {
    std::string usage = "Usage: brumix COMMAND";
    for (const KindWords& row : kKindWords) usage += std::string(" [") + row.flag + "]";
    usage += std::string(" [") + kBrowsersFlag +
             " LIST] [--json]\n       brumix keep [add SITE... | remove SITE...] [--json]\n\n";
    usage += kUsageHead;
    std::string counted;
    for (std::size_t i = 0; i < kKindWords.size(); ++i) {
        counted += i == 0 ? "" : i + 1 == kKindWords.size() ? " and " : ", ";
        counted += kKindWords[i].noun;
    }
    usage += UsageEntry("count", "count " + counted);
    usage += "  preview       " + std::string(kPreviewHelp) + std::string(kHelpColumn, ' ') + "is " + StoreNameList() +
             "; deletes nothing\n";
    usage += kUsageCommands;
    for (const KindWords& row : kKindWords) usage += UsageEntry(row.flag, row.help);
    usage += "\nOther browsers, for count, preview and clear, besides the system browser's:\n";
    usage += UsageEntry(std::string(kBrowsersFlag) + " LIST",
                        "the browsers whose caches, cookies and history count, preview and clear reach as well: "
                        "their ids separated by commas, or all, or none; without it, the browsers that Win "
                        "Brumix remembered. A browser that is running is left whole. The ids:");
    for (const Source& row : BrowserSources())
        usage += UsageEntry(std::string("  ") + std::string(row.browser), std::string(row.browserName));
    return usage + kUsageTail;
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

std::string RememberedSelectionText(KindSet selection) {
    return ErrorLine("no store named; the remembered choices select " + SelectionFlags(selection));
}

std::string NothingRememberedText() {
    return ErrorLine("no store named, and the remembered choices select none; name them with " +
                     FlagList(KindSet::All(), " or "));
}

// A missing TypedURLs key holds no address, so it counts 0, as in the window. The cookies kept
// have a line only when there are some, so that a count without them reads as it always has.
// Each browser chosen has its share after the totals, a line each, or its object in JSON.
std::string CountReport(const SweepResult& result, bool json) {
    std::vector<Number> numbers;
    std::vector<Number> kept;
    CountNumbers(result.counts, json, numbers, kept);
    if (json) {
        return "{" + JsonMembers(numbers) +
               BrowsersJson(result,
                            [json](const SourceResult& source) {
                                std::vector<Number> share{{"", "profiles", source.browser.profiles}};
                                std::vector<Number> unused;
                                CountNumbers(source.counts, json, share, unused);
                                return JsonMembers(share);
                            }) +
               "}\n";
    }
    return Numbers(numbers, false) + Numbers(kept, false) + BrowserLines(result, [](const KindTallies& counts) {
               std::vector<Number> share;
               CountNumbers(counts, false, share, share);
               return share;
           });
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

// A kind added since the first release has a line and a key only when it was selected, so that
// every other clear reads as it always has; so has "pending" only when an entry was in use. Each
// browser chosen has its share after the totals, with the same kinds.
std::string ClearReport(const SweepResult& result, const std::vector<NamedItem>& stayed, bool json) {
    std::vector<Number> deleted;
    std::vector<Number> kept;
    ClearNumbers(result.counts, result.selected, deleted, kept);
    if (!json) {
        return Numbers(deleted, false) + Numbers(kept, false) +
               BrowserLines(result, [&result](const KindTallies& counts) {
                   std::vector<Number> share;
                   ClearNumbers(counts, result.selected, share, share);
                   return share;
               });
    }
    std::string stayedItems;
    for (const NamedItem& item : stayed) {
        stayedItems += (stayedItems.empty() ? "" : ", ") + ItemText(item.store, item.utf8Name, true);
    }
    const int pending = result.counts.Pending();
    const bool complete = result.Complete() && !result.stopped;
    return "{\"deleted\": " + Numbers(deleted, true) + (kept.empty() ? "" : ", \"kept\": " + Numbers(kept, true)) +
           ", \"not_deleted\": [" + stayedItems + "]" +
           (pending != 0 ? ", \"pending\": " + std::to_string(pending) : "") +
           ", \"complete\": " + (complete ? "true" : "false") +
           BrowsersJson(result,
                        [&result](const SourceResult& source) {
                            std::vector<Number> share;
                            std::vector<Number> unused;
                            ClearNumbers(source.counts, result.selected, share, unused);
                            return "\"deleted\": " + Numbers(share, true);
                        }) +
           "}\n";
}

std::string PendingText(const SweepResult& result) {
    const int pending = result.counts.Pending();
    if (pending == 0) return "";
    return ErrorLine("cache entries in use, deletion pending: " + std::to_string(pending));
}

std::string ShortfallText(const SweepResult& result, Command command) {
    if (result.stopped) return ErrorLine(StoppedText(command));
    std::string text;
    bool running = false;
    for (const Source& row : SourceTable()) {
        const SourceResult& source = result.BySource(row.id);
        if (!source.ran || source.Whole()) continue;
        if (row.IsBrowser()) {
            text += BrowserShortfall(row, source.browser, source.complete, command);
            running = running || source.browser.inUse;
        } else if (!source.Opened() && row.refusedText != nullptr) {
            text += ErrorLine(std::string(row.refusedText) + " (error " + std::to_string(source.openStatus) + ")");
        } else if (source.Opened() && row.cutShortText != nullptr) {
            text += ErrorLine(row.cutShortText);
        }
    }
    if (running) {
        text += ErrorLine(
            "Edge and Chrome may keep running after their last window closes (Startup boost, "
            "background apps)");
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
