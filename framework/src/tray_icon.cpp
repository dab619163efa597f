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

bool TrayIcon::Add(HWND wnd, UINT id, UINT callbackMessage, HICON icon, const std::string& tip) {
    if (shown_) return true;
    NOTIFYICONDATAA nid{};
    nid.cbSize = RecordSize();
    nid.hWnd = wnd;
    nid.uID = id;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = callbackMessage;
    nid.hIcon = icon;
    const size_t n = std::min<size_t>(tip.size(), 63);
    std::memcpy(nid.szTip, tip.data(), n);
    nid.szTip[n] = '\0';
    if (!::Shell_NotifyIconA(NIM_ADD, &nid)) return false;
    wnd_ = wnd;
    id_ = id;
    shown_ = true;
    return true;
}

bool TrayIcon::Remove() {
    if (!shown_) return true;
    NOTIFYICONDATAA nid{};
    nid.cbSize = RecordSize();
    nid.hWnd = wnd_;
    nid.uID = id_;
    if (!::Shell_NotifyIconA(NIM_DELETE, &nid)) return false;
    shown_ = false;
    return true;
}

}  // namespace fw
