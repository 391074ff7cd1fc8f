// The stand-in main window.
#include "platform/memory/memory_window.h"

#include <algorithm>
#include <cctype>

#include "ui/resource_ids.h"

namespace {

// A sorted list box orders its entries without regard to case.
bool ListLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

MemoryWindow::MemoryWindow(Faults& faults) : faults_(faults) {
    for (int id : {IDOK, IDC_STATUS, IDC_COOKIES, IDC_URL_LIST, IDC_TEMP_FILES, IDC_HISTORY, IDC_CACHED_COUNT,
                   IDC_COOKIE_COUNT, IDC_HISTORY_COUNT, IDC_SNIFFER, IDC_INTERVAL, IDC_ON_TOP, IDC_CLEAN_MARK,
                   IDC_FOUND_MARK, IDC_PROGRESS, IDC_AUTO_CLEAR}) {
        controls_[id];
    }
    controls_[IDOK].text = "BRUMIX";
    controls_[IDC_STATUS].text = "Static";
    controls_[IDC_COOKIES] = {0, false, true, "Including Cookies"};
    controls_[IDC_URL_LIST].visible = false;
    controls_[IDC_TEMP_FILES].text = "Temporary Internet Files";
    controls_[IDC_HISTORY].text = "Internet Explorer History";
    controls_[IDC_CACHED_COUNT].text = "Static";
    controls_[IDC_COOKIE_COUNT].text = "Static";
    controls_[IDC_HISTORY_COUNT].text = "Static";
    controls_[IDC_SNIFFER].text = "Sniff";
    controls_[IDC_ON_TOP].text = "On Top";
    controls_[IDC_CLEAN_MARK].visible = false;
    controls_[IDC_AUTO_CLEAR] = {0, false, true, "Auto clear when Minimized"};
}

void MemoryWindow::Record(const char* op, int id, const std::string& detail) {
    std::string line = std::string(op) + " " + std::to_string(id);
    if (!detail.empty()) line += " " + detail;
    // Into the shared event list, so that tests can see window work and store calls in one order.
    faults_.Note(std::move(line));
}

int MemoryWindow::GetCheck(int id) { return controls_[id].check; }

void MemoryWindow::SetCheck(int id, int state) {
    Record("SetCheck", id, std::to_string(state));
    controls_[id].check = state;
}

void MemoryWindow::EnableControl(int id, bool enable) {
    Record(enable ? "Enable" : "Disable", id);
    controls_[id].enabled = enable;
}

void MemoryWindow::SetControlText(int id, const std::string& text) {
    Record("SetText", id, text);
    controls_[id].text = text;
}

void MemoryWindow::SetTitle(const std::string& text) {
    Record("SetTitle", 0, text);
    title_ = text;
}

void MemoryWindow::ShowControl(int id, bool show) {
    Record(show ? "Show" : "Hide", id);
    controls_[id].visible = show;
}

void MemoryWindow::ListReset(int id) {
    Record("ListReset", id);
    list_.clear();
}

int MemoryWindow::ListAdd(int id, const std::string& text) {
    Record("ListAdd", id, text);
    auto at = std::upper_bound(list_.begin(), list_.end(), text, ListLess);
    return static_cast<int>(list_.insert(at, text) - list_.begin());
}

int MemoryWindow::ListCount(int /*id*/) { return static_cast<int>(list_.size()); }

std::string MemoryWindow::ListText(int /*id*/, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list_.size()) return {};
    return list_[static_cast<std::size_t>(index)];
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

int MemoryWindow::SliderGetPos(int /*id*/) { return sliderPos_; }

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
    Record("MessageBox", 0, caption);
    boxes_.push_back({text, caption, style});
    if (faults_.Hit("MessageBox")) return 0;
    if (whileMessageBoxOpen) whileMessageBoxOpen(boxes_.back());
    return IDOK;
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

std::string MemoryWindow::LoadText(std::uint32_t stringId) { return stringId == IDS_ABOUTBOX ? aboutText : std::string(); }

void MemoryWindow::AddAboutToSystemMenu(const std::string& text, std::uint32_t /*commandId*/) {
    Record("AddAbout", 0, text);
    sizeAndMaximize_ = false;
    aboutEntry_ = text;
}

void MemoryWindow::SetWindowIcons() { Record("SetIcons", 0); }

void MemoryWindow::CreateToolTips(const std::vector<ToolTip>& tips) {
    Record("CreateToolTips", 0);
    tips_ = tips;
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
