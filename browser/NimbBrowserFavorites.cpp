// The main window's side of the favorites commands: what the launcher takes
// from the window, and the manager it finds.
#include "NimbBrowserDlg.h"

#include "AppConstants.h"

std::string CNimbBrowserDlg::GetAddressText() {
    address_ = ItemText(IDC_ADDRESS);
    return address_;
}

std::string CNimbBrowserDlg::GetStartSkinName() { return start_.record.skinName; }

void CNimbBrowserDlg::NavigateHere(const std::string& address) { browser_.Navigate(address); }

bool CNimbBrowserDlg::ConnectToManager() {
    // Seam: the manager's automation object "Nimb.Document" is attached to the
    // manager driver here; until then no running manager is found.
    return false;
}

void CNimbBrowserDlg::RefreshNimbTree() {
    // Seam: the manager driver's RefreshNimbTree.
}

void CNimbBrowserDlg::SetFocusOnLinkItem(const std::string&) {
    // Seam: the manager driver's SetFocusOnLinkItem.
}

void CNimbBrowserDlg::ActivateManager() {
    // Seam: the manager driver's ShowManager comes first.
    if (HWND manager = ::FindWindowA(nullptr, AppConstants::kManagerTitle))
        ::SetWindowPos(manager, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CNimbBrowserDlg::ReportFavoritesError(int code, const std::string& where) {
    errors_.ReportError(code, where);
}

void CNimbBrowserDlg::ShowFavorites() {
    if (launcher_) launcher_->ShowFavoritesMenu(fw::ScreenRectOf(Item(IDC_FAVORITES)));
}

void CNimbBrowserDlg::InvokeManager() {
    CLinkLauncherDlg once(hwnd(), IDD_LAUNCHER, kBrowserPollLimit, this);
    once.OpenManager();
}
