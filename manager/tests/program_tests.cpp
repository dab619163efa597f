// The real VessaMgr.exe started from a temporary program folder with an exact
// command line: one instance, the hidden start, close to the tray, the log.
#include "running_manager.h"

#include <gtest/gtest.h>

#include <memory>

using namespace mgrtest;

TEST(ManagerProgram, StartsOneVisibleWindowWithAnEmptyLog) {
    ProgramFixture f;
    f.dir.WriteFile("Err.log", "ErrID: 61     FuncName: earlier run\r\n");
    RunningManager manager(f.dir, "");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(wnd) != FALSE; }));
    EXPECT_EQ(ManagerWindows().size(), 1u);
    EXPECT_EQ(f.dir.ReadFile("Err.log"), "");
}

TEST(ManagerProgram, ASecondStartEndsAndShowsAHiddenFirstOne) {
    ProgramFixture f;
    RunningManager first(f.dir, "");
    HWND wnd = first.WaitForWindow();
    ASSERT_TRUE(wnd);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(wnd) != FALSE; }));
    ::SendMessageA(wnd, WM_CLOSE, 0, 0);
    ASSERT_FALSE(::IsWindowVisible(wnd)) << "closed with the icon shown: hidden";
    ASSERT_FALSE(first.Ended(0));

    RunningManager second(f.dir, "");
    EXPECT_TRUE(second.Ended(30000));
    EXPECT_EQ(second.ExitCode(), 0);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    EXPECT_EQ(ManagerWindows().size(), 1u);
}

TEST(ManagerProgram, TwoStartsAtOnceMakeOneManager) {
    ProgramFixture f;
    RunningManager a(f.dir, "");
    RunningManager b(f.dir, "");
    ASSERT_TRUE(WaitUntil([&] { return a.Ended(0) || b.Ended(0); }, 30000));
    RunningManager& running = a.Ended(0) ? b : a;
    EXPECT_TRUE(running.WaitForWindow());
    EXPECT_EQ(ManagerWindows().size(), 1u);
}

TEST(ManagerProgram, HideProgramKeepsOnlyASwitchlessStartHidden) {
    ProgramFixture f;
    SetOption("Hide Program", 1);
    struct Case {
        std::string arguments;
        bool visible;
    };
    const std::string link = f.dir / "Links\\1.vsl";
    for (const Case& c : {Case{"", false}, Case{"-o ", true}, Case{"\"-s " + link + "\"", true}, Case{"-o", false}}) {
        RunningManager manager(f.dir, c.arguments);
        HWND wnd = manager.WaitForWindow();
        ASSERT_TRUE(wnd) << c.arguments;
        // The window is shown or left hidden before the program first waits for input.
        ASSERT_EQ(manager.WaitForIdle(), 0u) << c.arguments;
        EXPECT_EQ(::IsWindowVisible(wnd) != FALSE, c.visible) << c.arguments;
    }
}

TEST(ManagerProgram, WithoutItsIconTheManagerNeverStartsHidden) {
    ProgramFixture f;
    SetOption("Hide Program", 1);
    SetOption("Hide ToolTray", 1);
    RunningManager manager(f.dir, "");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(wnd) != FALSE; }));
    // And its close really ends it.
    ::PostMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(manager.Ended(20000));
    EXPECT_TRUE(regtest::KeyExists(HKEY_LOCAL_MACHINE, mgrtest::kRectKey));
}

TEST(ManagerProgram, ARegistrationOnlyStartShowsNothingAndKeepsTheLog) {
    ProgramFixture f;
    f.dir.WriteFile("Err.log", "ErrID: 61     FuncName: earlier run\r\n");
    RunningManager manager(f.dir, "-Embedding");
    EXPECT_TRUE(manager.Ended(30000));
    EXPECT_TRUE(ManagerWindows().empty());
    EXPECT_EQ(f.dir.ReadFile("Err.log"), "ErrID: 61     FuncName: earlier run\r\n");
}
