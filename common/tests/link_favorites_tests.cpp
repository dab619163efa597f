// The browser's favorites commands of the launcher, in-process, with a host
// that records what the launcher asks of the browser window.
#include "LinkLauncher.h"

#include "AppConstants.h"
#include "ErrorCodes.h"

#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/running_program.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::TempProgramFolder;

class RecordingHost : public CFavoritesHost {
public:
    std::string GetAddressText() override { return "http://127.0.0.1/page"; }
    std::string GetPageTitle() override { return "Page & title"; }
    RECT GetFavoriteWindowRect() override { return RECT{10, 20, 610, 420}; }
    std::string GetStartSkinName() override { return "blue"; }
    void NavigateHere(const std::string& address) override { calls.push_back("navigate " + address); }
    bool ConnectToManager() override { return managerRuns; }
    void RefreshNimbTree() override { calls.push_back("refresh"); }
    void SetFocusOnLinkItem(const std::string& path) override { calls.push_back("focus " + path); }
    void ActivateManager() override { calls.push_back("activate"); }
    void ReportFavoritesError(int code, const std::string& where) override {
        std::string call = "error ";
        call += std::to_string(code);
        calls.push_back(call + " " + where);
    }
    bool managerRuns = false;
    std::vector<std::string> calls;
};

void WriteLink(const TempProgramFolder& dir, const CURLEntry& entry, const std::string& address, int separate) {
    CURLObject record;
    record.link.address = address;
    record.options.separateBrowser = separate;
    if (!entry.group.empty()) dir.MakeFolder("Links\\" + entry.group);
    ASSERT_EQ(CLinkStore(dir.Path()).SaveURLObject(entry, record), kErrNone);
}

void CALLBACK EndMenuNow(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }

struct FavoritesFixture {
    TempProgramFolder dir;
    RecordingHost host;
    CLinkLauncherDlg launcher{nullptr, kBrowserLauncherTemplate, kBrowserPollLimit, &host};
    FavoritesFixture() {
        dir.MakeFolder("Links");
        dir.MakeFolder("Groups");
        launcher.UseProgramFolder(dir.Path());
    }
    // Shows the popup and closes it again as soon as its loop runs.
    void ShowAndClose() {
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, EndMenuNow);
        launcher.ShowFavoritesMenu(RECT{0, 0, 20, 20});
        ::KillTimer(nullptr, timer);
    }
};

TEST(Favorites, ChosenIdsResolveAgainstTheLastPopupOnly) {
    FavoritesFixture f;
    WriteLink(f.dir, CURLEntry("", "0.vsl"), "http://127.0.0.1/a", 0);
    WriteLink(f.dir, CURLEntry("News", "0.vsl"), "http://127.0.0.1/b", 0);
    f.dir.WriteFile("Groups\\Home.vsg", "");
    f.ShowAndClose();
    ASSERT_EQ(f.launcher.ItemPaths(),
              (std::vector<std::string>{f.dir / "Links\\News\\0.vsl", f.dir / "Links\\0.vsl", f.dir / "Groups\\Home.vsg"}));
    EXPECT_EQ(f.launcher.LastLinkId(), 50002);

    // Commands arrive at the launcher's window after the popup has closed.
    ::SendMessageA(f.launcher.hwnd(), WM_COMMAND, 50002, 0);
    ::SendMessageA(f.launcher.hwnd(), WM_COMMAND, 50001, 0);
    EXPECT_EQ(f.host.calls, (std::vector<std::string>{"navigate http://127.0.0.1/a", "navigate http://127.0.0.1/b"}));

    f.host.calls.clear();
    testsupport::BoxAnswerer boxes;
    for (int id : {10000, 50000, 50004, 60000, 65535}) ::SendMessageA(f.launcher.hwnd(), WM_COMMAND, id, 0);
    EXPECT_TRUE(f.host.calls.empty()) << "ids that name no path do nothing";
    EXPECT_TRUE(boxes.Boxes().empty());

    // A chosen link that cannot be read does nothing either.
    ASSERT_TRUE(::DeleteFileA((f.dir / "Links\\0.vsl").c_str()));
    f.dir.WriteFile("Links\\News\\0.vsl", "damaged");
    f.launcher.LaunchFavorite(50002);
    f.launcher.LaunchFavorite(50001);
    EXPECT_TRUE(f.host.calls.empty());
    EXPECT_FALSE(f.dir.Exists("launches.log"));
}

