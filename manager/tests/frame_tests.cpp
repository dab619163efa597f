// The main frame in-process: geometry on a fresh registry, the bars, the
// size rules, the splitter drag, the toolbar size, close and real exit.
#include "manager_fixture.h"

#include "MainFrame.h"
#include "NimbApp.h"
#include "resource.h"

#include "fw/message_loop.h"
#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

#include <shellapi.h>

using mgrtest::ManagerFixture;

namespace {

int Width(HWND wnd) {
    RECT rc{};
    ::GetWindowRect(wnd, &rc);
    return rc.right - rc.left;
}

std::vector<UINT> Commands(const fw::ToolBar& bar) {
    std::vector<UINT> ids;
    for (int i = 0; i < bar.ButtonCount(); ++i) ids.push_back(bar.CommandAt(i));
    return ids;
}

// Whether the system still holds the tray window's icon.
bool IconPresent(HWND tray) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = fw::TrayIcon::RecordSize();
    nid.hWnd = tray;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_TIP;
    return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

}  // namespace

TEST(ManagerFrame, FreshRegistryOpensAtTheDefaultPlaceWithTheLargeBar) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    EXPECT_EQ(testsupport::WindowText(frame.hwnd()), "Vessa Manager");
    EXPECT_TRUE(::IsWindowVisible(frame.hwnd()));
    const RECT rc = frame.WindowRect();
    EXPECT_EQ(rc.left, 5);
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.right - rc.left, 790);
    EXPECT_EQ(rc.bottom - rc.top, 570);
    EXPECT_EQ(frame.OuterSplitter().ColumnSize(0), 351);
    EXPECT_EQ(Width(frame.OuterSplitter().Pane(0, 0)), 351);
    EXPECT_EQ(frame.InnerSplitter().RowSize(0), 320);

    EXPECT_FALSE(frame.ReBar().BandVisible(0));
    EXPECT_TRUE(frame.ReBar().BandVisible(1));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, mgrtest::kAppSettingsKey, "ToolBar Size"), 1u)
        << "a failed read stores the large bar";
    const std::vector<UINT> expected{ID_ADD_LINK,  ID_ADD_FOLDER, ID_LAUNCH_BUTTON, ID_EDIT_CUT,
                                     ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DELETE,   ID_HELP_GUIDE};
    EXPECT_EQ(Commands(frame.SmallToolBar()), expected);
    EXPECT_EQ(Commands(frame.LargeToolBar()), expected);
    EXPECT_EQ(frame.SmallToolBar().ButtonSize().cx, 30);
    const int large = frame.LargeToolBar().ButtonSize().cx;
    EXPECT_GE(large, 60);
    EXPECT_LE(large, 80);

    EXPECT_EQ(::SendMessageA(frame.StatusBar().hwnd(), SB_GETPARTS, 0, 0), 5);
    const int rectText = frame.StatusBar().TextWidth("L=9999, T=9999, R=9999, B=9999");
    EXPECT_NEAR(frame.StatusBar().PaneWidth(1), rectText, 4);
    frame.ShowRectInStatusBar(RECT{1, 2, 3, 4});
    EXPECT_EQ(frame.StatusBar().Text(1), "L=1, T=2, R=3, B=4");
    frame.ClearRectInStatusBar();
    EXPECT_EQ(frame.StatusBar().Text(1), "");
}

