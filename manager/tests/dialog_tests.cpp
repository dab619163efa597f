// The Options and confirmation dialogs, answered as a user would.
#include "manager_fixture.h"

#include "ConfirmDlg.h"
#include "RegSettings.h"
#include "resource.h"

#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

using mgrtest::Click;
using mgrtest::DialogDriver;
using mgrtest::IsChecked;
using mgrtest::ManagerFixture;

namespace {

bool RunValuePresent() {
    return regtest::ValuePresent(HKEY_LOCAL_MACHINE, mgrtest::kRunKey, "Vessa Manager");
}

struct Boxes {
    bool hide, removeIcon, run;
};

// Opens Options, reads its boxes, runs the user's steps on it.
Boxes OpenOptions(CMainFrame& frame, const std::function<void(HWND)>& steps) {
    Boxes seen{};
    DialogDriver driver("Options", [&](HWND dialog) {
        seen = Boxes{IsChecked(dialog, IDC_HIDE_PROGRAM), IsChecked(dialog, IDC_REMOVE_ICON),
                     IsChecked(dialog, IDC_RUN_AT_STARTUP)};
        steps(dialog);
    });
    ::SendMessageA(frame.hwnd(), WM_COMMAND, ID_OPTIONS, 0);
    driver.Join();
    EXPECT_TRUE(driver.Found());
    return seen;
}

}  // namespace

TEST(StartupOptions, OpensWithTheStoredStatesAndOkStoresThem) {
    ManagerFixture f;
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, "Hide Program", 1);
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, "Hide ToolTray", 1);
    CMainFrame& frame = f.Start("-o ");
    std::string texts[3];
    const Boxes seen = OpenOptions(frame, [&](HWND dialog) {
        texts[0] = testsupport::WindowText(::GetDlgItem(dialog, IDC_RUN_AT_STARTUP));
        texts[1] = testsupport::WindowText(::GetDlgItem(dialog, IDC_HIDE_PROGRAM));
        texts[2] = testsupport::WindowText(::GetDlgItem(dialog, IDC_REMOVE_ICON));
        Click(dialog, IDC_RUN_AT_STARTUP);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(seen.hide);
    EXPECT_TRUE(seen.removeIcon);
    EXPECT_FALSE(seen.run);
    EXPECT_EQ(texts[0], "&Run Vessa Manager when Windows startup");
    EXPECT_EQ(texts[1], "Hide Vessa Manager during the startup\nof this program");
    EXPECT_EQ(texts[2], "Remove &icon in tool tray");
    EXPECT_EQ(mgrtest::OptionValue("Hide Program"), 1u);
    EXPECT_EQ(mgrtest::OptionValue("Hide ToolTray"), 1u);
    EXPECT_EQ(regtest::StoredString(HKEY_LOCAL_MACHINE, mgrtest::kRunKey, "Vessa Manager"),
              CRegSettings(f.dir.Path()).RunAtStartupCommand());
    EXPECT_TRUE(::IsWindow(frame.hwnd())) << "a visible manager without its icon stays";

    // Unticked, the Run value goes.
    OpenOptions(frame, [&](HWND dialog) {
        Click(dialog, IDC_RUN_AT_STARTUP);
        Click(dialog, IDOK);
    });
    EXPECT_FALSE(RunValuePresent());
}

TEST(StartupOptions, CancelChangesNothing) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    OpenOptions(frame, [&](HWND dialog) {
        Click(dialog, IDC_RUN_AT_STARTUP);
        Click(dialog, IDC_HIDE_PROGRAM);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(mgrtest::OptionValue("Hide Program").has_value());
    EXPECT_FALSE(RunValuePresent());
    EXPECT_TRUE(frame.TrayIconShown());
}

TEST(StartupOptions, BothHideAndRemoveIconAreRefusedWithTheBoxJustClickedCleared) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    std::string first, second;
    bool hideKept = false, iconCleared = false, iconKept = false, hideCleared = false;
    OpenOptions(frame, [&](HWND dialog) {
        Click(dialog, IDC_HIDE_PROGRAM);
        first = mgrtest::ClickAnsweringBox(dialog, IDC_REMOVE_ICON);
        hideKept = IsChecked(dialog, IDC_HIDE_PROGRAM);
        iconCleared = !IsChecked(dialog, IDC_REMOVE_ICON);
        Click(dialog, IDC_HIDE_PROGRAM);  // off
        Click(dialog, IDC_REMOVE_ICON);   // on
        second = mgrtest::ClickAnsweringBox(dialog, IDC_HIDE_PROGRAM);
        iconKept = IsChecked(dialog, IDC_REMOVE_ICON);
        hideCleared = !IsChecked(dialog, IDC_HIDE_PROGRAM);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(first, "You cannot have both hide Vessa Manager and remove icon in the tool tray checked");
    EXPECT_EQ(second, "You cannot have both hide Vessa Manager and remove icon in the tool tray checked.");
    EXPECT_TRUE(hideKept);
    EXPECT_TRUE(iconCleared);
    EXPECT_TRUE(iconKept);
    EXPECT_TRUE(hideCleared);
}

TEST(StartupOptions, RemovingTheIconOfAVisibleManagerKeepsItAndTheNextCloseEnds) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    ASSERT_TRUE(frame.TrayIconShown());
    OpenOptions(frame, [&](HWND dialog) {
        Click(dialog, IDC_REMOVE_ICON);
        Click(dialog, IDOK);
    });
    EXPECT_FALSE(frame.TrayIconShown());
    EXPECT_EQ(mgrtest::OptionValue("Hide ToolTray"), 1u);
    HWND wnd = frame.hwnd();
    testsupport::PumpFor(0);
    ASSERT_TRUE(::IsWindow(wnd));
    ::SendMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(wnd));
}

TEST(StartupOptions, RemovingTheIconOfAHiddenManagerEndsIt) {
    ManagerFixture f;
    CMainFrame& frame = f.Start("");
    HWND wnd = frame.hwnd();
    ::SendMessageA(wnd, WM_CLOSE, 0, 0);  // hides: the icon shows
    ASSERT_FALSE(::IsWindowVisible(wnd));
    OpenOptions(frame, [&](HWND dialog) {
        Click(dialog, IDC_REMOVE_ICON);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindow(wnd); }, 20000));
}

TEST(ConfirmDialog, ReportsItsBoxWhateverTheAnswer) {
    mgrtest::DrainQuit();
    struct Case {
        int button;
        bool tick;
        INT_PTR result;
    };
    for (const Case c : {Case{IDOK, false, IDOK}, Case{IDOK, true, IDOK}, Case{IDCANCEL, true, IDCANCEL},
                         Case{IDCANCEL, false, IDCANCEL}}) {
        CConfirmDlg dialog(nullptr, "Delete it?");
        std::string text;
        DialogDriver driver("VessaMgr", [&](HWND box) {
            text = testsupport::WindowText(::GetDlgItem(box, IDC_CONFIRM_TEXT));
            if (c.tick) Click(box, IDC_DONT_SHOW_AGAIN);
            Click(box, c.button);
        });
        EXPECT_EQ(dialog.DoModal(), c.result);
        driver.Join();
        EXPECT_TRUE(driver.Found()) << "captioned with the program's name";
        EXPECT_EQ(text, "Delete it?");
        EXPECT_EQ(dialog.GetDontShowAgain(), c.tick);
    }
}
