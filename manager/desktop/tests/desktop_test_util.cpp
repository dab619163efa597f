#include "desktop_test_util.h"

#include "ErrorCodes.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace desktoptest {

DesktopFixture::DesktopFixture() {
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
}

void DesktopFixture::StartManager() {
    frame = &Start("");
    tree = app->MainFrame()->TreeView();
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

namespace {

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
    return WhilePumping([=](DWORD ui) { return DragSteps(from, dx, dy, ui); });
}

bool ClickWithMouse(POINT from) {
    return WhilePumping([=](DWORD ui) { return ClickSteps(from, ui); });
}

}  // namespace desktoptest
