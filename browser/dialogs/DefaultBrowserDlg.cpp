#include "DefaultBrowserDlg.h"

#include "AppConstants.h"
#include "RegSettings.h"
#include "StringUtil.h"

namespace {

constexpr int kCaptionBuffer = 256;  // characters, with the terminator

}  // namespace

bool IsBrowserCaption(const std::string& caption) {
    const std::string suffix = std::string("- ") + AppConstants::kProductName;
    return suffix.size() < caption.size() && EqualsNoCase(caption.substr(caption.size() - suffix.size()), suffix);
}

BOOL CALLBACK EnumBrowserWindowsProc(HWND wnd, LPARAM mainWindow) {
    char caption[kCaptionBuffer] = {};
    // Another process's caption comes from the window manager's copy, never
    // from a message; only our own windows are asked.
    ::GetWindowTextA(wnd, caption, kCaptionBuffer);
    if (caption[0] && IsBrowserCaption(caption))
        ::SendMessageA(reinterpret_cast<HWND>(mainWindow), kMsgCountBrowserWindow, 0, 0);
    return TRUE;
}

BOOL CDefaultBrowserDlg::OnInitDialog() {
    const std::string product = AppConstants::kProductName;
    SetItemText(kDefaultBrowserText,
                product + " is not currently your default browser.  Would you like to make it your default browser?");
    SetItemText(kDefaultBrowserCheck, "Always perform this check when starting " + product + ".");
    ::CheckDlgButton(hwnd(), kDefaultBrowserCheck, BST_CHECKED);
    return TRUE;
}

void CDefaultBrowserDlg::SaveCheckState() {
    CRegSettings().SetCheckDefaultBrowser(::IsDlgButtonChecked(hwnd(), kDefaultBrowserCheck) == BST_CHECKED ? 1 : 0);
}

bool CDefaultBrowserDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDYES) {
        SaveCheckState();
        EndDialog(IDOK);
        return true;
    }
    if (id == IDNO || id == IDCANCEL) {
        // Esc is the No of the question, without saving the box.
        if (id == IDNO) SaveCheckState();
        EndDialog(IDCANCEL);
        return true;
    }
    return fw::Dialog::OnCommand(id, code, control);
}
