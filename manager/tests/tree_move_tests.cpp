// Moves and copies in the tree in-process: the drop and paste rules as
// tables, the drop menu's states, drags made by the control itself from
// mouse messages, Cut, Copy and Paste, and what a failed step leaves.
#include "tree_fixture.h"

#include "AppConstants.h"
#include "LinkTreeRules.h"
#include "resource.h"

#include "fw/file.h"
#include "fw/handles.h"
#include "testsupport/box_answerer.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

using mgrtest::TreeFixture;

namespace {

// This test program's import of kernel32's CopyFileA, the one the tree's
// copies call, replaced while the object lives: just before each copy,
// another writer makes the copy's target with bytes of its own. So the
// target appears after every check the copy made, the way a second program
// would make it.
class TargetAppearsBeforeCopy {
public:
    TargetAppearsBeforeCopy() {
        auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
            if (_stricmp(reinterpret_cast<const char*>(base + dll->Name), "kernel32.dll") != 0) continue;
            auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
            auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
            for (; name->u1.AddressOfData; ++name, ++slot) {
                if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "CopyFileA") == 0) slot_ = &slot->u1.Function;
            }
        }
        if (!slot_) return;
        real_ = reinterpret_cast<CopyFn>(*slot_);
        Put(reinterpret_cast<ULONG_PTR>(&Copy));
    }
    ~TargetAppearsBeforeCopy() {
        if (slot_) Put(reinterpret_cast<ULONG_PTR>(real_));
    }
    explicit operator bool() const { return slot_ != nullptr; }
    static constexpr char kTheirs[] = "theirs";

