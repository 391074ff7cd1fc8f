// The options in the system menu after the About entry, one row each: the menu's creation, its
// handler and the settings' restore and save all read this table.
#pragma once

#include <optional>

#include "res/resource.h"
#include "settings/settings_store.h"
#include "sweep/kinds.h"
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
