// Tree editing in-process: names typed into the tree's own edit box, the
// disk and the group files afterwards, refused names, failed renames,
// unreadable links, new links found by their file, title changes, deletes.
#include "tree_fixture.h"

#include "LinkTreeRules.h"
#include "resource.h"

#include "fw/file.h"
#include "fw/handles.h"
#include "testsupport/box_answerer.h"

#include <algorithm>
#include <vector>

using mgrtest::Entries;
using mgrtest::TreeFixture;

namespace {

struct EditFixture : TreeFixture {
    using TreeFixture::TreeFixture;

    // Types into the open label edit and ends it with the key, as a user would.
    void Type(const std::string& text, WPARAM key = VK_RETURN) {
        HWND edit = TreeView_GetEditControl(tree->hwnd());
        ASSERT_TRUE(edit) << "no label is being edited";
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::SendMessageA(edit, WM_KEYDOWN, key, 0);
        ::SendMessageA(edit, WM_KEYUP, key, 0);
        testsupport::PumpFor(0);
    }
    void Command(UINT id) { tree->HandleCommand(id); }
    HTREEITEM Caret() const { return TreeView_GetSelection(tree->hwnd()); }
    std::string Group(const std::string& name) const { return dir.ReadFile("Groups\\" + name + ".vsg"); }
};

}  // namespace

TEST(TreeEdit, ANewFolderIsMadeUnderTheTypedNameAndUnderItsProposedNameOnEscape) {
    EditFixture f;
    CLeftView& tree = f.Start();
    f.Select(tree.LinksItem());
    f.Command(ID_ADD_FOLDER);
    EXPECT_TRUE(tree.CommandState().editing);
    EXPECT_FALSE(f.dir.Exists("Links\\New Folder")) << "made when the edit ends";
    f.Type("Work");
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\Work"));
    EXPECT_FALSE(tree.CommandState().editing);
    EXPECT_EQ(tree.Text(f.Caret()), "Work");

    f.Select(tree.LinksItem());
    f.Command(ID_ADD_FOLDER);
    f.Type("Ignored", VK_ESCAPE);
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\New Folder"));
    EXPECT_FALSE(f.dir.Exists("Links\\Ignored"));

    // Escape on a rename keeps the name.
    f.Select(f.Child(tree.LinksItem(), "Work"));
    f.Command(kMenuRenameFolder);
    f.Type("Play", VK_ESCAPE);
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\Work"));
    EXPECT_FALSE(f.dir.Exists("Links\\Play"));
    EXPECT_TRUE(f.Child(tree.LinksItem(), "Work"));
}

TEST(TreeEdit, TypedNamesThatWouldLeaveTheirFolderAreRefused) {
    EditFixture f;
    CLeftView& tree = f.Start();
    testsupport::BoxAnswerer boxes;
    // What lies in a folder, by name, sorted.
    const auto listing = [](const std::string& folder) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        fw::FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &data));
        if (find) {
            do {
                const std::string name = data.cFileName;
                if (name != "." && name != "..") names.push_back(name);
            } while (::FindNextFileA(find.get(), &data));
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> top = listing(f.dir.Path());
    std::vector<std::string> links = listing(f.dir / "Links");
    links.push_back("New Folder");
    std::sort(links.begin(), links.end());
    const std::string names[] = {"..",    "..\\Evil", "a\\..\\..\\Evil",    "C:\\Evil", "CON",
                                 "Evil.", "x:y",      std::string(260, 'E')};
    size_t expectedBoxes = 0;
    for (const std::string& name : names) {
        f.Select(tree.LinksItem());
        f.Command(ID_ADD_FOLDER);
        f.Type(name);
        ++expectedBoxes;
        // The disk first, for each name: nothing outside Links, nothing in it
        // but the new folder under its proposed name.
        EXPECT_EQ(listing(f.dir.Path()), top) << name;
        EXPECT_EQ(listing(f.dir / "Links"), links) << name;
        EXPECT_FALSE(fw::FolderExists("C:\\Evil")) << name;
        EXPECT_TRUE(boxes.WaitForBoxes(expectedBoxes)) << name;
        if (boxes.Boxes().size() >= expectedBoxes) {
            EXPECT_NE(boxes.Boxes()[expectedBoxes - 1].text.find("cannot contain"), std::string::npos) << name;
        }
        expectedBoxes = boxes.Boxes().size();
        ::RemoveDirectoryA((f.dir / "Links\\New Folder").c_str());
        tree.RefreshItem(tree.LinksItem());
    }

    // A group gets the same rule: no file outside Groups.
    f.Select(tree.GroupsItem());
    f.Command(ID_ADD_FOLDER);
    f.Type("..\\Links\\Evil");
    ASSERT_TRUE(boxes.WaitForBoxes(expectedBoxes + 1));
    EXPECT_FALSE(f.dir.Exists("Links\\Evil.vsg"));
    EXPECT_TRUE(f.dir.Exists("Groups\\New Folder.vsg"));
}

