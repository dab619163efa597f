// The browser's automation object "NimbBrowser.Application": it has no
// members; while a client holds one, a close request only hides the main
// window. The proxy and the main window detach from each other, whichever
// goes first.
#pragma once

#include "fw/com_registration.h"
#include "fw/dispatch_object.h"

class CNimbBrowserDlg;

namespace NimbBrowserIds {
// {6B671323-8E1D-11D4-A2E3-0080C79C3828}
inline constexpr CLSID kApplicationClsid = {
    0x6b671323, 0x8e1d, 0x11d4, {0xa2, 0xe3, 0x00, 0x80, 0xc7, 0x9c, 0x38, 0x28}};
inline constexpr char kProgId[] = "NimbBrowser.Application";
inline constexpr char kUserType[] = "NimbBrowser Application";
}  // namespace NimbBrowserIds

class CNimbBrowserDlgAutoProxy final : public fw::DispatchObject {
public:
    // dialog: the main window, not owned; null when there is none.
    explicit CNimbBrowserDlgAutoProxy(CNimbBrowserDlg* dialog);

    CNimbBrowserDlg* Dialog() const { return dialog_; }
    // The main window goes first: the proxy no longer reaches it.
    void ForgetDialog() { dialog_ = nullptr; }

private:
    ~CNimbBrowserDlgAutoProxy() override;

    CNimbBrowserDlg* dialog_;
};

// The class a client creates through COM; each object needs a browser process
// of its own.
fw::ServerClassInfo NimbBrowserClassInfo();
