// The main window's commands: every button, address-box notification, main
// menu item and shortcut key arrives here once and goes to its handler.
#include "NimbBrowserDlg.h"

#include "AboutDlg.h"

#include "AppConstants.h"
#include "StringUtil.h"
#include "TypedAddress.h"

#include "fw/msgbox.h"

namespace {

using namespace menuid;

// ExecWB's zoom, without a prompt.
constexpr long kZoom = 19;
constexpr long kDontPromptUser = 2;

constexpr int kLargestText = 4;

}  // namespace

CBrowserCommands& CNimbBrowserDlg::Commands() {
    return *commands_;
}

void CNimbBrowserDlg::SetFocusToBrowser() {
    if (browser_.hwnd()) ::SetFocus(browser_.hwnd());
}

void CNimbBrowserDlg::NavigateTo(const std::string& address) {
    CheckUsageHit();
    if (address.empty()) return;
    addressUnedited_ = true;
    historyAddPending_ = true;
    historyAddress_ = address;
    commands_->Navigate().Navigate(address);
    SetFocusToBrowser();
}

void CNimbBrowserDlg::OnOK() {
    const std::string typed = ItemText(IDC_ADDRESS);
    address_ = CompleteTypedAddress(typed);
    if (address_ != typed) SetItemText(IDC_ADDRESS, address_);
    NavigateTo(address_);
}

void CNimbBrowserDlg::GoHomePage() {
    addressFollowsNext_ = true;
    commands_->Navigate().GoHome();
}

void CNimbBrowserDlg::GoBackPage() {
    if (backEnabled_) addressFollowsNext_ = true;
    commands_->Navigate().GoBack(backEnabled_);
}

void CNimbBrowserDlg::GoForwardPage() {
    if (forwardEnabled_) addressFollowsNext_ = true;
    commands_->Navigate().GoForward(forwardEnabled_);
}

void CNimbBrowserDlg::RefillAddressBox() {
    address_ = ItemText(IDC_ADDRESS);
    const std::string text = address_;
    HWND box = Item(IDC_ADDRESS);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : GetAddressHistory(settings_))
        ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SetItemText(IDC_ADDRESS, text);
}

void CNimbBrowserDlg::OnAddressCloseUp() {
    HWND box = Item(IDC_ADDRESS);
    const LRESULT selected = ::SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    const LRESULT length = ::SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == CB_ERR) return;
    std::string entry(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got =
        ::SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    if (!EqualsNoCase(entry, address_)) NavigateTo(entry);
}

void CNimbBrowserDlg::RefreshPage() {
    historyAddPending_ = true;
    const std::string location = browser_.GetLocationURL();
    historyAddress_ = location.empty() ? address_ : location;
    commands_->Navigate().Refresh();
    SetFocusToBrowser();
}

void CNimbBrowserDlg::StopPage() {
    if (animationRunning_) {
        animationRunning_ = false;
        Button(IDC_ANIMATOR).SetAnimation(0);
    }
    commands_->Navigate().Stop();
}

void CNimbBrowserDlg::SetTextSize(int size) {
    fw::Variant input(size);
    // Wine's control has no zoom: the index stays what the page shows.
    if (SUCCEEDED(browser_.ExecWB(kZoom, kDontPromptUser, input.get(), nullptr))) textSizeIndex_ = size;
}

