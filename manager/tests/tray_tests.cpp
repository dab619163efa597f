// The tray window in-process: its two menus as they would be tracked (their
// texts, ids and states), what a links-popup choice launches, each choice
// acting once, ids outside the popup ignored, a click under a modal dialog,
// and the icon coming back after a shell restart.
#include "link_files.h"
#include "manager_fixture.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "MainFrame.h"
#include "MenuItemData.h"
#include "NimbDoc.h"
#include "TrayWnd.h"

#include "fw/handles.h"

#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"
#include "testsupport/running_program.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>

using mgrtest::ManagerFixture;

namespace {

// One menu item as a user sees it: text (owner-drawn items: their data's), id, state.
struct Item {
    std::string text;
    UINT id = 0;
    bool grayed = false;
    bool popup = false;
    bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Item& i) {
    return out << "{" << i.text << ", " << i.id << (i.grayed ? ", grayed" : "") << (i.popup ? ", popup" : "") << "}";
}

std::vector<Item> Items(HMENU menu) {
    std::vector<Item> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        Item item;
        if (info.fType & MFT_SEPARATOR) {
            item.text = "-";
            items.push_back(item);
            continue;
        } else if (info.fType & MFT_OWNERDRAW) {
            item.text = reinterpret_cast<const CMenuItemData*>(info.dwItemData)->text;
        } else {
            item.text = text;
        }
        item.id = info.hSubMenu ? 0 : info.wID;
        item.grayed = (info.fState & MFS_GRAYED) != 0;
        item.popup = info.hSubMenu != nullptr;
        items.push_back(item);
    }
    return items;
}

