// The command line of brumix.exe: one command, then store flags, --browsers and --json in any
// order.
#include "cli/arguments.h"

#include <algorithm>
#include <optional>
#include <span>

#include "cli/kind_words.h"
#include "platform/ascii_case.h"
#include "sweep/browser_choice.h"
#include "sweep/site_name.h"

namespace {

bool IsHelp(std::string_view word) {
    return EqualsIgnoringAsciiCase(word, "--help") || EqualsIgnoringAsciiCase(word, "-h") || word == "/?";
}

std::optional<Command> CommandNamed(std::string_view word) {
    for (Command command : {Command::Count, Command::Preview, Command::Clear, Command::Keep}) {
        if (EqualsIgnoringAsciiCase(word, CommandName(command))) return command;
    }
    if (EqualsIgnoringAsciiCase(word, "--version")) return Command::Version;
    return std::nullopt;
}

constexpr char kJsonFlag[] = "--json";

// The kind a store flag names.
std::optional<Kind> KindFlagged(std::string_view word) {
    for (const KindWords& row : kKindWords) {
        if (EqualsIgnoringAsciiCase(word, row.flag)) return row.kind;
    }
    return std::nullopt;
}

bool IsFlag(std::string_view word) {
    return KindFlagged(word) || EqualsIgnoringAsciiCase(word, kJsonFlag) ||
           EqualsIgnoringAsciiCase(word, kBrowsersFlag);
}

ParseResult Fail(std::string error) {
    ParseResult result;
    result.error = std::move(error);
    return result;
}

bool IsOptionWord(std::string_view word) {
    return !word.empty() && (word[0] == '-' || word[0] == '/');
}

// The list after --browsers, or why it is refused. An option word there is a list forgotten,
// not a browser's name.
std::optional<SourceSet> ReadBrowsersOption(const std::vector<std::string>& args, std::size_t& at, std::string& error) {
    if (at + 1 >= args.size() || IsOptionWord(args[at + 1])) {
        error = std::string(kBrowsersFlag) + " needs a list: browser ids separated by commas (" +
                BrowserIdList(" or ") + "), all or none";
        return std::nullopt;
    }
    const BrowserList list = ReadBrowserList(args[++at]);
    if (!list.unknown.empty()) {
        error = "unknown browser '" + list.unknown.front() + "'; the browsers are " + BrowserIdList(" and ") +
                ", or all or none";
        return std::nullopt;
    }
    return list.chosen;
}

// After keep: --json anywhere, the action first among the other words, then its sites. Every
// site is checked before anything is read or written.
ParseResult ParseKeep(const std::vector<std::string>& args) {
    ParseResult result;
    Arguments& arguments = result.arguments;
    arguments.command = Command::Keep;
    bool actionGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (EqualsIgnoringAsciiCase(word, kJsonFlag)) {
            arguments.json = true;
        } else if (CommandNamed(word)) {
            return Fail("only one command at a time, '" + word + "' follows '" + args[0] + "'");
        } else if (KindFlagged(word)) {
            return Fail("keep takes no store flag; " + word + " belongs to preview and clear");
        } else if (EqualsIgnoringAsciiCase(word, kBrowsersFlag)) {
            return Fail(std::string("keep takes no ") + kBrowsersFlag +
                        "; the list of cookies to keep holds for every browser");
        } else if (IsOptionWord(word)) {
            return Fail("unknown option '" + word + "'");
        } else if (!actionGiven) {
            actionGiven = true;
            if (EqualsIgnoringAsciiCase(word, "add")) {
                arguments.keepAction = KeepAction::Add;
            } else if (EqualsIgnoringAsciiCase(word, "remove")) {
                arguments.keepAction = KeepAction::Remove;
            } else {
                return Fail("keep takes add or remove, not '" + word + "'");
            }
        } else if (std::optional<std::string> site = SiteFromUserInput(word)) {
            arguments.sites.push_back(std::move(*site));
        } else {
            return Fail("'" + word + "' is no host name or IP address: " + WhyNotASite(word));
        }
    }
    if (actionGiven && arguments.sites.empty()) {
        return Fail("keep " + std::string(arguments.keepAction == KeepAction::Add ? "add" : "remove") +
                    " needs at least one site");
    }
    return result;
}

}  // namespace

std::string_view CommandName(Command command) {
    switch (command) {
        case Command::Count:
            return "count";
        case Command::Preview:
            return "preview";
        case Command::Clear:
            return "clear";
        case Command::Keep:
            return "keep";
        case Command::Help:
            return "--help";
        case Command::Version:
            return "--version";
    }
    return "";
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
    ParseResult result;
    if (std::any_of(args.begin(), args.end(), [](const std::string& word) { return IsHelp(word); })) {
        result.arguments.command = Command::Help;
        return result;
    }
    if (args.empty()) return Fail("no command given");

    const std::optional<Command> command = CommandNamed(args[0]);
    if (!command) {
        if (IsFlag(args[0])) return Fail("the command must come first, before " + args[0]);
        return Fail("unknown command '" + args[0] + "'");
    }
    if (*command == Command::Keep) return ParseKeep(args);
    result.arguments.command = *command;
    if (*command == Command::Version) {
        if (args.size() > 1) return Fail("--version takes nothing after it");
        return result;
    }

    for (std::size_t i = 1; i < args.size(); ++i) {
        if (const std::optional<Kind> kind = KindFlagged(args[i])) {
            result.arguments.kinds |= {*kind};
        } else if (EqualsIgnoringAsciiCase(args[i], kJsonFlag)) {
            result.arguments.json = true;
        } else if (EqualsIgnoringAsciiCase(args[i], kBrowsersFlag)) {
            if (result.arguments.browsers) return Fail(std::string(kBrowsersFlag) + " is given twice");
            std::string error;
            result.arguments.browsers = ReadBrowsersOption(args, i, error);
            if (!error.empty()) return Fail(error);
        } else if (CommandNamed(args[i])) {
            return Fail("only one command at a time, '" + args[i] + "' follows '" + args[0] + "'");
        } else if (IsOptionWord(args[i])) {
            return Fail("unknown option '" + args[i] + "'");
        } else {
            return Fail("unexpected argument '" + args[i] + "'");
        }
    }

    const Arguments& parsed = result.arguments;
    // The count is the window's, and the pages visited beside it: every store, always.
    static_assert(kKindCount == 4, "the message below says how many stores count counts");
    if (parsed.command == Command::Count && parsed.AnyStore()) {
        return Fail("count always counts the four stores; " + FlagList(KindSet::All(), " and ") +
                    " belong to preview and clear");
    }
    // As in the window, the cookies are cleared only together with the temporary files.
    if (parsed.kinds.Has(Kind::Cookies) && !parsed.kinds.Has(Kind::CachedFiles)) {
        return Fail("--cookies is only valid together with --temp");
    }
    return result;
}

std::string FlagList(KindSet kinds, std::string_view lastJoin) {
    std::string list;
    std::size_t left = 0;
    for (const KindWords& row : kKindWords) left += kinds.Has(row.kind) ? 1 : 0;
    for (const KindWords& row : kKindWords) {
        if (!kinds.Has(row.kind)) continue;
        --left;
        list += row.flag;
        if (left > 1) list += ", ";
        if (left == 1) list += lastJoin;
    }
    return list;
}

std::string BrowserIdList(std::string_view lastJoin) {
    std::string list;
    const std::span<const Source> rows = BrowserSources();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        list += i == 0 ? "" : i + 1 == rows.size() ? std::string(lastJoin) : ", ";
        list += rows[i].browser;
    }
    return list;
}
