// Tree editing on the real VessaMgr.exe, driven from this process as a user
// would: commands posted to the frame, names typed into the tree's own edit
// box and ended with Enter, boxes and the confirmation answered by their
// buttons; the disk and the group files read afterwards.
#include "manager_session.h"

#include "LinkTreeRules.h"
#include "resource.h"

#include "fw/file.h"
#include "testsupport/box_answerer.h"

#include <thread>

using namespace mgrtest;

namespace {

struct FindConfirm {
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK FindConfirmDialog(HWND wnd, LPARAM param) {
    auto* f = reinterpret_cast<FindConfirm*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner == f->pid && ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IDC_DONT_SHOW_AGAIN) &&
        ::GetDlgItem(wnd, IDC_CONFIRM_TEXT)) {
        f->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// Answers the delete confirmation of a process: ticks "Do not show this again"
// when asked, presses Yes, and gives the question's text.
std::string AnswerConfirmation(DWORD pid, bool tick) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            FindConfirm find{pid};
            ::EnumWindows(FindConfirmDialog, reinterpret_cast<LPARAM>(&find));
            dialog = find.found;
            return dialog != nullptr;
        },
        30000);
    if (!dialog) return {};
    const std::string text = testsupport::WindowText(::GetDlgItem(dialog, IDC_CONFIRM_TEXT));
    if (tick) ::SendMessageA(::GetDlgItem(dialog, IDC_DONT_SHOW_AGAIN), BM_SETCHECK, BST_CHECKED, 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    WaitUntil([&] { return !::IsWindow(dialog); });
    return text;
}

}  // namespace