void CNimbBrowserDlg::ResetSkinSize() {
    ::SetWindowPos(hwnd(), nullptr, 0, 0, skin_.SkinWidth(), skin_.SkinHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNimbBrowserDlg::ToggleCheckDefaultBrowser() {
    DWORD check = 1;
    // A missing value counts as on, as at start-up.
    if (settings_.GetCheckDefaultBrowser(&check) != 0) check = 1;
    settings_.SetCheckDefaultBrowser(check ? 0 : 1);
}

bool CNimbBrowserDlg::IsDefaultBrowser() {
    bool isDefault = false;
    return settings_.IsDefaultBrowser(&isDefault) == 0 && isDefault;
}

void CNimbBrowserDlg::ShowAbout() {
    CBrowserAboutDlg about;
    about.DoModal(hwnd());
}

void CNimbBrowserDlg::OnSkinCommand(UINT id) {
    const size_t index = id - kFirstSkin;
    // Only the items of the last menu name a skin.
    if (index >= skinList_.size()) return;
    ChangeSkin(SkinNameOf(skinList_[index]));
}

MainMenuState CNimbBrowserDlg::CurrentMenuState() {
    MainMenuState state;
    state.backEnabled = backEnabled_;
    state.forwardEnabled = forwardEnabled_;
    state.offline = ::IsOffline(commands_->Shell().ConnectedState());
    state.textSizeIndex = textSizeIndex_;
    state.defaultBrowser = IsDefaultBrowser();
    DWORD check = 1;
    if (settings_.GetCheckDefaultBrowser(&check) != 0) check = 1;
    state.checkDefaultBrowser = check != 0;
    state.skins = skinList_;
    state.currentSkin = skinFile_.Name();
    return state;
}

fw::Menu CNimbBrowserDlg::BuildCurrentMainMenu() {
    skinList_ = ListSkinFolders(start_.programFolder);
    return BuildMainMenu(CurrentMenuState());
}

void CNimbBrowserDlg::ShowMainMenu() {
    // The menus live for this press only: the chosen command is posted and
    // needs none of them.
    fw::Menu menu = BuildCurrentMainMenu();
    lastMainMenu_ = menu.get();
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return;
    const RECT button = fw::ScreenRectOf(Item(IDC_MENU));
    ::SetForegroundWindow(hwnd());
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, button.left, button.bottom, 0, hwnd(),
                     nullptr);
    ::SetForegroundWindow(hwnd());
}

void CNimbBrowserDlg::OnShortcutKey(UINT vk, bool alt) {
    if (!alt) {
        if (vk == VK_F5) commands_->Navigate().Refresh();
        return;
    }
    switch (vk) {
        case 'D':
            FocusAddressBox();
            break;
        case 'F':
            commands_->Edit().Find();
            break;
        case VK_LEFT:
            GoBackPage();
            break;
        case VK_RIGHT:
            GoForwardPage();
            break;
        case VK_HOME:
            GoHomePage();
            break;
        default:
            break;
    }
}

bool CNimbBrowserDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_ADDRESS) {
        if (code == CBN_DROPDOWN) RefillAddressBox();
        if (code == CBN_CLOSEUP) OnAddressCloseUp();
        if (code == CBN_EDITCHANGE) addressUnedited_ = false;
        return true;
    }
    // Buttons click with code 0, as menu items do; nothing else is a command.
    if (code != 0) return fw::Dialog::OnCommand(id, code, control);
    if (id >= static_cast<int>(kFirstSkin)) {
        OnSkinCommand(static_cast<UINT>(id));
        return true;
    }
    CShellCommands& shell = commands_->Shell();
    CEditCommands& edit = commands_->Edit();
    CNavigateCommands& navigate = commands_->Navigate();
    const std::string& folder = start_.programFolder;
    switch (id) {
        case IDOK:
        case IDC_GO:
            OnOK();
            break;
        case IDCANCEL:
            OnCancel();
            break;
        case IDC_MENU:
            ShowMainMenu();
            break;
        case IDC_CLOSE:
        case kClose:
            OnCloseBrowser();
            break;
        case IDC_MINIMIZE:
            ::ShowWindow(hwnd(), SW_MINIMIZE);
            break;
        case IDC_WORKOFFLINE:
        case kWorkOffline:
            shell.SetOffline(!::IsOffline(shell.ConnectedState()));
            break;
        case IDC_EDITSOURCE:
        case kSource:
            edit.ViewSource();
            break;
        case IDC_PRINT:
        case kPrint:
            shell.Print(true);
            break;
        case IDC_FAVORITES:
            ShowFavorites();
            break;
        case IDC_PASTE:
        case kPaste:
            edit.Paste();
            break;
        case IDC_COPY:
        case kCopy:
            edit.Copy();
            break;
        case IDC_CUT:
        case kCut:
            edit.Cut();
            break;
        case IDC_HOME:
            GoHomePage();
            break;
        case IDC_REFRESH:
            RefreshPage();
            break;
        case IDC_STOP:
            StopPage();
            break;
        case IDC_BACK:
            GoBackPage();
            break;
        case IDC_FORWARD:
            GoForwardPage();
            break;
        case IDC_SKINLIBRARY:
            fw::ShowMessageBox("Skin Library is not in use yet.", MB_OK, hwnd());
            break;
        case IDC_INVOKEMANAGER:
            InvokeManager();
            break;
        case kNewWindow:
            SetItemText(IDC_ADDRESS, address_);
            shell.NewWindow(browser_.GetLocationURL());
            break;
        case kNewMessage:
            shell.NewMessage();
            break;
        case kNewContact:
            shell.NewContact();
            break;
        case kSaveAs:
            shell.SaveAs();
            break;
        case kOpen:
            shell.OpenLocation();
            break;
        case kPageSetup:
            shell.PageSetup();
            break;
        case kImportFavorites:
            shell.ShowImportDialog();
            break;
        case kProperties:
            shell.Properties();
            break;
        case kSelectAll:
            edit.SelectAll();
            break;
        case kFind:
            edit.Find();
            break;
        case kLargest:
        case kLarger:
        case kMedium:
        case kSmaller:
        case kSmallest:
            SetTextSize(kLargestText - (id - static_cast<int>(kLargest)));
            break;
        case kInternetOptions:
            commands_->Tools().InternetOptions();
            break;
        case kContents:
            shell.StartBrowserWithFile(folder + "\\Help\\Guide.htm");
            break;
        case kQuickStart:
            shell.StartBrowserWithFile(folder + "\\Help\\Quickst.htm");
            break;
        case kSetDefaultSkin:
            settings_.SetDefaultSkin(skinFile_.Name());
            break;
        case kMakeDefaultBrowser:
            if (!IsDefaultBrowser()) settings_.MakeDefaultBrowser();
            break;
        case kCheckDefaultBrowser:
            ToggleCheckDefaultBrowser();
            break;
        case kAbout:
            ShowAbout();
            break;
        case kMoreSkins:
            navigate.Navigate(AppConstants::kSkinsPage);
            break;
        case kResetSkinSize:
            ResetSkinSize();
            break;
        default:
            return fw::Dialog::OnCommand(id, code, control);
    }
    return true;
}
