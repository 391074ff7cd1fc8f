// The command line of brumix.exe: one command, then store flags and --json in any order.
#include "cli/arguments.h"

#include <algorithm>
#include <optional>

#include "platform/ascii_case.h"
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

// The flag's field in arguments, or null when the word is no flag of ours.
bool* FlagNamed(std::string_view word, Arguments& arguments) {
    if (EqualsIgnoringAsciiCase(word, "--temp")) return &arguments.temp;
    if (EqualsIgnoringAsciiCase(word, "--cookies")) return &arguments.cookies;
    if (EqualsIgnoringAsciiCase(word, "--history")) return &arguments.history;
    if (EqualsIgnoringAsciiCase(word, "--visited")) return &arguments.visited;
    if (EqualsIgnoringAsciiCase(word, "--json")) return &arguments.json;
    return nullptr;
}

ParseResult Fail(std::string error) {
    ParseResult result;
    result.error = std::move(error);
    return result;
}

bool IsOptionWord(std::string_view word) {
    return !word.empty() && (word[0] == '-' || word[0] == '/');
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
        if (EqualsIgnoringAsciiCase(word, "--json")) {
            arguments.json = true;
        } else if (CommandNamed(word)) {
            return Fail("only one command at a time, '" + word + "' follows '" + args[0] + "'");
        } else if (FlagNamed(word, arguments) != nullptr) {
            return Fail("keep takes no store flag; " + word + " belongs to preview and clear");
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
        if (FlagNamed(args[0], result.arguments) != nullptr)
            return Fail("the command must come first, before " + args[0]);
        return Fail("unknown command '" + args[0] + "'");
    }
    if (*command == Command::Keep) return ParseKeep(args);
    result.arguments.command = *command;
    if (*command == Command::Version) {
        if (args.size() > 1) return Fail("--version takes nothing after it");
        return result;
    }

    for (std::size_t i = 1; i < args.size(); ++i) {
        bool* flag = FlagNamed(args[i], result.arguments);
        if (flag != nullptr) {
            *flag = true;
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
    if (parsed.command == Command::Count && parsed.AnyStore()) {
        return Fail(
            "count always counts the four stores; --temp, --cookies, --history and --visited belong to preview and "
            "clear");
    }
    // As in the window, the cookies are cleared only together with the temporary files.
    if (parsed.cookies && !parsed.temp) return Fail("--cookies is only valid together with --temp");
    return result;
}