TEST(ManagerFrame, AResizeKeepsTheRightColumnAndTheDesktopRow) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    for (SIZE size : {SIZE{900, 650}, SIZE{700, 500}, SIZE{1000, 740}}) {
        ::SetWindowPos(frame.hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(frame.OuterSplitter().ColumnSize(1), 420) << size.cx;
        EXPECT_EQ(Width(frame.OuterSplitter().Pane(0, 1)), 420) << size.cx;
        EXPECT_EQ(frame.InnerSplitter().RowSize(0), 320) << size.cy;
        EXPECT_GT(frame.OuterSplitter().ColumnSize(0), 0);
    }
    // A proposed rectangle while the user drags a border.
    RECT proposed{0, 0, 839, 600};
    ::SendMessageA(frame.hwnd(), WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(frame.OuterSplitter().ColumnIdeal(0), 839 - 439);
}

TEST(ManagerFrame, AStoredRectangleIsUsedAndADegenerateOneGivesTheDefault) {
    struct Case {
        RECT stored;
        RECT expected;
    };
    const Case cases[] = {
        {{40, 30, 940, 680}, {40, 30, 940, 680}},
        {{40, 30, 40, 680}, {5, 0, 795, 570}},    // empty
        {{300, 30, 100, 680}, {5, 0, 795, 570}},  // inverted
    };
    for (const Case& c : cases) {
        ManagerFixture f;
        for (auto [name, value] :
             {std::pair{"Program Left", c.stored.left}, std::pair{"Program Top", c.stored.top},
              std::pair{"Program Right", c.stored.right}, std::pair{"Program Bottom", c.stored.bottom}})
            regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kRectKey, name, static_cast<DWORD>(value));
        CMainFrame& frame = f.Start("");
        const RECT rc = frame.WindowRect();
        EXPECT_TRUE(::EqualRect(&rc, &c.expected)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        EXPECT_GE(frame.OuterSplitter().ColumnIdeal(0), 0);
    }
}

TEST(ManagerFrame, DraggingTheTreeBorderWidensTheWindowOnlyOnItsOwnPress) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    HWND splitter = frame.OuterSplitter().hwnd();
    const int before = Width(frame.hwnd());
    const int barX = fw::SplitterWindow::kBorder + frame.OuterSplitter().ColumnSize(0) + 3;

    // A release with no press on the bar: nothing moves.
    ::SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(barX + 50, 100));
    EXPECT_EQ(Width(frame.hwnd()), before);

    ::SendMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barX, 100));
    ::SendMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(barX + 50, 100));
    EXPECT_EQ(Width(frame.hwnd()), before + 50);
    EXPECT_EQ(frame.OuterSplitter().ColumnSize(1), 420);
}

TEST(ManagerFrame, SmallAndLargeCommandsSwitchTheBandAndStoreTheSize) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    auto checked = [&](UINT id) {
        fw::CommandUI ui(id);
        EXPECT_TRUE(frame.RouteUpdate(ui));
        return ui.Checked();
    };
    EXPECT_TRUE(checked(ID_TOOLBAR_LARGE));
    EXPECT_FALSE(checked(ID_TOOLBAR_SMALL));
    ::SendMessageA(frame.hwnd(), WM_COMMAND, ID_TOOLBAR_SMALL, 0);
    EXPECT_TRUE(frame.ReBar().BandVisible(0));
    EXPECT_FALSE(frame.ReBar().BandVisible(1));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, mgrtest::kAppSettingsKey, "ToolBar Size"), 0u);
    EXPECT_TRUE(checked(ID_TOOLBAR_SMALL));
    ::SendMessageA(frame.hwnd(), WM_COMMAND, ID_TOOLBAR_LARGE, 0);
    EXPECT_TRUE(frame.ReBar().BandVisible(1));
    EXPECT_FALSE(frame.ReBar().BandVisible(0));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, mgrtest::kAppSettingsKey, "ToolBar Size"), 1u);
}

TEST(ManagerFrame, CommandsWithoutAHandlerNeverRunAndAreGreyed) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    for (UINT id : {ID_LAUNCH, ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_EDIT_UNDO}) {
        fw::CommandUI ui(id);
        EXPECT_FALSE(frame.RouteUpdate(ui) && ui.Enabled()) << id;
        EXPECT_FALSE(frame.RouteCommand(id)) << id;
    }
    frame.OnIdle();
    EXPECT_FALSE(frame.LargeToolBar().IsEnabled(ID_ADD_LINK));
    EXPECT_TRUE(frame.LargeToolBar().IsEnabled(ID_HELP_GUIDE));
    EXPECT_EQ(frame.StatusBar().Text(0), "Ready");
}

TEST(ManagerFrame, CloseOnlyHidesWhileTheIconShows) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    ASSERT_TRUE(frame.TrayIconShown());
    EXPECT_TRUE(IconPresent(frame.TrayWnd()->hwnd()));
    EXPECT_NE(testsupport::WindowText(frame.TrayWnd()->hwnd()), "Vessa Manager");
    ::SendMessageA(frame.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(frame.hwnd()));
    EXPECT_FALSE(::IsWindowVisible(frame.hwnd()));
    ::SendMessageA(frame.hwnd(), WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(::IsWindow(frame.hwnd())) << "File Exit is a close too";
    EXPECT_FALSE(regtest::KeyExists(HKEY_LOCAL_MACHINE, mgrtest::kRectKey));
}

TEST(ManagerFrame, WithHideToolTrayTheCloseEndsAndStoresTheRectangle) {
    ManagerFixture f;
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, "Hide ToolTray", 1);
    CMainFrame& frame = f.Start("");
    EXPECT_FALSE(frame.TrayIconShown());
    ::SetWindowPos(frame.hwnd(), nullptr, 20, 10, 800, 600, SWP_NOZORDER);
    HWND wnd = frame.hwnd();
    ::SendMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, mgrtest::kRectKey, "Program Left"), 20u);
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, mgrtest::kRectKey, "Program Right"), 820u);
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, mgrtest::kRectKey, "Program Bottom"), 610u);
}

