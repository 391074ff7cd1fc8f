// The command line of brumix.exe: one command, then store flags, --browsers and --json in any
// order.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sweep/kinds.h"
#include "sweep/source.h"

enum class Command { Count, Preview, Clear, Keep, Help, Version };

// What keep does with the list of cookies to keep: show it, or add or remove sites and show it.
enum class KeepAction { Show, Add, Remove };

struct Arguments {
    Command command = Command::Help;
    // The kinds named by their flags.
    KindSet kinds;
    bool json = false;
    // The other browsers named by --browsers; none given: the remembered ones (see ChooseBrowsers).
    std::optional<SourceSet> browsers;
    KeepAction keepAction = KeepAction::Show;
    // keep add and keep remove: the sites as the list stores them (see SiteFromUserInput).
    std::vector<std::string> sites;

    bool AnyStore() const { return kinds.Any(); }
};

struct ParseResult {
    Arguments arguments;
    // Empty when the command line is sound; otherwise what is wrong with it, for the user.
    std::string error;

    bool Ok() const { return error.empty(); }
};

// args holds the words after the program's name, in UTF-8. Commands and flags are matched
// without regard to ASCII case, as Windows users expect; a help flag anywhere wins over the rest.
// keep takes add or remove and the sites after it, each a host name, an IP address or a URL.
// --browsers takes the word after it: browser ids separated by commas, "all" or "none"; an id
// this program does not know is refused, so that a typing error never clears less than meant.
ParseResult ParseArguments(const std::vector<std::string>& args);

std::string_view CommandName(Command command);

// The kinds' flags joined as a sentence lists them: "--temp, --cookies or --history".
std::string FlagList(KindSet kinds, std::string_view lastJoin);

inline constexpr char kBrowsersFlag[] = "--browsers";
// The browsers' ids as a sentence lists them: "edge, chrome, ... or firefox".
std::string BrowserIdList(std::string_view lastJoin);
