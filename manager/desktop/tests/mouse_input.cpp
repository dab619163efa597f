#include "mouse_input.h"

#include "testsupport/mouse_input.h"

#include <functional>

namespace desktoptest {

using testsupport::CursorAt;
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

// The window the thread's move loop is moving, or null outside the loop.
HWND MovingWindow(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(thread, &info) || !(info.flags & GUI_INMOVESIZE)) return nullptr;
    return info.hwndMoveSize;
}

bool InMoveLoop(DWORD thread) {
    return MovingWindow(thread) != nullptr;
}

// The loop's flag goes before it places the window; a sent message is handled only once the thread is back
// from the loop with the window in its place.
bool LoopEnded(DWORD uiThread, HWND moving) {
    return Until([&] { return !InMoveLoop(uiThread); }) && testsupport::InputRead(moving);
}

POINT TopLeft(HWND wnd) {
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    return POINT{rc.left, rc.top};
}

// One press, moves in steps by dx, dy, and the release; *moving is the window the loop moved and *start its
// place when the loop began (the system drags an outline: the window moves at the release).
bool DragOnce(POINT from, int dx, int dy, DWORD uiThread, HWND* moving, POINT* start) {
    if (!MoveTo(from)) return false;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    if (!Until([&] { return (*moving = MovingWindow(uiThread)) != nullptr; })) {
        SendMouse(MOUSEEVENTF_LEFTUP);
        return false;
    }
    *start = TopLeft(*moving);
    const int steps = 5;
    bool moved = true;
    for (int i = 1; i <= steps && moved; ++i) moved = MoveTo(POINT{from.x + dx * i / steps, from.y + dy * i / steps});
    const POINT to{from.x + dx, from.y + dy};
    if (moved && !CursorAt(to)) moved = MoveTo(to);
    SendMouse(MOUSEEVENTF_LEFTUP);
    return LoopEnded(uiThread, *moving) && moved;
}

}  // namespace

POINT CentreOf(HWND wnd) {
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// The display echoes each of these cursor moves back to the program under the cursor, late when the machine is
// busy: an echo of an earlier step can arrive after the last one and the window stops short. What is left of
// the way is then dragged again from where the window went, as a hand would.
bool DragSteps(POINT from, int dx, int dy, DWORD uiThread) {
    POINT at = from;
    for (int attempt = 0; attempt < 5; ++attempt) {
        HWND moving = nullptr;
        POINT start{};
        if (!DragOnce(at, dx, dy, uiThread, &moving, &start)) return false;
        const POINT end = TopLeft(moving);
        dx -= end.x - start.x;
        dy -= end.y - start.y;
        if (dx == 0 && dy == 0) return true;
        at = POINT{at.x + end.x - start.x, at.y + end.y - start.y};
    }
    return false;
}

bool ClickSteps(POINT from, DWORD uiThread) {
    if (!MoveTo(from)) return false;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    HWND moving = nullptr;
    const bool started = Until([&] { return (moving = MovingWindow(uiThread)) != nullptr; });
    SendMouse(MOUSEEVENTF_LEFTUP);
    return started && LoopEnded(uiThread, moving);
}

}  // namespace desktoptest