private:
    using CopyFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, BOOL);
    static BOOL WINAPI Copy(LPCSTR from, LPCSTR to, BOOL failIfExists) {
        fw::FileHandle theirs(::CreateFileA(to, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD wrote = 0;
        if (theirs) ::WriteFile(theirs.get(), kTheirs, sizeof(kTheirs) - 1, &wrote, nullptr);
        theirs.reset();
        return real_(from, to, failIfExists);
    }
    void Put(ULONG_PTR value) {
        DWORD old = 0;
        ::VirtualProtect(slot_, sizeof(*slot_), PAGE_READWRITE, &old);
        *slot_ = value;
        ::VirtualProtect(slot_, sizeof(*slot_), old, &old);
    }
    ULONG_PTR* slot_ = nullptr;
    static inline CopyFn real_ = nullptr;
};

// The tree fixture and: Archive holding a link titled "daily", Other holding a folder "news".
struct MoveFixture : TreeFixture {
    std::string archived;

    MoveFixture() {
        dir.MakeFolder("Links\\Archive");
        archived = AddLink("Archive", "daily");
        dir.MakeFolder("Links\\Other\\news");
    }

    // The item at a path of texts below the root.
    HTREEITEM At(std::initializer_list<std::string> path) const {
        HTREEITEM item = tree->Root();
        for (const std::string& text : path) item = item ? Child(item, text) : nullptr;
        return item;
    }
    HTREEITEM Caret() const { return TreeView_GetSelection(tree->hwnd()); }
    POINT Centre(HTREEITEM item) const {
        RECT rc{};
        TreeView_GetItemRect(tree->hwnd(), item, &rc, TRUE);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    static LPARAM Point(POINT pt) { return MAKELPARAM(pt.x, pt.y); }

    // A press on the item followed by a move far away: the control's own
    // drag detection sees the move and starts the drag.
    void Press(HTREEITEM item, bool right = false) {
        ASSERT_TRUE(item);
        TreeView_EnsureVisible(tree->hwnd(), item);
        const POINT at = Centre(item);
        const WPARAM button = right ? MK_RBUTTON : MK_LBUTTON;
        ::PostMessageA(tree->hwnd(), WM_MOUSEMOVE, button, Point({at.x + 40, at.y + 40}));
        ::SendMessageA(tree->hwnd(), right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, button, Point(at));
    }
    void Over(HTREEITEM item, bool right = false) {
        ASSERT_TRUE(item);
        ::SendMessageA(tree->hwnd(), WM_MOUSEMOVE, right ? MK_RBUTTON : MK_LBUTTON, Point(Centre(item)));
    }
    void LeftDrag(HTREEITEM from, HTREEITEM onto) {
        Press(from);
        ASSERT_TRUE(tree->Dragging());
        Over(onto);
        ::SendMessageA(tree->hwnd(), WM_LBUTTONUP, 0, Point(Centre(onto)));
        EXPECT_FALSE(tree->Dragging());
    }
    // A right drag whose drop menu is answered by the keys, queued before the menu opens.
    void RightDrag(HTREEITEM from, HTREEITEM onto, std::initializer_list<WPARAM> keys) {
        Press(from, true);
        ASSERT_TRUE(tree->Dragging());
        Over(onto, true);
        for (WPARAM key : keys) ::PostMessageA(tree->hwnd(), WM_KEYDOWN, key, 0);
        ::SendMessageA(tree->hwnd(), WM_RBUTTONUP, 0, Point(Centre(onto)));
        testsupport::PumpFor(0);
    }
    void Command(UINT id) { tree->HandleCommand(id); }
    bool Enabled(UINT id) const { return TreeCommandEnabled(id, tree->CommandState()); }
    std::string Group(const std::string& name) const { return dir.ReadFile("Groups\\" + name + ".vsg"); }
    std::vector<std::string> Files(const std::string& folder) const {
        std::vector<std::string> files;
        CFolderUtil(dir.Path()).ListFiles(dir / folder, "vsl", &files);
        std::sort(files.begin(), files.end());
        return files;
    }
};

struct RuleCase {
    std::vector<std::string> item;
    std::vector<std::string> target;
    bool allowed;
};

HTREEITEM AtPath(const MoveFixture& f, const std::vector<std::string>& path) {
    HTREEITEM item = f.tree->Root();
    for (const std::string& text : path) item = item ? f.Child(item, text) : nullptr;
    return item;
}

std::string Describe(const RuleCase& c) {
    std::string text;
    for (const auto& t : c.item) text += "\\" + t;
    text += " onto ";
    for (const auto& t : c.target) text += "\\" + t;
    return text;
}

}  // namespace

TEST(TreeMove, CanDropFollowsKindsParentsAncestryAndNamesWithoutRegardToCase) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    const std::string tmpl = AppConstants::kDefaultTemplateTitle;
    const RuleCase cases[] = {
        {{"Links", "Alpha"}, {"Links"}, true},  // its own folder: the right drop's Copy Here
        {{"Links", "Alpha"}, {"Links", "News"}, true},
        {{"Links", "Alpha"}, {"Groups", "Weekend"}, true},
        {{"Links", "Alpha"}, {"Links", "Other", "news"}, true},
        {{"Links", "Alpha"}, {"Groups"}, false},
        {{"Links", "Alpha"}, {"Templates"}, false},
        {{"Links", "Alpha"}, {"Templates", tmpl}, false},
        {{"Links", "Alpha"}, {"Links", "Beta"}, false},
        {{"Links", "Alpha"}, {"Groups", "Weekend", "Beta"}, false},
        {{"Links", "Alpha"}, {}, false},
        {{"Links", "News"}, {"Links", "Archive"}, true},
        {{"Links", "News", "Daily"}, {"Links"}, true},
        {{"Links", "News"}, {"Links"}, false},                   // its parent
        {{"Links", "News"}, {"Links", "News"}, false},           // itself
        {{"Links", "News"}, {"Links", "News", "Daily"}, false},  // below itself
        {{"Links", "News"}, {"Links", "Other"}, false},          // "news" is there
        {{"Links", "News", "Daily"}, {"Links", "Archive"}, false},  // a link titled "daily" is there
        {{"Links", "News"}, {"Groups", "Weekend"}, false},
        {{"Links"}, {"Links", "News"}, false},
        {{"Groups"}, {"Links"}, false},
        {{"Templates"}, {"Links"}, false},
        {{"Templates", tmpl}, {"Links"}, false},
        {{"Groups", "Weekend"}, {"Links"}, false},
        {{"Groups", "Weekend", "Beta"}, {"Links"}, false},
        {{}, {"Links"}, false},
    };
    for (const RuleCase& c : cases) {
        HTREEITEM item = AtPath(f, c.item);
        HTREEITEM target = AtPath(f, c.target);
        ASSERT_TRUE(item && target) << Describe(c);
        EXPECT_EQ(tree.CanDrop(item, target), c.allowed) << Describe(c);
    }
}

