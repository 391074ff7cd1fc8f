// The options in the system menu after the About entry, one row each: the menu's creation, its
// handler and the settings' restore and save all read this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>

#include "res/resource.h"
#include "settings/settings_store.h"
#include "sweep/kinds.h"
#include "sweep/source.h"
#include "ui/brumix_dlg.h"
#include "ui/texts.h"

struct SystemMenuOption {
    int menuId;
    const char* label;
    // A checked entry: the setting it is remembered as, and what its tick chooses. None for an
    // entry that opens a dialog, which the host does on command.
    std::optional<Setting> setting;
    bool KindChoice::*selects;
    CBrumixDlg::SystemCommand command;

    bool Toggles() const { return selects != nullptr; }
};

inline constexpr SystemMenuOption kSystemMenuOptions[] = {
    {IDM_VISITED, kVisitedMenuEntry, Setting::Visited, &KindChoice::visitedWithHistory,
     CBrumixDlg::SystemCommand::Handled},
    {IDM_KEEP_COOKIES, kKeepCookiesMenuEntry, std::nullopt, nullptr, CBrumixDlg::SystemCommand::KeepCookies},
};
static_assert(std::size(kSystemMenuOptions) == CBrumixDlg::kMenuOptionCount, "a row for every option");

// The "Other browsers" submenu after the options: one entry per browser row of the table, in
// its order, each with its menu text.
struct BrowserMenuEntry {
    SourceId browser;
    const char* label;
    // The browser may keep running after its last window closes (Startup boost, background apps),
    // which the status line's tip tells when it was in use.
    bool runsWithoutWindows;
};

inline constexpr BrowserMenuEntry kBrowserMenuEntries[] = {
    {SourceId::Edge, "Microsoft &Edge", true}, {SourceId::Chrome, "Google &Chrome", true},
    {SourceId::Brave, "&Brave", false},        {SourceId::Vivaldi, "&Vivaldi", false},
    {SourceId::Opera, "&Opera", false},        {SourceId::Firefox, "Mozilla &Firefox", false},
};
static_assert(std::size(kBrowserMenuEntries) == kSourceCount - static_cast<std::size_t>(SourceId::Edge),
              "an entry for every browser row");

// A system command keeps its low four bits clear: each entry's is 0x10 after the one before.
inline constexpr std::uint32_t kBrowserMenuIdStep = 0x10;
constexpr std::uint32_t BrowserMenuId(std::size_t at) {
    return IDM_BROWSERS_FIRST + kBrowserMenuIdStep * static_cast<std::uint32_t>(at);
}
