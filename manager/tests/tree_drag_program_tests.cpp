// Moves and copies in the tree of the real VessaMgr.exe, driven from this
// process as a user would: drags with real mouse input (SendInput), the drop
// menu answered by keys, Cut, Copy and Paste posted to the frame. The disk and
// the group files are read afterwards. Wine's tree never drop-highlights its
// selected item, so no drag here ends on the selected item.
#include "manager_session.h"
#include "tree_mouse.h"

#include "resource.h"

#include "testsupport/box_answerer.h"

#include <map>

using namespace mgrtest;

namespace {

// The drop menu's entries as Down presses from the top ("Move Here" first, the separator skipped).
constexpr int kMoveHere = 1, kCopyHere = 2, kCancel = 3;

// Every folder and file below Links and Groups by its path in the program
// folder: files with their bytes, folders with a trailing "\".
using Snapshot = std::map<std::string, std::string>;

void AddTree(const TempProgramFolder& dir, const std::string& relative, Snapshot* out) {
    (*out)[relative + "\\"] = "";
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA((dir / (relative + "\\*")).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = relative + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AddTree(dir, path, out);
        else
            (*out)[path] = dir.ReadFile(path);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

Snapshot TakeSnapshot(const TempProgramFolder& dir) {
    Snapshot s;
    AddTree(dir, "Links", &s);
    AddTree(dir, "Groups", &s);
    return s;
}

// The entries of a snapshot, one a line, for a readable difference.
std::string Listing(const Snapshot& s) {
    std::string text;
    for (const auto& [path, bytes] : s) text += path + " (" + std::to_string(bytes.size()) + " bytes)\n";
    return text;
}

// The disk holds what was expected; else the listings and the first path whose bytes differ.
::testing::AssertionResult DiskIs(const TempProgramFolder& dir, const Snapshot& expected) {
    const Snapshot now = TakeSnapshot(dir);
    if (now == expected) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << "on disk:\n" << Listing(now) << "expected:\n" << Listing(expected);
    for (const auto& [path, bytes] : now)
        if (auto it = expected.find(path); it != expected.end() && it->second != bytes) {
            failure << "other bytes in " << path;
            break;
        }
    return failure;
}

// A link saved under a name of the test's choice.
void SaveLink(const TempProgramFolder& dir, const std::string& folder, const std::string& name,
              const std::string& title) {
    dir.MakeFolder(folder.empty() ? "Links" : "Links\\" + folder);
    CURLObject record;
    record.link.title = title;
    record.link.address = "http://127.0.0.1:1/" + title;
    ASSERT_EQ(CLinkStore(dir.Path()).SaveURLObject(CURLEntry(folder, name), record), kErrNone);
}

// The session with its mouse; boxes are answered and counted, none expected.
struct DragSession : Session {
    testsupport::BoxAnswerer boxes;
    std::unique_ptr<TreeMouse> mouse;

    explicit DragSession(const TempProgramFolder& dir) : Session(dir), boxes(pid) {
        if (tree) mouse = std::make_unique<TreeMouse>(*tree);
    }

    // Waits until the item at a path is there and selected.
    bool WaitForCaretAt(const std::vector<std::string>& path) const {
        return WaitUntil([&] {
            HTREEITEM item = Item(path);
            return item && tree->Caret() == item;
        });
    }

    // A right drag onto an item and the drop menu answered: each press is that many Downs from the top and
    // Enter (on a grayed entry the menu stays), the last one closes the menu.
    ::testing::AssertionResult RightDrop(HTREEITEM from, HTREEITEM onto, std::initializer_list<int> presses) const {
        HWND menu = nullptr;
        // A late echo of the mouse's way can still land the release off the item, where the drop is refused and
        // the drag ends without a menu: the drag is made again.
        for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
            if (auto dragged = mouse->Drag(from, {onto}, Button::kRight); !dragged) return dragged;
            WaitUntil([&] { return (menu = PopupMenuOf(pid)) != nullptr || tree->DropHighlight() == nullptr; });
        }
        if (!menu) return ::testing::AssertionFailure() << "no drop menu: " << mouse->State();
        const int* last = presses.end() - 1;
        for (const int* downs = presses.begin(); downs != last; ++downs) PressInMenu(menu, *downs);
        if (!ChooseFromMenu(menu, *last)) return ::testing::AssertionFailure() << "the drop menu stayed open";
        return ::testing::AssertionSuccess();
    }

    // Selects an item after everything posted before has been handled.
    bool PostSelect(const std::vector<std::string>& path) const {
        HTREEITEM item = Item(path);
        if (!item) return false;
        ::PostMessageA(tree->Window(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        return WaitUntil([&] { return tree->Caret() == item; });
    }
};

}  // namespace

TEST(TreeDragProgram, ALeftDropMovesALinkWithItsGroupLinesAndOntoAGroupAddsItTwice) {
    ProgramFixture f;
    f.dir.MakeFolder("Groups");
    const std::string alpha = AddLink(f.dir, "", "Alpha");
    const std::string beta = AddLink(f.dir, "", "Beta");
    AddLink(f.dir, "Target", "Existing");
    // A gap: the moved link takes number 1, between the two.
    SaveLink(f.dir, "Target", "2.vsl", "Later");
    ASSERT_EQ(alpha, "0.vsl");
    ASSERT_EQ(beta, "1.vsl");
    f.dir.WriteFile("Groups\\One.vsg", "Links\\0.vsl\r\nLinks\\1.vsl\r\n");
    f.dir.WriteFile("Groups\\Two.vsg", "links\\0.VSL\r\n");
    const std::string alphaBytes = f.dir.ReadFile("Links\\0.vsl");
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Alpha"}));

    // The dragged link is the one the panes show: nothing may write it back where it was.
    s.Select({"Links", "Alpha"});
    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Alpha"}), s.Item({"Links", "Target"})));
    // The moved link is selected under the target once the move is done.
    EXPECT_TRUE(s.WaitForCaretAt({"Links", "Target", "Alpha"})) << s.tree->Text(s.tree->Caret());
    EXPECT_FALSE(f.dir.Exists("Links\\0.vsl"));
    ASSERT_TRUE(f.dir.Exists("Links\\Target\\1.vsl"));
    EXPECT_EQ(f.dir.ReadFile("Links\\Target\\1.vsl"), alphaBytes);
    EXPECT_TRUE(f.dir.Exists("Links\\Target\\0.vsl"));
    EXPECT_EQ(f.dir.ReadFile("Groups\\One.vsg"), "Links\\Target\\1.vsl\r\nLinks\\1.vsl\r\n");
    EXPECT_EQ(f.dir.ReadFile("Groups\\Two.vsg"), "Links\\Target\\1.vsl\r\n");
    EXPECT_EQ(s.Children({"Links", "Target"}), (std::vector<std::string>{"Existing", "Alpha", "Later"}));
    EXPECT_EQ(s.Children({"Links"}), (std::vector<std::string>{"Target", "Beta"}));

    // Onto a group: the link's member line once more each time, the link
    // stays, and the group's first member is selected.
    const std::string one = "Links\\Target\\1.vsl\r\nLinks\\1.vsl\r\n";
    for (const std::string& lines :
         {one + "Links\\Target\\1.vsl\r\n", one + "Links\\Target\\1.vsl\r\nLinks\\Target\\1.vsl\r\n"}) {
        ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Target", "Alpha"}), s.Item({"Groups", "One"})));
        EXPECT_TRUE(WaitUntil([&] { return f.dir.ReadFile("Groups\\One.vsg") == lines; }))
            << f.dir.ReadFile("Groups\\One.vsg");
        EXPECT_TRUE(WaitUntil([&] {
            HTREEITEM first = s.tree->Child(s.Item({"Groups", "One"}));
            return first && s.tree->Caret() == first;
        })) << s.tree->Text(s.tree->Caret());
    }
    const std::string betaBytes = f.dir.ReadFile("Links\\1.vsl");
    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Beta"}), s.Item({"Groups", "Two"})));
    EXPECT_TRUE(WaitUntil([&] {
        return f.dir.ReadFile("Groups\\Two.vsg") == "Links\\Target\\1.vsl\r\nLinks\\1.vsl\r\n";
    })) << f.dir.ReadFile("Groups\\Two.vsg");
    EXPECT_EQ(f.dir.ReadFile("Links\\Target\\1.vsl"), alphaBytes);
    EXPECT_EQ(f.dir.ReadFile("Links\\1.vsl"), betaBytes);
    EXPECT_TRUE(WaitUntil([&] { return s.Children({"Groups", "One"}).size() == 4; }));
    EXPECT_EQ(s.Children({"Groups", "One"}), (std::vector<std::string>{"Alpha", "Beta", "Alpha", "Alpha"}));

    // Back to the top: the first free number there, every line naming it follows.
    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Target", "Alpha"}), s.Item({"Links"})));
    EXPECT_TRUE(s.WaitForCaretAt({"Links", "Alpha"})) << s.tree->Text(s.tree->Caret());
    EXPECT_FALSE(f.dir.Exists("Links\\Target\\1.vsl"));
    EXPECT_EQ(f.dir.ReadFile("Links\\0.vsl"), alphaBytes);
    EXPECT_EQ(f.dir.ReadFile("Groups\\One.vsg"), "Links\\0.vsl\r\nLinks\\1.vsl\r\nLinks\\0.vsl\r\nLinks\\0.vsl\r\n");
    EXPECT_EQ(f.dir.ReadFile("Groups\\Two.vsg"), "Links\\0.vsl\r\nLinks\\1.vsl\r\n");
    EXPECT_EQ(s.Children({"Links"}), (std::vector<std::string>{"Target", "Alpha", "Beta"}));
    EXPECT_EQ(s.Children({"Groups", "Two"}), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

TEST(TreeDragProgram, ARightDropOffersMoveCopyAndCancel) {
    ProgramFixture f;
    f.dir.MakeFolder("Groups");
    AddLink(f.dir, "", "Alpha");
    AddLink(f.dir, "", "Beta");
    f.dir.MakeFolder("Links\\Other");
    const std::string alphaBytes = f.dir.ReadFile("Links\\0.vsl");
    const std::string betaBytes = f.dir.ReadFile("Links\\1.vsl");
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Alpha"}));

    // Onto its own folder: "Move Here" is grayed, so Enter on it leaves the
    // menu open, and the next entry copies. The caret is elsewhere: Wine's
    // tree does not drop-highlight its caret item.
    s.Select({"Groups"});
    ASSERT_TRUE(s.RightDrop(s.Item({"Links", "Alpha"}), s.Item({"Links"}), {kMoveHere, kCopyHere - kMoveHere}));
    ASSERT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\2.vsl"); }));
    EXPECT_EQ(f.dir.ReadFile("Links\\2.vsl"), alphaBytes);
    EXPECT_EQ(f.dir.ReadFile("Links\\0.vsl"), alphaBytes);
    EXPECT_TRUE(s.mouse->WaitForDragEnd());
    EXPECT_TRUE(WaitUntil([&] {
        return s.Children({"Links"}) == std::vector<std::string>{"Other", "Alpha", "Beta", "Alpha"};
    }));
    EXPECT_EQ(s.tree->Caret(), s.Item({"Groups"})) << "a copy is not selected";

    // Onto another folder: "Move Here" moves, as a left drop does.
    ASSERT_TRUE(s.RightDrop(s.Item({"Links", "Beta"}), s.Item({"Links", "Other"}), {kMoveHere}));
    EXPECT_TRUE(s.WaitForCaretAt({"Links", "Other", "Beta"}));
    EXPECT_FALSE(f.dir.Exists("Links\\1.vsl"));
    EXPECT_EQ(f.dir.ReadFile("Links\\Other\\0.vsl"), betaBytes);
    EXPECT_TRUE(s.mouse->WaitForDragEnd());

    // "Cancel" ends the drag and changes nothing.
    const Snapshot before = TakeSnapshot(f.dir);
    ASSERT_TRUE(s.RightDrop(s.Item({"Links", "Alpha"}), s.Item({"Links", "Other"}), {kCancel}));
    EXPECT_TRUE(s.mouse->WaitForDragEnd());
    EXPECT_TRUE(DiskIs(f.dir, before));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

TEST(TreeDragProgram, AFolderMovesWithItsWholeTreeAndItsGroupLines) {
    ProgramFixture f;
    f.dir.MakeFolder("Groups");
    SaveLink(f.dir, "Travel", "0.vsl", "Rome");
    SaveLink(f.dir, "Travel\\Europe", "4.vsl", "Paris");
    SaveLink(f.dir, "Travel\\Europe", "7.vsl", "Oslo");
    f.dir.MakeFolder("Links\\Travel\\Europe\\Empty");
    SaveLink(f.dir, "Archive", "0.vsl", "Old");
    f.dir.WriteFile("Groups\\G.vsg",
                    "Links\\Travel\\Europe\\4.vsl\r\nLinks\\Archive\\0.vsl\r\nlinks\\TRAVEL\\Europe\\7.vsl\r\n");
    const Snapshot before = TakeSnapshot(f.dir);
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Travel"}));

    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Travel"}), s.Item({"Links", "Archive"})));
    EXPECT_TRUE(s.WaitForCaretAt({"Links", "Archive", "Travel"})) << s.tree->Text(s.tree->Caret());

    // Everything below Travel arrives below Archive\Travel, byte for byte, and nothing stays behind.
    Snapshot expected;
    const std::string from = "Links\\Travel\\";
    for (const auto& [path, bytes] : before)
        expected[path.compare(0, from.size(), from) == 0 ? "Links\\Archive\\Travel\\" + path.substr(from.size())
                                                         : path] = bytes;
    // A line naming the folder in other letters keeps the rest of its letters.
    expected["Groups\\G.vsg"] =
        "Links\\Archive\\Travel\\Europe\\4.vsl\r\nLinks\\Archive\\0.vsl\r\nLinks\\Archive\\Travel\\Europe\\7.vsl\r\n";
    EXPECT_TRUE(DiskIs(f.dir, expected));
    EXPECT_EQ(s.Children({"Links", "Archive", "Travel"}), (std::vector<std::string>{"Europe", "Rome"}));
    EXPECT_EQ(s.Children({"Links", "Archive", "Travel", "Europe"}),
              (std::vector<std::string>{"Empty", "Paris", "Oslo"}));
    EXPECT_EQ(s.Children({"Groups", "G"}), (std::vector<std::string>{"Paris", "Old", "Oslo"}));
    EXPECT_EQ(s.Item({"Links", "Travel"}), nullptr);

    // A subfolder moved up to the top: its lines lose the folders it left.
    s.tree->Expand(s.Item({"Links", "Archive", "Travel"}));
    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Archive", "Travel", "Europe"}), s.Item({"Links"})));
    EXPECT_TRUE(s.WaitForCaretAt({"Links", "Europe"})) << s.tree->Text(s.tree->Caret());
    EXPECT_EQ(f.dir.ReadFile("Groups\\G.vsg"),
              "Links\\Europe\\4.vsl\r\nLinks\\Archive\\0.vsl\r\nLinks\\Europe\\7.vsl\r\n");
    EXPECT_EQ(f.dir.ReadFile("Links\\Europe\\4.vsl"), before.at("Links\\Travel\\Europe\\4.vsl"));
    EXPECT_TRUE(f.dir.Exists("Links\\Europe\\Empty"));
    EXPECT_FALSE(f.dir.Exists("Links\\Archive\\Travel\\Europe"));
    EXPECT_EQ(s.Children({"Links", "Archive", "Travel"}), (std::vector<std::string>{"Rome"}));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

TEST(TreeDragProgram, RefusedDragsAndDropsLeaveTheDiskAsItWas) {
    ProgramFixture f;
    f.dir.MakeFolder("Groups");
    SaveLink(f.dir, "A", "0.vsl", "In A");
    SaveLink(f.dir, "A\\Sub", "0.vsl", "In Sub");
    f.dir.MakeFolder("Links\\B\\a");
    SaveLink(f.dir, "C", "0.vsl", "a");
    f.dir.MakeFolder("Links\\Bin");
    SaveLink(f.dir, "", "0.vsl", "Sentinel");
    SaveLink(f.dir, "", "1.vsl", "Link");
    f.dir.WriteFile("Groups\\G.vsg", "Links\\1.vsl\r\n");
    Snapshot expected = TakeSnapshot(f.dir);
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "A"}));
    // What the drags start from or go to must be shown.
    for (const std::vector<std::string>& path :
         {std::vector<std::string>{"Links", "A"}, {"Groups", "G"}, {"Templates"}})
        s.tree->Expand(s.Item(path));
    ASSERT_TRUE(WaitUntil([&] { return s.Item({"Templates", "Default Template"}) != nullptr; }));
    // The caret, which Wine's tree does not drop-highlight, is on no item that is dragged over.
    s.Select({"Links", "B", "a"});

    HTREEITEM a = s.Item({"Links", "A"});
    HTREEITEM bin = s.Item({"Links", "Bin"});
    HTREEITEM link = s.Item({"Links", "Link"});
    struct Drop {
        const char* what;
        HTREEITEM from;
        std::vector<HTREEITEM> way;
        Button button = Button::kLeft;
    };
    // Drags that start, with drops the view refuses; a way onto the dragged
    // item itself passes another first. A refused right drop shows no menu: the drag just ends.
    const Drop refusedDrops[] = {
        {"a folder onto itself", a, {bin, a}},
        {"a folder onto its parent", a, {s.Item({"Links"})}},
        {"a folder onto its own subfolder", a, {s.Item({"Links", "A", "Sub"})}},
        {"a folder onto one holding a folder of its name in another case", a, {s.Item({"Links", "B"})}},
        {"a folder onto one holding a link of its name in another case", a, {s.Item({"Links", "C"})}},
        {"a folder onto a group", a, {s.Item({"Groups", "G"})}},
        {"a folder onto a group, right", a, {s.Item({"Groups", "G"})}, Button::kRight},
        {"a folder onto its parent, right", a, {s.Item({"Links"})}, Button::kRight},
        {"a link onto its own folder", link, {s.Item({"Links"})}},
        {"a link onto itself", link, {bin, link}},
        {"a link onto another link", link, {s.Item({"Links", "Sentinel"})}},
        {"a link onto the root", link, {s.tree->Root()}},
        {"a link onto Groups", link, {s.Item({"Groups"})}},
        {"a link onto a member", link, {s.Item({"Groups", "G", "Link"})}},
        {"a link onto Templates", link, {s.Item({"Templates"})}},
        {"a link onto the template", link, {s.Item({"Templates", "Default Template"})}},
        {"a link onto the root, right", link, {s.tree->Root()}, Button::kRight},
    };
    for (const Drop& drop : refusedDrops) {
        EXPECT_TRUE(s.mouse->Drag(drop.from, drop.way, drop.button)) << drop.what;
        EXPECT_TRUE(s.mouse->WaitForDragEnd()) << drop.what;
    }
    // Items that cannot be dragged at all.
    const std::vector<std::string> undraggable[] = {
        {},
        {"Links"},
        {"Groups"},
        {"Templates"},
        {"Templates", "Default Template"},
        {"Groups", "G"},
        {"Groups", "G", "Link"},
    };
    for (const std::vector<std::string>& path : undraggable) {
        HTREEITEM item = s.Item(path);
        ASSERT_TRUE(item) << path.size();
        EXPECT_TRUE(s.mouse->DragUnstarted(item, bin)) << s.tree->Text(item);
    }

    // Input is handled in order: once this one good drop is done, all the above were.
    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Sentinel"}), bin));
    ASSERT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\Bin\\0.vsl"); }));
    ASSERT_TRUE(WaitUntil([&] { return !f.dir.Exists("Links\\0.vsl"); }));
    expected["Links\\Bin\\0.vsl"] = expected["Links\\0.vsl"];
    expected.erase("Links\\0.vsl");
    EXPECT_TRUE(DiskIs(f.dir, expected));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

TEST(TreeDragProgram, CutCopyAndPasteMoveDuplicateAndAddToGroups) {
    ProgramFixture f;
    SaveLink(f.dir, "", "0.vsl", "Alpha");
    SaveLink(f.dir, "", "1.vsl", "Beta");
    f.dir.MakeFolder("Links\\Dest");
    SaveLink(f.dir, "Fold", "0.vsl", "Inner");
    f.dir.MakeFolder("Groups");
    f.dir.WriteFile("Groups\\G.vsg", "");
    Snapshot expected = TakeSnapshot(f.dir);
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Alpha"}));

    // Cut a link, Paste onto a folder: moved.
    s.Select({"Links", "Alpha"});
    s.Command(ID_EDIT_CUT);
    ASSERT_TRUE(WaitUntil([&] { return s.tree->Image(s.Item({"Links", "Alpha"})) == 10; }));
    ASSERT_TRUE(s.PostSelect({"Links", "Dest"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\Dest\\0.vsl") && !f.dir.Exists("Links\\0.vsl"); }));
    expected["Links\\Dest\\0.vsl"] = expected["Links\\0.vsl"];
    expected.erase("Links\\0.vsl");
    EXPECT_TRUE(WaitUntil([&] { return s.Item({"Links", "Dest", "Alpha"}) != nullptr; }));
    EXPECT_EQ(s.Item({"Links", "Alpha"}), nullptr);

    // Cut, then Paste onto the source's own parent: nothing. A Copy then
    // pasted there duplicates the link, and shows the Paste before it was handled.
    s.Select({"Links", "Beta"});
    s.Command(ID_EDIT_CUT);
    ASSERT_TRUE(WaitUntil([&] { return s.tree->Image(s.Item({"Links", "Beta"})) == 10; }));
    ASSERT_TRUE(s.PostSelect({"Links"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(s.PostSelect({"Links", "Beta"}));
    s.Command(ID_EDIT_COPY);
    ASSERT_TRUE(s.PostSelect({"Links"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\0.vsl"); }));
    expected["Links\\0.vsl"] = expected["Links\\1.vsl"];
    EXPECT_TRUE(WaitUntil([&] { return s.Children({"Links"}).size() == 4; }));
    EXPECT_EQ(s.Children({"Links"}), (std::vector<std::string>{"Dest", "Fold", "Beta", "Beta"}));
    EXPECT_EQ(s.tree->Image(s.Item({"Links", "Beta"})), 3);

    // Copy a folder, Paste onto its own parent: nothing. A copied link pasted
    // onto a group adds one line, and shows the folder's Paste was handled first.
    ASSERT_TRUE(s.PostSelect({"Links", "Fold"}));
    s.Command(ID_EDIT_COPY);
    ASSERT_TRUE(s.PostSelect({"Links"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(s.PostSelect({"Links", "Beta"}));
    s.Command(ID_EDIT_COPY);
    ASSERT_TRUE(s.PostSelect({"Groups", "G"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitUntil([&] { return !f.dir.ReadFile("Groups\\G.vsg").empty(); }));
    expected["Groups\\G.vsg"] = "Links\\0.vsl\r\n";

    // Cut a folder (its own cut picture), Paste onto another: the tree moves.
    ASSERT_TRUE(s.PostSelect({"Links", "Fold"}));
    s.Command(ID_EDIT_CUT);
    ASSERT_TRUE(WaitUntil([&] { return s.tree->Image(s.Item({"Links", "Fold"})) == 8; }));
    ASSERT_TRUE(s.PostSelect({"Links", "Dest"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\Dest\\Fold\\0.vsl") && !f.dir.Exists("Links\\Fold"); }));
    expected["Links\\Dest\\Fold\\"] = "";
    expected["Links\\Dest\\Fold\\0.vsl"] = expected["Links\\Fold\\0.vsl"];
    expected.erase("Links\\Fold\\");
    expected.erase("Links\\Fold\\0.vsl");
    EXPECT_TRUE(WaitUntil([&] { return s.Item({"Links", "Dest", "Fold", "Inner"}) != nullptr; }));
    EXPECT_EQ(s.Item({"Links", "Fold"}), nullptr);
    EXPECT_TRUE(DiskIs(f.dir, expected));
    EXPECT_TRUE(WaitUntil([&] { return s.Children({"Groups", "G"}).size() == 1; }));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

TEST(TreeDragProgram, RightDropsCopyALinkIntoAGroupAndAFolderTree) {
    ProgramFixture f;
    SaveLink(f.dir, "", "0.vsl", "Alpha");
    SaveLink(f.dir, "Travel", "0.vsl", "Rome");
    SaveLink(f.dir, "Travel\\Europe", "3.vsl", "Paris");
    f.dir.MakeFolder("Links\\Archive");
    f.dir.MakeFolder("Groups");
    f.dir.WriteFile("Groups\\G.vsg", "");
    Snapshot expected = TakeSnapshot(f.dir);
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Alpha"}));
    HTREEITEM caret = s.tree->Caret();

    // Onto a group "Move Here" is grayed; "Copy Here" adds the member line.
    ASSERT_TRUE(s.RightDrop(s.Item({"Links", "Alpha"}), s.Item({"Groups", "G"}), {kMoveHere, kCopyHere - kMoveHere}));
    ASSERT_TRUE(WaitUntil([&] { return f.dir.ReadFile("Groups\\G.vsg") == "Links\\0.vsl\r\n"; }));
    expected["Groups\\G.vsg"] = "Links\\0.vsl\r\n";
    EXPECT_TRUE(s.mouse->WaitForDragEnd());

    // A link copied into another folder gets its first free number there.
    ASSERT_TRUE(s.RightDrop(s.Item({"Links", "Alpha"}), s.Item({"Links", "Archive"}), {kCopyHere}));
    ASSERT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\Archive\\0.vsl"); }));
    expected["Links\\Archive\\0.vsl"] = expected["Links\\0.vsl"];
    EXPECT_TRUE(s.mouse->WaitForDragEnd());

    // A folder copied into another: the whole tree arrives, the source stays.
    ASSERT_TRUE(s.RightDrop(s.Item({"Links", "Travel"}), s.Item({"Links", "Archive"}), {kCopyHere}));
    ASSERT_TRUE(WaitUntil([&] { return s.Item({"Links", "Archive", "Travel"}) != nullptr; }));
    EXPECT_TRUE(s.mouse->WaitForDragEnd());
    for (const std::string path :
         {"Links\\Travel\\", "Links\\Travel\\0.vsl", "Links\\Travel\\Europe\\", "Links\\Travel\\Europe\\3.vsl"})
        expected["Links\\Archive\\" + path.substr(6)] = expected[path];
    EXPECT_TRUE(DiskIs(f.dir, expected));
    EXPECT_EQ(s.tree->Caret(), caret) << "a copy is not selected";
    EXPECT_EQ(s.Children({"Links", "Archive"}), (std::vector<std::string>{"Travel", "Alpha"}));
    EXPECT_EQ(s.Children({"Links", "Archive", "Travel"}), (std::vector<std::string>{"Europe", "Rome"}));
    EXPECT_EQ(s.Children({"Links"}), (std::vector<std::string>{"Archive", "Travel", "Alpha"}));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

TEST(TreeDragProgram, AnOpenDragKeepsItsTargetUntilAPressAndItsStartEndsACut) {
    ProgramFixture f;
    SaveLink(f.dir, "", "0.vsl", "Alpha");
    SaveLink(f.dir, "", "1.vsl", "Beta");
    SaveLink(f.dir, "", "2.vsl", "Gamma");
    f.dir.MakeFolder("Links\\Dest");
    f.dir.MakeFolder("Links\\Far");
    f.dir.MakeFolder("Groups");
    f.dir.WriteFile("Groups\\G.vsg", "");
    Snapshot expected = TakeSnapshot(f.dir);
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Gamma"}));

    // A Cut, then a drag released where no item is: the drop goes to the last
    // highlighted item, and the drag's start gave the cut link its own picture back.
    s.Select({"Links", "Gamma"});
    s.Command(ID_EDIT_CUT);
    ASSERT_TRUE(WaitUntil([&] { return s.tree->Image(s.Item({"Links", "Gamma"})) == 10; }));
    ASSERT_TRUE(s.mouse->DragReleasingBelowTheItems(s.Item({"Links", "Alpha"}), s.Item({"Links", "Dest"})));
    ASSERT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\Dest\\0.vsl") && !f.dir.Exists("Links\\0.vsl"); }));
    expected["Links\\Dest\\0.vsl"] = expected["Links\\0.vsl"];
    expected.erase("Links\\0.vsl");
    EXPECT_TRUE(WaitUntil([&] { return s.tree->Image(s.Item({"Links", "Gamma"})) == 3; }));
    // The Cut is over, so Paste has nothing to move.
    ASSERT_TRUE(s.PostSelect({"Links", "Far"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(s.PostSelect({"Groups"}));

    // A drop menu dismissed with Escape leaves the drag open: the highlight
    // stays and follows the mouse until the next press ends it.
    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Beta"}), {s.Item({"Links", "Far"})}, Button::kRight));
    HWND menu = WaitForPopupMenu(s.pid);
    ASSERT_TRUE(menu) << s.mouse->State();
    ASSERT_TRUE(DismissMenu(menu));
    EXPECT_EQ(s.tree->DropHighlight(), s.Item({"Links", "Far"}));
    EXPECT_TRUE(s.mouse->Hover(s.Item({"Links", "Dest"})));
    ASSERT_TRUE(s.mouse->Click(s.Item({"Links", "Gamma"})));
    EXPECT_TRUE(s.WaitForCaretAt({"Links", "Gamma"}));
    EXPECT_TRUE(s.mouse->WaitForDragEnd());

    // The context menu ends such a drag as well.
    ASSERT_TRUE(s.mouse->Drag(s.Item({"Links", "Beta"}), {s.Item({"Links", "Far"})}, Button::kRight));
    menu = WaitForPopupMenu(s.pid);
    ASSERT_TRUE(menu);
    ASSERT_TRUE(DismissMenu(menu));
    EXPECT_EQ(s.tree->DropHighlight(), s.Item({"Links", "Far"}));
    ASSERT_TRUE(s.mouse->Click(s.Item({"Links", "Dest"}), Button::kRight));
    HWND context = WaitForPopupMenu(s.pid);
    ASSERT_TRUE(context);
    EXPECT_TRUE(s.mouse->WaitForDragEnd());
    ASSERT_TRUE(DismissMenu(context));

    // Once a copy pasted into the group is done, all the above was handled.
    s.Select({"Links", "Beta"});
    s.Command(ID_EDIT_COPY);
    ASSERT_TRUE(s.PostSelect({"Groups", "G"}));
    s.Command(ID_EDIT_PASTE);
    ASSERT_TRUE(WaitUntil([&] { return !f.dir.ReadFile("Groups\\G.vsg").empty(); }));
    expected["Groups\\G.vsg"] = "Links\\1.vsl\r\n";
    EXPECT_TRUE(DiskIs(f.dir, expected));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

TEST(TreeDragProgram, AMoveWhoseCopyFailsKeepsItsSourceAndSaysSo) {
    ProgramFixture f;
    SaveLink(f.dir, "", "0.vsl", "Alpha");
    SaveLink(f.dir, "Src", "0.vsl", "Inner");
    SaveLink(f.dir, "Src\\Deep", "0.vsl", "Deeper");
    f.dir.MakeFolder("Links\\Gone");
    f.dir.MakeFolder("Groups");
    f.dir.WriteFile("Groups\\G.vsg", "Links\\0.vsl\r\nLinks\\Src\\Deep\\0.vsl\r\n");
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Alpha"}));
    // The tree still shows the folder that is taken away behind its back.
    ASSERT_TRUE(::RemoveDirectoryA((f.dir / "Links\\Gone").c_str()));
    const Snapshot before = TakeSnapshot(f.dir);

    // Each failed drop is reported once its drag has ended; the box is answered before the next drag.
    const std::vector<std::string> dragged[] = {{"Links", "Alpha"}, {"Links", "Src"}};
    for (size_t i = 0; i < std::size(dragged); ++i) {
        ASSERT_TRUE(s.mouse->Drag(s.Item(dragged[i]), s.Item({"Links", "Gone"}))) << dragged[i].back();
        ASSERT_TRUE(s.boxes.WaitForBoxes(i + 1)) << dragged[i].back();
        EXPECT_EQ(s.boxes.Boxes()[i].caption, "VessaMgr");
    }
    EXPECT_TRUE(DiskIs(f.dir, before));
    EXPECT_TRUE(s.Item({"Links", "Src", "Deep", "Deeper"}));
    EXPECT_TRUE(s.Item({"Links", "Alpha"}));
}

TEST(TreeDragProgram, TheCursorShowsWhetherTheHighlightedItemTakesTheDrop) {
    ProgramFixture f;
    SaveLink(f.dir, "A", "0.vsl", "In A");
    SaveLink(f.dir, "A\\Sub", "0.vsl", "In Sub");
    f.dir.MakeFolder("Links\\B");
    SaveLink(f.dir, "", "0.vsl", "Link");
    f.dir.MakeFolder("Groups");
    f.dir.WriteFile("Groups\\G.vsg", "");
    const Snapshot before = TakeSnapshot(f.dir);
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "A"}));
    s.tree->Expand(s.Item({"Links", "A"}));
    ASSERT_TRUE(WaitUntil([&] { return s.Item({"Links", "A", "Sub"}) != nullptr; }));

    // Cursor handles belong to their process: the manager's arrow is the one
    // its tree shows when a drag has just started, and the refusal is the
    // other one, the same each time.
    enum Shown { kArrow, kRefused };
    struct Over {
        std::vector<std::string> path;
        Shown shown;
    };
    HCURSOR arrow = nullptr;
    HCURSOR refused = nullptr;
    auto hoverAll = [&](const std::vector<std::string>& from, const std::vector<Over>& way) {
        ASSERT_TRUE(s.mouse->Begin(s.Item(from)));
        if (!arrow) arrow = ShownCursor();
        for (const Over& over : way) {
            EXPECT_TRUE(s.mouse->Hover(s.Item(over.path))) << over.path.back();
            if (over.shown == kArrow) {
                EXPECT_TRUE(WaitUntil([&] { return ShownCursor() == arrow; })) << over.path.back();
                continue;
            }
            HCURSOR shown = nullptr;
            EXPECT_TRUE(WaitUntil([&] { return (shown = ShownCursor()) != arrow && shown; })) << over.path.back();
            if (!refused) refused = shown;
            EXPECT_EQ(shown, refused) << over.path.back();
        }
        // Released over the last, refused item: nothing moves.
        EXPECT_TRUE(s.mouse->Drop());
    };
    hoverAll({"Links", "A"}, {{{"Links", "A", "Sub"}, kRefused},
                              {{"Links", "B"}, kArrow},
                              {{"Links"}, kRefused},
                              {{"Groups", "G"}, kRefused},
                              {{"Links", "B"}, kArrow},
                              {{"Links", "A"}, kRefused}});
    hoverAll({"Links", "Link"}, {{{"Links", "A"}, kArrow},
                                 {{"Groups"}, kRefused},
                                 {{"Groups", "G"}, kArrow},
                                 {{"Links", "A", "Sub"}, kArrow},
                                 {{"Links", "Link"}, kRefused}});
    EXPECT_TRUE(DiskIs(f.dir, before));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}

// Wine's tree never drop-highlights its selected item, yet the drop goes to
// the item under the cursor: the cursor has to tell the truth about that drop.
TEST(TreeDragProgram, OverTheSelectedFolderTheCursorAllowsTheDropThatFollows) {
    ProgramFixture f;
    SaveLink(f.dir, "", "0.vsl", "Alpha");
    f.dir.MakeFolder("Links\\C");
    f.dir.MakeFolder("Groups");
    DragSession s(f.dir);
    ASSERT_TRUE(s.frame);
    ASSERT_TRUE(s.Item({"Links", "Alpha"}));
    s.Select({"Links", "C"});

    ASSERT_TRUE(s.mouse->Begin(s.Item({"Links", "Alpha"})));
    const HCURSOR arrow = ShownCursor();
    ASSERT_TRUE(s.mouse->Hover(s.Item({"Groups"})));
    EXPECT_TRUE(WaitUntil([&] { return ShownCursor() != arrow; }));
    ASSERT_TRUE(s.mouse->MoveOver(s.Item({"Links", "C"})));
    EXPECT_TRUE(WaitUntil([&] { return ShownCursor() == arrow; }))
        << "the refusal is shown over a folder that takes the drop";
    EXPECT_TRUE(s.mouse->Drop());
    EXPECT_TRUE(WaitUntil([&] { return f.dir.Exists("Links\\C\\0.vsl"); }));
    EXPECT_TRUE(s.boxes.Boxes().empty()) << s.boxes.Boxes().front().text;
}
