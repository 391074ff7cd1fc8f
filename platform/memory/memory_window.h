// A stand-in main window that holds every control's state, starting from what its builder
// gives it, behaves as the real controls do where the logic relies on it, and records what
// it was told.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/memory/faults.h"
#include "platform/window.h"

class MemoryWindow final : public Window {
public:
    struct Control {
        int check = 0;
        bool enabled = true;
        bool visible = true;
        std::string text;
    };
    struct MessageBoxShown {
        std::string text;
        std::string caption;
        std::uint32_t style;
        // Shown with ShowMessageBoxUtf8.
        bool utf8 = false;
    };

    using Controls = std::map<int, Control>;

    explicit MemoryWindow(Faults& faults, Controls controls = {});

    Control& control(int id) { return controls_[id]; }
    std::vector<std::string> List(int id) const;
    // As a Ctrl+click on the entry does: selected, with the caret and the anchor on it.
    void Select(int id, int index);
    // In characters: the widest entry's, as the last ListFitWidth found it.
    int ScrollWidth(int id) const;
    const std::string& Title() const { return title_; }
    int ProgressPos() const { return progressPos_; }
    bool Topmost() const { return topmost_; }
    // Running timers and their periods.
    const std::map<std::uint32_t, std::uint32_t>& Timers() const { return timers_; }
    const std::vector<MessageBoxShown>& MessageBoxes() const { return boxes_; }
    const std::vector<ToolTip>& ToolTips() const { return tips_; }
    const std::string& AboutEntry() const { return aboutEntry_; }
    struct MenuEntry {
        std::string text;
        std::uint32_t commandId;
        bool checked = false;
        bool enabled = true;
        // A submenu's entries; none for an entry with a command.
        std::vector<MenuEntry> submenu{};
    };
    // The entries after the About entry, in order.
    const std::vector<MenuEntry>& SystemMenuEntries() const { return menuEntries_; }
    // The entry with this command, in the menu or a submenu; null when there is none.
    const MenuEntry* SystemMenuEntry(std::uint32_t commandId) const;
    // The text each control's tip shows now.
    std::string ToolTipText(int controlId) const;
    bool HasSizeAndMaximize() const { return sizeAndMaximize_; }
    int EndResult() const { return endResult_; }

    bool minimised = false;
    bool active = true;
    // The control with the keyboard focus, 0 for none.
    int focus = 0;
    // The controls that take the focus, in the tab order.
    std::vector<int> tabStops;
    // The string table; a missing id loads as empty text.
    std::map<std::uint32_t, std::string> strings;
    std::string applicationName = "winbrumix";
    // Runs while a message box is open, as the platform's box delivers ticks meanwhile.
    std::function<void(const MessageBoxShown&)> whileMessageBoxOpen;

    int GetCheck(int id) override;
    void SetCheck(int id, int state) override;
    void EnableControl(int id, bool enable) override;
    void SetControlText(int id, const std::string& text) override;
    std::string GetControlText(int id) override;
    void SetTitle(const std::string& text) override;
    void ShowControl(int id, bool show) override;
    KeyboardFocus Focus() override;
    void MoveFocusOn() override;
    void FocusControl(int id) override;
    void ListReset(int id) override;
    int ListAdd(int id, const std::string& text) override;
    void ListDelete(int id, int index) override;
    int ListCount(int id) override;
    std::string ListText(int id, int index) override;
    std::vector<int> ListSelection(int id) override;
    ListPlace GetListPlace(int id) override;
    void SetListPlace(int id, const ListPlace& place) override;
    void ListFitWidth(int id) override;
    void SliderSetRange(int id, int minimum, int maximum) override;
    void SliderSetPos(int id, int position) override;
    int SliderGetPos(int id) override;
    void ProgressSetRange(int id, int low, int high) override;
    void ProgressSetPos(int id, int position) override;
    int ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style) override;
    int ShowMessageBoxUtf8(const std::string& text, const std::string& caption, std::uint32_t style) override;
    void DismissMessageBoxes() override;
    void CancelModes() override;
    std::string ApplicationName() override { return applicationName; }
    bool IsMinimised() override;
    void SetTopmost(bool topmost) override;
    void StartTimer(std::uint32_t id, std::uint32_t periodMs) override;
    void StopTimer(std::uint32_t id) override;
    std::string LoadText(std::uint32_t stringId) override;
    void AddAboutToSystemMenu(const std::string& text, std::uint32_t commandId) override;
    void AddSystemMenuEntry(const std::string& text, std::uint32_t commandId) override;
    void AddSystemSubmenu(const std::string& text, const std::vector<MenuItem>& entries) override;
    void CheckSystemMenuEntry(std::uint32_t commandId, bool checked) override;
    void EnableSystemMenuEntry(std::uint32_t commandId, bool enable) override;
    void SetWindowIcons() override;
    void CreateToolTips(const std::vector<ToolTip>& tips) override;
    void SetToolTipText(int controlId, const std::string& text) override;
    void EndDialog(int result) override;

    // As a user's click on an automatic check box does: toggles it, when enabled.
    bool Click(int id);

private:
    void Record(const char* op, int id, const std::string& detail = {});
    MenuEntry* FindMenuEntry(std::uint32_t commandId);
    // The first with the command, as the menu functions take it by command; an entry that opens
    // a submenu has none.
    template <class Entries>
    static auto FindEntry(Entries& entries, std::uint32_t commandId) -> decltype(&entries.front()) {
        for (auto& entry : entries) {
            if (!entry.submenu.empty()) {
                if (auto* inner = FindEntry(entry.submenu, commandId)) return inner;
            } else if (entry.commandId == commandId) {
                return &entry;
            }
        }
        return nullptr;
    }
    int ShowBox(MessageBoxShown box);

    Faults& faults_;
    std::map<int, Control> controls_;
    // A sorted list box of several selections: the selection is each entry's own, while the
    // place's positions stay where they are when entries come and go, as Wine's list box keeps
    // them (Windows documents neither).
    struct ListBox {
        struct Entry {
            std::string text;
            bool selected = false;
        };
        std::vector<Entry> entries;
        ListPlace place;
        int scrollWidth = 0;
    };
    std::map<int, ListBox> lists_;
    std::string title_ = "Win Brumix";
    int sliderMin_ = 0;
    int sliderMax_ = 100;
    int sliderPos_ = 0;
    int progressLow_ = 0;
    int progressHigh_ = 100;
    int progressPos_ = 0;
    bool topmost_ = false;
    std::map<std::uint32_t, std::uint32_t> timers_;
    std::vector<MessageBoxShown> boxes_;
    std::vector<ToolTip> tips_;
    std::string aboutEntry_;
    std::vector<MenuEntry> menuEntries_;
    bool sizeAndMaximize_ = true;
    int endResult_ = -1;
};
