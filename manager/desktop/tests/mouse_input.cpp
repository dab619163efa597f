#include "mouse_input.h"

#include "testsupport/mouse_input.h"

#include <functional>

namespace desktoptest {

using testsupport::MoveTo;
using testsupport::SendMouse;

namespace {

bool Until(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(1);
    }
    return true;
}

bool InMoveLoop(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
}

}  // namespace

POINT CentreOf(HWND wnd) {
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool DragSteps(POINT from, int dx, int dy, DWORD uiThread) {
    if (!MoveTo(from)) return false;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    if (!Until([&] { return InMoveLoop(uiThread); })) {
        SendMouse(MOUSEEVENTF_LEFTUP);
        return false;
    }
    const int steps = 5;
    bool moved = true;
    for (int i = 1; i <= steps && moved; ++i) moved = MoveTo(POINT{from.x + dx * i / steps, from.y + dy * i / steps});
    SendMouse(MOUSEEVENTF_LEFTUP);
    return Until([&] { return !InMoveLoop(uiThread); }) && moved;
}

bool ClickSteps(POINT from, DWORD uiThread) {
    if (!MoveTo(from)) return false;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    const bool started = Until([&] { return InMoveLoop(uiThread); });
    SendMouse(MOUSEEVENTF_LEFTUP);
    return started && Until([&] { return !InMoveLoop(uiThread); });
}

}  // namespace desktoptest