TEST(TreeEdit, ANewGroupNeverTruncatesAFileAlreadyThere) {
    EditFixture f;
    CLeftView& tree = f.Start();
    f.dir.WriteFile("Groups\\Later.vsg", "Links\\" + f.top0 + "\r\n");  // written after the build
    testsupport::BoxAnswerer boxes;
    f.Select(tree.GroupsItem());
    f.Command(ID_ADD_FOLDER);
    f.Type("Later");
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_NE(boxes.Boxes()[0].text.find("Unable to add folder"), std::string::npos) << boxes.Boxes()[0].text;
    EXPECT_EQ(f.Group("Later"), "Links\\" + f.top0 + "\r\n");
    EXPECT_EQ(f.Children(tree.GroupsItem()), (std::vector<std::string>{"Empty/6", "Weekend/6"}));

    f.Select(tree.GroupsItem());
    f.Command(ID_ADD_FOLDER);
    f.Type("Fresh");
    EXPECT_TRUE(f.dir.Exists("Groups\\Fresh.vsg"));
    EXPECT_EQ(f.Group("Fresh"), "");
    EXPECT_EQ(f.Children(tree.GroupsItem()), (std::vector<std::string>{"Empty/6", "Weekend/6", "Fresh/6"}));
}

TEST(TreeEdit, AFolderRenameMovesTheFolderThenItsGroupLines) {
    EditFixture f;
    CLeftView& tree = f.Start();
    f.Select(f.Child(tree.LinksItem(), "News"));
    f.Command(kMenuRenameFolder);
    f.Type("Press");
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\Press\\Daily"));
    EXPECT_FALSE(f.dir.Exists("Links\\News"));
    EXPECT_EQ(f.Group("Weekend"), "Links\\" + f.top1 + "\r\nLinks\\Press\\Daily\\" + f.daily + "\r\n");
    HTREEITEM press = f.Child(tree.LinksItem(), "Press");
    ASSERT_TRUE(press);
    EXPECT_EQ(f.Children(press), (std::vector<std::string>{"Daily/4", "Herald/3"})) << "rebuilt from the disk";
    EXPECT_EQ(f.Children(f.Child(tree.GroupsItem(), "Weekend")), (std::vector<std::string>{"Beta/5", "Morning/5"}));
}

TEST(TreeEdit, AFailedRenameKeepsTheNameAndTheGroupLines) {
    EditFixture f;
    CLeftView& tree = f.Start();
    // Made behind the tree's back, so only the disk knows the name is taken.
    f.dir.MakeFolder("Links\\Ghost");
    testsupport::BoxAnswerer boxes;
    f.Select(f.Child(tree.LinksItem(), "News"));
    f.Command(kMenuRenameFolder);
    f.Type("Ghost");
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_NE(boxes.Boxes()[0].text.find("Unable to add folder"), std::string::npos) << boxes.Boxes()[0].text;
    EXPECT_TRUE(fw::FolderExists(f.dir / "Links\\News\\Daily"));
    EXPECT_EQ(f.Group("Weekend"), "Links\\" + f.top1 + "\r\nLinks\\News\\Daily\\" + f.daily + "\r\n");
    EXPECT_TRUE(f.Child(tree.LinksItem(), "News"));
}

