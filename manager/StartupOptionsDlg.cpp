#include "StartupOptionsDlg.h"

#include "AppConstants.h"
#include "RegSettings.h"
#include "resource.h"

#include "fw/msgbox.h"

namespace {
const std::string kBoth = std::string("You cannot have both hide ") + AppConstants::kManagerTitle +
                          " and remove icon in the tool tray checked";
}

CStartupOptionsDlg::CStartupOptionsDlg(CStartupHost& frame, std::string programFolder)
    : fw::Dialog(IDD_STARTUP_OPTIONS), frame_(frame), programFolder_(std::move(programFolder)) {}

bool CStartupOptionsDlg::Checked(int id) const {
    return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CStartupOptionsDlg::SetChecked(int id, bool on) const {
    ::SendMessageA(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

BOOL CStartupOptionsDlg::OnInitDialog() {
    CRegSettings settings(programFolder_);
    DWORD hideProgram = 0, hideTray = 0;
    if (settings.GetHideProgram(&hideProgram) != 0) hideProgram = 0;
    if (settings.GetHideToolTray(&hideTray) != 0) hideTray = 0;
    bool run = false;
    settings.IsRunAtStartup(&run);
    SetChecked(IDC_HIDE_PROGRAM, hideProgram != 0);
    SetChecked(IDC_REMOVE_ICON, hideTray != 0);
    SetChecked(IDC_RUN_AT_STARTUP, run);
    const std::string title = AppConstants::kManagerTitle;
    SetItemText(IDC_RUN_AT_STARTUP, "&Run " + title + " when Windows startup");
    SetItemText(IDC_HIDE_PROGRAM, "Hide " + title + " during the startup\nof this program");
    SetItemText(IDC_REMOVE_ICON, "Remove &icon in tool tray");
    return TRUE;
}

bool CStartupOptionsDlg::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED && id == IDC_HIDE_PROGRAM) {
        OnHideClicked();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_REMOVE_ICON) {
        OnRemoveIconClicked();
        return true;
    }
    return fw::Dialog::OnCommand(id, code, control);
}

void CStartupOptionsDlg::OnHideClicked() {
    if (Checked(IDC_HIDE_PROGRAM) && Checked(IDC_REMOVE_ICON)) {
        fw::ShowMessageBox(kBoth + ".", MB_OK | MB_ICONSTOP, hwnd());
        SetChecked(IDC_HIDE_PROGRAM, false);
    }
}

void CStartupOptionsDlg::OnRemoveIconClicked() {
    if (Checked(IDC_HIDE_PROGRAM) && Checked(IDC_REMOVE_ICON)) {
        fw::ShowMessageBox(kBoth, MB_OK | MB_ICONSTOP, hwnd());
        SetChecked(IDC_REMOVE_ICON, false);
    }
}

void CStartupOptionsDlg::OnOK() {
    CRegSettings settings(programFolder_);
    settings.SetHideProgram(Checked(IDC_HIDE_PROGRAM) ? 1 : 0);
    const bool removeIcon = Checked(IDC_REMOVE_ICON);
    if (removeIcon)
        frame_.HideTrayIcon();
    else
        frame_.ShowTrayIcon();
    settings.SetHideToolTray(removeIcon ? 1 : 0);
    if (Checked(IDC_RUN_AT_STARTUP))
        settings.AddRunAtStartup();
    else
        settings.RemoveRunAtStartup();
    // Hidden and without its icon the user could not reach the manager: it ends.
    if (!::IsWindowVisible(frame_.FrameHwnd()) && removeIcon) frame_.StartExit();
    EndDialog(IDOK);
}