// A popup menu of this process on the screen, or null.
HWND VisibleMenuWindow() {
    return testsupport::VisibleWindowOfClass(::GetCurrentProcessId(), "#32768");
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

struct TrayFixture : ManagerFixture {
    CMainFrame* frame = nullptr;
    CTrayWnd* tray = nullptr;

    std::string AddLink(const std::string& folder, const std::string& title) {
        return mgrtest::AddLink(dir, folder, title);
    }
    void StartTray() {
        frame = &Start("");
        tray = frame->TrayWnd();
        ASSERT_TRUE(tray && tray->hwnd());
    }
    void Command(UINT id) const { ::SendMessageA(tray->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    CNimbDoc& Doc() const { return *app->Document(); }
};

TEST(ManagerTray, TheCommandMenuHasItsNineEntriesAndNamesTheFramesVisibility) {
    TrayFixture f;
    ASSERT_NO_FATAL_FAILURE(f.StartTray());
    ::ShowWindow(f.frame->hwnd(), SW_SHOW);
    auto expected = [](const char* toggle) {
        return std::vector<Item>{{"Launch Vessa", 113}, {toggle, 108},        {"-", 0}, {"Options", 32787}, {"-", 0},
                                 {"Online Help", 110},  {"About Vessa", 109}, {"-", 0}, {"Exit", 111}};
    };
    fw::Menu shown = f.tray->BuildCommandMenu();
    ASSERT_TRUE(shown);
    EXPECT_EQ(Items(shown.get()), expected("Hide Vessa Manager"));
    ::ShowWindow(f.frame->hwnd(), SW_HIDE);
    fw::Menu hidden = f.tray->BuildCommandMenu();
    EXPECT_EQ(Items(hidden.get()), expected("Show Vessa Manager"));
}

TEST(ManagerTray, TheLinksPopupCascadesTheFoldersThenTheLinksThenTheGroups) {
    TrayFixture f;
    f.dir.MakeFolder("Links");
    f.dir.MakeFolder("Links\\News");
    f.dir.MakeFolder("Groups");
    const std::string a = f.AddLink("", "A");
    const std::string b = f.AddLink("News", "B");
    f.dir.WriteFile("Groups\\Work.vsg", "");
    f.dir.WriteFile("Groups\\Home.vsg", "");
    ASSERT_NO_FATAL_FAILURE(f.StartTray());

    HMENU menu = f.tray->BuildFolderMenu();
    ASSERT_TRUE(menu);
    // Folder listings come back sorted by name: Home before Work.
    const std::vector<Item> top{{"News", 0, false, true}, {"A", 50002}, {"-", 0}, {"Home", 50003}, {"Work", 50004}};
    EXPECT_EQ(Items(menu), top) << "the placeholder is gone";
    EXPECT_EQ(Items(::GetSubMenu(menu, 0)), (std::vector<Item>{{"B", 50001}}));
    EXPECT_EQ(f.tray->LastLinkId(), 50002);
    const std::vector<std::string> paths{f.dir / ("Links\\News\\" + b), f.dir / ("Links\\" + a),
                                         f.dir / "Groups\\Home.vsg", f.dir / "Groups\\Work.vsg"};
    EXPECT_EQ(f.tray->Paths(), paths);

    // Each click builds afresh from the folders.
    f.AddLink("", "C");
    menu = f.tray->BuildFolderMenu();
    EXPECT_EQ(::GetMenuItemCount(menu), 6);
    EXPECT_EQ(f.tray->LastLinkId(), 50003);
}

TEST(ManagerTray, EmptyLinksAndGroupsGiveOnlyGrayedEmptyItems) {
    TrayFixture f;
    f.dir.MakeFolder("Links");
    f.dir.MakeFolder("Groups");
    ASSERT_NO_FATAL_FAILURE(f.StartTray());
    const std::vector<Item> expected{{"(empty)", 10000, true}, {"-", 0}, {"(empty)", 10000, true}};
    EXPECT_EQ(Items(f.tray->BuildFolderMenu()), expected);
    EXPECT_TRUE(f.tray->Paths().empty());
}

TEST(ManagerTray, CollectTakesLinksBelowLinksAndGroupMembersLastLineFirst) {
    const std::string pf = "C:\\prog";
    struct LinkCase {
        std::string path;
        std::vector<std::string> entry;  // group|name, or none
    };
    const LinkCase links[] = {
        {pf + "\\Links\\0.vsl", {"|0.vsl"}}, {pf + "\\Links\\News\\Daily\\3.vsl", {"News\\Daily|3.vsl"}},
        {pf + "\\Groups\\Work.vsg", {}},     {pf + "\\Links\\..\\x.vsl", {}},
        {"C:\\other\\Links\\0.vsl", {}},     {pf + "\\Links", {}},
    };
    auto texts = [](const CURLEntryList& list) {
        std::vector<std::string> out;
        for (const CURLEntry& e : list) {
            EXPECT_EQ(e.kind, CURLEntry::kLink);
            out.push_back(e.group + "|" + e.name);
        }
        return out;
    };
    for (const LinkCase& c : links) {
        CURLEntryList list;
        CTrayWnd::CollectLink(pf, c.path, &list);
        EXPECT_EQ(texts(list), c.entry) << c.path;
    }

    testsupport::TempProgramFolder dir;
    dir.MakeFolder("Groups");
    dir.WriteFile("Groups\\G.vsg",
                  "Links\\A.vsl\r\nC:\\elsewhere\\x.vsl\r\nLinks\\News\\B.vsl\r\nLinks\\..\\up.vsl\r\nGroups\\G.vsg\r\n"
                  "Links\\C.vsl\r\n");
    CURLEntryList members;
    CTrayWnd::CollectGroupLinks(dir.Path(), dir / "Groups\\G.vsg", &members);
    EXPECT_EQ(texts(members), (std::vector<std::string>{"|C.vsl", "News|B.vsl", "|A.vsl"}));
    CURLEntryList none;
    CTrayWnd::CollectGroupLinks(dir.Path(), dir / "Groups\\Missing.vsg", &none);
    EXPECT_TRUE(none.empty());
}

TEST(ManagerTray, OneDeliveryOfAChoiceActsOnce) {
    TrayFixture f;
    ASSERT_NO_FATAL_FAILURE(f.StartTray());
    ::ShowWindow(f.frame->hwnd(), SW_SHOW);
    f.Command(TrayCommand::kToggleMain);
    EXPECT_FALSE(::IsWindowVisible(f.frame->hwnd()));
    f.Command(TrayCommand::kToggleMain);
    EXPECT_TRUE(::IsWindowVisible(f.frame->hwnd()));
}

// Every browser this process started has ended, so each has logged its start.
// ShellExecute returns once the process exists, so none can come later.
bool StartedBrowsersEnded() {
    fw::Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    if (!snapshot || !::Process32First(snapshot.get(), &entry)) return false;
    do {
        if (entry.th32ParentProcessID == ::GetCurrentProcessId() && _stricmp(entry.szExeFile, "Vessa.exe") == 0)
            return false;
    } while (::Process32Next(snapshot.get(), &entry));
    return true;
}

TEST(ManagerTray, EachCommandReachesItsActionOnce) {
    TrayFixture f;
    ASSERT_NO_FATAL_FAILURE(f.StartTray());
    f.Command(TrayCommand::kLaunchBrowser);
    f.Command(TrayCommand::kHelp);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return f.Launches().size() >= 2 && StartedBrowsersEnded(); }, 30000));
    std::vector<std::string> launched = f.Launches();
    std::sort(launched.begin(), launched.end());  // the browsers log in the order they run
    EXPECT_EQ(launched, (std::vector<std::string>{"", f.dir / "Help\\Guide.htm"}));

    for (auto [id, caption] : {std::pair{TrayCommand::kOptions, "Options"}, {TrayCommand::kAbout, "About Vessa"}}) {
        mgrtest::DialogDriver driver(
            caption, [](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
        f.Command(id);
        driver.Join();
        EXPECT_TRUE(driver.Found()) << caption;
    }
}

TEST(ManagerTray, OnlyIdsOfTheLastPopupLaunchAndAnEmptyGroupSaysSo) {
    TrayFixture f;
    f.dir.MakeFolder("Links");
    f.dir.MakeFolder("Groups");
    f.AddLink("", "A");
    f.dir.WriteFile("Groups\\Empty.vsg", "");
    testsupport::BoxAnswerer boxes;
    ASSERT_NO_FATAL_FAILURE(f.StartTray());
    for (UINT id : {50001u, 50002u, 60000u}) f.Command(id);  // no popup built yet
    f.tray->BuildFolderMenu();
    for (UINT id : {50000u, 50003u, 65535u}) f.Command(id);
    EXPECT_EQ(f.Doc().RunningLaunches(), 0u);
    EXPECT_TRUE(boxes.Boxes().empty());

    f.Command(50002);  // the empty group
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_EQ(boxes.Boxes()[0].caption, "VessaMgr");
    EXPECT_EQ(boxes.Boxes()[0].text, kNoGroupItemText);
    EXPECT_EQ(f.Doc().RunningLaunches(), 0u);

    f.Command(50001);
    EXPECT_EQ(f.Doc().RunningLaunches(), 1u) << "the link launches";
    ASSERT_TRUE(testsupport::PumpUntil([&] { return f.Launches().size() == 1; }, 30000));
    EXPECT_EQ(f.Launches()[0], "-f " + (f.dir / "Links\\0.vsl"));
}

TEST(ManagerTray, AClickUnderAModalDialogBringsItForwardAndOpensNoMenu) {
    TrayFixture f;
    ASSERT_NO_FATAL_FAILURE(f.StartTray());
    HWND tray = f.tray->hwnd();
    bool answered = true;
    HWND menu = nullptr;
    mgrtest::DialogDriver driver("About Vessa", [&](HWND about) {
        for (LPARAM click : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
            DWORD_PTR result = 1;
            // Tracking a menu would hold the call until the menu ends.
            if (!::SendMessageTimeoutA(tray, kTrayNotifyMessage, kTrayIconId, click, SMTO_NORMAL, 10000, &result)) {
                answered = false;
                break;
            }
        }
        menu = VisibleMenuWindow();
        if (menu) ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(about, IDOK)));
    });
    f.Command(TrayCommand::kAbout);
    driver.Join();
    ASSERT_TRUE(driver.Found());
    EXPECT_TRUE(answered) << "the click returned at once";
    EXPECT_EQ(menu, nullptr) << "no menu under the dialog";
}

TEST(ManagerTray, TheIconComesBackWhenTheShellRestarts) {
    TrayFixture f;
    ASSERT_NO_FATAL_FAILURE(f.StartTray());
    HWND tray = f.tray->hwnd();
    ASSERT_TRUE(IconPresent(tray));
    // The restarted shell knows the icon no more.
    NOTIFYICONDATAA nid{};
    nid.cbSize = fw::TrayIcon::RecordSize();
    nid.hWnd = tray;
    nid.uID = kTrayIconId;
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &nid));
    ASSERT_FALSE(IconPresent(tray));
    ::SendMessageA(tray, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(IconPresent(tray));

    // Without the icon shown nothing comes back.
    f.frame->HideTrayIcon();
    ASSERT_FALSE(IconPresent(tray));
    ::SendMessageA(tray, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_FALSE(IconPresent(tray));
}

}  // namespace
