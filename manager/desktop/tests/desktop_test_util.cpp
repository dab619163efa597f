#include "desktop_test_util.h"

#include "ErrorCodes.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace desktoptest {

DesktopFixture::DesktopFixture() {
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
}

void DesktopFixture::StartManager() {
    frame = &Start("");
    tree = app->Document()->GetLeftView();
    view = dynamic_cast<CDesktopView*>(app->Document()->DesktopPane());
    ASSERT_NE(view, nullptr) << "the desktop pane is the document's";
    ASSERT_TRUE(testsupport::PumpUntil([&] { return tree->Root() != nullptr; }, 20000));
    // Mouse activation of a miniature needs the frame in front.
    ::SetForegroundWindow(frame->hwnd());
}

std::string DesktopFixture::AddLink(const std::string& title, URLRect rect, const std::string& group,
                                    const std::string& skin) {
    CURLObject record;
    record.link.title = title;
    record.link.windowRect = rect;
    record.skinName = skin;
    std::string name;
    EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject(group, record, &name), kErrNone);
    return name;
}

std::string DesktopFixture::LinkPath(const std::string& group, const std::string& name) const {
    return group.empty() ? "Links\\" + name : "Links\\" + group + "\\" + name;
}

std::string DesktopFixture::LinkFile(const std::string& group, const std::string& name) const {
    return dir.ReadFile(LinkPath(group, name));
}

std::unique_ptr<CURLObject> DesktopFixture::Load(const std::string& group, const std::string& name) const {
    std::unique_ptr<CURLObject> record;
    EXPECT_EQ(CLinkStore(dir.Path()).LoadURLObject(CURLEntry(group, name), &record), kErrNone);
    return record;
}

void DesktopFixture::SelectLink(const std::string& title, const std::string& folder) {
    HTREEITEM parent = tree->LinksItem();
    if (!folder.empty()) parent = tree->FindChildByName(parent, folder);
    HTREEITEM item = tree->FindChildByName(parent, title);
    ASSERT_NE(item, nullptr) << title;
    TreeView_SelectItem(tree->hwnd(), item);
}

void DesktopFixture::SelectGroup(const std::string& name) {
    HTREEITEM item = tree->FindChildByName(tree->GroupsItem(), name);
    ASSERT_NE(item, nullptr) << name;
    TreeView_SelectItem(tree->hwnd(), item);
}

void DesktopFixture::SelectLinksRoot() {
    TreeView_SelectItem(tree->hwnd(), tree->LinksItem());
}

RECT DesktopFixture::ModelRect(const CMiniBrowserWnd& mini) const {
    RECT rc = mini.WindowRect();
    ::MapWindowPoints(nullptr, view->hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::string DesktopFixture::PaneText() const {
    return frame->StatusBar().Text(1);
}

bool DesktopFixture::WaitForPane(const std::string& text) {
    return testsupport::PumpUntil([&] { return PaneText() == text; }, 10000);
}

POINT CentreOf(HWND wnd) {
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

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

// An absolute move lands on the pixel itself: the normalised value is
// searched near its estimate, since the rounding is the system's.
bool MoveTo(POINT to) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    const int h = ::GetSystemMetrics(SM_CYSCREEN);
    const LONG nx = MulDiv(to.x, 65536, w);
    const LONG ny = MulDiv(to.y, 65536, h);
    for (int attempt = 0; attempt < 64; ++attempt) {
        const LONG ax = nx + (attempt % 8) - 2;
        const LONG ay = ny + (attempt / 8) - 2;
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ax, ay);
        POINT at{};
        ::GetCursorPos(&at);
        if (at.x == to.x && at.y == to.y) return true;
        // Nudge towards the pixel from what this value gave.
        if (at.x != to.x || at.y != to.y) {
            const LONG fx = ax + (to.x - at.x) * 65536 / w;
            const LONG fy = ay + (to.y - at.y) * 65536 / h;
            SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, fx, fy);
            ::GetCursorPos(&at);
            if (at.x == to.x && at.y == to.y) return true;
        }
    }
    return false;
}

bool InMoveLoop(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
}

// Runs steps on another thread and pumps this one until they end.
bool WhilePumping(const std::function<bool(DWORD uiThread)>& steps) {
    const DWORD ui = ::GetCurrentThreadId();
    std::atomic<bool> done{false};
    bool ok = false;
    std::thread driver([&] {
        ok = steps(ui);
        done = true;
    });
    const bool ended = testsupport::PumpUntil([&] { return done.load(); }, 60000);
    driver.join();
    // What the release left queued (the view's repaint) is handled too.
    testsupport::PumpFor(0);
    return ended && ok;
}

}  // namespace

bool DragWithMouse(POINT from, int dx, int dy) {
    return WhilePumping([=](DWORD ui) {
        if (!MoveTo(from)) return false;
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        if (!Until([&] { return InMoveLoop(ui); })) {
            SendMouse(MOUSEEVENTF_LEFTUP);
            return false;
        }
        const int steps = 5;
        for (int i = 1; i <= steps; ++i) {
            if (!MoveTo(POINT{from.x + dx * i / steps, from.y + dy * i / steps})) break;
        }
        SendMouse(MOUSEEVENTF_LEFTUP);
        return Until([&] { return !InMoveLoop(ui); });
    });
}

bool ClickWithMouse(POINT from) {
    return WhilePumping([=](DWORD ui) {
        if (!MoveTo(from)) return false;
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        const bool started = Until([&] { return InMoveLoop(ui); });
        SendMouse(MOUSEEVENTF_LEFTUP);
        return started && Until([&] { return !InMoveLoop(ui); });
    });
}

}  // namespace desktoptest
