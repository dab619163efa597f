// The tree of the real VessaMgr.exe, read across processes: a "-s" start
// selects its link, and a group's Launch starts the browser per member.
#include "link_files.h"
#include "running_manager.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "remote_tree.h"
#include "resource.h"

#include "fw/file.h"

#include <commctrl.h>

using namespace mgrtest;

namespace {

// The arguments of each start of the stand-in browser, in order.
std::vector<std::string> Launches(const TempProgramFolder& dir) {
    std::string text;
    fw::ReadWholeFile(dir / "launches.log", text);
    std::vector<std::string> arguments;
    for (const std::string& line : fw::SplitLines(text)) {
        const size_t a = line.find('|'), b = line.find('|', a + 1);
        if (a != std::string::npos && b != std::string::npos) arguments.push_back(line.substr(a + 1, b - a - 1));
    }
    return arguments;
}

}  // namespace

TEST(ManagerTreeProgram, AQuotedStartPathSelectsItsLink) {
    ProgramFixture f;
    f.dir.MakeFolder("Links");
    AddLink(f.dir, "", "Alpha");
    const std::string beta = AddLink(f.dir, "", "Beta");
    AddLink(f.dir, "", "Gamma");
    RunningManager manager(f.dir, "\"-s " + (f.dir / ("Links\\" + beta)) + "\"");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    RemoteTree tree(wnd);
    ASSERT_TRUE(tree);
    EXPECT_TRUE(WaitUntil([&] { return tree.Text(tree.Caret()) == "Beta"; }, 30000)) << tree.Text(tree.Caret());
    // The selection came from a timer, with no input after it: the toolbar still learns of it.
    HWND bar = testsupport::ChildOfClass(wnd, TOOLBARCLASSNAMEA);
    ASSERT_TRUE(bar);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageA(bar, TB_ISBUTTONENABLED, ID_LAUNCH_BUTTON, 0) != 0; }))
        << "Launch stays grey for the selected link";
}

TEST(ManagerTreeProgram, LaunchOfAGroupStartsTheBrowserOncePerMemberLastLineFirst) {
    ProgramFixture f;
    f.dir.MakeFolder("Links");
    f.dir.MakeFolder("Groups");
    f.dir.MakeFolder("Links\\News");
    const std::string a = AddLink(f.dir, "", "Alpha");
    const std::string b = AddLink(f.dir, "News", "Beta");
    f.dir.WriteFile("Groups\\Pair.vsg", "Links\\" + a + "\r\nLinks\\News\\" + b + "\r\n");
    RunningManager manager(f.dir, "");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    RemoteTree tree(wnd);
    ASSERT_TRUE(tree);
    HTREEITEM group = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            HTREEITEM groups = tree.Find(tree.Root(), "Groups");
            group = groups ? tree.Find(groups, "Pair") : nullptr;
            return group != nullptr;
        },
        30000));
    tree.Select(group);
    ::PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(ID_LAUNCH, 1), 0);
    ASSERT_TRUE(WaitUntil([&] { return Launches(f.dir).size() >= 2; }, 60000));
    const std::vector<std::string> expected{"-f " + (f.dir / ("Links\\News\\" + b)), "-f " + (f.dir / ("Links\\" + a))};
    EXPECT_EQ(Launches(f.dir), expected);
}
