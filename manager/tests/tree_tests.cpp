// The link tree in-process on a small fixture: build, kinds and order, what
// each selection hands the document, the enable rules on the toolbar, bad
// group lines, unreadable links, refresh and selection by path.
#include "tree_fixture.h"

#include "ErrorCodes.h"
#include "LeftView.h"
#include "LinkTreeRules.h"
#include "NimbDoc.h"
#include "resource.h"

#include "testsupport/box_answerer.h"
#include "testsupport/message_sequence.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

using mgrtest::Entries;
using mgrtest::TreeFixture;

TEST(LinkTree, BuildsTheStoreInListingOrderWithKindsAndExpansion) {
    TreeFixture f;
    CLeftView& tree = f.Start();
    HTREEITEM root = tree.Root();
    EXPECT_EQ(tree.Text(root), "Vessa");
    EXPECT_EQ(f.Children(root), (std::vector<std::string>{"Links/1", "Groups/2", "Templates/11"}));
    EXPECT_EQ(f.Children(tree.LinksItem()), (std::vector<std::string>{"News/4", "Alpha/3", "Beta/3"}));
    HTREEITEM news = f.Child(tree.LinksItem(), "News");
    EXPECT_EQ(f.Children(news), (std::vector<std::string>{"Daily/4", "Herald/3"}));
    EXPECT_EQ(f.Children(f.Child(news, "Daily")), (std::vector<std::string>{"Morning/3"}));
    EXPECT_EQ(f.Children(tree.GroupsItem()), (std::vector<std::string>{"Empty/6", "Weekend/6"}));
    EXPECT_EQ(f.Children(f.Child(tree.GroupsItem(), "Weekend")), (std::vector<std::string>{"Beta/5", "Morning/5"}));
    HTREEITEM templates = f.Child(root, "Templates");
    EXPECT_EQ(f.Children(templates), (std::vector<std::string>{"Default Template/12"}));

    TVITEMA item{};
    item.mask = TVIF_SELECTEDIMAGE;
    item.hItem = news;
    ::SendMessageA(tree.hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iSelectedImage, TreeKind::kOpenFolder);
    EXPECT_TRUE(f.Expanded(root));
    EXPECT_TRUE(f.Expanded(tree.LinksItem()));
    EXPECT_TRUE(f.Expanded(tree.GroupsItem()));
    EXPECT_FALSE(f.Expanded(templates));
    EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), root);
}

TEST(LinkTree, EachSelectionHandsTheDocumentItsEntries) {
    TreeFixture f;
    CLeftView& tree = f.Start();
    CNimbDoc& doc = *f.app->Document();
    HTREEITEM news = f.Child(tree.LinksItem(), "News");
    struct Case {
        HTREEITEM item;
        int kind;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {f.Child(tree.LinksItem(), "Beta"), 3, {"|" + f.top1 + "|3"}},
        {f.Child(f.Child(news, "Daily"), "Morning"), 3, {"News\\Daily|" + f.daily + "|3"}},
        {f.Child(f.Child(tree.GroupsItem(), "Weekend"), "Morning"), 5, {"News\\Daily|" + f.daily + "|3"}},
        // A group's members, last line first.
        {f.Child(tree.GroupsItem(), "Weekend"), 6, {"News\\Daily|" + f.daily + "|5", "|" + f.top1 + "|5"}},
        {news, 4, {}},
        {tree.LinksItem(), 1, {}},
        {f.Child(f.Child(tree.Root(), "Templates"), "Default Template"), 12, {"|Default.vst|12"}},
    };
    for (const Case& c : cases) {
        f.Select(c.item);
        EXPECT_EQ(doc.Kind(), c.kind) << tree.Text(c.item);
        EXPECT_EQ(Entries(doc.Selection()), c.entries) << tree.Text(c.item);
    }
    EXPECT_TRUE(f.dir.Exists("Templates\\Default.vst")) << "the template is written when first selected";
}

// The tree's notifications reach the view reflected from its pane, the
// change asked before it is made: the document writes the old link back on
// the first and takes the new selection on the second.
TEST(LinkTree, ASelectionReachesTheViewAsChangingThenChanged) {
    TreeFixture f;
    CLeftView& tree = f.Start();
    f.Select(tree.LinksItem());
    testsupport::MessageLog log;
    testsupport::MessageRecorder recorder(tree.hwnd(), log, testsupport::IsNotification);
    HTREEITEM beta = f.Child(tree.LinksItem(), "Beta");
    f.Select(beta);
    static const testsupport::ExpectedMessage kSelect[] = {testsupport::ReflectedNotify(TVN_SELCHANGINGA),
                                                           testsupport::ReflectedNotify(TVN_SELCHANGEDA)};
    testsupport::ExpectSequence(log, kSelect, "a selection by the program");
    EXPECT_EQ(f.app->Document()->Kind(), 3);
    f.Select(beta);
    testsupport::ExpectSequence(log, {}, "the selected item again: no change");
}

