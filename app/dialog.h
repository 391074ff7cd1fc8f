// A thin modal dialog over a resource template: one static dialog procedure keeps the
// object in the window's user data and forwards each message to virtual hooks.
#pragma once

#include <windows.h>

class CDialog {
public:
    CDialog(HINSTANCE instance, WORD templateId);
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog, disables the owner, runs a message loop of its own (so that every
    // message passes PreTranslateMessage first) until EndModal, then destroys the dialog.
    // -1 when the dialog cannot be created.
    INT_PTR DoModal(HWND owner);
    // Ends the modal loop once the message being handled returns.
    void EndModal(INT_PTR result);

    HWND Hwnd() const { return hwnd_; }
    HINSTANCE Instance() const { return instance_; }

protected:
    // True lets the dialog manager give the focus to the first tab stop.
    virtual bool OnInitDialog() { return true; }
    // One message other than WM_INITDIALOG; false leaves it to the dialog manager's default
    // handling. `result` is what the dialog procedure returns for a handled message.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Every message of the modal loop before it is dispatched; true when it was consumed.
    virtual bool PreTranslateMessage(MSG& message);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    WORD templateId_;
    HWND hwnd_ = nullptr;
    bool running_ = false;
    INT_PTR result_ = -1;
};
