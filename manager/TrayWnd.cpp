#include "TrayWnd.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "ProgramStart.h"
#include "resource.h"

#include "fw/menu.h"
#include "fw/message_loop.h"
#include "fw/msgbox.h"

#include <shellapi.h>

namespace {

HICON SmallIcon(UINT id) {
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
}

}  // namespace

CTrayWnd::CTrayWnd(CTrayHost& frame, std::string programFolder)
    : fw::Dialog(IDD_TRAY),
      m_pFrame(frame),
      m_strProgramFolder(std::move(programFolder)),
      taskbarCreated_(::RegisterWindowMessageA("TaskbarCreated")) {
    itemIcons_[0].reset(SmallIcon(IDI_TREE_LINKS));
    itemIcons_[1].reset(SmallIcon(IDI_TREE_FOLDER));
    itemIcons_[2].reset(SmallIcon(IDI_TREE_GROUPS));
    m_pLinksMenu =
        std::make_unique<CLinksMenu>(m_strProgramFolder, itemIcons_[0].get(), itemIcons_[1].get(), itemIcons_[2].get());
    if (CreateModeless(nullptr)) {
        ::ShowWindow(hwnd(), SW_HIDE);
        ::UpdateWindow(hwnd());
    }
}

CTrayWnd::~CTrayWnd() {
    icon_.Remove();
}

int CTrayWnd::LoadTrayIcon() {
    m_hIcon.reset(SmallIcon(IDR_MAINFRAME));
    return m_hIcon ? kErrNone : kErrLoadResource;
}

int CTrayWnd::AddTrayIcon() {
    if (!m_hIcon) LoadTrayIcon();
    return icon_.Add(hwnd(), kTrayIconId, kTrayNotifyMessage, m_hIcon.get(), AppConstants::kProductName)
               ? kErrNone
               : kErrAddTrayIcon;
}

int CTrayWnd::DeleteTrayIcon() {
    return icon_.Remove() ? kErrNone : kErrDeleteTrayIcon;
}

LRESULT CTrayWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTrayNotifyMessage) {
        OnTrayNotify(wParam, lParam);
        return 0;
    }
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        // A restarted shell knows no icon: the one the frame shows comes back.
        if (m_pFrame.TrayIconShown()) icon_.AddAgain();
        return 0;
    }
    if (msg == WM_MEASUREITEM) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item && item->CtlType == ODT_MENU) {
            item->itemHeight = 20;
            // Items with data are measured by the menu that holds them.
            LRESULT routed = 0;
            fw::RouteOwnerDrawMenu(msg, wParam, lParam, &routed);
            return TRUE;
        }
    }
    return Default(msg, wParam, lParam);
}

void CTrayWnd::OnTrayNotify(WPARAM id, LPARAM mouse) {
    if (id != kTrayIconId || (mouse != WM_LBUTTONDOWN && mouse != WM_RBUTTONDOWN)) return;
    // Nothing may end the frame under an open dialog or box: it comes forward instead.
    if (BringModalForward()) return;
    if (mouse == WM_LBUTTONDOWN)
        ShowFolderMenu();
    else
        ShowCommandMenu();
}

bool CTrayWnd::BringModalForward() const {
    if (fw::ModalDepth() == 0 && ::IsWindowEnabled(m_pFrame.FrameHwnd())) return false;
    for (HWND owner : {m_pFrame.FrameHwnd(), hwnd()}) {
        HWND popup = ::GetLastActivePopup(owner);
        if (popup && popup != owner && ::IsWindowVisible(popup)) {
            ::SetForegroundWindow(popup);
            break;
        }
    }
    return true;
}

void CTrayWnd::TrackMenu(HMENU menu) {
    // A popup is owned by a top-level window.
    HWND owner = hwnd();
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    POINT at{};
    ::GetCursorPos(&at);
    ::SetForegroundWindow(hwnd());
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    ::SetForegroundWindow(hwnd());
}

void CTrayWnd::ShowFolderMenu() {
    if (HMENU menu = BuildFolderMenu()) TrackMenu(menu);
    // The chosen command is posted: the paths stay until the next build,
    // the menus go now (their objects own no handle).
    loaded_.reset();
}

void CTrayWnd::ShowCommandMenu() {
    fw::Menu menu = BuildCommandMenu();
    if (menu) TrackMenu(menu.get());
}

bool CTrayWnd::OnCommand(int id, int code, HWND control) {
    if (code != 0 || control) return fw::Dialog::OnCommand(id, code, control);
    if (static_cast<unsigned>(id) >= static_cast<unsigned>(kFirstLinkItemId - 1))
        LaunchItem(id);
    else
        OnTrayCommand(static_cast<UINT>(id));
    return true;
}

void CTrayWnd::OnTrayCommand(UINT id) {
    switch (id) {
        case TrayCommand::kLaunchBrowser:
            LaunchBrowser();
            break;
        case TrayCommand::kToggleMain:
            ToggleMainWindow();
            break;
        case TrayCommand::kHelp:
            m_pFrame.OnHelpGuide();
            break;
        case TrayCommand::kAbout:
            m_pFrame.OnAppAbout();
            break;
        case TrayCommand::kExit:
            OnExit();
            break;
        case TrayCommand::kOptions:
            m_pFrame.OnOptions();
            break;
        default:
            break;
    }
}

void CTrayWnd::LaunchBrowser() {
    if (StartFolderProgram(m_strProgramFolder, AppConstants::kBrowserExe, "", SW_SHOWNORMAL) == SE_ERR_FNF)
        fw::ShowMessageBox(kBrowserMissingText, MB_OK, hwnd());
}

void CTrayWnd::ToggleMainWindow() {
    ::ShowWindow(m_pFrame.FrameHwnd(), ::IsWindowVisible(m_pFrame.FrameHwnd()) ? SW_HIDE : SW_SHOWNORMAL);
}

void CTrayWnd::OnExit() {
    m_pFrame.StartExit();
}
