// The main frame's close, real exit, activation and commands.
#include "AboutDlg.h"
#include "AppConstants.h"
#include "ErrorCodes.h"
#include "MainFrame.h"
#include "NimbDoc.h"
#include "ProgramStart.h"
#include "RegSettings.h"
#include "StartupOptionsDlg.h"
#include "resource.h"

#include "fw/file.h"
#include "fw/message_loop.h"
#include "fw/msgbox.h"

#include <shellapi.h>

namespace {
// A maximised window's rectangle is stored as the default one.
constexpr RECT kMaximisedSave{5, 0, 790, 570};
}  // namespace

void CMainFrame::StartExit() {
    ::SetTimer(hwnd(), kExitTimer, kExitTimerPeriod, nullptr);
}

void CMainFrame::OnTimer(UINT_PTR id) {
    if (id != kExitTimer) return;
    // Never under a modal dialog or box: the timer fires again once it is gone.
    if (fw::ModalDepth() > 0 || !::IsWindowEnabled(hwnd())) return;
    ::KillTimer(hwnd(), kExitTimer);
    m_bExiting = true;
    OnClose();
}

void CMainFrame::OnClose() {
    if (m_bTrayIconShown && !m_bExiting) {
        ::ShowWindow(hwnd(), SW_HIDE);
        return;
    }
    // A close under a modal dialog waits for it, as the tray's exit does.
    if (fw::ModalDepth() > 0) {
        m_bExiting = true;
        StartExit();
        return;
    }
    if (!::IsIconic(hwnd())) {
        RECT rc = WindowRect();
        if (rc.left < 0 || rc.top < 0 || rc.right < 0 || rc.bottom < 0) rc = kMaximisedSave;
        const int code = CRegSettings(app_.ProgramFolder()).SaveWindowRect(AppConstants::kManagerTitle, rc);
        app_.ReportError(code, "CMainFrame::OnClose()");
    }
    CloseFrame();
}

void CMainFrame::CloseFrame() {
    // The real exit: browsers no longer find this manager.
    app_.RevokeAutomation();
    document_.SaveIfEditable();
    document_.OnCloseDocument();
    Destroy();
}

void CMainFrame::OnDestroy() {
    document_.SetTreePane(nullptr);
    treeView_ = nullptr;
    HideTrayIcon();
    m_pTrayWnd.reset();
    ::PostQuitMessage(0);
}

LRESULT CMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE: {
            const LRESULT result = FrameWindow::HandleMessage(msg, wParam, lParam);
            OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return result;
        }
        case WM_SIZING: {
            const LRESULT result = FrameWindow::HandleMessage(msg, wParam, lParam);
            OnSizing(*reinterpret_cast<RECT*>(lParam));
            return result;
        }
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_ACTIVATE: {
            const LRESULT result = FrameWindow::HandleMessage(msg, wParam, lParam);
            if (LOWORD(wParam) == WA_INACTIVE) document_.SaveIfEditable();
            return result;
        }
        case WM_DROPFILES:
            // The document keeps nothing in files: a dropped file opens nothing.
            ::DragFinish(reinterpret_cast<HDROP>(wParam));
            return 0;
        default:
            return FrameWindow::HandleMessage(msg, wParam, lParam);
    }
}

bool CMainFrame::UpdateCommand(fw::CommandUI& ui) {
    switch (ui.Id()) {
        case ID_TOOLBAR_SMALL:
        case ID_TOOLBAR_LARGE: {
            DWORD size = 0;
            const bool read = CRegSettings(app_.ProgramFolder()).LoadToolBarSize(&size) == 0;
            ui.SetCheck(read && size == (ui.Id() == ID_TOOLBAR_LARGE ? 1u : 0u));
            return true;
        }
        case ID_OPTIONS:
        case ID_APP_ABOUT:
        case ID_HELP_GUIDE:
        case ID_QUICK_START:
            return true;
        default:
            return FrameWindow::UpdateCommand(ui);
    }
}

bool CMainFrame::HandleCommand(UINT id) {
    switch (id) {
        case ID_TOOLBAR_SMALL:
            OnSmallToolbar();
            return true;
        case ID_TOOLBAR_LARGE:
            OnLargeToolbar();
            return true;
        case ID_OPTIONS:
            OnOptions();
            return true;
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_HELP_GUIDE:
            OnHelpGuide();
            return true;
        case ID_QUICK_START:
            OnQuickStart();
            return true;
        default:
            return FrameWindow::HandleCommand(id);
    }
}

void CMainFrame::OnLargeToolbar() {
    CRegSettings settings(app_.ProgramFolder());
    DWORD size = 0;
    if (settings.LoadToolBarSize(&size) != 0) {
        settings.SaveToolBarSize(1);
        return;
    }
    if (size == 1) return;
    settings.SaveToolBarSize(1);
    m_wndReBar.ShowBand(0, false);
    m_wndReBar.ShowBand(1, true);
    RecalcLayout();
}

void CMainFrame::OnSmallToolbar() {
    CRegSettings settings(app_.ProgramFolder());
    DWORD size = 0;
    if (settings.LoadToolBarSize(&size) != 0) {
        settings.SaveToolBarSize(0);
        return;
    }
    if (size == 0) return;
    settings.SaveToolBarSize(0);
    m_wndReBar.ShowBand(0, true);
    m_wndReBar.ShowBand(1, false);
    RecalcLayout();
}

void CMainFrame::OnOptions() {
    CStartupOptionsDlg dialog(*this, app_.ProgramFolder());
    dialog.DoModal(hwnd());
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dialog;
    dialog.DoModal(hwnd());
}

void CMainFrame::OpenHelpPage(const char* page) {
    const std::string folder = app_.ProgramFolder();
    if (StartFolderProgram(folder, AppConstants::kBrowserExe, folder + page, SW_SHOWNORMAL) == SE_ERR_FNF)
        fw::ShowMessageBox(kBrowserMissingText, MB_OK);
}

void CMainFrame::OnHelpGuide() {
    OpenHelpPage("\\Help\\Guide.htm");
}

void CMainFrame::OnQuickStart() {
    OpenHelpPage("\\Help\\Quickst.htm");
}

int CMainFrame::WriteQuickStartLauncher(const std::string& path) {
    static constexpr const char* kPieces[] = {
        "<HTML><HEAD></HEAD><SCRIPT LANGUAGE=\"JavaScript\">\r\n",
        "function doInit(){window.open(\"help\\\\quickst.html\",\"HelpQuickStartGuide\",",
        "\"menubar=0,toolbar=1,location=0,directories=0,scrollbars=1,resizable=1,status=0,",
        "left=120,top=150,,width=665,height=360\");}\r\n",
        "</SCRIPT><BODY onload=\"doInit()\"></BODY></HTML>",
    };
    std::string page;
    for (const char* piece : kPieces) page += piece;
    return fw::WriteWholeFile(path, page) ? kErrNone : kErrHelpFile;
}