TEST(LinkTree, TheToolbarFollowsTheEnableRules) {
    TreeFixture f;
    CLeftView& tree = f.Start();
    struct Case {
        HTREEITEM item;
        std::vector<UINT> enabled;
    };
    const std::vector<UINT> buttons{ID_ADD_LINK,  ID_ADD_FOLDER, ID_LAUNCH_BUTTON, ID_EDIT_CUT,
                                    ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_DELETE};
    const Case cases[] = {
        {tree.Root(), {}},
        {tree.LinksItem(), {ID_ADD_LINK, ID_ADD_FOLDER}},
        {f.Child(tree.LinksItem(), "Alpha"), {ID_LAUNCH_BUTTON, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_DELETE}},
        {f.Child(tree.GroupsItem(), "Empty"), {ID_EDIT_DELETE}},
        {f.Child(tree.GroupsItem(), "Weekend"), {ID_LAUNCH_BUTTON, ID_EDIT_DELETE}},
        {f.Child(f.Child(tree.Root(), "Templates"), "Default Template"), {}},
    };
    for (const Case& c : cases) {
        f.Select(c.item);
        f.frame->OnIdle();
        for (UINT id : buttons) {
            const bool expected = std::find(c.enabled.begin(), c.enabled.end(), id) != c.enabled.end();
            EXPECT_EQ(f.frame->LargeToolBar().IsEnabled(id), expected) << tree.Text(c.item) << " " << id;
        }
    }
}

TEST(LinkTree, GroupLinesOutsideLinksAreNeverReadOrLaunched) {
    TreeFixture f({"C:\\elsewhere\\0.vsl", "Links\\..\\Groups\\Weekend.vsg", "Links\\News\\Daily\\0.vsl"});
    CLeftView& tree = f.Start();
    HTREEITEM odd = f.Child(tree.GroupsItem(), "Odd");
    ASSERT_TRUE(odd);
    EXPECT_EQ(f.Children(odd),
              (std::vector<std::string>{"C:\\elsewhere\\0.vsl/5", "Links\\..\\Groups\\Weekend.vsg/5", "Morning/5"}))
        << "every line has its item, so the good one keeps its place";
    EXPECT_EQ(tree.Data(TreeView_GetChild(tree.hwnd(), odd)), CLeftView::kUnreadable);
    f.Select(odd);
    EXPECT_EQ(Entries(f.app->Document()->Selection()), (std::vector<std::string>{"News\\Daily|" + f.daily + "|5"}));
    f.Select(TreeView_GetChild(tree.hwnd(), odd));
    EXPECT_TRUE(f.app->Document()->Selection().empty());
    f.Select(f.Child(odd, "Morning"));
    EXPECT_EQ(Entries(f.app->Document()->Selection()), (std::vector<std::string>{"News\\Daily|" + f.daily + "|3"}));
}

TEST(LinkTree, AnUnreadableLinkIsLoggedAndKeepsItsPlace) {
    TreeFixture f;
    f.dir.WriteFile("Links\\" + f.top0, "not an archive");
    testsupport::BoxAnswerer answerer;
    answerer.Plan(IDYES);  // go on using the program
    CLeftView& tree = f.Start();
    EXPECT_EQ(f.Children(tree.LinksItem()), (std::vector<std::string>{"News/4", f.top0 + "/3", "Beta/3"}));
    f.Select(f.Child(tree.LinksItem(), "Beta"));
    EXPECT_EQ(Entries(f.app->Document()->Selection()), (std::vector<std::string>{"|" + f.top1 + "|3"}));
    EXPECT_NE(f.dir.ReadFile("Err.log").find("FuncName: CLeftView::CreateURLItem()"), std::string::npos)
        << f.dir.ReadFile("Err.log");
}

