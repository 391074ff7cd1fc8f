// The stand-in main window.
#include "platform/memory/memory_window.h"

#include <algorithm>
#include <utility>

#include "platform/ascii_case.h"

namespace {

// A sorted list box orders its entries without regard to case.
bool ListLess(const std::string& a, const std::string& b) {
    return LessIgnoringAsciiCase(a, b);
}

// The OK button's id, which a box with only that button returns.
constexpr int kButtonOk = 1;

}  // namespace

MemoryWindow::MemoryWindow(Faults& faults, std::map<int, Control> controls)
    : faults_(faults), controls_(std::move(controls)) {}

void MemoryWindow::Record(const char* op, int id, const std::string& detail) {
    std::string line = std::string(op) + " " + std::to_string(id);
    if (!detail.empty()) line += " " + detail;
    // Into the shared event list, so that tests can see window work and store calls in one order.
    faults_.Note(std::move(line));
}

int MemoryWindow::GetCheck(int id) {
    return controls_[id].check;
}

void MemoryWindow::SetCheck(int id, int state) {
    Record("SetCheck", id, std::to_string(state));
    controls_[id].check = state;
}

// As EnableWindow does: a control that is disabled while it has the focus takes it along.
void MemoryWindow::EnableControl(int id, bool enable) {
    Record(enable ? "Enable" : "Disable", id);
    controls_[id].enabled = enable;
    if (!enable && focus == id) focus = 0;
}

void MemoryWindow::SetControlText(int id, const std::string& text) {
    Record("SetText", id, text);
    controls_[id].text = text;
}

std::string MemoryWindow::GetControlText(int id) {
    return controls_[id].text;
}

void MemoryWindow::SetTitle(const std::string& text) {
    Record("SetTitle", 0, text);
    title_ = text;
}

void MemoryWindow::ShowControl(int id, bool show) {
    Record(show ? "Show" : "Hide", id);
    controls_[id].visible = show;
}

KeyboardFocus MemoryWindow::Focus() {
    return {active, focus};
}

// As the dialog manager's Tab: the next enabled, visible tab stop after the focused control,
// round to the first.
void MemoryWindow::MoveFocusOn() {
    Record("MoveFocusOn", focus);
    const auto from = std::find(tabStops.begin(), tabStops.end(), focus);
    const std::size_t start =
        from == tabStops.end() ? tabStops.size() : static_cast<std::size_t>(from - tabStops.begin());
    for (std::size_t step = 1; step <= tabStops.size(); ++step) {
        const int candidate = tabStops[(start + step) % tabStops.size()];
        const Control& c = controls_[candidate];
        if (c.enabled && c.visible) {
            focus = candidate;
            return;
        }
    }
}

void MemoryWindow::FocusControl(int id) {
    Record("Focus", id);
    focus = id;
}

void MemoryWindow::ListReset(int id) {
    Record("ListReset", id);
    lists_[id].entries.clear();
    lists_[id].place = {};
}

int MemoryWindow::ListAdd(int id, const std::string& text) {
    Record("ListAdd", id, text);
    std::vector<ListBox::Entry>& entries = lists_[id].entries;
    const auto at = std::upper_bound(
        entries.begin(), entries.end(), text,
        [](const std::string& added, const ListBox::Entry& entry) { return ListLess(added, entry.text); });
    return static_cast<int>(entries.insert(at, {text, false}) - entries.begin());
}

// As LB_DELETESTRING: nothing for a position outside the list; the place stays within it.
void MemoryWindow::ListDelete(int id, int index) {
    ListBox& list = lists_[id];
    if (index < 0 || static_cast<std::size_t>(index) >= list.entries.size()) return;
    Record("ListDelete", id, list.entries[static_cast<std::size_t>(index)].text);
    list.entries.erase(list.entries.begin() + index);
    const int last = std::max(static_cast<int>(list.entries.size()) - 1, 0);
    for (int* at : {&list.place.top, &list.place.caret, &list.place.anchor}) *at = std::min(*at, last);
}

