// The favorites popup of the real browser under Wine, driven from outside:
// the FAVORITES button's command opens the popup, posted keys choose an item.
// The browser runs as Browser.exe so that the launcher finds the stand-in
// browser as Vessa.exe beside it; the stand-in manager is VessaMgr.exe, or the
// real one where a test drives it.
#include "browser_test_util.h"
#include "page_test_util.h"

#include "resource.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "NimbDocDriver.h"
#include "real_manager.h"
#include "remote_tree.h"

#include "fw/com.h"
#include "fw/com_object.h"
#include "fw/com_registration.h"

#include "testsupport/box_answerer.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/running_program.h"
#include "testsupport/stand_in_manager.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pagetest {
namespace {

using testsupport::TempProgramFolder;

using testsupport::TextOf;
using testsupport::VisibleWindowOfClass;

std::vector<std::string> Lines(const TempProgramFolder& dir, const char* file) {
    if (!dir.Exists(file)) return {};
    std::vector<std::string> lines;
    const std::string text = dir.ReadFile(file);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// The launches.log field of arguments: tick|arguments|...
std::string ArgumentsOf(const std::string& logLine) {
    const size_t first = logLine.find('|');
    const size_t second = logLine.find('|', first + 1);
    return logLine.substr(first + 1, second - first - 1);
}

void WriteLink(const TempProgramFolder& dir, const CURLEntry& entry, const std::string& title,
               const std::string& address, int separate) {
    CURLObject record;
    record.link.title = title;
    record.link.address = address;
    record.options.separateBrowser = separate;
    if (!entry.group.empty()) dir.MakeFolder("Links\\" + entry.group);
    ASSERT_EQ(CLinkStore(dir.Path()).SaveURLObject(entry, record), kErrNone);
}

// The browser runs as Browser.exe.
class Favorites : public ::testing::Test, protected browsertest::BrowserFolder {
protected:
    Favorites() : BrowserFolder("Browser.exe") {}
    LoopbackServer server{"<html><body>page</body></html>"};
    std::unique_ptr<browsertest::BrowserProgram> browser;
    std::unique_ptr<testsupport::BoxAnswerer> boxes;
    HWND window = nullptr;

    void SetUp() override {
        ASSERT_TRUE(server.Listening());
        dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
        dir.CopyProgramAs("StandInManager.exe", "VessaMgr.exe");
        dir.MakeFolder("Links");
        dir.MakeFolder("Groups");
        dir.MakeFolder("Templates");
    }

    void Start() {
        browser = std::make_unique<browsertest::BrowserProgram>(dir, server.Url("/start"), "Browser.exe");
        ASSERT_TRUE(browser->started());
        boxes = std::make_unique<testsupport::BoxAnswerer>(browser->id());
        ASSERT_TRUE(window = browser->WaitForWindow(20000));
        ASSERT_TRUE(server.WaitForRequests(1, 20000)) << "the start page";
    }

    void TearDown() override {
        if (window) {
            ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_CLOSE)));
            EXPECT_TRUE(browser->WaitForExit(20000));
        }
    }

    // Opens the popup with the FAVORITES button and posts the keys: downs
    // times Down, Right when asked, then Enter.
    void Choose(int downs, bool right = false) {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_FAVORITES, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_FAVORITES)));
        HWND popup = nullptr;
        ASSERT_TRUE(
            PumpUntil([&] { return (popup = VisibleWindowOfClass(browser->id(), "#32768")) != nullptr; }, 10000));
        // The menu's loop reads the keys of its thread's queue.
        for (int i = 0; i < downs; ++i) ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        if (right) ::PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0);
        ::PostMessageA(popup, WM_CHAR, '\r', 0);
        ASSERT_TRUE(PumpUntil([&] { return VisibleWindowOfClass(browser->id(), "#32768") == nullptr; }, 10000));
    }
};

