// brumix.exe's commands over the cleaning engine: parse, choose the stores, sweep, report,
// and the exit code.
#include "cli/commands.h"

#include <algorithm>
#include <string>

#include "cli/arguments.h"
#include "cli/exit_code.h"
#include "cli/progress.h"
#include "cli/selection.h"
#include "settings/settings_store.h"
#include "sweep/store_sweep.h"

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

constexpr char kSelf[] = "brumix: ";

void WriteError(Console& console, const std::string& message) {
    console.Write(Stream::Err, kSelf + message + "\n");
}

int UsageError(Console& console, const std::string& problem) {
    WriteError(console, problem + "\nTry 'brumix --help'.");
    return kExitUsage;
}

std::string JsonField(const char* key, int value) {
    return std::string("\"") + key + "\": " + std::to_string(value);
}

// The three numbers in the window's words, or as JSON under the given object keys.
std::string ThreeNumbers(bool json, const char* const (&names)[3], const int (&values)[3]) {
    static constexpr const char* kJsonKeys[3] = {"cached_files", "cookies", "typed_urls"};
    std::string text = json ? "{" : "";
    for (int i = 0; i < 3; ++i) {
        if (json) {
            text += (i == 0 ? "" : ", ") + JsonField(kJsonKeys[i], values[i]);
        } else {
            text += std::string(names[i]) + std::to_string(values[i]) + "\n";
        }
    }
    return json ? text + "}" : text;
}

// The sweeps ask before each item; Ctrl+C answers.
class StopAware : public StoreSweepObserver {
public:
    explicit StopAware(const StopFlag& stop) : stop_(stop) {}
    bool StopRequested() override { return stop_.Requested(); }

private:
    const StopFlag& stop_;
};

// What keeps a sweep from being a full account of its stores, on standard error.
void ReportShortfall(Console& console, const StoreSweepResult& result, const char* whenStopped) {
    if (result.Stopped()) {
        WriteError(console, whenStopped);
        return;
    }
    const TypedUrlResult& typed = result.typedUrls;
    if (result.typedUrlsSwept && typed.Refused()) {
        WriteError(console, "the TypedURLs key cannot be opened (error " + std::to_string(typed.openStatus) + ")");
    } else if (result.typedUrlsSwept && typed.opened && !typed.complete) {
        WriteError(console, "the typed addresses could not be listed to their end");
    }
    if (result.cacheSwept && !result.cache.walk.complete) {
        WriteError(console, "the URL cache could not be walked to its end");
    }
}

int RunCount(const Arguments& arguments, CliContext& context) {
    StopAware observer(context.stop);
    const CookieFolderPlace place = QueryCookieFolderPlace(context.services.system);
    const StoreSweepResult result =
        SweepStores(context.services, place, StoreSelection{true, true, true}, false, observer);
    static constexpr const char* kNames[3] = {"Cached Files: ", "Cookies: ", "URLs In History: "};
    const int counts[3] = {result.cache.walk.cachedFiles, result.cache.Cookies(),
                           result.typedUrls.opened ? result.typedUrls.listed : 0};
    context.console.Write(Stream::Out, ThreeNumbers(arguments.json, kNames, counts) + (arguments.json ? "\n" : ""));
    ReportShortfall(context.console, result, "stopped by Ctrl+C; the counts are those so far");
    return SweepExitCode(result, 0);
}

// The stores named by flags, or else the remembered ones, which standard error names; false
// when nothing is selected, which it has then said.
bool ChooseOrRefuse(const Arguments& arguments, CliContext& context, StoreSelection& selection) {
    const ChosenStores chosen =
        ChooseStores(arguments, arguments.AnyStore() ? SettingValues{} : ReadSettings(context.services.registry));
    selection = chosen.selection;
    if (!chosen.remembered) return true;
    if (!selection.Any()) {
        WriteError(context.console,
                   "no store named, and the remembered choices select none; name them with --temp, --cookies or "
                   "--history");
        return false;
    }
    WriteError(context.console, "no store named; the remembered choices select " + SelectionFlags(selection));
    return true;
}

// One item of preview's list or of clear's "not deleted", as a line or a JSON object.
std::string ItemText(bool json, Store store, const std::string& utf8Name) {
    if (json) return std::string("{\"store\": \"") + StoreName(store) + "\", \"name\": " + JsonString(utf8Name) + "}";
    return std::string(StoreName(store)) + "\t" + PlainText(utf8Name);
}

// Lists each item as the sweep stands on it, so that a long list costs no memory; stops when
// the list can no longer be written, since nobody will read the rest.
class PreviewList final : public StopAware {
public:
    PreviewList(CliContext& context, const StoreSelection& selection, bool json)
        : StopAware(context.stop), context_(context), selection_(selection), json_(json) {}

    bool StopRequested() override { return StopAware::StopRequested() || context_.console.OutputFailure() != 0; }

