// brumix.exe's commands over the cleaning engine: parse, choose the stores, sweep, report,
// and the exit code.
#include "cli/commands.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>

#include "cli/arguments.h"
#include "cli/chosen_stores.h"
#include "cli/exit_code.h"
#include "cli/observers.h"
#include "cli/report.h"
#include "settings/kept_cookies_store.h"
#include "settings/settings_store.h"
#include "sweep/kept_list.h"
#include "sweep/sweep.h"

namespace {

// Nothing to say makes no write: the console sees only writes that carry text (preview in
// text has no opening or closing).
void Say(CliContext& context, Stream stream, const std::string& text) {
    if (!text.empty()) context.console.Write(stream, text);
}

// The place of the cookie folder is asked for each run, before the first store is touched. The
// system browser's stores are always reached, the other browsers when chosen.
SweepRequest Request(const Arguments& arguments, CliContext& context, KindSet kinds, bool deleteItems) {
    return SweepRequest{
        .kinds = kinds,
        .deleteItems = deleteItems,
        .sources = SourceSet::SystemBrowser() | ChooseBrowsers(arguments, context.services),
        .cookieFolder = QueryCookieFolderPlace(context.services.system),
        .keptList = [&registry = context.services.registry] { return ReadKeptCookiesValue(registry); },
    };
}

int RunCount(const Arguments& arguments, CliContext& context) {
    CtrlCObserver observer(context.stop);
    const SweepResult result = Sweep(context.services, Request(arguments, context, KindSet::All(), false), observer);
    Say(context, Stream::Out, CountReport(result, arguments.json));
    Say(context, Stream::Err, ShortfallText(result, Command::Count));
    return SweepExitCode(result, 0);
}

// The kinds named by flags, or else the remembered ones, which standard error names; nothing
// when nothing is selected, which it has then said.
std::optional<KindSet> ChooseOrRefuse(const Arguments& arguments, CliContext& context) {
    const ChosenStores chosen =
        ChooseStores(arguments, arguments.AnyStore() ? SettingValues{} : ReadSettings(context.services.registry));
    if (!chosen.remembered) return chosen.kinds;
    Say(context, Stream::Err, chosen.kinds.Any() ? RememberedSelectionText(chosen.kinds) : NothingRememberedText());
    if (!chosen.kinds.Any()) return std::nullopt;
    return chosen.kinds;
}

int RunPreview(const Arguments& arguments, CliContext& context) {
    const std::optional<KindSet> selection = ChooseOrRefuse(arguments, context);
    if (!selection) return kExitUsage;
    const SweepRequest request = Request(arguments, context, *selection, false);
    Say(context, Stream::Out, PreviewOpening(arguments.json));
    PreviewObserver list(context, *selection, arguments.json);
    const SweepResult result = Sweep(context.services, request, list);
    Say(context, Stream::Out, PreviewClosing(arguments.json, list.Kept()));
    if (context.console.OutputFailure() != 0 && !context.stop.Requested()) return kExitOutputLost;
    Say(context, Stream::Err, ShortfallText(result, Command::Preview));
    return SweepExitCode(result, 0);
}

int RunClear(const Arguments& arguments, CliContext& context) {
    const std::optional<KindSet> selection = ChooseOrRefuse(arguments, context);
    if (!selection) return kExitUsage;
    const SweepRequest request = Request(arguments, context, *selection, true);
    ClearObserver watch(context, arguments.json);
    const SweepResult result = Sweep(context.services, request, watch);
    watch.Finish();
    Say(context, Stream::Out, ClearReport(result, watch.Stayed(), arguments.json));
    Say(context, Stream::Err, PendingText(result));
    Say(context, Stream::Err, ShortfallText(result, Command::Clear));
    return SweepExitCode(result, watch.StayedCount());
}

// The list as it stands, or changed and written at once.
int RunKeep(const Arguments& arguments, CliContext& context) {
    Registry& registry = context.services.registry;
    int code = kExitDone;
    const KeptListChange change = ChangeKeptList(
        [&registry] { return ReadKeptCookiesValue(registry); },
        [&](KeptSites& sites) {
            bool changed = false;
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
            return changed;
        },
        [&registry](std::span<const std::uint8_t> multiSz) { return WriteKeptCookiesValue(registry, multiSz); });
    if (change.before.Unreadable()) {
        Say(context, Stream::Err, KeptListUnreadableText(change.before, arguments.keepAction));
        return kExitIncomplete;
    }
    if (change.writeStatus != 0) {
        Say(context, Stream::Err, KeptListNotWrittenText(change.writeStatus));
        return kExitIncomplete;
    }
    Say(context, Stream::Out, KeptSitesReport(change.after.Sites(), arguments.json));
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
