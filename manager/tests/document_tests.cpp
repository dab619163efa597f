// The document writes the link it showed back only when a pane changed it,
// starting from the stored record, and never after its selection went stale.
#include "manager_fixture.h"

#include "ErrorCodes.h"
#include "LeftView.h"
#include "NimbDoc.h"

#include "testsupport/pump.h"

#include <gtest/gtest.h>

namespace {

// A desktop pane that moves the first miniature when asked to.
class MovingDesktop : public CDesktopPane {
public:
    bool move = false;
    int shown = 0;
    int ShowBrowser(const CURLEntry* entry, const CURLObject*, int show, int) override {
        if (entry && show) ++shown;
        return kErrNone;
    }
    int SaveWindowRects(const CURLEntryList&, std::vector<CURLObject>& records) override {
        if (move && !records.empty()) records.front().link.windowRect = URLRect{10, 20, 410, 320};
        return kErrNone;
    }
    int ReloadSkin(const std::string&) override { return kErrNone; }
};

struct DocFixture : mgrtest::ManagerFixture {
    MovingDesktop desktop;
    CLeftView* tree = nullptr;
    std::string alpha, beta;

    DocFixture() {
        dir.MakeFolder("Links");
        dir.MakeFolder("Groups");
        alpha = Add("Alpha", 111);
        beta = Add("Beta", 222);
        Start("");
        app->Document()->SetDesktopPane(&desktop);
        tree = app->MainFrame()->TreeView();
        EXPECT_TRUE(testsupport::PumpUntil([&] { return tree->Root() != nullptr; }, 20000));
    }
    ~DocFixture() {
        if (app) app->Document()->SetDesktopPane(nullptr);
    }
    std::string Add(const std::string& title, int32_t reserved) {
        CURLObject record;
        record.link.title = title;
        record.link.stamp2 = 1234567;
        record.link.reservedA = reserved;
        record.options.option5 = 7;
        std::string name;
        EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject("", record, &name), kErrNone);
        return name;
    }
    void Select(const std::string& title) {
        TreeView_SelectItem(tree->hwnd(), tree->FindChildByName(tree->LinksItem(), title));
    }
    std::unique_ptr<CURLObject> Load(const std::string& name) {
        std::unique_ptr<CURLObject> record;
        EXPECT_EQ(CLinkStore(dir.Path()).LoadURLObject(CURLEntry("", name), &record), kErrNone);
        return record;
    }
};

}  // namespace

TEST(ManagerDocument, AnUnchangedLinkIsNotRewritten) {
    DocFixture f;
    const std::string before = f.dir.ReadFile("Links\\" + f.alpha);
    f.Select("Alpha");
    EXPECT_EQ(f.desktop.shown, 1);
    f.Select("Beta");
    EXPECT_EQ(f.dir.ReadFile("Links\\" + f.alpha), before);
}

TEST(ManagerDocument, AChangedLinkKeepsWhatNoPaneShows) {
    DocFixture f;
    f.Select("Alpha");
    f.desktop.move = true;
    f.Select("Beta");
    f.desktop.move = false;
    auto saved = f.Load(f.alpha);
    EXPECT_EQ(saved->link.windowRect, (URLRect{10, 20, 410, 320}));
    EXPECT_EQ(saved->link.title, "Alpha");
    EXPECT_EQ(saved->link.stamp2, 1234567);
    EXPECT_EQ(saved->link.reservedA, 111);
    EXPECT_EQ(saved->options.option5, 7);
}

TEST(ManagerDocument, ARefreshNeverWritesTheOldSelectionOverARenumberedFile) {
    DocFixture f;
    f.Select("Alpha");
    f.desktop.move = true;
    // Behind the manager's back Alpha goes and Beta takes its number.
    ASSERT_TRUE(::DeleteFileA((f.dir / ("Links\\" + f.alpha)).c_str()));
    ASSERT_TRUE(::MoveFileA((f.dir / ("Links\\" + f.beta)).c_str(), (f.dir / ("Links\\" + f.alpha)).c_str()));
    const std::string before = f.dir.ReadFile("Links\\" + f.alpha);
    f.app->Document()->RefreshNimbTree();
    f.desktop.move = false;
    EXPECT_EQ(f.dir.ReadFile("Links\\" + f.alpha), before);
    EXPECT_TRUE(f.app->Document()->Selection().empty());
}

TEST(ManagerDocument, AGroupIsShownFixedAndTheNextSelectionSavesNothing) {
    DocFixture f;
    f.dir.WriteFile("Groups\\Both.vsg", "Links\\" + f.alpha + "\r\nLinks\\" + f.beta + "\r\n");
    f.app->Document()->RefreshNimbTree();
    const std::string before = f.dir.ReadFile("Links\\" + f.beta);
    TreeView_SelectItem(f.tree->hwnd(), f.tree->FindChildByName(f.tree->GroupsItem(), "Both"));
    EXPECT_EQ(f.desktop.shown, 2);
    EXPECT_TRUE(CNimbDoc::SkipNextSave());
    f.desktop.move = true;
    f.Select("Alpha");
    EXPECT_FALSE(CNimbDoc::SkipNextSave());
    EXPECT_EQ(f.dir.ReadFile("Links\\" + f.beta), before) << "the group's first entry is not written";
}