TEST_F(Favorites, KeysReachEveryItemOfThePopup) {
    // Popup: Open Vessa Manager, Add Favorite, ---, [News] {B}, A, ---, Home, Work.
    WriteLink(dir, CURLEntry("", "0.vsl"), "A", server.Url("/a"), 0);
    WriteLink(dir, CURLEntry("News", "0.vsl"), "B", server.Url("/b"), 1);
    // Only the member line names a link; the others would leave Links.
    dir.WriteFile("Groups\\Home.vsg",
                  "Links\\News\\0.vsl\r\n\r\n..\\Links\\0.vsl\r\nC:\\evil.vsl\r\n\\Links\\0.vsl\r\n"
                  "Links\\..\\..\\evil.vsl\r\nTemplates\\Default.vst\r\n");
    dir.WriteFile("Groups\\Work.vsg", "");
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string b = dir / "Links\\News\\0.vsl";

    Choose(1);  // Open Vessa Manager: no manager runs, so it starts
    ASSERT_TRUE(PumpUntil([&] { return Lines(dir, "manager.log").size() == 1; }, 10000));
    EXPECT_EQ(Lines(dir, "manager.log")[0], "-o ");

    Choose(4);  // A, separate flag 0: this window shows it
    ASSERT_TRUE(server.WaitForRequests(2, 10000));
    EXPECT_EQ(server.Requests()[1].line.substr(0, 7), "GET /a ");

    Choose(6);  // Work: an empty group
    ASSERT_TRUE(boxes->WaitForBoxes(1));
    EXPECT_EQ(boxes->Boxes()[0].text, "There is no group item to launch");
    EXPECT_TRUE(Lines(dir, "launches.log").empty()) << "the link shown here started no browser";

    Choose(3, true);  // News > B, separate flag 1: a browser of its own
    ASSERT_TRUE(PumpUntil([&] { return Lines(dir, "launches.log").size() == 1; }, 20000));
    EXPECT_EQ(ArgumentsOf(Lines(dir, "launches.log")[0]), "-f " + b);

    Choose(5);  // Home: one browser per member line
    ASSERT_TRUE(PumpUntil([&] { return Lines(dir, "launches.log").size() == 2; }, 30000));
    EXPECT_EQ(ArgumentsOf(Lines(dir, "launches.log")[1]), "-f " + b);
    // Later choices through the same window: a page or a box the group had
    // caused would have come before theirs.
    Choose(4);
    ASSERT_TRUE(server.WaitForRequests(3, 10000));
    Choose(6);
    ASSERT_TRUE(boxes->WaitForBoxes(2));
    EXPECT_EQ(server.Requests().size(), 3u) << "B was never shown here";
    EXPECT_EQ(server.Requests()[2].line.substr(0, 7), "GET /a ") << "B was never shown here";
    EXPECT_EQ(boxes->Boxes().size(), 2u);
    EXPECT_EQ(boxes->Boxes()[1].text, "There is no group item to launch");
}

TEST_F(Favorites, AddFavoriteStoresThePageAndStartsTheManagerWithIt) {
    CURLObject templ;
    templ.link.title = "Default Template";
    templ.link.comments = "template comment";
    templ.link.stamp1 = 1000;
    templ.link.stamp2 = 2000;
    templ.link.stamp3 = 3000;
    templ.link.refreshInterval = 77;
    templ.font.faceName = "Courier";
    CURLEntry templateEntry("", "Default.vst");
    templateEntry.kind = CURLEntry::kTemplate;
    ASSERT_EQ(CLinkStore(dir.Path()).SaveURLObject(templateEntry, templ), kErrNone);
    WriteLink(dir, CURLEntry("", "0.vsl"), "A", server.Url("/a"), 0);
    ASSERT_NO_FATAL_FAILURE(Start());

    Choose(2);  // Add Favorite
    ASSERT_TRUE(PumpUntil([&] { return Lines(dir, "manager.log").size() == 1; }, 10000));
    const std::string path = dir / "Links\\1.vsl";
    EXPECT_EQ(Lines(dir, "manager.log")[0], "\"-s " + path + "\"") << "one argument, quoted";

    std::unique_ptr<CURLObject> added;
    ASSERT_EQ(CLinkStore(dir.Path()).LoadURLObject(CURLEntry("", "1.vsl"), &added), kErrNone);
    RECT shown{};
    ::GetWindowRect(window, &shown);
    EXPECT_EQ(added->link.windowRect, (URLRect{shown.left, shown.top, shown.right, shown.bottom}));
    EXPECT_EQ(added->link.address, TextOf(::GetDlgItem(window, IDC_ADDRESS)));
    EXPECT_EQ(added->link.address, server.Url("/start"));
    EXPECT_EQ(added->link.title, "") << "Wine's control reports no page title";
    EXPECT_EQ(added->link.comments, "");
    EXPECT_EQ(added->skinName, "vessa");
    EXPECT_EQ(added->link.stamp1, 1000);
    EXPECT_EQ(added->link.stamp2, 2000);
    EXPECT_EQ(added->link.stamp3, 3000);
    EXPECT_EQ(added->link.refreshInterval, 77);
    EXPECT_EQ(added->font.faceName, "Courier");

    // A damaged template still gives a link, and a valid template again.
    dir.WriteFile("Templates\\Default.vst", "damaged");
    Choose(2);
    ASSERT_TRUE(PumpUntil([&] { return Lines(dir, "manager.log").size() == 2; }, 10000));
    EXPECT_EQ(Lines(dir, "manager.log")[1], "\"-s " + (dir / "Links\\2.vsl") + "\"");
    ASSERT_EQ(CLinkStore(dir.Path()).LoadURLObject(CURLEntry("", "2.vsl"), &added), kErrNone);
    EXPECT_EQ(added->link.address, server.Url("/start"));
    std::unique_ptr<CURLObject> repaired;
    ASSERT_EQ(CLinkStore(dir.Path()).LoadURLObject(templateEntry, &repaired), kErrNone);
    EXPECT_EQ(repaired->link.title, "Default Template");
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(Favorites, TheManagerButtonStartsTheManagerOrSaysItIsMissing) {
    ASSERT_NO_FATAL_FAILURE(Start());
    auto press = [&] {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_INVOKEMANAGER, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_INVOKEMANAGER)));
    };
    press();
    ASSERT_TRUE(PumpUntil([&] { return Lines(dir, "manager.log").size() == 1; }, 10000));
    EXPECT_EQ(Lines(dir, "manager.log")[0], "-o ");

    // The started manager may still be ending (its program file is in use until then).
    ASSERT_TRUE(PumpUntil([&] { return ::DeleteFileA((dir / "VessaMgr.exe").c_str()) != FALSE; }, 10000));
    press();
    ASSERT_TRUE(boxes->WaitForBoxes(1));
    EXPECT_EQ(boxes->Boxes()[0].text,
              "Failed to open VessaMgr.exe. Please ensure that the VessaMgr.exe is located at the same directory "
              "as this browser");
    EXPECT_EQ(boxes->Boxes()[0].caption, "Vessa");
}