TEST(Favorites, GroupLinesCountOnlyWhenTheyNameAFileBelowLinks) {
    FavoritesFixture f;
    f.dir.WriteFile("Groups\\G.vsg",
                    "Links\\0.vsl\r\n"
                    "\r\n"
                    "links\\A\\B\\3.vsl\r\n"
                    "Links\\..\\..\\evil.vsl\r\n"
                    "Links\\.\\0.vsl\r\n"
                    "\\Links\\0.vsl\r\n"
                    "C:\\Links\\0.vsl\r\n"
                    "Links\\C:\\x.vsl\r\n"
                    "Links\\\\0.vsl\r\n"
                    "Templates\\Default.vst\r\n"
                    "Links\r\n"
                    "Links\\Missing\\9.vsl\r\n");
    std::vector<std::string> members;
    f.launcher.ExpandGroup(f.dir / "Groups\\G.vsg", &members);
    EXPECT_EQ(members, (std::vector<std::string>{f.dir / "Links\\0.vsl", f.dir / "links\\A\\B\\3.vsl",
                                                 f.dir / "Links\\Missing\\9.vsl"}));
}

TEST(Favorites, AFailedSaveIsReportedAndTheManagerIsNeitherToldNorStarted) {
    for (const bool managerRuns : {false, true}) {
        SCOPED_TRACE(managerRuns);
        TempProgramFolder dir;
        dir.WriteFile("Links", "a file where the folder should be");
        dir.CopyProgramAs("StandInManager.exe", "VessaMgr.exe");
        RecordingHost host;
        host.managerRuns = managerRuns;
        CLinkLauncherDlg launcher(nullptr, kBrowserLauncherTemplate, kBrowserPollLimit, &host);
        launcher.UseProgramFolder(dir.Path());
        launcher.AddFavorite("http://127.0.0.1/x", "X", RECT{1, 2, 3, 4});
        ASSERT_EQ(host.calls.size(), 1u);
        EXPECT_EQ(host.calls[0].rfind("error ", 0), 0u) << host.calls[0];
        EXPECT_NE(host.calls[0], "error 0 CLinkLauncherDlg::AddFavorite");
        // A started stand-in logs and ends.
        ASSERT_TRUE(testsupport::WaitForStartedProgramsEnded("VessaMgr.exe"));
        EXPECT_FALSE(dir.Exists("manager.log"));
    }
}

TEST(Favorites, ARunningManagerIsToldOfTheNewLinkInOrder) {
    FavoritesFixture f;
    f.host.managerRuns = true;
    f.launcher.AddFavorite("http://127.0.0.1/x", "X", RECT{1, 2, 3, 4});
    const std::string path = f.dir / "Links\\0.vsl";
    EXPECT_EQ(f.host.calls, (std::vector<std::string>{"refresh", "focus " + path, "activate"}));
    std::unique_ptr<CURLObject> added;
    ASSERT_EQ(CLinkStore(f.dir.Path()).LoadURLObject(CURLEntry("", "0.vsl"), &added), kErrNone);
    EXPECT_EQ(added->link.title, "X");
    EXPECT_EQ(added->skinName, "blue");
    EXPECT_EQ(added->link.windowRect, (URLRect{1, 2, 3, 4}));
    EXPECT_TRUE(f.dir.Exists("Templates\\Default.vst")) << "the missing template was written";

    f.host.calls.clear();
    f.launcher.OpenManager();
    EXPECT_EQ(f.host.calls, (std::vector<std::string>{"activate"}));
}

TEST(Favorites, AddFavoriteCommandTakesThePageFromTheHost) {
    FavoritesFixture f;
    f.host.managerRuns = true;
    f.dir.CopyProgramAs("StandInManager.exe", "VessaMgr.exe");
    ::SendMessageA(f.launcher.hwnd(), WM_COMMAND, kAddFavoriteId, 0);
    std::unique_ptr<CURLObject> added;
    ASSERT_EQ(CLinkStore(f.dir.Path()).LoadURLObject(CURLEntry("", "0.vsl"), &added), kErrNone);
    EXPECT_EQ(added->link.address, "http://127.0.0.1/page");
    EXPECT_EQ(added->link.title, "Page & title");
    EXPECT_EQ(added->link.windowRect, (URLRect{10, 20, 610, 420}));
    EXPECT_FALSE(f.dir.Exists("Links\\1.vsl")) << "one choice, one link";
}

}  // namespace
