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
    bool Shown() const noexcept { return shown_; }

    // The record size given to the system.
    static DWORD RecordSize();

private:
    HWND wnd_ = nullptr;
    UINT id_ = 0;
    bool shown_ = false;
};

}  // namespace fw