    void OnVisit(const SweepItem& item) override {
        if (!Selects(selection_, item.store)) return;
        // An entry without a URL cannot be deleted by one, so a clear leaves it.
        if (item.name.empty() && item.store != Store::CookieFile && item.store != Store::Typed) return;
        std::string line = ItemText(json_, item.store, context_.decodeName(item.name));
        if (json_) line.insert(0, first_ ? "\n" : ",\n");
        first_ = false;
        context_.console.Write(Stream::Out, json_ ? line : line + "\n");
    }

private:
    CliContext& context_;
    StoreSelection selection_;
    bool json_;
    bool first_ = true;
};

int RunPreview(const Arguments& arguments, CliContext& context) {
    StoreSelection selection;
    if (!ChooseOrRefuse(arguments, context, selection)) return kExitUsage;
    const CookieFolderPlace place = QueryCookieFolderPlace(context.services.system);
    if (arguments.json) context.console.Write(Stream::Out, "{\"items\": [");
    PreviewList list(context, selection, arguments.json);
    const StoreSweepResult result = SweepStores(context.services, place, selection, false, list);
    if (arguments.json) context.console.Write(Stream::Out, "\n]}\n");
    if (context.console.OutputFailure() != 0 && !context.stop.Requested()) return kExitOutputLost;
    ReportShortfall(context.console, result, "stopped by Ctrl+C; the list is what was found so far");
    return SweepExitCode(result, 0);
}

// Names each item that stays on standard error as it happens, keeps them for JSON, and draws
// the progress line.
class ClearWatch final : public StopAware {
public:
    ClearWatch(CliContext& context, bool json)
        : StopAware(context.stop), context_(context), json_(json), progress_(context.console) {}

    void OnVisit(const SweepItem&) override { progress_.Step(); }
    void OnNotDeleted(const SweepItem& item) override {
        ++notDeleted_;
        const std::string name = context_.decodeName(item.name);
        WriteError(context_.console, "not deleted: " + ItemText(false, item.store, name));
        if (json_) kept_ += (kept_.empty() ? "" : ", ") + ItemText(true, item.store, name);
    }

    void Finish() { progress_.Finish(); }
    int NotDeleted() const { return notDeleted_; }
    const std::string& KeptJson() const { return kept_; }

private:
    CliContext& context_;
    bool json_;
    ProgressLine progress_;
    int notDeleted_ = 0;
    std::string kept_;
};

int RunClear(const Arguments& arguments, CliContext& context) {
    StoreSelection selection;
    if (!ChooseOrRefuse(arguments, context, selection)) return kExitUsage;
    const CookieFolderPlace place = QueryCookieFolderPlace(context.services.system);
    ClearWatch watch(context, arguments.json);
    const StoreSweepResult result = SweepStores(context.services, place, selection, true, watch);
    watch.Finish();

    static constexpr const char* kNames[3] = {
        "Cached Files deleted: ", "Cookies deleted: ", "URLs In History deleted: "};
    const CacheSweepResult& cache = result.cache;
    const int deleted[3] = {cache.walk.deletedFiles, cache.walk.deletedCookieEntries + cache.cookieFiles.deleted,
                            result.typedUrls.deleted};
    std::string summary = ThreeNumbers(arguments.json, kNames, deleted);
    if (arguments.json) {
        const bool complete = result.Complete() && !result.Stopped();
        summary = "{\"deleted\": " + summary + ", \"not_deleted\": [" + watch.KeptJson() +
                  "], \"complete\": " + (complete ? "true" : "false") + "}\n";
    }
    context.console.Write(Stream::Out, summary);
    ReportShortfall(context.console, result, "stopped by Ctrl+C; what was deleted stays deleted");
    return SweepExitCode(result, watch.NotDeleted());
}

int RunCommand(const std::vector<std::string>& args, CliContext& context) {
    const ParseResult parsed = ParseArguments(args);
    if (!parsed.Ok()) return UsageError(context.console, parsed.error);
    const Arguments& arguments = parsed.arguments;
    switch (arguments.command) {
        case Command::Help:
            context.console.Write(Stream::Out, kUsage);
            return kExitDone;
        case Command::Version:
            // Only a damaged executable lacks it; the answer asked for cannot be given.
            if (context.version.empty()) {
                WriteError(context.console, "the version record cannot be read");
                return kExitIncomplete;
            }
            context.console.Write(Stream::Out, "brumix " + context.version + "\n");
            return kExitDone;
        case Command::Count:
            return RunCount(arguments, context);
        case Command::Preview:
            return RunPreview(arguments, context);
        case Command::Clear:
            return RunClear(arguments, context);
    }
    return kExitUsage;
}

}  // namespace

const char* UsageText() {
    return kUsage;
}

// A report that could not be written is a failure the exit code shows: a script must not
// take a lost JSON document for a clear with nothing to say.
int RunBrumix(const std::vector<std::string>& args, CliContext& context) {
    int code = RunCommand(args, context);
    context.console.Flush();
    if (const std::uint32_t error = context.console.OutputFailure()) {
        WriteError(context.console, "standard output could not be written (error " + std::to_string(error) +
                                        "); what it was to show is lost");
        code = std::max(code, static_cast<int>(kExitOutputLost));
    }
    return code;
}
