// brumix.exe's commands over the cleaning engine: parse, choose the stores, sweep, report,
// and the exit code.
#include "cli/commands.h"

#include <algorithm>
#include <string>

#include "cli/arguments.h"
#include "cli/chosen_stores.h"
#include "cli/exit_code.h"
#include "cli/observers.h"
#include "cli/report.h"
#include "settings/kept_cookies_store.h"
#include "settings/settings_store.h"
#include "sweep/store_sweep.h"

namespace {

// Nothing to say makes no write: the console sees only writes that carry text (preview in
// text has no opening or closing).
void Say(CliContext& context, Stream stream, const std::string& text) {
    if (!text.empty()) context.console.Write(stream, text);
}

int RunCount(const Arguments& arguments, CliContext& context) {
    CtrlCObserver observer(context.stop);
    const CookieFolderPlace place = QueryCookieFolderPlace(context.services.system);
    const StoreSweepResult result =
        SweepStores(context.services, place, StoreSelection{true, true, true, true}, false, observer);
    Say(context, Stream::Out, CountReport(result, arguments.json));
    Say(context, Stream::Err, ShortfallText(result, Command::Count));
    return SweepExitCode(result, 0);
}

// The stores named by flags, or else the remembered ones, which standard error names; false
// when nothing is selected, which it has then said.
bool ChooseOrRefuse(const Arguments& arguments, CliContext& context, StoreSelection& selection) {
    const ChosenStores chosen =
        ChooseStores(arguments, arguments.AnyStore() ? SettingValues{} : ReadSettings(context.services.registry));
    selection = chosen.selection;
    if (!chosen.remembered) return true;
    Say(context, Stream::Err, selection.Any() ? RememberedSelectionText(selection) : NothingRememberedText());
    return selection.Any();
}

int RunPreview(const Arguments& arguments, CliContext& context) {
    StoreSelection selection;
    if (!ChooseOrRefuse(arguments, context, selection)) return kExitUsage;
    const CookieFolderPlace place = QueryCookieFolderPlace(context.services.system);
    Say(context, Stream::Out, PreviewOpening(arguments.json));
    PreviewObserver list(context, selection, arguments.json);
    const StoreSweepResult result = SweepStores(context.services, place, selection, false, list);
    Say(context, Stream::Out, PreviewClosing(arguments.json, list.Kept()));
    if (context.console.OutputFailure() != 0 && !context.stop.Requested()) return kExitOutputLost;
    Say(context, Stream::Err, ShortfallText(result, Command::Preview));
    return SweepExitCode(result, 0);
}

int RunClear(const Arguments& arguments, CliContext& context) {
    StoreSelection selection;
    if (!ChooseOrRefuse(arguments, context, selection)) return kExitUsage;
    const CookieFolderPlace place = QueryCookieFolderPlace(context.services.system);
    ClearObserver watch(context, arguments.json);
    const StoreSweepResult result = SweepStores(context.services, place, selection, true, watch);
    watch.Finish();
    Say(context, Stream::Out, ClearReport(result, watch.Kept(), arguments.json));
    Say(context, Stream::Err, PendingText(result));
    Say(context, Stream::Err, ShortfallText(result, Command::Clear));
    return SweepExitCode(result, watch.NotDeleted());
}

// The list as it stands, or changed and written at once. A list that cannot be read is not
// written over: the user may have put something in it that this program cannot read.
int RunKeep(const Arguments& arguments, CliContext& context) {
    Registry& registry = context.services.registry;
    const KeptCookieList stored = ReadKeptCookieList(registry);
    if (stored.Unreadable()) {
        Say(context, Stream::Err, KeptListUnreadableText(stored, arguments.keepAction));
        return kExitIncomplete;
    }
    KeptSites sites = stored.sites;
    bool changed = false;
    int code = kExitDone;
    for (const std::string& site : arguments.sites) {
        if (arguments.keepAction == KeepAction::Add) {
            changed = sites.Add(site) || changed;
        } else if (sites.Remove(site)) {
            changed = true;
        } else {
            Say(context, Stream::Err, NotKeptText(site));
            code = kExitNotDeleted;
        }
    }
    if (changed) {
        if (const std::int32_t status = WriteKeptCookieList(registry, sites)) {
            Say(context, Stream::Err, KeptListNotWrittenText(status));
            return kExitIncomplete;
        }
    }
    Say(context, Stream::Out, KeptSitesReport(sites.Sites(), arguments.json));
    return code;
}

int RunCommand(const std::vector<std::string>& args, CliContext& context) {
    const ParseResult parsed = ParseArguments(args);
    if (!parsed.Ok()) {
        Say(context, Stream::Err, UsageErrorText(parsed.error));
        return kExitUsage;
    }
    const Arguments& arguments = parsed.arguments;
    switch (arguments.command) {
        case Command::Help:
            Say(context, Stream::Out, UsageText());
            return kExitDone;
        case Command::Version:
            // The answer asked for cannot be given.
            if (context.version.empty()) {
                Say(context, Stream::Err, NoVersionText());
                return kExitIncomplete;
            }
            Say(context, Stream::Out, VersionText(context.version));
            return kExitDone;
        case Command::Count:
            return RunCount(arguments, context);
        case Command::Preview:
            return RunPreview(arguments, context);
        case Command::Clear:
            return RunClear(arguments, context);
        case Command::Keep:
            return RunKeep(arguments, context);
    }
    return kExitUsage;
}

}  // namespace

// A report that could not be written is a failure the exit code shows: a script must not
// take a lost JSON document for a clear with nothing to say.
int RunBrumix(const std::vector<std::string>& args, CliContext& context) {
    int code = RunCommand(args, context);
    context.console.Flush();
    if (const std::uint32_t error = context.console.OutputFailure()) {
        Say(context, Stream::Err, OutputLostText(error));
        code = std::max(code, static_cast<int>(kExitOutputLost));
    }
    return code;
}