TEST(TreeMove, CanPasteAndThePasteCommandFollowCutAndCopy) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    f.dir.MakeFolder("Links\\Titled");
    struct PasteCase {
        UINT command;
        std::vector<std::string> source;
        std::vector<std::string> target;
        bool canPaste;
        bool enabled;
    };
    const PasteCase cases[] = {
        // A copied link may always go to a folder or a group, its own folder included.
        {ID_EDIT_COPY, {"Links", "Alpha"}, {"Links"}, false, true},
        {ID_EDIT_COPY, {"Links", "Alpha"}, {"Links", "News"}, true, true},
        {ID_EDIT_COPY, {"Links", "Alpha"}, {"Groups", "Weekend"}, false, true},
        {ID_EDIT_COPY, {"Links", "Alpha"}, {"Groups"}, false, false},
        {ID_EDIT_COPY, {"Links", "News"}, {"Links"}, false, false},  // its parent holds its name
        {ID_EDIT_COPY, {"Links", "News"}, {"Links", "Archive"}, true, true},
        {ID_EDIT_COPY, {"Links", "News"}, {"Links", "News"}, false, false},
        {ID_EDIT_COPY, {"Links", "News"}, {"Links", "News", "Daily"}, false, false},
        {ID_EDIT_COPY, {"Links", "News"}, {"Links", "Other"}, false, false},
        {ID_EDIT_COPY, {"Links", "News"}, {"Groups", "Weekend"}, false, false},
        {ID_EDIT_CUT, {"Links", "Alpha"}, {"Links"}, false, false},  // its own parent
        {ID_EDIT_CUT, {"Links", "Alpha"}, {"Links", "News"}, true, true},
        {ID_EDIT_CUT, {"Links", "Alpha"}, {"Groups", "Weekend"}, false, false},
        {ID_EDIT_CUT, {"Links", "News"}, {"Links", "Archive"}, true, true},
        {ID_EDIT_CUT, {"Links", "News"}, {"Links"}, false, false},
        {ID_EDIT_CUT, {"Links", "News"}, {"Links", "Other"}, false, false},
        {ID_EDIT_CUT, {"Links", "News", "Daily"}, {"Links", "Archive"}, false, false},
    };
    for (const PasteCase& c : cases) {
        const std::string name = Describe({c.source, c.target, false}) + (c.command == ID_EDIT_CUT ? " (cut)" : "");
        HTREEITEM source = AtPath(f, c.source);
        HTREEITEM target = AtPath(f, c.target);
        ASSERT_TRUE(source && target) << name;
        f.Select(source);
        f.Command(c.command);
        EXPECT_EQ(tree.ClipboardSource(), source) << name;
        f.Select(target);
        EXPECT_EQ(tree.CanPaste(source, target), c.canPaste) << name;
        EXPECT_EQ(f.Enabled(ID_EDIT_PASTE), c.enabled) << name;
    }
    // A cut link keeps its right to a folder that holds a link of its title.
    f.AddLink("Titled", "Alpha");
    tree.RefreshItem(tree.LinksItem());
    ASSERT_TRUE(f.At({"Links", "Titled", "Alpha"}));
    f.Select(f.At({"Links", "Alpha"}));
    f.Command(ID_EDIT_CUT);
    EXPECT_TRUE(tree.CanPaste(f.At({"Links", "Alpha"}), f.At({"Links", "Titled"})));
    f.Select(f.At({"Links", "Alpha"}));
    f.Command(ID_EDIT_COPY);
    EXPECT_FALSE(tree.CanPaste(f.At({"Links", "Alpha"}), f.At({"Links", "Titled"})));
}

