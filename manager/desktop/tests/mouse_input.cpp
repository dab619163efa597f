#include "mouse_input.h"

#include <functional>

namespace desktoptest {

namespace {

bool Until(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(1);
    }
    return true;
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = x;
    input.mi.dy = y;
    ::SendInput(1, &input, sizeof(input));
}

// An absolute move that lands on the pixel itself: the normalised value is
// corrected from where the cursor went, since the rounding is the system's.
bool MoveTo(POINT to) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    LONG ax = MulDiv(to.x, 65536, w) + 16;
    LONG ay = MulDiv(to.y, 65536, h) + 16;
    for (int attempt = 0; attempt < 16; ++attempt) {
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ax, ay);
        POINT at{};
        ::GetCursorPos(&at);
        if (at.x == to.x && at.y == to.y) return true;
        ax += MulDiv(to.x - at.x, 65536, w);
        ay += MulDiv(to.y - at.y, 65536, h);
    }
    return false;
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
