// Dialogs from .rc templates, modal or modeless. The dialog procedure binds
// `this` on WM_INITDIALOG and forwards messages to virtual handlers; control
// notifications (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, colour
// requests) are first reflected to a control object bound with fw::Window.
#pragma once

#include "fw/window.h"

#include <windows.h>

#include <functional>
#include <string>

namespace fw {

class Dialog {
public:
    // resources: the module holding the template (a library's own); null for the program's.
    explicit Dialog(UINT templateId, HINSTANCE resources = nullptr) : templateId_(templateId), resources_(resources) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }
    UINT TemplateId() const noexcept { return templateId_; }

    // Runs the dialog modally; returns the code given to EndDialog, or -1.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the dialog modelessly; the caller runs the loop.
    bool CreateModeless(HWND parent = nullptr);

    // Runs the dialog modally with a loop of our own, so that every message
    // first passes preTranslate (true: consumed). Ends on EndDialog (its
    // code) or on WM_QUIT (-1); the window is destroyed before it returns.
    using PreTranslate = std::function<bool(MSG&)>;
    INT_PTR RunModalLoop(HWND parent, const PreTranslate& preTranslate);

    void EndDialog(INT_PTR result);
    bool IsModal() const noexcept { return modal_; }

    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;

    static Dialog* FromHandle(HWND wnd);

protected:
    // Return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // A command from a menu, accelerator or control; true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Any other message; return true and set result when handled.
    virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // After WM_NCDESTROY: the binding is gone.
    virtual void OnFinalDestroy() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE Resources() const noexcept { return resources_ ? resources_ : ::GetModuleHandleA(nullptr); }

    UINT templateId_;
    HINSTANCE resources_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ownLoop_ = false;
    bool ended_ = false;
    INT_PTR endResult_ = -1;
};

}  // namespace fw
