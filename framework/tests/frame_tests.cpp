// Frames route commands through the active view, the document, the frame and
// the application; splitters lay panes out by ideal and minimum sizes.
#include "fw/form_view.h"
#include "fw/frame.h"
#include "fw/splitter.h"

#include "window_tests_res.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kViewCmd = 40001, kDocCmd = 40002, kFrameCmd = 40003, kAppCmd = 40004, kShared = 40005,
               kDisabled = 40006, kNobody = 40007;

// A target that claims some commands, enabling or not, and logs what it ran.
struct Claims {
    std::string name;
    std::vector<UINT> claimed;
    std::vector<UINT> disabled;
    std::vector<std::string>* log;
    // Commands its HandleCommand would run without claiming them.
    std::vector<UINT> wouldRun = {};

    bool Update(fw::CommandUI& ui) const {
        for (UINT id : claimed)
            if (id == ui.Id()) {
                ui.Enable(std::find(disabled.begin(), disabled.end(), id) == disabled.end());
                ui.SetCheck(name == "view");
                return true;
            }
        return false;
    }
    bool Run(UINT id) const {
        if (std::find(claimed.begin(), claimed.end(), id) == claimed.end() &&
            std::find(wouldRun.begin(), wouldRun.end(), id) == wouldRun.end())
            return false;
        log->push_back(name + ":" + std::to_string(id));
        return true;
    }
};

class TestView : public fw::View {
public:
    Claims claims;
    bool UpdateCommand(fw::CommandUI& ui) override { return claims.Update(ui); }
    bool HandleCommand(UINT id) override { return claims.Run(id); }
    int initialUpdates = 0;
    void OnInitialUpdate() override { ++initialUpdates; }
};

class TestDoc : public fw::Document {
public:
    Claims claims;
    bool UpdateCommand(fw::CommandUI& ui) override { return claims.Update(ui); }
    bool HandleCommand(UINT id) override { return claims.Run(id); }
};

class TestApp : public fw::CommandTarget {
public:
    Claims claims;
    bool UpdateCommand(fw::CommandUI& ui) override { return claims.Update(ui); }
    bool HandleCommand(UINT id) override { return claims.Run(id); }
};

class TestFrame : public fw::FrameWindow {
public:
    Claims claims;
    fw::SplitterWindow splitter;

protected:
    bool UpdateCommand(fw::CommandUI& ui) override { return claims.Update(ui) || FrameWindow::UpdateCommand(ui); }
    bool HandleCommand(UINT id) override { return claims.Run(id) || FrameWindow::HandleCommand(id); }
    int OnCreate(CREATESTRUCTA*) override {
        if (!splitter.CreateStatic(hwnd(), 1, 2, WS_VISIBLE, kFirstPaneId)) return -1;
        SetClientWindow(splitter.hwnd());
        return 0;
    }
    void OnDestroy() override {}
};

struct RoutingFixture {
    std::vector<std::string> log;
    TestFrame frame;
    TestDoc doc;
    TestApp app;
    TestView* view = nullptr;
    TestView* other = nullptr;

