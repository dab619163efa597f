// The question at start whether the browser should become the default web
// browser, and the count of browser windows that decides whether it is asked.
#pragma once

#include "fw/dialog.h"

#include <windows.h>

#include <string>

// Sent by the window count to the main window, each raising its count by 1.
inline constexpr UINT kMsgCountBrowserWindow = 0x801A;
inline constexpr UINT kMsgCountBrowserWindow2 = 0x801B;

// Dialog template and its controls.
inline constexpr UINT kDefaultBrowserTemplate = 174;
inline constexpr int kDefaultBrowserText = 1003;
inline constexpr int kDefaultBrowserCheck = 1046;

// A caption of a browser window: longer than "- Vessa" and ending in it, in any case.
bool IsBrowserCaption(const std::string& caption);

// Counts a top-level window whose caption is a browser's by sending
// kMsgCountBrowserWindow to the main window (param). Captions of other
// processes' windows are read without a message to them, so a hung window
// cannot hold the start.
BOOL CALLBACK EnumBrowserWindowsProc(HWND wnd, LPARAM mainWindow);

class CDefaultBrowserDlg : public fw::Dialog {
public:
    CDefaultBrowserDlg() : fw::Dialog(kDefaultBrowserTemplate) {}

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    // "CheckDefaultBrowser" := whether the box is checked.
    void SaveCheckState();
};
