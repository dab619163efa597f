#include "TrayWnd.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "resource.h"

CTrayWnd::CTrayWnd(CMainFrame& frame, std::string programFolder)
    : fw::Dialog(IDD_TRAY), m_pFrame(frame), m_strProgramFolder(std::move(programFolder)) {
    if (CreateModeless(nullptr)) {
        ::ShowWindow(hwnd(), SW_HIDE);
        ::UpdateWindow(hwnd());
    }
}

CTrayWnd::~CTrayWnd() {
    icon_.Remove();
}

int CTrayWnd::LoadTrayIcon() {
    m_hIcon.reset(static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0)));
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

bool CTrayWnd::HandleMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
    if (msg != kTrayNotifyMessage) return false;
    if (lParam == WM_LBUTTONDOWN) ShowFolderMenu();
    if (lParam == WM_RBUTTONDOWN) ShowCommandMenu();
    *result = 0;
    return true;
}