TEST(TreeMove, TheDropMenuGraysMoveHereOntoTheParentAndOntoAGroup) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    struct MenuCase {
        std::vector<std::string> target;
        bool moveEnabled;
    };
    const MenuCase cases[] = {{{"Links"}, false}, {{"Links", "News"}, true}, {{"Groups", "Weekend"}, false}};
    for (const MenuCase& c : cases) {
        fw::Menu menu = tree.BuildDropMenu(f.At({"Links", "Alpha"}), AtPath(f, c.target));
        ASSERT_TRUE(menu);
        ASSERT_EQ(::GetMenuItemCount(menu.get()), 4);
        const UINT ids[] = {ID_MOVE_HERE, ID_COPY_HERE, 0, ID_DROP_CANCEL};
        const char* texts[] = {"Move Here", "Copy Here", "", "Cancel"};
        for (int i = 0; i < 4; ++i) {
            char text[32] = {};
            ::GetMenuStringA(menu.get(), static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            EXPECT_EQ(std::string(text), texts[i]);
            EXPECT_EQ(::GetMenuItemID(menu.get(), i), ids[i] ? ids[i] : 0u);
            const UINT state = ::GetMenuState(menu.get(), static_cast<UINT>(i), MF_BYPOSITION);
            if (i == 2) {
                EXPECT_TRUE(state & MF_SEPARATOR);
                continue;
            }
            const bool grayed = (state & MF_GRAYED) != 0;
            EXPECT_EQ(grayed, i == 0 && !c.moveEnabled) << texts[i];
        }
    }
}