TEST(TreeEditProgram, NewFoldersGroupsAndLinksAreNamedInPlace) {
    ProgramFixture f;
    f.dir.MakeFolder("Links\\New Folder");
    f.dir.MakeFolder("Links\\new folder1");
    f.dir.MakeFolder("Groups");
    CURLObject templ;
    templ.link.title = "Default Template";
    templ.skinName = "Blue";
    CURLEntry entry("", "Default.vst");
    entry.kind = CURLEntry::kTemplate;
    ASSERT_EQ(CLinkStore(f.dir.Path()).SaveURLObject(entry, templ), kErrNone);
    Session s(f.dir);
    ASSERT_TRUE(s.frame);
    testsupport::BoxAnswerer boxes(s.pid);

    s.Select({"Links"});
    s.Command(ID_ADD_FOLDER);
    ASSERT_TRUE(WaitUntil([&] { return s.tree->EditControl() != nullptr; }));
    EXPECT_EQ(s.tree->Text(s.tree->Caret()), "New Folder2");
    ASSERT_TRUE(s.TypeName("New Folder2"));
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\New Folder2"));

    s.Select({"Groups"});
    s.Command(ID_ADD_FOLDER);
    ASSERT_TRUE(s.TypeName("Trips"));
    EXPECT_TRUE(f.dir.Exists("Groups\\Trips.vsg"));
    EXPECT_EQ(f.dir.ReadFile("Groups\\Trips.vsg"), "");
    EXPECT_EQ(s.Children({"Groups"}), (std::vector<std::string>{"Trips"}));

    s.Select({"Links"});
    s.Command(ID_ADD_LINK);
    ASSERT_TRUE(s.TypeName(""));
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_EQ(boxes.Boxes()[0].text, "You must type a filename");
    std::unique_ptr<CURLObject> made;
    ASSERT_EQ(CLinkStore(f.dir.Path()).LoadURLObject(CURLEntry("", "0.vsl"), &made), kErrNone);
    EXPECT_EQ(made->link.title, "New Item");
    EXPECT_EQ(made->skinName, "Blue");
    EXPECT_TRUE(WaitUntil([&] { return s.tree->Text(s.tree->Caret()) == "New Item"; }));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(TreeEditProgram, AFreshInstallAddsAFolderAndAGroupAtOnce) {
    ProgramFixture f;  // a program folder with the programs alone: no Links, Groups or Templates yet
    Session s(f.dir);
    ASSERT_TRUE(s.frame);
    testsupport::BoxAnswerer boxes(s.pid);

    s.Select({"Links"});
    s.Command(ID_ADD_FOLDER);
    ASSERT_TRUE(s.TypeName("First"));
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\First"));
    s.Select({"Groups"});
    s.Command(ID_ADD_FOLDER);
    ASSERT_TRUE(s.TypeName("Trips"));
    EXPECT_TRUE(f.dir.Exists("Groups\\Trips.vsg"));
    EXPECT_TRUE(fw::FolderExists(f.dir / "Templates"));
    for (const testsupport::SeenBox& box : boxes.Boxes()) ADD_FAILURE() << "a box: " << box.text;
    EXPECT_EQ(f.dir.ReadFile("Err.log"), "");
}

TEST(TreeEditProgram, RenamesRefuseDuplicatesAndCarryTheGroupLines) {
    ProgramFixture f;
    f.dir.MakeFolder("Links\\abc\\Inner");
    f.dir.MakeFolder("Groups");
    const std::string a = AddLink(f.dir, "abc", "Alpha");
    const std::string b = AddLink(f.dir, "abc\\Inner", "Beta");
    const std::string top = AddLink(f.dir, "", "Top");
    f.dir.WriteFile("Groups\\G.vsg", "Links\\abc\\" + a + "\r\nLinks\\" + top + "\r\nlinks\\ABC\\Inner\\" + b + "\r\n");
    Session s(f.dir);
    ASSERT_TRUE(s.frame);
    testsupport::BoxAnswerer boxes(s.pid);

    s.Select({"Links", "abc"});
    s.Command(kMenuRenameFolder);
    ASSERT_TRUE(s.TypeName("ABC"));
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_EQ(boxes.Boxes()[0].text,
              "Cannot rename New Folder.  A folder with the name you specified already exists. Specify a different "
              "filename");
    EXPECT_TRUE(s.Item({"Links", "abc"}));

    s.Select({"Links", "abc"});
    s.Command(kMenuRenameFolder);
    ASSERT_TRUE(s.TypeName("abc"));
    EXPECT_EQ(boxes.Boxes().size(), 1u) << "the same name changes nothing";
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\abc\\Inner"));

    s.Select({"Links", "abc"});
    s.Command(kMenuRenameFolder);
    ASSERT_TRUE(s.TypeName("Trips"));
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\Trips\\Inner"));
    EXPECT_FALSE(f.dir.Exists("Links\\abc"));
    EXPECT_EQ(f.dir.ReadFile("Groups\\G.vsg"),
              "Links\\Trips\\" + a + "\r\nLinks\\" + top + "\r\nLinks\\Trips\\Inner\\" + b + "\r\n");
    EXPECT_TRUE(WaitUntil([&] { return s.Item({"Links", "Trips", "Inner", "Beta"}) != nullptr; }));
    EXPECT_EQ(s.Children({"Groups", "G"}), (std::vector<std::string>{"Alpha", "Top", "Beta"}));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(TreeEditProgram, DeletesKeepGroupsInStepAndAskAsTheSettingsSay) {
    ProgramFixture f;
    f.dir.MakeFolder("Links");
    f.dir.MakeFolder("Groups");
    const std::string a = AddLink(f.dir, "", "Alpha");
    const std::string b = AddLink(f.dir, "", "Beta");
    const std::string c = AddLink(f.dir, "", "Gamma");
    f.dir.WriteFile("Groups\\One.vsg", "Links\\" + a + "\r\nLinks\\" + b + "\r\nLinks\\" + c + "\r\n");
    f.dir.WriteFile("Groups\\Two.vsg", "links\\" + b + "\r\n");
    SetOption("Hide Normal DeleteDlg", 1);
    Session s(f.dir);
    ASSERT_TRUE(s.frame);

    // A member: only its own line goes, the link stays; not referenced, so not asked.
    s.Select({"Groups", "One", "Gamma"});
    s.Command(ID_EDIT_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return s.Children({"Groups", "One"}).size() == 2; }));
    EXPECT_EQ(f.dir.ReadFile("Groups\\One.vsg"), "Links\\" + a + "\r\nLinks\\" + b + "\r\n");
    EXPECT_TRUE(f.dir.Exists("Links\\" + c));

    // A link two groups list: asked, since only the other setting is on; the box is remembered.
    s.Select({"Links", "Beta"});
    s.Command(ID_EDIT_DELETE);
    EXPECT_EQ(AnswerConfirmation(s.pid, true),
              "There are one or more links in the group of the item you want to delete.  Are you should you want to "
              "delete this item");
    ASSERT_TRUE(WaitUntil([&] { return !f.dir.Exists("Links\\" + b); }));
    EXPECT_TRUE(WaitUntil([&] { return f.dir.ReadFile("Groups\\Two.vsg").empty(); }));
    EXPECT_EQ(f.dir.ReadFile("Groups\\One.vsg"), "Links\\" + a + "\r\n");
    EXPECT_TRUE(WaitUntil([&] { return OptionValue("Hide Group Item DeleteDlg") == 1u; }));
    EXPECT_EQ(s.Children({"Groups", "Two"}), std::vector<std::string>{});

    // During a Cut the current item goes, not the cut one, which shows its own picture again.
    s.Select({"Links", "Alpha"});
    s.Command(ID_EDIT_CUT);
    ASSERT_TRUE(WaitUntil([&] { return s.tree->Image(s.Item({"Links", "Alpha"})) == 10; }));
    s.Select({"Links", "Gamma"});
    s.Command(ID_EDIT_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return !f.dir.Exists("Links\\" + c); }));
    EXPECT_TRUE(f.dir.Exists("Links\\" + a));
    EXPECT_TRUE(WaitUntil([&] { return s.tree->Image(s.Item({"Links", "Alpha"})) == 3; }));
    EXPECT_EQ(s.Children({"Links"}), (std::vector<std::string>{"Alpha"}));
}