TEST(LinkTree, RefreshThenSelectShowsALinkAddedFromOutside) {
    TreeFixture f;
    CLeftView& tree = f.Start();
    CNimbDoc& doc = *f.app->Document();
    f.Select(f.Child(tree.LinksItem(), "Alpha"));
    ASSERT_FALSE(doc.Selection().empty());
    const std::string added = f.AddLink("", "Gamma");
    const std::string deep = f.AddLink("News\\Daily", "Evening");
    doc.RefreshNimbTree();
    EXPECT_EQ(f.Children(tree.LinksItem()), (std::vector<std::string>{"News/4", "Alpha/3", "Beta/3", "Gamma/3"}));
    doc.SetFocusOnLinkItem(f.dir / ("Links\\" + added));
    EXPECT_EQ(tree.Text(tree.CurrentItem()), "Gamma");
    EXPECT_EQ(Entries(doc.Selection()), (std::vector<std::string>{"|" + added + "|3"}));
    doc.SetFocusOnLinkItem(f.dir / ("Links\\News\\Daily\\" + deep));
    EXPECT_EQ(tree.Text(tree.CurrentItem()), "Evening") << "a link in a subfolder is found by its folders";
}

// A browser's Add Favorite: the rebuild deletes every item while one a group
// names is selected; the control's selection changes on the way reach no pane.
TEST(LinkTree, ARefreshWithAGroupsLinkSelectedShowsNoBoxAndSelectsTheAddedLink) {
    struct Case {
        const char* selected;
        bool member;  // the group's member item rather than the link's
    };
    for (const Case c : {Case{"Beta", false}, Case{"Morning", false}, Case{"Beta", true}, Case{"Morning", true}}) {
        SCOPED_TRACE(std::string(c.selected) + (c.member ? " member" : " link"));
        TreeFixture f;
        CLeftView& tree = f.Start();
        CNimbDoc& doc = *f.app->Document();
        HTREEITEM item = nullptr;
        if (c.member) {
            item = f.Child(f.Child(tree.GroupsItem(), "Weekend"), c.selected);
        } else {
            HTREEITEM news = f.Child(tree.LinksItem(), "News");
            item = f.Child(tree.LinksItem(), c.selected);
            if (!item) item = f.Child(f.Child(news, "Daily"), c.selected);
        }
        ASSERT_TRUE(item);
        f.Select(item);
        ASSERT_FALSE(doc.Selection().empty());
        const std::string added = f.AddLink("", "Gamma");
        testsupport::BoxAnswerer boxes;
        doc.RefreshNimbTree();
        doc.SetFocusOnLinkItem(f.dir / ("Links\\" + added));
        testsupport::PumpFor(0);
        EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text;
        EXPECT_EQ(f.dir.ReadFile("Err.log").find("ErrID"), std::string::npos) << f.dir.ReadFile("Err.log");
        EXPECT_EQ(tree.Text(tree.CurrentItem()), "Gamma");
        EXPECT_EQ(tree.Text(TreeView_GetSelection(tree.hwnd())), "Gamma");
        EXPECT_EQ(Entries(doc.Selection()), (std::vector<std::string>{"|" + added + "|3"}));
    }
}

TEST(LinkTree, ARefreshBeforeTimer51IsTheFirstBuild) {
    TreeFixture f;
    // Started without a pump, so timer 51 cannot have built the tree yet.
    f.app = std::make_unique<CNimbApp>("\"-s " + (f.dir / ("Links\\" + f.top1)) + "\"", f.dir.Path());
    ASSERT_TRUE(f.app->InitInstance());
    f.tree = f.f_tree();
    ASSERT_EQ(f.tree->Root(), nullptr);
    f.app->Document()->RefreshNimbTree();
    ASSERT_NE(f.tree->Root(), nullptr);
    EXPECT_EQ(TreeView_GetNextSibling(f.tree->hwnd(), f.tree->Root()), nullptr) << "one tree";
    EXPECT_EQ(f.Children(f.tree->LinksItem()), (std::vector<std::string>{"News/4", "Alpha/3", "Beta/3"}));
    EXPECT_EQ(f.tree->Text(f.tree->CurrentItem()), "Beta") << "the start path is applied";
    EXPECT_FALSE(::KillTimer(f.tree->hwnd(), CLeftView::kBuildTimer)) << "timer 51 no longer runs";
}

TEST(LinkTree, ARefreshForgetsTheEditAndAClipboardSourceThatWentAway) {
    TreeFixture f;
    CLeftView& tree = f.Start();
    tree.SetEditing(true);
    tree.SetClipboard(f.Child(tree.LinksItem(), "Alpha"), true, false);
    tree.RefreshTree();
    EXPECT_EQ(tree.ClipboardSource(), nullptr);
    EXPECT_FALSE(tree.CommandState().editing);
    EXPECT_FALSE(tree.CommandState().copyPending);
}