int MemoryWindow::ListCount(int id) {
    return static_cast<int>(lists_[id].entries.size());
}

std::string MemoryWindow::ListText(int id, int index) {
    const std::vector<ListBox::Entry>& entries = lists_[id].entries;
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
    return entries[static_cast<std::size_t>(index)].text;
}

std::vector<std::string> MemoryWindow::List(int id) const {
    std::vector<std::string> texts;
    const auto found = lists_.find(id);
    if (found == lists_.end()) return texts;
    for (const ListBox::Entry& entry : found->second.entries) texts.push_back(entry.text);
    return texts;
}

void MemoryWindow::Select(int id, int index) {
    ListBox& list = lists_[id];
    if (index < 0 || static_cast<std::size_t>(index) >= list.entries.size()) return;
    list.entries[static_cast<std::size_t>(index)].selected = true;
    list.place.caret = list.place.anchor = index;
}

std::vector<int> MemoryWindow::ListSelection(int id) {
    std::vector<int> selected;
    const std::vector<ListBox::Entry>& entries = lists_[id].entries;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (entries[index].selected) selected.push_back(static_cast<int>(index));
    }
    return selected;
}

ListPlace MemoryWindow::GetListPlace(int id) {
    return lists_[id].place;
}

void MemoryWindow::SetListPlace(int id, const ListPlace& place) {
    Record("SetListPlace", id,
           std::to_string(place.top) + " " + std::to_string(place.caret) + " " + std::to_string(place.anchor));
    ListBox& list = lists_[id];
    const int last = std::max(static_cast<int>(list.entries.size()) - 1, 0);
    list.place = {std::clamp(place.top, 0, last), std::clamp(place.caret, 0, last), std::clamp(place.anchor, 0, last)};
}

void MemoryWindow::ListFitWidth(int id) {
    Record("ListFitWidth", id);
    ListBox& list = lists_[id];
    list.scrollWidth = 0;
    for (const ListBox::Entry& entry : list.entries) {
        list.scrollWidth = std::max(list.scrollWidth, static_cast<int>(entry.text.size()));
    }
}

int MemoryWindow::ScrollWidth(int id) const {
    const auto found = lists_.find(id);
    return found == lists_.end() ? 0 : found->second.scrollWidth;
}

void MemoryWindow::SliderSetRange(int id, int minimum, int maximum) {
    Record("SliderSetRange", id, std::to_string(minimum) + " " + std::to_string(maximum));
    sliderMin_ = minimum;
    sliderMax_ = maximum;
    sliderPos_ = std::clamp(sliderPos_, sliderMin_, sliderMax_);
}

void MemoryWindow::SliderSetPos(int id, int position) {
    Record("SliderSetPos", id, std::to_string(position));
    sliderPos_ = std::clamp(position, sliderMin_, sliderMax_);
}

int MemoryWindow::SliderGetPos(int /*id*/) {
    return sliderPos_;
}

void MemoryWindow::ProgressSetRange(int id, int low, int high) {
    Record("ProgressSetRange", id, std::to_string(low) + " " + std::to_string(high));
    progressLow_ = low;
    progressHigh_ = high;
}

void MemoryWindow::ProgressSetPos(int id, int position) {
    Record("ProgressSetPos", id, std::to_string(position));
    progressPos_ = std::clamp(position, progressLow_, progressHigh_);
}

int MemoryWindow::ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style) {
    return ShowBox({text, caption, style});
}

int MemoryWindow::ShowMessageBoxUtf8(const std::string& text, const std::string& caption, std::uint32_t style) {
    return ShowBox({text, caption, style, true});
}

int MemoryWindow::ShowBox(MessageBoxShown box) {
    Record("MessageBox", 0, box.caption);
    boxes_.push_back(std::move(box));
    if (faults_.Hit("MessageBox")) return 0;
    if (whileMessageBoxOpen) whileMessageBoxOpen(boxes_.back());
    return kButtonOk;
}

