// Miniatures moved with real mouse input (the system's move loop), and what
// the link stores afterwards.
#include "desktop_test_util.h"

#include <gtest/gtest.h>

using desktoptest::DesktopFixture;

TEST(DesktopDrag, ADraggedMiniatureStoresItsNewScreenRectangle) {
    DesktopFixture f;
    const std::string name = f.AddLink("Alpha", URLRect{});
    f.AddLink("Beta", URLRect{});
    f.StartManager();
    f.SelectLink("Alpha");
    ASSERT_TRUE(f.WaitForPane("L=99, T=74, R=714, B=535"));
    HWND mini = f.view->Browsers().front()->hwnd();

    ASSERT_TRUE(desktoptest::DragWithMouse(desktoptest::CentreOf(mini), 20, 10));
    EXPECT_TRUE(f.view->Browsers().front()->Moved());
    EXPECT_TRUE(f.WaitForPane("L=148, T=98, R=763, B=559")) << f.PaneText();
    f.SelectLink("Beta");
    EXPECT_EQ(f.Load("", name)->link.windowRect, (URLRect{148, 98, 763, 559}));
}

TEST(DesktopDrag, PastTheLeftEdgeTheScreensEdgeIsStoredWithTheFullWidth) {
    DesktopFixture f;
    const std::string name = f.AddLink("Alpha", URLRect{});
    f.AddLink("Beta", URLRect{});
    f.StartManager();
    f.SelectLink("Alpha");
    HWND mini = f.view->Browsers().front()->hwnd();
    // From model left 41 to 5 past the view's left edge.
    ASSERT_TRUE(desktoptest::DragWithMouse(desktoptest::CentreOf(mini), -46, 0));
    ASSERT_EQ(f.ModelRect(*f.view->Browsers().front()).left, -5);
    f.SelectLink("Beta");
    EXPECT_EQ(f.Load("", name)->link.windowRect, (URLRect{0, 74, 614, 535}));
}

TEST(DesktopDrag, AClickWithoutAMoveChangesNothing) {
    DesktopFixture f;
    const std::string name = f.AddLink("Alpha", URLRect{});
    f.AddLink("Beta", URLRect{});
    const std::string before = f.LinkFile("", name);
    f.StartManager();
    f.SelectLink("Alpha");
    HWND mini = f.view->Browsers().front()->hwnd();
    ASSERT_TRUE(desktoptest::ClickWithMouse(desktoptest::CentreOf(mini)));
    EXPECT_FALSE(f.view->Browsers().front()->Moved());
    EXPECT_EQ(f.frame->ActiveView(), f.view) << "a press makes the pane the active view";
    f.SelectLink("Beta");
    EXPECT_EQ(f.LinkFile("", name), before) << "a click must not store the shown rectangle";
}
