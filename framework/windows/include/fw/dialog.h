// Dialogs from .rc templates, modal or modeless. A Dialog is a Window: bound
// on WM_INITDIALOG to the same binding, with the same HandleMessage/Default
// contract; its Default runs the dialog's handlers (OnInitDialog, OnCommand,
// owner-drawn menu items) and then leaves the message to the dialog manager.
// Control notifications are reflected to bound children as for any window, so
// a modeless child dialog (a page inside a frame) works like a control.
#pragma once

#include "fw/window.h"

#include <windows.h>

#include <functional>
#include <string>

namespace fw {

class Dialog : public Window {
public:
    // resources: the module holding the template (a library's own); null for the program's.
    explicit Dialog(UINT templateId, HINSTANCE resources = nullptr) : templateId_(templateId), resources_(resources) {}
    ~Dialog() override;

    UINT TemplateId() const noexcept { return templateId_; }

    // Runs the dialog modally; returns the code given to EndDialog, or -1.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the dialog modelessly; the caller runs the loop.
    bool CreateModeless(HWND parent = nullptr);

    // Runs the dialog modally with a loop of our own, so that every message
    // first passes preTranslate (true: consumed). Ends on EndDialog (its
    // code) or on WM_QUIT (-1, and the quit is posted again so that the loop
    // around this one ends too); the window is destroyed before it returns.
    using PreTranslate = std::function<bool(MSG&)>;
    INT_PTR RunModalLoop(HWND parent, const PreTranslate& preTranslate);

    void EndDialog(INT_PTR result);
    bool IsModal() const noexcept { return modal_; }

    HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;

    // The dialog object bound to a window, or null (also for a plain Window).
    static Dialog* FromHandle(HWND wnd);

protected:
    // Return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // A command from a menu, accelerator or control; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    static INT_PTR CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    HINSTANCE Resources() const noexcept { return resources_ ? resources_ : ::GetModuleHandleA(nullptr); }

    UINT templateId_;
    HINSTANCE resources_;
    bool modal_ = false;
    bool ownLoop_ = false;
    bool ended_ = false;
    INT_PTR endResult_ = -1;
    // Set by Default while the dialog procedure runs a message: the dialog
    // manager is to process it.
    bool* unhandled_ = nullptr;
};

}  // namespace fw
