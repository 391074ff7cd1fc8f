// The main window's operations over its real dialog and the common controls in it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <type_traits>

#include "platform/window.h"

class Win32Window final : public Window {
public:
    // Called by EndDialog: the dialog host owns the modal loop and ends it with this result.
    using EndHandler = std::function<void(int result)>;

    // iconId: the icon resource that serves as the window's large and small icon.
    Win32Window(HINSTANCE instance, WORD iconId, EndHandler onEnd);

    // The dialog exists only from WM_INITDIALOG on; the host attaches it there.
    void Attach(HWND dialog) { dialog_ = dialog; }
    // Null until CreateToolTips has run.
    HWND ToolTipHandle() const { return toolTip_; }

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
    std::string ApplicationName() override;
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

private:
    struct IconDestroyer {
        void operator()(HICON icon) const { DestroyIcon(icon); }
    };
    using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

    LRESULT SendToItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const;

    HINSTANCE instance_;
    WORD iconId_;
    EndHandler onEnd_;
    HWND dialog_ = nullptr;
    // Owned by the dialog, which destroys it along with itself.
    HWND toolTip_ = nullptr;
    // The small icon the window shows, loaded for it alone; this object outlives the dialog.
    OwnedIcon smallIcon_;
};
