// The desktop pane in the real manager: miniatures where the links' browsers
// open, the rectangle pane, groups fixed in place, and what is written back.
#include "desktop_test_util.h"

#include "ErrorCodes.h"
#include "MainFrame.h"
#include "resource.h"

#include "testsupport/pump.h"

#include <gtest/gtest.h>

using desktoptest::DesktopFixture;

namespace {

::testing::AssertionResult Same(const RECT& got, const RECT& want) {
    if (::EqualRect(&got, &want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.left << ", " << got.top << ", " << got.right << ", "
                                         << got.bottom << "), want (" << want.left << ", " << want.top << ", "
                                         << want.right << ", " << want.bottom << ")";
}

}  // namespace

TEST(DesktopView, IsTheBorderlessFormWithTheScreenPicture) {
    DesktopFixture f;
    f.StartManager();
    HWND view = f.view->hwnd();
    EXPECT_EQ(::GetParent(view), f.frame->InnerSplitter().hwnd());
    HWND picture = f.view->Item(IDC_DESKTOP_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(picture));
    RECT rc{};
    ::GetWindowRect(picture, &rc);
    EXPECT_EQ(rc.right - rc.left, 420);
    EXPECT_EQ(rc.bottom - rc.top, 320);
    const RECT outer = f.view->WindowRect();
    EXPECT_EQ(f.view->ClientRect().right, outer.right - outer.left) << "no border";
    float sx = 0, sy = 0;
    f.view->GetScale(&sx, &sy);
    EXPECT_EQ(sx, 2.4380953f) << "the tests run on 1024 x 768";
    EXPECT_EQ(sy, 2.4000001f);
}

TEST(DesktopView, ALinkWithoutARectangleOpensAtTheDefaultPlaceAndKeepsItsFile) {
    DesktopFixture f;
    const std::string name = f.AddLink("Alpha", URLRect{});
    f.AddLink("Beta", URLRect{100, 100, 500, 400});
    const std::string before = f.LinkFile("", name);
    f.StartManager();

    f.SelectLink("Alpha");
    ASSERT_EQ(f.view->Browsers().size(), 1u);
    const CMiniBrowserWnd& mini = *f.view->Browsers().front();
    EXPECT_TRUE(::IsWindowVisible(mini.hwnd()));
    EXPECT_TRUE(Same(f.ModelRect(mini), RECT{41, 31, 293, 223})) << "252 x 192 at (41, 31)";
    EXPECT_EQ(mini.GetText(), "Vessa Browser");
    EXPECT_TRUE(f.WaitForPane("L=99, T=74, R=714, B=535")) << f.PaneText();

    f.SelectLink("Beta");
    EXPECT_EQ(f.LinkFile("", name), before) << "selected and left untouched";
}

TEST(DesktopView, AStoredRectangleIsDrawnScaledAndWrittenBackUnchanged) {
    DesktopFixture f;
    const std::string name = f.AddLink("Placed", URLRect{100, 100, 500, 400});
    f.AddLink("Other", URLRect{});
    const std::string before = f.LinkFile("", name);
    f.StartManager();
    f.SelectLink("Placed");
    ASSERT_EQ(f.view->Browsers().size(), 1u);
    EXPECT_TRUE(Same(f.ModelRect(*f.view->Browsers().front()), RECT{41, 41, 205, 166}));
    f.SelectLink("Other");
    EXPECT_EQ(f.LinkFile("", name), before);
}

TEST(DesktopView, AnInvertedRectangleIsPlacedByDefaultAndKeptWhenUntouched) {
    DesktopFixture f;
    const std::string name = f.AddLink("Inverted", URLRect{500, 400, 100, 100});
    f.AddLink("Other", URLRect{});
    const std::string before = f.LinkFile("", name);
    f.StartManager();
    f.SelectLink("Inverted");
    ASSERT_EQ(f.view->Browsers().size(), 1u);
    EXPECT_TRUE(Same(f.ModelRect(*f.view->Browsers().front()), RECT{41, 31, 293, 223}));
    f.SelectLink("Other");
    EXPECT_EQ(f.LinkFile("", name), before);
}

TEST(DesktopView, AGroupShowsDisabledMiniaturesNoRectangleAndWritesNothing) {
    DesktopFixture f;
    f.dir.MakeFolder("Links\\Work");
    const std::string a = f.AddLink("One", URLRect{}, "Work");
    const std::string b = f.AddLink("Two", URLRect{100, 100, 500, 400}, "Work");
    const std::string c = f.AddLink("Three", URLRect{200, 150, 700, 600}, "Work");
    f.dir.WriteFile("Groups\\Trio.vsg",
                    "Links\\Work\\" + a + "\r\nLinks\\Work\\" + b + "\r\nLinks\\Work\\" + c + "\r\n");
    const std::string before[] = {f.LinkFile("Work", a), f.LinkFile("Work", b), f.LinkFile("Work", c)};
    f.StartManager();

    f.SelectLink("One", "Work");
    ASSERT_TRUE(f.WaitForPane("L=99, T=74, R=714, B=535"));
    f.SelectGroup("Trio");
    ASSERT_EQ(f.view->Browsers().size(), 3u);
    EXPECT_FALSE(f.view->ShowsRect());
    EXPECT_TRUE(testsupport::PumpUntil(
        [&] {
            for (const auto& mini : f.view->Browsers())
                if (::IsWindowEnabled(mini->hwnd())) return false;
            return true;
        },
        10000))
        << "the members cannot be moved";
    EXPECT_EQ(f.PaneText(), "");

    f.SelectLink("Two", "Work");
    EXPECT_EQ(f.LinkFile("Work", a), before[0]);
    EXPECT_EQ(f.LinkFile("Work", b), before[1]);
    EXPECT_EQ(f.LinkFile("Work", c), before[2]);
}

TEST(DesktopView, SavingAGroupWithMembersInTwoFoldersFails) {
    DesktopFixture f;
    f.dir.MakeFolder("Links\\Home");
    const std::string a = f.AddLink("Here", URLRect{});
    const std::string b = f.AddLink("There", URLRect{}, "Home");
    f.StartManager();
    const CURLEntryList selection{CURLEntry("", a), CURLEntry("Home", b)};
    for (const CURLEntry& entry : selection) ASSERT_EQ(f.view->ShowBrowser(&entry, 1, 0), kErrNone);
    std::vector<CURLObject> records(2);
    records[0].link.windowRect = URLRect{1, 2, 3, 4};
    EXPECT_EQ(f.view->SaveWindowRects(selection, records), kErrFindChildWindow);
    EXPECT_EQ(records[0].link.windowRect, (URLRect{1, 2, 3, 4})) << "nothing reached is changed";
}

TEST(DesktopView, ALinkWithoutAMiniatureKeepsItsRectangle) {
    DesktopFixture f;
    const std::string shown = f.AddLink("Shown", URLRect{100, 100, 500, 400});
    f.StartManager();
    const CURLEntry entry("", shown);
    ASSERT_EQ(f.view->ShowBrowser(&entry, 1, 1), kErrNone);
    // A second entry whose file could not be read has no miniature.
    const CURLEntryList selection{entry, CURLEntry("", "999.vsl")};
    std::vector<CURLObject> records(2);
    records[1].link.windowRect = URLRect{10, 20, 30, 40};
    EXPECT_EQ(f.view->SaveWindowRects(selection, records), kErrNone);
    EXPECT_EQ(records[0].link.windowRect, (URLRect{100, 100, 500, 400}));
    EXPECT_EQ(records[1].link.windowRect, (URLRect{10, 20, 30, 40}));
}

TEST(DesktopView, AnUnreadableLinkMakesNoMiniature) {
    DesktopFixture f;
    f.StartManager();
    const CURLEntry missing("", "404.vsl");
    EXPECT_NE(f.view->ShowBrowser(&missing, 1, 1), kErrNone);
    EXPECT_TRUE(f.view->Browsers().empty());
}

TEST(DesktopView, ANewSelectionClearsTheMiniaturesAndThePane) {
    DesktopFixture f;
    f.AddLink("Alpha", URLRect{});
    f.StartManager();
    f.SelectLink("Alpha");
    ASSERT_TRUE(f.WaitForPane("L=99, T=74, R=714, B=535"));
    HWND old = f.view->Browsers().front()->hwnd();
    f.SelectLinksRoot();
    EXPECT_TRUE(f.view->Browsers().empty());
    EXPECT_FALSE(::IsWindow(old));
    EXPECT_EQ(f.PaneText(), "");
}

TEST(DesktopView, LaunchFromThePaneFollowsTheTreesRule) {
    DesktopFixture f;
    f.AddLink("Alpha", URLRect{});
    f.StartManager();
    f.SelectLink("Alpha");
    f.frame->SetActiveView(f.view);
    for (UINT id : {static_cast<UINT>(ID_LAUNCH), static_cast<UINT>(ID_LAUNCH_BUTTON)}) {
        fw::CommandUI ui(id);
        EXPECT_TRUE(f.view->UpdateCommand(ui));
        EXPECT_TRUE(ui.Enabled()) << id;
    }
    EXPECT_TRUE(f.frame->RouteCommand(ID_LAUNCH));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return f.Launches().size() == 1; }, 30000));

    // The Links folder launches nothing: the pane claims the command and keeps it off.
    f.SelectLinksRoot();
    f.frame->SetActiveView(f.view);
    fw::CommandUI ui(ID_LAUNCH);
    EXPECT_TRUE(f.view->UpdateCommand(ui));
    EXPECT_FALSE(ui.Enabled());
    EXPECT_FALSE(f.frame->RouteCommand(ID_LAUNCH));
}
