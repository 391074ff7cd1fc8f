// The main window as its logic sees it: controls addressed by id, the window's own
// title, timers, message boxes and the shell work done once at initialisation.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

inline constexpr std::uint32_t kMbOk = 0x00;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;

// Where the keyboard focus stands, as far as the window can tell.
struct KeyboardFocus {
    // While the window is not active the dialog manager keeps the control to give the focus
    // back to on its own; nothing is to be done about it then.
    bool windowActive = false;
    // The control that has the focus, 0 when none of the window's controls has it.
    int controlId = 0;
};

// Where the user stands in a list of several selections: the entry at the top of the view, the
// one with the focus rectangle, and the one a Shift+click extends the selection from.
struct ListPlace {
    int top = 0;
    int caret = 0;
    int anchor = 0;

    bool operator==(const ListPlace&) const = default;
};

struct ToolTip {
    int controlId;
    std::string text;
};

// An entry of a submenu: its text, with its mnemonic, and its command.
struct MenuItem {
    std::string text;
    std::uint32_t commandId;
};

class Window {
public:
    virtual ~Window() = default;

    virtual int GetCheck(int id) = 0;
    // Changes the box only; no handler runs.
    virtual void SetCheck(int id, int state) = 0;
    // The check state of a disabled box stays as it was.
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    // What the user typed into an edit control, in UTF-8.
    virtual std::string GetControlText(int id) = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void ShowControl(int id, bool show) = 0;

    virtual KeyboardFocus Focus() = 0;
    // To the next control in the tab order that takes the focus, as Tab moves it.
    virtual void MoveFocusOn() = 0;
    virtual void FocusControl(int id) = 0;

    // A sorted list: adding puts the text at its place in the list's own order. An entry keeps
    // its selection when others are added or deleted around it; the positions of ListPlace do
    // not follow their entries.
    virtual void ListReset(int id) = 0;
    virtual int ListAdd(int id, const std::string& text) = 0;
    // The entries after it move up one, each with its selection.
    virtual void ListDelete(int id, int index) = 0;
    virtual int ListCount(int id) = 0;
    virtual std::string ListText(int id, int index) = 0;
    // The selected entries' positions, in ascending order.
    virtual std::vector<int> ListSelection(int id) = 0;
    virtual ListPlace GetListPlace(int id) = 0;
    // Changes no selection; the view ends with place.top at its top, as far as it scrolls.
    virtual void SetListPlace(int id, const ListPlace& place) = 0;
    // Lets a list scroll sideways as far as its widest entry needs, as it draws it; none when
    // every entry fits.
    virtual void ListFitWidth(int id) = 0;

    // Minimum, then maximum, without redrawing.
    virtual void SliderSetRange(int id, int minimum, int maximum) = 0;
    // Lands on the nearer end when outside the range; sends no scroll notification.
    virtual void SliderSetPos(int id, int position) = 0;
    virtual int SliderGetPos(int id) = 0;
    virtual void ProgressSetRange(int id, int low, int high) = 0;
    virtual void ProgressSetPos(int id, int position) = 0;

    // Modal, owned by the main window; returns the button that dismissed it. The texts are in
    // the ANSI code page, as the stores give their names.
    virtual int ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t style) = 0;
    // The same with texts in UTF-8, as GetControlText gives what the user typed.
    virtual int ShowMessageBoxUtf8(const std::string& text, const std::string& caption, std::uint32_t style) = 0;
    // Ends every message box and dialog the main window owns, also through another (a dialog's
    // own box), as Escape would (a box with only an OK button takes it as OK), once the thread's
    // loop takes the request.
    virtual void DismissMessageBoxes() = 0;
    // Ends any menu, move or size loop running on the window's thread, so that the dialog's
    // own loop gets its messages again.
    virtual void CancelModes() = 0;
    // The executable's file name without its extension, the caption of a box that has
    // none of its own.
    virtual std::string ApplicationName() = 0;
    virtual bool IsMinimised() = 0;
    virtual void SetTopmost(bool topmost) = 0;
    // Starting an id that runs restarts it with the new period.
    virtual void StartTimer(std::uint32_t id, std::uint32_t periodMs) = 0;
    virtual void StopTimer(std::uint32_t id) = 0;

    virtual std::string LoadText(std::uint32_t stringId) = 0;
    // Removes Size and Maximize and appends a separator and the About entry; does nothing
    // when the window has no system menu.
    virtual void AddAboutToSystemMenu(const std::string& text, std::uint32_t commandId) = 0;
    // After the entries added before it.
    virtual void AddSystemMenuEntry(const std::string& text, std::uint32_t commandId) = 0;
    // After the entries added before it: an entry that opens a submenu of these entries, whose
    // commands reach the window as the system menu's own do.
    virtual void AddSystemSubmenu(const std::string& text, const std::vector<MenuItem>& entries) = 0;
    // An entry of the system menu or of a submenu of it, by its command.
    virtual void CheckSystemMenuEntry(std::uint32_t commandId, bool checked) = 0;
    // Greyed: shown, and not chosen.
    virtual void EnableSystemMenuEntry(std::uint32_t commandId, bool enable) = 0;
    virtual void SetWindowIcons() = 0;
    virtual void CreateToolTips(const std::vector<ToolTip>& tips) = 0;
    // The tip of a control CreateToolTips gave one, from now on; a long one wraps.
    virtual void SetToolTipText(int controlId, const std::string& text) = 0;
    // Ends the modal run with this result.
    virtual void EndDialog(int result) = 0;
};