    RoutingFixture() {
        doc.claims = {"doc", {kDocCmd, kShared}, {}, &log};
        app.claims = {"app", {kAppCmd, kShared, kDisabled}, {kDisabled}, &log};
        frame.claims = {"frame", {kFrameCmd, kShared}, {}, &log};
        frame.SetDocument(&doc);
        frame.SetAppTarget(&app);
        EXPECT_TRUE(frame.CreateFrame("fwTestFrame", 1, "frame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 400, 300}));
        auto v = std::make_unique<TestView>();
        v->claims = {"view", {kViewCmd, kShared}, {}, &log};
        view = v.get();
        EXPECT_TRUE(frame.splitter.CreateView(0, 0, std::move(v), SIZE{150, 300}, &frame));
        auto o = std::make_unique<TestView>();
        o->claims = {"other", {}, {}, &log};
        other = o.get();
        EXPECT_TRUE(frame.splitter.CreateView(0, 1, std::move(o), SIZE{150, 300}, &frame));
        frame.InitialUpdate();
    }
};

}  // namespace

TEST(Frame, RoutesThroughTheActiveViewTheDocumentTheFrameAndTheApplication) {
    RoutingFixture f;
    EXPECT_EQ(f.view->initialUpdates, 1);
    EXPECT_EQ(f.frame.ActiveView(), f.view) << "the first view starts active";
    EXPECT_EQ(f.view->GetDocument(), &f.doc);
    for (UINT id : {kViewCmd, kDocCmd, kFrameCmd, kAppCmd, kShared})
        ::SendMessageA(f.frame.hwnd(), WM_COMMAND, MAKEWPARAM(id, 1), 0);  // as from an accelerator
    const std::vector<std::string> expected{"view:40001", "doc:40002", "frame:40003", "app:40004", "view:40005"};
    EXPECT_EQ(f.log, expected);

    f.log.clear();
    f.frame.SetActiveView(f.other);
    ::SendMessageA(f.frame.hwnd(), WM_COMMAND, kShared, 0);
    ::SendMessageA(f.frame.hwnd(), WM_COMMAND, kViewCmd, 0);
    EXPECT_EQ(f.log, std::vector<std::string>{"doc:40005"}) << "an inactive view hears nothing";
}

TEST(Frame, AnUnclaimedOrDisabledCommandNeverRuns) {
    RoutingFixture f;
    ::SendMessageA(f.frame.hwnd(), WM_COMMAND, MAKEWPARAM(kDisabled, 1), 0);
    ::SendMessageA(f.frame.hwnd(), WM_COMMAND, kNobody, 0);
    EXPECT_FALSE(f.frame.RouteCommand(kDisabled));
    EXPECT_TRUE(f.log.empty());
}

TEST(Frame, TheTargetThatClaimsACommandIsTheOneThatRunsIt) {
    RoutingFixture f;
    // The view comes first in the routing and would run them, but claims neither.
    f.view->claims.wouldRun = {kDocCmd, kAppCmd};
    EXPECT_TRUE(f.frame.RouteCommand(kDocCmd));
    ::SendMessageA(f.frame.hwnd(), WM_COMMAND, MAKEWPARAM(kAppCmd, 1), 0);
    EXPECT_EQ(f.log, (std::vector<std::string>{"doc:40002", "app:40004"}));
}

TEST(Frame, AViewHoldsTheFrameThatAddedIt) {
    RoutingFixture f;
    EXPECT_EQ(f.view->ParentFrame(), &f.frame);
    ::SendMessageA(f.other->hwnd(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(f.frame.ActiveView(), f.other) << "a view's focus makes it active in its frame";
    // A view inside the frame's window that the frame never added has none.
    TestView stray;
    ASSERT_TRUE(stray.CreateView(f.frame.splitter.hwnd(), 0xE9F0, RECT{0, 0, 10, 10}));
    EXPECT_EQ(stray.ParentFrame(), nullptr);
    ::SendMessageA(stray.hwnd(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(f.frame.ActiveView(), f.other);
}

TEST(Frame, MenusOpenWithTheStateTheirClaimersGive) {
    RoutingFixture f;
    fw::Menu menu(::CreatePopupMenu());
    for (UINT id : {kViewCmd, kDisabled, kNobody}) ::AppendMenuA(menu.get(), MF_STRING, id, "item");
    ::SendMessageA(f.frame.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.get()), 0);
    auto state = [&](UINT id) { return ::GetMenuState(menu.get(), id, MF_BYCOMMAND); };
    EXPECT_EQ(state(kViewCmd) & (MF_GRAYED | MF_CHECKED), static_cast<UINT>(MF_CHECKED));
    EXPECT_TRUE(state(kDisabled) & MF_GRAYED);
    EXPECT_TRUE(state(kNobody) & MF_GRAYED);
}

TEST(Splitter, PanesTakeTheirIdealSizesAndTheLastTheRest) {
    RoutingFixture f;
    fw::SplitterWindow& s = f.frame.splitter;
    const int width = 500;
    ::SetWindowPos(s.hwnd(), nullptr, 0, 0, width, 200, SWP_NOZORDER);
    constexpr int inside = width - 2 * fw::SplitterWindow::kBorder;
    struct Case {
        int ideal, minimum;
        int first, last;
    };
    const Case cases[] = {
        {150, 0, 150, inside - 150 - fw::SplitterWindow::kGap},
        {150, 200, 0, inside - fw::SplitterWindow::kGap},  // below its minimum: hidden
        {-40, 0, 0, inside - fw::SplitterWindow::kGap},    // never negative
        {5000, 0, inside, 0},                              // wider than the splitter
    };
    for (const Case& c : cases) {
        s.SetColumnInfo(0, c.ideal, c.minimum);
        s.RecalcLayout();
        EXPECT_EQ(s.ColumnSize(0), c.first) << c.ideal;
        EXPECT_EQ(s.ColumnSize(1), c.last) << c.ideal;
        EXPECT_GE(s.RowSize(0), 0);
    }
}

TEST(Splitter, OnlyAReleaseThatEndsItsOwnPressMovesTheBar) {
    RoutingFixture f;
    fw::SplitterWindow& s = f.frame.splitter;
    ::SetWindowPos(s.hwnd(), nullptr, 0, 0, 500, 200, SWP_NOZORDER);
    s.SetColumnInfo(0, 150, 0);
    s.RecalcLayout();
    const int bar = fw::SplitterWindow::kBorder + 150 + 2;
    ::SendMessageA(s.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(bar + 40, 50));
    EXPECT_EQ(s.ColumnSize(0), 150);
    ::SendMessageA(s.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 50));  // inside a pane's place, not a bar
    ::SendMessageA(s.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(100, 50));
    EXPECT_EQ(s.ColumnSize(0), 150);
    ::SendMessageA(s.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar, 50));
    EXPECT_TRUE(s.Tracking());
    ::SendMessageA(s.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(bar + 40, 50));
    EXPECT_FALSE(s.Tracking());
    EXPECT_EQ(s.ColumnSize(0), 190);
}

namespace {

// A form on the child page template that notes the commands its controls send.
class TestForm : public fw::FormView {
public:
    TestForm() : FormView(IDD_CHILD_PAGE) {}
    std::vector<int> commands;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND) commands.push_back(LOWORD(wParam));
        return FormView::HandleMessage(msg, wParam, lParam);
    }
};

class FormFrame : public fw::FrameWindow {
public:
    fw::SplitterWindow splitter;

protected:
    int OnCreate(CREATESTRUCTA*) override {
        if (!splitter.CreateStatic(hwnd(), 1, 1, WS_VISIBLE, kFirstPaneId)) return -1;
        SetClientWindow(splitter.hwnd());
        return 0;
    }
    void OnDestroy() override {}
};

}  // namespace

