// The hidden window behind the manager's notification-area icon. The frame
// decides when the icon is added and removed; the icon's menus answer its
// clicks.
#pragma once

#include "fw/dialog.h"
#include "fw/handles.h"
#include "fw/tray_icon.h"

#include <string>

class CMainFrame;

inline constexpr UINT kTrayIconId = 214;
inline constexpr UINT kTrayNotifyMessage = 0x8010;

class CTrayWnd : public fw::Dialog {
public:
    // Makes the hidden window (never shown).
    CTrayWnd(CMainFrame& frame, std::string programFolder);
    ~CTrayWnd() override;

    // 0, or 36 when icon 128 cannot be loaded.
    int LoadTrayIcon();
    // 0, or 37 when the system refuses the icon.
    int AddTrayIcon();
    // 0, or 76 when the system refuses to remove it.
    int DeleteTrayIcon();
    bool IconShown() const { return icon_.Shown(); }

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnOK() override {}
    void OnCancel() override {}

    // The icon's menus: links and groups on a left click, commands on a right one.
    virtual void ShowFolderMenu() {}
    virtual void ShowCommandMenu() {}

private:
    CMainFrame& m_pFrame;
    std::string m_strProgramFolder;
    fw::Icon m_hIcon;
    fw::TrayIcon icon_;
};