TEST(ManagerFrame, TheExitTimerWaitsOutAModalDialogThenRemovesTheIcon) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    HWND wnd = frame.hwnd();
    HWND tray = frame.TrayWnd()->hwnd();
    bool aliveUnderTheBox = false;
    mgrtest::DialogDriver driver("About Vessa", [&](HWND about) {
        // A tick of timer 50 while the About box is up.
        ::SendMessageA(wnd, WM_TIMER, kExitTimer, 0);
        aliveUnderTheBox = ::IsWindow(wnd) && ::IsWindow(about);
        mgrtest::Click(about, IDOK);
    });
    frame.StartExit();
    ::SendMessageA(wnd, WM_COMMAND, ID_APP_ABOUT, 0);
    driver.Join();
    EXPECT_TRUE(driver.Found());
    EXPECT_TRUE(aliveUnderTheBox);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindow(wnd); }, 20000)) << "the exit follows the box";
    EXPECT_FALSE(IconPresent(tray));
    EXPECT_TRUE(regtest::KeyExists(HKEY_LOCAL_MACHINE, mgrtest::kRectKey)) << "the real exit stores the rectangle";
}

TEST(ManagerFrame, AQuitBeforeTheFrameIsDestroyedStillRemovesTheIcon) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    HWND tray = frame.TrayWnd()->hwnd();
    ASSERT_TRUE(IconPresent(tray));
    ::PostQuitMessage(0);
    f.app->Run();
    EXPECT_EQ(f.app->MainFrame(), nullptr);
    EXPECT_FALSE(IconPresent(tray));
}

TEST(ManagerFrame, TheFirstRunWritesTheQuickStartPageOnce) {
    ManagerFixture f;
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, "First Run", 1);
    f.Start("");
    EXPECT_EQ(f.dir.ReadFile("qstlauncher.htm"),
              "<HTML><HEAD></HEAD><SCRIPT LANGUAGE=\"JavaScript\">\r\n"
              "function doInit(){window.open(\"help\\\\quickst.html\",\"HelpQuickStartGuide\","
              "\"menubar=0,toolbar=1,location=0,directories=0,scrollbars=1,resizable=1,status=0,"
              "left=120,top=150,,width=665,height=360\");}\r\n"
              "</SCRIPT><BODY onload=\"doInit()\"></BODY></HTML>");
    EXPECT_EQ(mgrtest::OptionValue("First Run"), 0u);
    f.Restart("");
    ::DeleteFileA((f.dir / "qstlauncher.htm").c_str());
    f.Restart("");
    EXPECT_FALSE(f.dir.Exists("qstlauncher.htm")) << "the next start finds the flag cleared";
}

TEST(ManagerFrame, HelpStartsTheBrowserWithTheGuideAndSaysWhenItIsMissing) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    ::SendMessageA(frame.hwnd(), WM_COMMAND, ID_HELP_GUIDE, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return f.Launches().size() >= 1; }, 20000));
    ::SendMessageA(frame.hwnd(), WM_COMMAND, ID_QUICK_START, 0);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return f.Launches().size() >= 2; }, 20000));
    const auto lines = f.Launches();
    EXPECT_EQ(lines[0], f.dir / "Help\\Guide.htm");
    EXPECT_EQ(lines[1], f.dir / "Help\\Quickst.htm");

    // The stand-in may still be ending: its file goes once it has.
    ASSERT_TRUE(testsupport::PumpUntil([&] { return ::DeleteFileA((f.dir / "Vessa.exe").c_str()) != FALSE; }, 20000));
    testsupport::BoxAnswerer answerer;
    answerer.Plan(IDOK);
    ::SendMessageA(frame.hwnd(), WM_COMMAND, ID_HELP_GUIDE, 0);
    ASSERT_TRUE(answerer.WaitForBoxes(1));
    EXPECT_EQ(answerer.Boxes()[0].caption, "VessaMgr");
    EXPECT_EQ(answerer.Boxes()[0].text,
              "Failed to open Vessa.exe. Please ensure that Vessa.exe is located in the same directory as this "
              "Vessa Manager program");
}

TEST(ManagerFrame, TheTrayIconRecordHasTheFirstLayoutForThisPointerWidth) {
    EXPECT_EQ(fw::TrayIcon::RecordSize(), static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(fw::TrayIcon::RecordSize(),
              sizeof(void*) == 4 ? 88u : static_cast<DWORD>(offsetof(NOTIFYICONDATAA, szTip) + 64));
}