void MemoryWindow::DismissMessageBoxes() {
    Record("DismissMessageBoxes", 0);
}

void MemoryWindow::CancelModes() {
    Record("CancelModes", 0);
}

bool MemoryWindow::IsMinimised() {
    Record("IsMinimised", 0);
    return minimised;
}

void MemoryWindow::SetTopmost(bool topmost) {
    Record("SetTopmost", 0, topmost ? "1" : "0");
    topmost_ = topmost;
}

void MemoryWindow::StartTimer(std::uint32_t id, std::uint32_t periodMs) {
    Record("StartTimer", static_cast<int>(id), std::to_string(periodMs));
    if (faults_.Hit("SetTimer")) return;
    timers_[id] = periodMs;
}

void MemoryWindow::StopTimer(std::uint32_t id) {
    Record("StopTimer", static_cast<int>(id));
    timers_.erase(id);
}

std::string MemoryWindow::LoadText(std::uint32_t stringId) {
    const auto found = strings.find(stringId);
    return found == strings.end() ? std::string() : found->second;
}

void MemoryWindow::AddAboutToSystemMenu(const std::string& text, std::uint32_t /*commandId*/) {
    Record("AddAbout", 0, text);
    sizeAndMaximize_ = false;
    aboutEntry_ = text;
}

void MemoryWindow::AddSystemMenuEntry(const std::string& text, std::uint32_t commandId) {
    Record("AddMenuEntry", static_cast<int>(commandId), text);
    menuEntries_.push_back({.text = text, .commandId = commandId});
}

void MemoryWindow::AddSystemSubmenu(const std::string& text, const std::vector<MenuItem>& entries) {
    Record("AddSubmenu", 0, text);
    MenuEntry popup{.text = text, .commandId = 0};
    for (const MenuItem& entry : entries) popup.submenu.push_back({.text = entry.text, .commandId = entry.commandId});
    menuEntries_.push_back(std::move(popup));
}

MemoryWindow::MenuEntry* MemoryWindow::FindMenuEntry(std::uint32_t commandId) {
    return FindEntry(menuEntries_, commandId);
}

const MemoryWindow::MenuEntry* MemoryWindow::SystemMenuEntry(std::uint32_t commandId) const {
    return FindEntry(menuEntries_, commandId);
}

void MemoryWindow::CheckSystemMenuEntry(std::uint32_t commandId, bool checked) {
    Record("CheckMenuEntry", static_cast<int>(commandId), checked ? "1" : "0");
    if (MenuEntry* entry = FindMenuEntry(commandId)) entry->checked = checked;
}

void MemoryWindow::EnableSystemMenuEntry(std::uint32_t commandId, bool enable) {
    Record("EnableMenuEntry", static_cast<int>(commandId), enable ? "1" : "0");
    if (MenuEntry* entry = FindMenuEntry(commandId)) entry->enabled = enable;
}

void MemoryWindow::SetWindowIcons() {
    Record("SetIcons", 0);
}

void MemoryWindow::CreateToolTips(const std::vector<ToolTip>& tips) {
    Record("CreateToolTips", 0);
    tips_ = tips;
}

// A control the tips do not name gets none, as the tooltip refuses to update a tool it lacks.
void MemoryWindow::SetToolTipText(int controlId, const std::string& text) {
    Record("SetToolTipText", controlId, text);
    for (ToolTip& tip : tips_) {
        if (tip.controlId == controlId) tip.text = text;
    }
}

std::string MemoryWindow::ToolTipText(int controlId) const {
    for (const ToolTip& tip : tips_) {
        if (tip.controlId == controlId) return tip.text;
    }
    return {};
}

void MemoryWindow::EndDialog(int result) {
    Record("EndDialog", result);
    endResult_ = result;
}

bool MemoryWindow::Click(int id) {
    Control& c = controls_[id];
    if (!c.enabled) return false;
    c.check = c.check == 1 ? 0 : 1;
    return true;
}
