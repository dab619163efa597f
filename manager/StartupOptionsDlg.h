// The Options dialog: start with Windows, hide the window at start, remove
// the tray icon. The icon change applies at once; a hidden manager that
// would be left without its icon ends.
#pragma once

#include "fw/dialog.h"

#include <string>

class CMainFrame;

class CStartupOptionsDlg : public fw::Dialog {
public:
    CStartupOptionsDlg(CMainFrame& frame, std::string programFolder);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void OnHideClicked();
    void OnRemoveIconClicked();
    bool Checked(int id) const;
    void SetChecked(int id, bool on) const;

    CMainFrame& frame_;
    std::string programFolder_;
};