TEST_F(Favorites, WithAManagerRunningAddFavoriteAndOpenDriveItInsteadOfStartingOne) {
    testsupport::ScratchKey progId{HKEY_LOCAL_MACHINE, "Software\\Classes\\Nimb.Document"};
    testsupport::ScratchKey automation{HKEY_LOCAL_MACHINE,
                                       "Software\\Classes\\CLSID\\" + fw::GuidText(NimbDocIds::kAutomationClsid)};
    testsupport::StandInManagerServer manager(dir.Path());
    ASSERT_TRUE(manager.Start());
    ASSERT_NO_FATAL_FAILURE(Start());

    Choose(2);  // Add Favorite
    ASSERT_TRUE(PumpUntil([&] { return manager.Calls().size() == 3; }, 20000));
    const std::string path = dir / "Links\\0.vsl";
    EXPECT_EQ(manager.Calls(),
              (std::vector<std::string>{"RefreshNimbTree", "SetFocusOnLinkItem|" + path, "ShowManager"}));
    EXPECT_TRUE(dir.Exists("Links\\0.vsl"));

    Choose(1);  // Show Vessa Manager
    ASSERT_TRUE(PumpUntil([&] { return manager.Calls().size() == 4; }, 20000));
    EXPECT_EQ(manager.Calls()[3], "ShowManager");

    // The manager ends: the browser starts one again.
    ASSERT_TRUE(manager.Stop());
    Choose(1);
    ASSERT_TRUE(PumpUntil([&] { return Lines(dir, "manager.log").size() == 1; }, 10000));
    EXPECT_EQ(Lines(dir, "manager.log")[0], "-o ");
    EXPECT_EQ(manager.Calls().size(), 4u);
    EXPECT_TRUE(boxes->Boxes().empty());
}

TEST_F(Favorites, AddFavoriteShowsARealManagerHiddenInTheTrayWithTheNewLinkSelected) {
    WriteLink(dir, CURLEntry("", "0.vsl"), "A", server.Url("/a"), 0);
    regtest::PutDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global\\Vessa\\Options", "Hide Program", 1);
    browsertest::RealManager manager(dir);
    HWND frame = manager.WaitUntilServing();
    ASSERT_TRUE(frame) << "the manager serves its automation object";
    EXPECT_FALSE(::IsWindowVisible(frame)) << "in the tray";
    ASSERT_NO_FATAL_FAILURE(Start());

    Choose(2);  // Add Favorite
    ASSERT_TRUE(PumpUntil([&] { return dir.Exists("Links\\1.vsl"); }, 10000));
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(frame) != FALSE; }, 20000)) << "shown";
    mgrtest::RemoteTree tree(frame);
    ASSERT_TRUE(tree);
    // The new link comes after A; Wine's page control gives it no title.
    auto newLink = [&]() -> HTREEITEM {
        HTREEITEM links = tree.Find(tree.Root(), "Links");
        HTREEITEM first = links ? tree.Child(links) : nullptr;
        return first && tree.Text(first) == "A" ? tree.Sibling(first) : nullptr;
    };
    EXPECT_TRUE(PumpUntil([&] { return newLink() && tree.Caret() == newLink(); }, 20000))
        << "selected: \"" << tree.Text(tree.Caret()) << "\"";
    EXPECT_EQ(tree.Text(newLink()), "");
    EXPECT_FALSE(dir.Exists("manager.log")) << "no manager was started";
    EXPECT_TRUE(manager.Boxes().Boxes().empty());
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_EQ(manager.Close(), 0);
}

}  // namespace
}  // namespace pagetest
