// The other browsers in the window: the "Other browsers" submenu, the choice remembered as
// `browsers`, and what a clear that left one of them tells on the status line.
#include <iterator>

#include "res/resource.h"
#include "sweep/browser_choice.h"
#include "ui/brumix_dlg.h"
#include "ui/format_text.h"
#include "ui/system_menu.h"
#include "ui/texts.h"

namespace {

constexpr std::size_t kBrowserEntries = std::size(kBrowserMenuEntries);

SourceSet BrowserOf(std::size_t at) {
    return SourceSet::Only(kBrowserMenuEntries[at].browser);
}

// The entry's text without its mnemonic's marker: the browser's name as the status line gives it.
std::string NameOf(std::size_t at) {
    std::string name = kBrowserMenuEntries[at].label;
    std::erase(name, '&');
    return name;
}

// The choice with the entry's browser turned over.
SourceSet Toggled(SourceSet chosen, std::size_t at) {
    SourceSet toggled;
    for (std::size_t other = 0; other < kBrowserEntries; ++other) {
        if (chosen.Has(kBrowserMenuEntries[other].browser) != (other == at)) toggled |= BrowserOf(other);
    }
    return toggled;
}

std::string Joined(const std::vector<std::string>& words, const char* between) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) text += between;
        text += word;
    }
    return text;
}

}  // namespace

void CBrumixDlg::AddBrowsersMenu() {
    std::vector<MenuItem> entries;
    for (std::size_t at = 0; at < kBrowserEntries; ++at)
        entries.push_back({kBrowserMenuEntries[at].label, BrowserMenuId(at)});
    window_.AddSystemSubmenu(kOtherBrowsersMenuEntry, entries);
}

// Only the user data's presence is asked at the start: no profile is read on the window's thread.
void CBrumixDlg::RestoreBrowsers(const SettingValues& stored) {
    browsersStored_ = ReadBrowsersSetting(services_.registry);
    if (browsersStored_) {
        BrowserList list = ReadBrowserList(*browsersStored_);
        browsersChosen_ = list.chosen;
        browsersUnknown_ = std::move(list.unknown);
    } else {
        browsersChosen_ = BrowsersWithoutAList(services_, NothingStored(stored, browsersStored_));
    }
    const SourceSet installed = InstalledBrowsers(services_);
    for (std::size_t at = 0; at < kBrowserEntries; ++at) {
        window_.CheckSystemMenuEntry(BrowserMenuId(at), browsersChosen_.Has(kBrowserMenuEntries[at].browser));
        window_.EnableSystemMenuEntry(BrowserMenuId(at), installed.Has(kBrowserMenuEntries[at].browser));
    }
}

void CBrumixDlg::ToggleBrowser(std::size_t at) {
    browsersChosen_ = Toggled(browsersChosen_, at);
    window_.CheckSystemMenuEntry(BrowserMenuId(at), browsersChosen_.Has(kBrowserMenuEntries[at].browser));
    SaveBrowsers();
    CountAgain();
}

std::string CBrumixDlg::BrowsersText() const {
    if (browsersStored_ && ReadBrowserList(*browsersStored_).chosen == browsersChosen_) return *browsersStored_;
    std::vector<std::string> words{BrowserListText(browsersChosen_)};
    if (words.front().empty()) words.clear();
    words.insert(words.end(), browsersUnknown_.begin(), browsersUnknown_.end());
    return Joined(words, ",");
}

void CBrumixDlg::SaveBrowsers() {
    const std::string text = BrowsersText();
    if (WriteBrowsersSetting(services_.registry, text)) browsersStored_ = text;
}

void CBrumixDlg::ShowStatus(const std::string& text, const std::string& tip) {
    window_.SetControlText(IDC_STATUS, text);
    const std::string wanted = tip.empty() ? std::string(kMakerAddress) : tip;
    if (wanted == statusTip_) return;
    statusTip_ = wanted;
    window_.SetToolTipText(IDC_STATUS, wanted);
}

CBrumixDlg::ClearOutcome CBrumixDlg::OutcomeOf(const SweepResult& cleared) {
    ClearOutcome outcome;
    outcome.cookiesHeld = cleared.CookiesHeld();
    for (std::size_t at = 0; at < kBrowserEntries; ++at) {
        const SourceResult& source = cleared.BySource(kBrowserMenuEntries[at].browser);
        if (!source.ran) continue;
        if (source.browser.inUse) outcome.inUse.push_back(at);
        if (source.browser.layoutProblems.empty()) continue;
        if (!outcome.firstLayoutUnknown) outcome.firstLayoutUnknown = at;
        outcome.layoutsUnknown.insert(outcome.layoutsUnknown.end(), source.browser.layoutProblems.begin(),
                                      source.browser.layoutProblems.end());
    }
    return outcome;
}

// A browser in use comes first: closing it is what the user can do now. Every line fits the
// status control's 161 dialog units; the tip holds the rest.
void CBrumixDlg::ShowClearOutcome(const ClearOutcome& outcome) {
    if (!outcome.inUse.empty()) {
        std::vector<std::string> names;
        std::vector<std::string> withoutWindows;
        for (std::size_t at : outcome.inUse) {
            names.push_back(NameOf(at));
            if (kBrowserMenuEntries[at].runsWithoutWindows) withoutWindows.push_back(NameOf(at));
        }
        const int more = static_cast<int>(names.size()) - 1;
        std::string tip = Joined(names, ", ");
        tip += more == 0 ? kTipBrowserInUse : kTipBrowsersInUse;
        if (!withoutWindows.empty()) {
            tip += ' ';
            tip += Joined(withoutWindows, " and ");
            tip += kTipRunsWithoutWindows;
        }
        ShowStatus(more == 0 ? FormatText(kStatusCloseBrowserFormat, names.front())
                             : FormatText(kStatusCloseBrowsersFormat, names.front(), more),
                   tip);
    } else if (outcome.firstLayoutUnknown) {
        std::string tip = kTipLayoutsUnknown;
        tip += Joined(outcome.layoutsUnknown, "; ");
        tip += '.';
        ShowStatus(FormatText(kStatusLayoutUnknownFormat, NameOf(*outcome.firstLayoutUnknown)), tip);
    } else {
        ShowStatus(outcome.cookiesHeld ? kStatusCookiesHeld : kStatusDone);
    }
}