TEST(TreeEdit, AnUnreadableLinkIsNeverRenamedOverItsFile) {
    EditFixture f;
    f.dir.WriteFile("Links\\" + f.top0, "not an archive");
    testsupport::BoxAnswerer boxes;
    for (int i = 0; i < 5; ++i) boxes.Plan(IDYES);  // every report: go on
    CLeftView& tree = f.Start();
    // Unreadable at the build, and unreadable only since.
    f.dir.WriteFile("Links\\" + f.top1, "damaged later");
    for (const std::string& label : {std::string("Beta"), f.top0}) {
        HTREEITEM item = f.Child(tree.LinksItem(), label);
        ASSERT_TRUE(item) << label;
        // Edited where it stands, not selected: the document would report the file at every move. Label
        // editing is on after every insertion, as the rebuild before this edit left it.
        ::SetWindowLongPtrA(tree.hwnd(), GWL_STYLE, ::GetWindowLongPtrA(tree.hwnd(), GWL_STYLE) | TVS_EDITLABELS);
        ASSERT_TRUE(TreeView_EditLabel(tree.hwnd(), item)) << label;
        f.Type("Renamed");
    }
    EXPECT_EQ(f.dir.ReadFile("Links\\" + f.top0), "not an archive");
    EXPECT_EQ(f.dir.ReadFile("Links\\" + f.top1), "damaged later");
    ASSERT_TRUE(boxes.WaitForBoxes(5));
    const std::string log = f.dir.ReadFile("Err.log");
    EXPECT_NE(log.find("ErrID: 9     FuncName: CLeftView::OnEndLabelEdit()"), std::string::npos) << log;
}

TEST(TreeEdit, AnEmptyNewLinkIsNamedNewItemFromTheTemplateAndSelectedByItsFile) {
    EditFixture f;
    // Ten links: the new 10.vsl is listed third (Wine sorts names), not last.
    for (int i = 2; i < 10; ++i) f.AddLink("", "Link" + std::to_string(i));
    CURLObject templ;
    templ.link.title = "Default Template";
    templ.skinName = "Blue";
    CURLEntry entry("", "Default.vst");
    entry.kind = CURLEntry::kTemplate;
    ASSERT_EQ(CLinkStore(f.dir.Path()).SaveURLObject(entry, templ), kErrNone);
    CLeftView& tree = f.Start();
    testsupport::BoxAnswerer boxes;
    f.Select(tree.LinksItem());
    f.Command(ID_ADD_LINK);
    f.Type("");
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_EQ(boxes.Boxes()[0].text, "You must type a filename");
    std::unique_ptr<CURLObject> made;
    ASSERT_EQ(CLinkStore(f.dir.Path()).LoadURLObject(CURLEntry("", "10.vsl"), &made), kErrNone);
    EXPECT_EQ(made->link.title, "New Item");
    EXPECT_EQ(made->skinName, "Blue");
    EXPECT_EQ(tree.Text(f.Caret()), "New Item");
    EXPECT_EQ(Entries(f.app->Document()->Selection()), (std::vector<std::string>{"|10.vsl|3"}));
    EXPECT_EQ(boxes.Boxes().size(), 1u) << "the end of the edit acts once";
}