TEST(FormView, IsTheTemplatesDialogAsABorderlessPane) {
    FormFrame frame;
    ASSERT_TRUE(frame.CreateFrame("fwTestFormFrame", 1, "form", WS_OVERLAPPEDWINDOW, RECT{0, 0, 500, 400}));
    auto made = std::make_unique<TestForm>();
    TestForm* form = made.get();
    ASSERT_TRUE(frame.splitter.CreateView(0, 0, std::move(made), SIZE{300, 200}, &frame));
    frame.RecalcLayout();

    HWND wnd = form->hwnd();
    EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(wnd)), fw::SplitterWindow::PaneId(0, 0));
    EXPECT_EQ(::GetParent(wnd), frame.splitter.hwnd());
    EXPECT_TRUE(::GetWindowLongPtrA(wnd, GWL_STYLE) & WS_VISIBLE);
    const RECT outer = form->WindowRect();
    const RECT client = form->ClientRect();
    EXPECT_EQ(client.right, outer.right - outer.left) << "no border";
    EXPECT_EQ(client.bottom, outer.bottom - outer.top);
    EXPECT_FALSE(::GetWindowLongPtrA(wnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    EXPECT_GT(form->FormSize().cx, 0);

    HWND button = form->Item(IDC_PAGE_BUTTON);
    ASSERT_NE(button, nullptr);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(form->commands, std::vector<int>{IDC_PAGE_BUTTON}) << "the view hears its controls";
}

TEST(FormView, ResizesItsFrameToTheFormShrinkingOnlyWhenAsked) {
    FormFrame frame;
    ASSERT_TRUE(frame.CreateFrame("fwTestFormFrame", 1, "form", WS_OVERLAPPEDWINDOW, RECT{0, 0, 700, 600}));
    auto made = std::make_unique<TestForm>();
    TestForm* form = made.get();
    ASSERT_TRUE(frame.splitter.CreateView(0, 0, std::move(made), SIZE{300, 200}, &frame));
    frame.RecalcLayout();
    const SIZE want = form->FormSize();
    ASSERT_LT(want.cx, form->ClientRect().right);

    form->ResizeParentToFit(true);
    EXPECT_EQ(form->ClientRect().right, want.cx);
    EXPECT_EQ(form->ClientRect().bottom, want.cy);

    // Smaller than the form: a shrink-only fit leaves the frame alone.
    const RECT small = frame.WindowRect();
    ::SetWindowPos(frame.hwnd(), nullptr, 0, 0, small.right - small.left - 40, small.bottom - small.top - 30,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame.RecalcLayout();
    const RECT before = frame.WindowRect();
    form->ResizeParentToFit(true);
    const RECT after = frame.WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after));
    form->ResizeParentToFit(false);
    EXPECT_EQ(form->ClientRect().right, want.cx);
}

TEST(FormView, GoesWithItsObject) {
    FormFrame frame;
    ASSERT_TRUE(frame.CreateFrame("fwTestFormFrame", 1, "form", WS_OVERLAPPEDWINDOW, RECT{0, 0, 500, 400}));
    HWND wnd = nullptr;
    {
        TestForm form;
        ASSERT_TRUE(form.CreateView(frame.hwnd(), 7, RECT{0, 0, 200, 100}));
        wnd = form.hwnd();
        EXPECT_TRUE(::IsWindow(wnd));
    }
    EXPECT_FALSE(::IsWindow(wnd));
}
