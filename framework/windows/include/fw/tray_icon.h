// The notification-area icon of a window: added with the first record layout
// (NOTIFYICONDATA_V1_SIZE, whose size follows the build's pointer width) and
// removed when the owner goes.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The tip is cut to 63 characters.
    bool Add(HWND wnd, UINT id, UINT callbackMessage, HICON icon, const std::string& tip);
    // True when the system took the icon away (or there was none).
    bool Remove();
    // The shell forgot its icons (it restarted): the shown icon is added
    // again as it was. True when there was none or the system took it.
    bool AddAgain();
    bool Shown() const noexcept { return shown_; }

    // The record size given to the system.
    static DWORD RecordSize();

private:
    bool Notify(DWORD message, UINT flags) const;

    HWND wnd_ = nullptr;
    UINT id_ = 0;
    UINT callbackMessage_ = 0;
    HICON icon_ = nullptr;
    std::string tip_;
    bool shown_ = false;
};

}  // namespace fw
