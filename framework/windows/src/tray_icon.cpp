#include "fw/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace fw {

DWORD TrayIcon::RecordSize() {
    return NOTIFYICONDATAA_V1_SIZE;
}

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the first record layout of a 32-bit build");
#endif

bool TrayIcon::Notify(DWORD message, UINT flags) const {
    NOTIFYICONDATAA nid{};
    nid.cbSize = RecordSize();
    nid.hWnd = wnd_;
    nid.uID = id_;
    nid.uFlags = flags;
    nid.uCallbackMessage = callbackMessage_;
    nid.hIcon = icon_;
    const size_t n = std::min<size_t>(tip_.size(), 63);
    std::memcpy(nid.szTip, tip_.data(), n);
    nid.szTip[n] = '\0';
    return ::Shell_NotifyIconA(message, &nid) != FALSE;
}

bool TrayIcon::Add(HWND wnd, UINT id, UINT callbackMessage, HICON icon, const std::string& tip) {
    if (shown_) return true;
    wnd_ = wnd;
    id_ = id;
    callbackMessage_ = callbackMessage;
    icon_ = icon;
    tip_ = tip;
    shown_ = Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    return shown_;
}

bool TrayIcon::AddAgain() {
    return !shown_ || Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

bool TrayIcon::Remove() {
    if (!shown_) return true;
    if (!Notify(NIM_DELETE, 0)) return false;
    shown_ = false;
    return true;
}

}  // namespace fw
