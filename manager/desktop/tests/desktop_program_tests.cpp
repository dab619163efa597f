// The desktop pane of the real VessaMgr.exe on a 1024 x 768 screen, read
// across processes: the miniature's place, the rectangle pane, a drag with
// real mouse input from this process, and what the link file stores.
#include "mouse_input.h"
#include "remote_tree.h"
#include "running_manager.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "testsupport/remote_buffer.h"

#include <commctrl.h>

#include <vector>

using namespace mgrtest;

namespace {

std::string AddLink(const TempProgramFolder& dir, const std::string& title, URLRect rect) {
    CURLObject record;
    record.link.title = title;
    record.link.windowRect = rect;
    std::string name;
    EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject("", record, &name), kErrNone);
    return name;
}

URLRect StoredRect(const TempProgramFolder& dir, const std::string& name) {
    std::unique_ptr<CURLObject> record;
    if (CLinkStore(dir.Path()).LoadURLObject(CURLEntry("", name), &record) != kErrNone || !record) return {};
    return record->link.windowRect;
}

// A status bar pane's text in another process, through a buffer there.
std::string RemotePaneText(HWND bar, int pane) {
    constexpr size_t kSize = 512;
    const testsupport::RemoteBuffer buffer(bar, kSize);
    if (!buffer) return "<no buffer>";
    if (LOWORD(::SendMessageA(bar, SB_GETTEXTLENGTHA, pane, 0)) >= kSize) return "<too long>";
    ::SendMessageA(bar, SB_GETTEXTA, pane, buffer.At());
    return buffer.Text();
}

struct ClassSearch {
    const char* name;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectByClass(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<ClassSearch*>(param);
    char cls[64] = {};
    ::GetClassNameA(wnd, cls, sizeof(cls));
    if (std::string(cls) == s->name && ::IsWindowVisible(wnd)) s->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> Miniatures(HWND frame) {
    ClassSearch s{"VessaMgr.MiniBrowser", {}};
    ::EnumChildWindows(frame, CollectByClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct Running {
    ProgramFixture f;
    std::string alpha, beta;
    std::unique_ptr<RunningManager> manager;
    HWND frame = nullptr;
    HWND bar = nullptr;
    std::unique_ptr<RemoteTree> tree;

    explicit Running(URLRect rect) {
        f.dir.MakeFolder("Links");
        alpha = AddLink(f.dir, "Alpha", rect);
        beta = AddLink(f.dir, "Beta", URLRect{});
        manager = std::make_unique<RunningManager>(f.dir, "");
        if (!manager->WaitForWindow()) return;
        // The frame is the "Vessa Manager" window with the status bar (the tray window has the title too).
        WaitUntil([&] {
            for (HWND wnd : ManagerWindows())
                if ((bar = ::FindWindowExA(wnd, nullptr, STATUSCLASSNAMEA, nullptr)) != nullptr) frame = wnd;
            return frame != nullptr;
        });
        if (!frame) return;
        tree = std::make_unique<RemoteTree>(frame);
    }
    bool Select(const std::string& title) {
        HTREEITEM item = nullptr;
        const bool found = WaitUntil(
            [&] {
                HTREEITEM links = tree->Find(tree->Root(), "Links");
                item = links ? tree->Find(links, title) : nullptr;
                return item != nullptr;
            },
            30000);
        if (found) tree->Select(item);
        return found;
    }
    HWND Miniature() {
        std::vector<HWND> shown;
        WaitUntil([&] { return (shown = Miniatures(frame)).size() == 1; });
        return shown.size() == 1 ? shown.front() : nullptr;
    }
};

}  // namespace

TEST(DesktopProgram, ADefaultPlacedMiniatureDraggedByTwentyAndTenStoresItsNewRectangle) {
    Running r(URLRect{});
    ASSERT_TRUE(r.frame);
    ASSERT_TRUE(r.bar);
    ASSERT_TRUE(*r.tree);
    ASSERT_TRUE(r.Select("Alpha"));
    HWND mini = r.Miniature();
    ASSERT_TRUE(mini);
    RECT outer{};
    ::GetWindowRect(mini, &outer);
    RECT pane{};
    ::GetWindowRect(::GetParent(mini), &pane);
    EXPECT_EQ(outer.left - pane.left, 41);
    EXPECT_EQ(outer.top - pane.top, 31);
    EXPECT_EQ(outer.right - outer.left, 252);
    EXPECT_EQ(outer.bottom - outer.top, 192);
    EXPECT_TRUE(WaitUntil([&] { return RemotePaneText(r.bar, 1) == "L=99, T=74, R=714, B=535"; }))
        << RemotePaneText(r.bar, 1);

    ASSERT_TRUE(
        desktoptest::DragSteps(desktoptest::CentreOf(mini), 20, 10, ::GetWindowThreadProcessId(r.frame, nullptr)));
    EXPECT_TRUE(WaitUntil([&] { return RemotePaneText(r.bar, 1) == "L=148, T=98, R=763, B=559"; }))
        << RemotePaneText(r.bar, 1);
    ASSERT_TRUE(r.Select("Beta"));
    EXPECT_TRUE(WaitUntil([&] { return StoredRect(r.f.dir, r.alpha) == URLRect{148, 98, 763, 559}; }));
}

TEST(DesktopProgram, AStoredRectangleSelectedAndLeftIsWrittenBackUnchanged) {
    Running r(URLRect{100, 100, 500, 400});
    ASSERT_TRUE(r.frame);
    ASSERT_TRUE(r.bar);
    ASSERT_TRUE(*r.tree);
    const std::string before = r.f.dir.ReadFile("Links\\" + r.alpha);
    ASSERT_TRUE(r.Select("Alpha"));
    HWND mini = r.Miniature();
    ASSERT_TRUE(mini);
    RECT outer{};
    ::GetWindowRect(mini, &outer);
    RECT pane{};
    ::GetWindowRect(::GetParent(mini), &pane);
    const RECT model{outer.left - pane.left, outer.top - pane.top, outer.right - pane.left, outer.bottom - pane.top};
    const RECT want{41, 41, 205, 166};
    EXPECT_TRUE(::EqualRect(&model, &want))
        << model.left << "," << model.top << "," << model.right << "," << model.bottom;
    ASSERT_TRUE(r.Select("Beta"));
    ASSERT_TRUE(WaitUntil([&] { return Miniatures(r.frame).size() == 1 && Miniatures(r.frame).front() != mini; }));
    r.manager->Stop();
    EXPECT_EQ(r.f.dir.ReadFile("Links\\" + r.alpha), before);
}
