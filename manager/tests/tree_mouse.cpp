#include "tree_mouse.h"

#include "running_manager.h"

#include "testsupport/mouse_input.h"
#include "testsupport/running_program.h"

namespace mgrtest {

using testsupport::SendMouse;

namespace {

void Release(Button button) {
    SendMouse(button == Button::kLeft ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
}

void MoveInSteps(POINT from, POINT to) {
    const int steps = 3;
    for (int i = 1; i <= steps; ++i)
        MoveTo(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
}

}  // namespace

HCURSOR ShownCursor() {
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

TreeMouse::TreeMouse(const RemoteTree& tree)
    : tree_(tree), thread_(::GetWindowThreadProcessId(tree.Window(), nullptr)) {}

::testing::AssertionResult TreeMouse::Begin(HTREEITEM from, Button button) {
    POINT start{};
    if (!ScreenCentre(from, &start)) return ::testing::AssertionFailure() << "the dragged item is not shown";
    if (!PressOn(from, button, &start)) return ::testing::AssertionFailure() << "the press was not taken " << State();
    MoveTo(POINT{start.x + 2 * ::GetSystemMetrics(SM_CXDRAG) + 2, start.y});
    return ::testing::AssertionSuccess();
}

bool TreeMouse::Hover(HTREEITEM item) {
    POINT from{};
    POINT to{};
    ::GetCursorPos(&from);
    if (!ScreenCentre(item, &to)) return false;
    MoveInSteps(from, to);
    hoverAt_ = to;
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (WaitUntil([&] { return tree_.DropHighlight() == item; }, 1000)) return true;
        hoverAt_ = POINT{to.x + (attempt % 2 ? 0 : 1), to.y};
        MoveTo(hoverAt_);
    }
    return false;
}

bool TreeMouse::StillAt(POINT point, HTREEITEM highlighted) const {
    return testsupport::InputRead(tree_.Window()) && testsupport::CursorAt(point) &&
           tree_.DropHighlight() == highlighted;
}

bool TreeMouse::HoldOver(HTREEITEM item) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (StillAt(hoverAt_, item)) return true;
        if (!Hover(item)) return false;
    }
    return false;
}

bool TreeMouse::MoveOver(HTREEITEM item) {
    POINT to{};
    return ScreenCentre(item, &to) && MoveTo(to);
}

bool TreeMouse::Drop() {
    Release(Button::kLeft);
    return WaitForDragEnd();
}

::testing::AssertionResult TreeMouse::EndLeftDrag() {
    Release(Button::kLeft);
    if (!WaitUntil([&] { return Capture() != tree_.Window(); }))
        return ::testing::AssertionFailure() << "the drag did not end " << State();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult TreeMouse::Drag(HTREEITEM from, const std::vector<HTREEITEM>& way, Button button) {
    if (auto begun = Begin(from, button); !begun) return begun;
    for (HTREEITEM item : way) {
        if (!Hover(item)) {
            Release(button);
            return ::testing::AssertionFailure() << "\"" << tree_.Text(item) << "\" was never highlighted " << State();
        }
    }
    if (!way.empty() && !HoldOver(way.back())) {
        Release(button);
        return ::testing::AssertionFailure()
               << "the drag did not stay on \"" << tree_.Text(way.back()) << "\" " << State();
    }
    if (button == Button::kLeft) return EndLeftDrag();
    Release(button);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult TreeMouse::DragReleasingBelowTheItems(HTREEITEM from, HTREEITEM to) {
    const RECT last = tree_.ItemRect(tree_.LastVisible());
    RECT client{};
    ::GetClientRect(tree_.Window(), &client);
    POINT empty{0, last.bottom + 2 * (last.bottom - last.top)};
    if (::IsRectEmpty(&last) || empty.y >= client.bottom)
        return ::testing::AssertionFailure() << "no room below the items";
    ::ClientToScreen(tree_.Window(), &empty);
    if (auto begun = Begin(from); !begun) return begun;
    if (!Hover(to)) {
        Release(Button::kLeft);
        return ::testing::AssertionFailure() << "\"" << tree_.Text(to) << "\" was never highlighted " << State();
    }
    POINT at{};
    ::GetCursorPos(&at);
    const POINT below{at.x, empty.y};
    MoveTo(below);
    // An earlier step's late echo would take the drag back over an item.
    for (int attempt = 0; attempt < 4 && !StillAt(below, to); ++attempt) {
        if (!Hover(to)) break;
        MoveTo(below);
    }
    return EndLeftDrag();
}

::testing::AssertionResult TreeMouse::DragUnstarted(HTREEITEM from, HTREEITEM to) {
    POINT target{};
    if (!ScreenCentre(to, &target)) return ::testing::AssertionFailure() << "the target is not shown";
    if (auto begun = Begin(from); !begun) return begun;
    const bool released = WaitUntil([&] { return Capture() != tree_.Window(); });
    POINT at{};
    ::GetCursorPos(&at);
    MoveInSteps(at, target);
    Release(Button::kLeft);
    if (!released) return ::testing::AssertionFailure() << "a drag started from \"" << tree_.Text(from) << "\"";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult TreeMouse::Click(HTREEITEM item, Button button) {
    POINT at{};
    if (!PressOn(item, button, &at)) return ::testing::AssertionFailure() << "the press was not taken " << State();
    Release(button);
    return ::testing::AssertionSuccess();
}

bool TreeMouse::WaitForDragEnd() const {
    return WaitUntil([&] { return Capture() != tree_.Window() && tree_.DropHighlight() == nullptr; });
}

HWND TreeMouse::Capture() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(thread_, &info) ? info.hwndCapture : nullptr;
}

std::string TreeMouse::State() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(thread_, &info);
    POINT at{};
    ::GetCursorPos(&at);
    const char* capture = info.hwndCapture == tree_.Window() ? "tree" : info.hwndCapture ? "other" : "none";
    return std::string("(capture ") + capture + ", flags " + std::to_string(info.flags) + ", cursor " +
           std::to_string(at.x) + "," + std::to_string(at.y) + ", highlight \"" + tree_.Text(tree_.DropHighlight()) +
           "\", caret \"" + tree_.Text(tree_.Caret()) + "\")";
}

bool TreeMouse::ScreenCentre(HTREEITEM item, POINT* at) const {
    const RECT r = tree_.ItemRect(item);
    RECT client{};
    ::GetClientRect(tree_.Window(), &client);
    *at = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (::IsRectEmpty(&r) || !::PtInRect(&client, *at)) return false;
    return ::ClientToScreen(tree_.Window(), at) != FALSE;
}

bool TreeMouse::PressOn(HTREEITEM item, Button button, POINT* at) {
    if (!ScreenCentre(item, at)) return false;
    // The system's own double-click interval is let pass, so this press is a press.
    const ULONGLONG due = lastPress_ + ::GetDoubleClickTime() + 50;
    if (const ULONGLONG now = ::GetTickCount64(); now < due) ::Sleep(static_cast<DWORD>(due - now));
    if (!MoveTo(*at)) return false;
    SendMouse(button == Button::kLeft ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
    lastPress_ = ::GetTickCount64();
    // The control holds the mouse while it decides whether this is a drag.
    if (WaitUntil([&] { return Capture() == tree_.Window(); })) return true;
    Release(button);
    return false;
}

HWND PopupMenuOf(DWORD pid) {
    return testsupport::VisibleWindowOfClass(pid, "#32768");
}

HWND WaitForPopupMenu(DWORD pid) {
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = PopupMenuOf(pid)) != nullptr; });
    return menu;
}

namespace {

bool MenuGone(HWND menu) {
    return WaitUntil([&] { return !::IsWindow(menu) || !::IsWindowVisible(menu); });
}

}  // namespace

void PressInMenu(HWND menu, int downs) {
    for (int i = 0; i < downs; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

bool ChooseFromMenu(HWND menu, int downs) {
    PressInMenu(menu, downs);
    return MenuGone(menu);
}

bool DismissMenu(HWND menu) {
    ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return MenuGone(menu);
}

}  // namespace mgrtest