TEST(TreeEdit, AnEditEndedByTheControlActsOnceThoughABoxTakesTheFocus) {
    EditFixture f;
    CLeftView& tree = f.Start();
    testsupport::BoxAnswerer boxes;
    f.Select(tree.LinksItem());
    f.Command(ID_ADD_LINK);
    HWND edit = TreeView_GetEditControl(tree.hwnd());
    ASSERT_TRUE(edit);
    ::SetWindowTextA(edit, "");
    // As when the edit loses the focus: the box it shows takes the focus once more.
    TreeView_EndEditLabelNow(tree.hwnd(), FALSE);
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    testsupport::PumpFor(0);
    EXPECT_TRUE(f.dir.Exists("Links\\2.vsl"));
    EXPECT_FALSE(f.dir.Exists("Links\\3.vsl")) << "one link per edit";
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(TreeEdit, ATitleChangeOfAMemberFindsItsLinkByFileNotByTitle) {
    EditFixture f;
    const std::string second = f.AddLink("", "Alpha");  // a second "Alpha"
    f.dir.WriteFile("Groups\\Twins.vsg", "Links\\" + second + "\r\n");
    CLeftView& tree = f.Start();
    HTREEITEM member = TreeView_GetChild(tree.hwnd(), f.Child(tree.GroupsItem(), "Twins"));
    f.Select(member);
    // The page saves the link first; the tree then follows.
    std::unique_ptr<CURLObject> record;
    const CLinkStore store(f.dir.Path());
    ASSERT_EQ(store.LoadURLObject(CURLEntry("", second), &record), kErrNone);
    record->link.title = "Omega";
    ASSERT_EQ(store.SaveURLObject(CURLEntry("", second), *record), kErrNone);
    tree.ChangeItemTitle("Omega");
    EXPECT_EQ(f.Children(tree.LinksItem()), (std::vector<std::string>{"News/4", "Alpha/3", "Beta/3", "Omega/3"}));
    EXPECT_EQ(f.Children(f.Child(tree.GroupsItem(), "Twins")), (std::vector<std::string>{"Omega/5"}));
    EXPECT_EQ(tree.Text(f.Caret()), "Omega");
    EXPECT_EQ(tree.Kind(f.Caret()), TreeKind::kMember);
}

TEST(TreeEdit, ADeletedLinkLeavesEveryGroupAndTheDocumentWritesNothingBack) {
    EditFixture f;
    f.dir.WriteFile("Groups\\Other.vsg", "links\\" + f.top1 + "\r\nLinks\\" + f.top0 + "\r\n");
    CLeftView& tree = f.Start();
    f.Select(f.Child(tree.LinksItem(), "Beta"));
    ASSERT_FALSE(f.app->Document()->Selection().empty());
    testsupport::BoxAnswerer boxes;
    boxes.Plan(IDOK);  // Yes
    f.Command(ID_EDIT_DELETE);
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_EQ(boxes.Boxes()[0].text,
              "There are one or more links in the group of the item you want to delete.  Are you should you want "
              "to delete this item");
    EXPECT_FALSE(f.dir.Exists("Links\\" + f.top1));
    EXPECT_EQ(f.Group("Weekend"), "Links\\News\\Daily\\" + f.daily + "\r\n");
    EXPECT_EQ(f.Group("Other"), "Links\\" + f.top0 + "\r\n") << "lines compare without regard to case";
    EXPECT_EQ(f.Children(f.Child(tree.GroupsItem(), "Weekend")), (std::vector<std::string>{"Morning/5"}));
    EXPECT_EQ(f.Children(tree.LinksItem()), (std::vector<std::string>{"News/4", "Alpha/3"}));
    testsupport::PumpFor(0);
    EXPECT_EQ(f.dir.ReadFile("Err.log").find("SaveURLObject"), std::string::npos) << f.dir.ReadFile("Err.log");
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(TreeEdit, DeletingAFolderTakesItsTreeAndTheLinesBelowIt) {
    EditFixture f;
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, "Hide Normal DeleteDlg", 1);
    regtest::PutDword(HKEY_LOCAL_MACHINE, mgrtest::kOptionsKey, "Hide Group Item DeleteDlg", 1);
    CLeftView& tree = f.Start();
    f.Select(f.Child(tree.LinksItem(), "News"));
    f.Command(ID_DELETE_FOLDER);
    EXPECT_FALSE(f.dir.Exists("Links\\News"));
    EXPECT_EQ(f.Group("Weekend"), "Links\\" + f.top1 + "\r\n");
    EXPECT_EQ(f.Children(tree.LinksItem()), (std::vector<std::string>{"Alpha/3", "Beta/3"}));
}

TEST(TreeEdit, KeysTypedIntoALabelAreNotTheFramesShortcuts) {
    EditFixture f;
    CLeftView& tree = f.Start();
    f.Select(f.Child(tree.LinksItem(), "News"));
    f.Command(kMenuRenameFolder);
    HWND edit = TreeView_GetEditControl(tree.hwnd());
    ASSERT_TRUE(edit);
    MSG del{edit, WM_KEYDOWN, VK_DELETE, 0, 0, {}};
    EXPECT_FALSE(f.frame->PreTranslateMessage(del));
    MSG onTree{tree.hwnd(), WM_KEYDOWN, VK_DELETE, 0, 0, {}};
    EXPECT_TRUE(f.frame->PreTranslateMessage(onTree)) << "outside a label Delete is the shortcut";
    f.Type("News", VK_ESCAPE);
}

// Names compare as the file system compares them: "été" and "ÉTÉ" are one
// name, "a^" and "aˆ" (U+02C6) two, though the locale's comparison folds them.
TEST(TreeEdit, NamesAreOneNameExactlyWhenTheFileSystemTakesThemForOne) {
    const std::string ete = "\xE9t\xE9", ETE = "\xC9T\xC9", caret = "a^", modifier = "a\x88";
    struct Case {
        const char* how;  // "add" a folder below Links, or "rename" News
        std::string there, typed;
        bool oneName;
    };
    const Case cases[] = {
        {"add", ete, ETE, true},     {"add", ETE, ete, true},     {"add", caret, modifier, false},
        {"rename", ete, ETE, true},  {"rename", modifier, caret, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.how) + " " + c.typed + " beside " + c.there);
        EditFixture f;
        f.dir.MakeFolder("Links\\" + c.there);
        // The file system's own answer first: the test's pair is what it says.
        ASSERT_EQ(fw::FolderExists(f.dir / ("Links\\" + c.typed)), c.oneName);
        CLeftView& tree = f.Start();
        testsupport::BoxAnswerer boxes;
        if (std::string(c.how) == "add") {
            f.Select(tree.LinksItem());
            f.Command(ID_ADD_FOLDER);
        } else {
            f.Select(f.Child(tree.LinksItem(), "News"));
            f.Command(kMenuRenameFolder);
        }
        f.Type(c.typed);
        if (c.oneName) {
            ASSERT_TRUE(boxes.WaitForBoxes(1));
            EXPECT_NE(boxes.Boxes()[0].text.find("already exists"), std::string::npos) << boxes.Boxes()[0].text;
            EXPECT_EQ(fw::FolderExists(f.dir / "Links\\News"), true);
        } else {
            testsupport::PumpFor(0);
            EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text;
            EXPECT_TRUE(fw::FolderExists(f.dir / ("Links\\" + c.typed)));
            ASSERT_TRUE(f.Caret());
            EXPECT_EQ(tree.Text(f.Caret()), c.typed);
        }
        // Either way the tree's lookup by name finds what the disk holds under the typed name.
        EXPECT_TRUE(f.Child(tree.LinksItem(), c.typed));
        EXPECT_TRUE(f.Child(tree.LinksItem(), c.there));
    }
}

// A link path whose folder differs from the tree's only in the case of a non-ASCII letter is that folder.
TEST(TreeEdit, ALinkPathFindsItsFolderWhateverTheCaseOfItsLetters) {
    EditFixture f;
    f.dir.MakeFolder("Links\\\xE9t\xE9");
    const std::string link = f.AddLink("\xE9t\xE9", "Summer");
    CLeftView& tree = f.Start();
    testsupport::BoxAnswerer boxes;
    tree.SelectLinkByPath(f.dir / ("Links\\\xC9T\xC9\\" + link));
    testsupport::PumpFor(0);
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text;
    ASSERT_TRUE(f.Caret());
    EXPECT_EQ(tree.Text(f.Caret()), "Summer");
}
