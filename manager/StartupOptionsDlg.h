// The Options dialog: start with Windows, hide the window at start, remove
// the tray icon. The icon change applies at once; a hidden manager that
// would be left without its icon ends.
#pragma once

#include "fw/dialog.h"

#include <string>

// What the dialog changes in the frame it belongs to.
class CStartupHost {
public:
    virtual ~CStartupHost() = default;
    virtual HWND FrameHwnd() const = 0;
    virtual void ShowTrayIcon() = 0;
    virtual void HideTrayIcon() = 0;
    // The real exit, once no modal dialog or box is open.
    virtual void StartExit() = 0;
};

class CStartupOptionsDlg : public fw::Dialog {
public:
    CStartupOptionsDlg(CStartupHost& frame, std::string programFolder);

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void OnHideClicked();
    void OnRemoveIconClicked();
    bool Checked(int id) const;
    void SetChecked(int id, bool on) const;

    CStartupHost& frame_;
    std::string programFolder_;
};
