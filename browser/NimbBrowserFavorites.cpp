// The main window's side of the favorites commands: what the launcher takes
// from the window, and the manager it finds; the browser's automation proxies.
#include "NimbBrowserDlg.h"

#include "AppConstants.h"

#include <algorithm>

std::string CNimbBrowserDlg::GetAddressText() {
    address_ = ItemText(IDC_ADDRESS);
    return address_;
}

std::string CNimbBrowserDlg::GetStartSkinName() {
    return start_.record.skinName;
}

void CNimbBrowserDlg::NavigateHere(const std::string& address) {
    browser_.Navigate(address);
}

bool CNimbBrowserDlg::ConnectToManager() {
    fw::ComPtr<IDispatch> manager = FindRunningManager();
    if (!manager) return false;
    manager_.Attach(std::move(manager));
    return true;
}

// A manager that has gone since the connection fails the call: the browser
// lets go of it and carries on as if none ran.
void CNimbBrowserDlg::RefreshNimbTree() {
    if (manager_ && FAILED(manager_.RefreshNimbTree())) manager_.Release();
}

void CNimbBrowserDlg::SetFocusOnLinkItem(const std::string& path) {
    if (manager_ && FAILED(manager_.SetFocusOnLinkItem(path))) manager_.Release();
}

void CNimbBrowserDlg::ActivateManager() {
    if (manager_ && FAILED(manager_.ShowManager())) manager_.Release();
    if (HWND manager = ::FindWindowA(nullptr, AppConstants::kManagerTitle))
        ::SetWindowPos(manager, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CNimbBrowserDlg::AttachProxy(CNimbBrowserDlgAutoProxy* proxy) {
    if (std::find(proxies_.begin(), proxies_.end(), proxy) == proxies_.end()) proxies_.push_back(proxy);
}

void CNimbBrowserDlg::DetachProxy(CNimbBrowserDlgAutoProxy* proxy) {
    const auto found = std::find(proxies_.begin(), proxies_.end(), proxy);
    if (found == proxies_.end()) return;
    proxies_.erase(found);
    // The window was hidden instead of closing: the close the client held up happens now.
    if (proxies_.empty() && hiddenByRefusedClose_ && hwnd() && !::IsWindowVisible(hwnd())) EndDialog(IDCANCEL);
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