TEST(TreeMove, ALeftDragMovesALinkToTheFirstFreeNumberWithItsGroupLinesAndSelectsIt) {
    MoveFixture f;
    // A second group names the link in another letter case.
    f.dir.WriteFile("Groups\\Caps.vsg", "LINKS\\" + f.top1 + "\r\n");
    f.Start();
    const std::string bytes = f.dir.ReadFile("Links\\" + f.top1);
    testsupport::BoxAnswerer boxes;

    f.LeftDrag(f.At({"Links", "Beta"}), f.At({"Links", "News"}));
    // News held 0.vsl: the link arrives as 1.vsl, the same bytes.
    EXPECT_FALSE(f.dir.Exists("Links\\" + f.top1));
    ASSERT_EQ(f.Files("Links\\News"), (std::vector<std::string>{f.news, "1.vsl"}));
    EXPECT_EQ(f.dir.ReadFile("Links\\News\\1.vsl"), bytes);
    EXPECT_EQ(f.Group("Weekend"), "Links\\News\\1.vsl\r\nLinks\\News\\Daily\\" + f.daily + "\r\n");
    EXPECT_EQ(f.Group("Caps"), "Links\\News\\1.vsl\r\n");
    auto children = f.Children(f.At({"Links", "News"}));
    std::sort(children.begin(), children.end());
    EXPECT_EQ(children, (std::vector<std::string>{"Beta/3", "Daily/4", "Herald/3"}));
    EXPECT_EQ(f.Caret(), f.At({"Links", "News", "Beta"}));
    EXPECT_FALSE(f.At({"Links", "Beta"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(TreeMove, ALeftDropOnItsOwnFolderDoesNothingAndOnAGroupAddsALineEachTime) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    f.LeftDrag(f.At({"Links", "Alpha"}), f.At({"Links"}));
    EXPECT_EQ(f.Files("Links"), (std::vector<std::string>{f.top0, f.top1}));

    const std::string before = f.Group("Weekend");
    f.LeftDrag(f.At({"Links", "Alpha"}), f.At({"Groups", "Weekend"}));
    f.LeftDrag(f.At({"Links", "Alpha"}), f.At({"Groups", "Weekend"}));
    EXPECT_EQ(f.Group("Weekend"), before + "Links\\" + f.top0 + "\r\nLinks\\" + f.top0 + "\r\n");
    EXPECT_TRUE(f.dir.Exists("Links\\" + f.top0));
    EXPECT_EQ(f.Children(f.At({"Groups", "Weekend"})),
              (std::vector<std::string>{"Beta/5", "Morning/5", "Alpha/5", "Alpha/5"}));
    EXPECT_EQ(f.Caret(), TreeView_GetChild(tree.hwnd(), f.At({"Groups", "Weekend"})));
}

TEST(TreeMove, AFolderDragMovesItsWholeTreeAndRewritesTheLinesBelowIt) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    const std::string herald = f.dir.ReadFile("Links\\News\\" + f.news);
    const std::string morning = f.dir.ReadFile("Links\\News\\Daily\\" + f.daily);
    f.LeftDrag(f.At({"Links", "News"}), f.At({"Links", "Archive"}));
    EXPECT_FALSE(f.dir.Exists("Links\\News"));
    EXPECT_EQ(f.dir.ReadFile("Links\\Archive\\News\\" + f.news), herald);
    EXPECT_EQ(f.dir.ReadFile("Links\\Archive\\News\\Daily\\" + f.daily), morning);
    EXPECT_EQ(f.Group("Weekend"), "Links\\" + f.top1 + "\r\nLinks\\Archive\\News\\Daily\\" + f.daily + "\r\n");
    EXPECT_EQ(f.Caret(), f.At({"Links", "Archive", "News"}));
    EXPECT_TRUE(f.At({"Links", "Archive", "News", "Daily", "Morning"}));
    EXPECT_FALSE(f.At({"Links", "News"}));
    EXPECT_EQ(tree.Kind(f.At({"Groups", "Weekend", "Morning"})), TreeKind::kMember);
}

TEST(TreeMove, TheDropMenuCopiesHereMovesHereOrCancels) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    const std::string bytes = f.dir.ReadFile("Links\\" + f.top0);
    // Onto its own folder Move Here is grayed: the second entry is Copy Here.
    f.RightDrag(f.At({"Links", "Alpha"}), f.At({"Links"}), {VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_FALSE(tree.Dragging());
    ASSERT_EQ(f.Files("Links"), (std::vector<std::string>{f.top0, f.top1, "2.vsl"}));
    EXPECT_EQ(f.dir.ReadFile("Links\\2.vsl"), bytes);
    EXPECT_NE(tree.Text(f.Caret()), "Alpha") << "a copy selects nothing";

    f.RightDrag(f.At({"Links", "Beta"}), f.At({"Links", "Archive"}), {VK_DOWN, VK_RETURN});
    EXPECT_FALSE(f.dir.Exists("Links\\" + f.top1));
    EXPECT_TRUE(f.dir.Exists("Links\\Archive\\1.vsl"));
    EXPECT_EQ(f.Caret(), f.At({"Links", "Archive", "Beta"}));

    const auto files = f.Files("Links");
    f.RightDrag(f.At({"Links", "Alpha"}), f.At({"Links", "News"}), {VK_UP, VK_RETURN});
    EXPECT_FALSE(tree.Dragging());
    EXPECT_EQ(f.Files("Links"), files);
    EXPECT_EQ(f.Files("Links\\News"), (std::vector<std::string>{f.news}));

    // Dismissed, the menu leaves the drag open until the next press.
    f.RightDrag(f.At({"Links", "Alpha"}), f.At({"Links", "News"}), {VK_ESCAPE});
    EXPECT_TRUE(tree.Dragging());
    ::SendMessageA(tree.hwnd(), WM_COMMAND, ID_MOVE_HERE, 0);
    EXPECT_TRUE(f.dir.Exists("Links\\News\\1.vsl")) << "the open drag still takes a command";
    EXPECT_FALSE(tree.Dragging());
}

TEST(TreeMove, OnlyLinksAndFoldersAreDraggedAndADragEndsAPendingCut) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    for (HTREEITEM item : {tree.Root(), tree.LinksItem(), tree.GroupsItem(), f.At({"Templates"}),
                           f.At({"Groups", "Weekend"}), f.At({"Groups", "Weekend", "Beta"})}) {
        f.Press(item);
        EXPECT_FALSE(tree.Dragging()) << tree.Text(item);
        EXPECT_NE(::GetCapture(), tree.hwnd()) << tree.Text(item);
        ::SendMessageA(tree.hwnd(), WM_LBUTTONUP, 0, 0);
    }
    f.Select(f.At({"Links", "Alpha"}));
    f.Command(ID_EDIT_CUT);
    EXPECT_EQ(tree.Kind(f.At({"Links", "Alpha"})), TreeKind::kCutLink);
    f.Press(f.At({"Links", "Beta"}));
    EXPECT_TRUE(tree.Dragging());
    EXPECT_FALSE(tree.CutPending());
    EXPECT_EQ(tree.Kind(f.At({"Links", "Alpha"})), TreeKind::kLink);
    // A press ends the drag.
    ::SendMessageA(tree.hwnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(tree.Dragging());
}

TEST(TreeMove, PasteMovesAfterCutAndCopiesAfterCopyOnce) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    const std::string alpha = f.dir.ReadFile("Links\\" + f.top0);
    f.Select(f.At({"Links", "Alpha"}));
    f.Command(ID_EDIT_CUT);
    f.Select(f.At({"Links", "News"}));
    f.Command(ID_EDIT_PASTE);
    EXPECT_FALSE(f.dir.Exists("Links\\" + f.top0));
    EXPECT_EQ(f.dir.ReadFile("Links\\News\\1.vsl"), alpha);
    EXPECT_FALSE(tree.CutPending());
    EXPECT_EQ(tree.Kind(f.At({"Links", "News", "Alpha"})), TreeKind::kLink);

    // A copied link goes into its own folder next to itself, and onto a group.
    f.Select(f.At({"Links", "Beta"}));
    f.Command(ID_EDIT_COPY);
    f.Select(tree.LinksItem());
    f.Command(ID_EDIT_PASTE);
    EXPECT_EQ(f.Files("Links"), (std::vector<std::string>{"0.vsl", f.top1}));
    EXPECT_FALSE(f.Enabled(ID_EDIT_PASTE)) << "one Copy serves one Paste";
    f.Command(ID_EDIT_PASTE);
    EXPECT_EQ(f.Files("Links").size(), 2u);

    tree.SelectLinkByPath(f.dir / ("Links\\" + f.top1));
    f.Command(ID_EDIT_COPY);
    f.Select(f.At({"Groups", "Empty"}));
    f.Command(ID_EDIT_PASTE);
    EXPECT_EQ(f.Group("Empty"), "Links\\" + f.top1 + "\r\n");

    // A copied folder is refused onto its own parent, even when the command comes anyway.
    f.Select(f.At({"Links", "News"}));
    f.Command(ID_EDIT_COPY);
    f.Select(tree.LinksItem());
    EXPECT_FALSE(f.Enabled(ID_EDIT_PASTE));
    const auto children = f.Children(tree.LinksItem());
    f.Command(ID_EDIT_PASTE);
    EXPECT_FALSE(f.dir.Exists("Links\\News\\News"));
    EXPECT_EQ(f.Children(tree.LinksItem()), children);
}

TEST(TreeMove, AFailedCopyLeavesTheDiskTheLinesAndTheTreeAsTheyWere) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    testsupport::BoxAnswerer boxes;
    const std::string weekend = f.Group("Weekend");
    {
        // The second folder's link cannot be read: the copy stops there.
        fw::Handle locked(::CreateFileA((f.dir / ("Links\\News\\Daily\\" + f.daily)).c_str(), GENERIC_READ, 0,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(locked.get(), INVALID_HANDLE_VALUE);
        EXPECT_EQ(tree.MoveItem(f.At({"Links", "News"}), f.At({"Links", "Archive"})), kErrCopyAborted);
        EXPECT_FALSE(f.dir.Exists("Links\\Archive\\News")) << "what the copy made is gone";
        EXPECT_TRUE(f.dir.Exists("Links\\News\\" + f.news));
        EXPECT_TRUE(f.At({"Links", "News"}));

        fw::Handle link(::CreateFileA((f.dir / ("Links\\" + f.top1)).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(tree.MoveItem(f.At({"Links", "Beta"}), f.At({"Links", "Archive"})), kErrCopyAborted);
        EXPECT_EQ(f.Files("Links\\Archive"), (std::vector<std::string>{f.archived}));
        EXPECT_TRUE(f.At({"Links", "Beta"}));
    }
    EXPECT_TRUE(f.dir.Exists("Links\\" + f.top1));
    EXPECT_EQ(f.Group("Weekend"), weekend);

    // A folder of the same name made behind the tree's back is never copied over.
    f.dir.MakeFolder("Links\\Archive\\News");
    f.dir.WriteFile("Links\\Archive\\News\\" + f.news, "theirs");
    EXPECT_EQ(tree.CopyItem(f.At({"Links", "News"}), f.At({"Links", "Archive"})), kErrCopyAborted);
    EXPECT_EQ(f.dir.ReadFile("Links\\Archive\\News\\" + f.news), "theirs");
    EXPECT_EQ(tree.MoveItem(f.At({"Links", "News"}), f.At({"Links", "Archive"})), kErrCopyAborted);
    EXPECT_TRUE(f.dir.Exists("Links\\News\\Daily\\" + f.daily));
    EXPECT_EQ(f.Group("Weekend"), weekend);

    // Into itself or below itself is refused by its paths, whatever the caller checked.
    EXPECT_EQ(tree.CopyItem(f.At({"Links", "News"}), f.At({"Links", "News", "Daily"})), kErrTreeIntegrity);
    EXPECT_EQ(tree.MoveItem(f.At({"Links", "News"}), f.At({"Links", "News"})), kErrTreeIntegrity);
    EXPECT_FALSE(f.dir.Exists("Links\\News\\Daily\\News"));
    EXPECT_FALSE(f.dir.Exists("Links\\News\\News"));
    EXPECT_TRUE(f.dir.Exists("Links\\News\\" + f.news));
    EXPECT_TRUE(boxes.Boxes().empty()) << "the callers report; these calls were direct";
}

TEST(TreeMove, ACopyNeverReplacesATargetThatAppearsAfterItsChecks) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    TargetAppearsBeforeCopy theirs;
    ASSERT_TRUE(theirs) << "no import of CopyFileA to hook";
    // A link: its free number was chosen, then taken by someone else.
    EXPECT_EQ(tree.CopyItem(f.At({"Links", "Beta"}), f.At({"Links", "Archive"})), kErrCopyAborted);
    EXPECT_EQ(f.Files("Links\\Archive").size(), 2u);
    for (const std::string& name : f.Files("Links\\Archive")) {
        if (name != f.archived) {
            EXPECT_EQ(f.dir.ReadFile("Links\\Archive\\" + name), TargetAppearsBeforeCopy::kTheirs);
        }
    }
    // A folder: checked and made, then a file of its copy made by someone else.
    EXPECT_EQ(tree.CopyItem(f.At({"Links", "News"}), f.At({"Links", "Archive"})), kErrCopyAborted);
    EXPECT_EQ(f.dir.ReadFile("Links\\Archive\\News\\" + f.news), TargetAppearsBeforeCopy::kTheirs);
    EXPECT_TRUE(f.dir.Exists("Links\\News\\" + f.news)) << "the source stays";
}

TEST(TreeMove, AFailedDropIsReported) {
    MoveFixture f;
    f.Start();
    testsupport::BoxAnswerer boxes;
    fw::Handle link(::CreateFileA((f.dir / ("Links\\" + f.top1)).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr));
    f.LeftDrag(f.At({"Links", "Beta"}), f.At({"Links", "News"}));
    ASSERT_TRUE(boxes.WaitForBoxes(1));
    EXPECT_EQ(boxes.Boxes()[0].caption, "VessaMgr");
    EXPECT_EQ(f.Files("Links\\News"), (std::vector<std::string>{f.news}));
    EXPECT_TRUE(f.At({"Links", "Beta"}));
}

TEST(TreeMove, TheClipboardEndsWhenItsSourceItemGoes) {
    MoveFixture f;
    CLeftView& tree = f.Start();
    // Herald goes with its folder, moved by a drag.
    f.Select(f.At({"Links", "News", "Herald"}));
    f.Command(ID_EDIT_COPY);
    ASSERT_TRUE(tree.CopyPending());
    f.LeftDrag(f.At({"Links", "News"}), f.At({"Links", "Archive"}));
    EXPECT_EQ(tree.ClipboardSource(), nullptr);
    EXPECT_FALSE(tree.CopyPending());
    f.Select(tree.LinksItem());
    EXPECT_FALSE(f.Enabled(ID_EDIT_PASTE));
    const auto files = f.Files("Links");
    f.Command(ID_EDIT_PASTE);
    EXPECT_EQ(f.Files("Links"), files);

    // A whole rebuild takes every item.
    f.Select(f.At({"Links", "Alpha"}));
    f.Command(ID_EDIT_CUT);
    tree.RefreshTree();
    EXPECT_EQ(tree.ClipboardSource(), nullptr);
    EXPECT_FALSE(tree.CutPending());
}
