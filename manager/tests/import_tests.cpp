// The manager's favorites import in-process: File Import... shows the
// manager's dialog, an import empties the document's selection before the old
// store goes, shows no box on success and rebuilds the tree; a second import
// asks with the manager's text; a failure after the old store went rebuilds
// the tree too. Boxes are answered by their buttons.
#include "manager_fixture.h"

#include "ImportFavoritesDlg.h"
#include "LeftView.h"
#include "NimbDoc.h"
#include "favorites_fixture.h"
#include "resource.h"

#include "fw/file.h"

#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testsupport::PumpUntil;

using favtest::kFailed;
using favtest::kImportInfoKey;
constexpr const char* kConfirm = favtest::kManagerConfirm;

// What the dialog saw when the first link was reported: the old store is gone by then.
struct FirstReport {
    bool seen = false;
    size_t selection = 0;
    bool oldLinkThere = false;
};

struct ImportFixture : mgrtest::ManagerFixture {
    testsupport::TempProgramFolder favorites;
    favtest::FavoritesValue favoritesValue;
    CLeftView* tree = nullptr;
    FirstReport first;

    ImportFixture() {
        favtest::MakeOldStore(dir, favtest::WithTemplate::kYes);
        favtest::MakeFavorites(favorites);
        favoritesValue.Set(favorites.Path());
    }

    CLeftView& StartTree() {
        Start("");
        tree = app->MainFrame()->TreeView();
        EXPECT_TRUE(PumpUntil([&] { return tree->Root() != nullptr; }, 20000)) << "timer 51 builds the tree";
        return *tree;
    }

    HTREEITEM Child(HTREEITEM parent, const std::string& text) const {
        return parent ? tree->FindChildByName(parent, text) : nullptr;
    }
    std::vector<std::string> Texts(HTREEITEM parent) const {
        std::vector<std::string> texts;
        for (HTREEITEM c = TreeView_GetChild(tree->hwnd(), parent); c; c = TreeView_GetNextSibling(tree->hwnd(), c))
            texts.push_back(tree->Text(c));
        return texts;
    }

    // File Import... as the menu sends it; the dialog, shown.
    HWND ShowImport() {
        ::SendMessageA(app->MainFrame()->hwnd(), WM_COMMAND, MAKEWPARAM(ID_IMPORT, 0), 0);
        CImportFavoritesDlg* dialog = tree->ImportDialog();
        if (!dialog || !::IsWindowVisible(dialog->hwnd())) return nullptr;
        dialog->SetLinkWait([](DWORD) {});
        ::SetWindowSubclass(dialog->hwnd(), Watch, 1, reinterpret_cast<DWORD_PTR>(this));
        return dialog->hwnd();
    }

    static LRESULT CALLBACK Watch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        auto* f = reinterpret_cast<ImportFixture*>(self);
        if (msg == kMsgImportingLink && !f->first.seen) {
            f->first.seen = true;
            f->first.selection = f->app->Document()->Selection().size();
            f->first.oldLinkThere = f->dir.Exists("Links\\Old\\0.vsl");
        }
        if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(wnd, Watch, 1);
        return ::DefSubclassProc(wnd, msg, wParam, lParam);
    }

    static void Press(HWND dialog, int id) {
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }
};

// Message boxes only: the import dialog is a dialog window too.
std::vector<testsupport::SeenBox> MessageBoxes(const testsupport::BoxAnswerer& boxes) {
    std::vector<testsupport::SeenBox> out;
    for (const auto& box : boxes.Boxes())
        if (box.caption != "Importing...") out.push_back(box);
    return out;
}

TEST(ManagerImport, ImportsWithoutABoxRebuildsTheTreeAndAsksBeforeAnother) {
    ImportFixture f;
    testsupport::BoxAnswerer boxes;
    CLeftView& tree = f.StartTree();
    HTREEITEM old = f.Child(f.Child(tree.LinksItem(), "Old"), "old");
    ASSERT_TRUE(old);
    TreeView_SelectItem(tree.hwnd(), old);
    ASSERT_EQ(f.app->Document()->Selection().size(), 1u);

    HWND dialog = f.ShowImport();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(testsupport::WindowText(dialog), "Importing...");
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), f.app->MainFrame()->hwnd()) << "made with the tree view as parent";
    EXPECT_EQ(testsupport::WindowText(::GetDlgItem(dialog, IMPORT_MANAGER_PATH)), f.favorites.Path());

    ImportFixture::Press(dialog, IMPORT_MANAGER_IMPORT);
    ASSERT_TRUE(PumpUntil([&] { return f.Child(tree.LinksItem(), "a") != nullptr; }, 30000)) << "the tree is rebuilt";
    EXPECT_FALSE(::IsWindowVisible(dialog));
    ASSERT_TRUE(f.first.seen);
    EXPECT_EQ(f.first.selection, 0u) << "the selection is emptied before the old store goes";
    EXPECT_FALSE(f.first.oldLinkThere);

    EXPECT_EQ(f.Texts(tree.LinksItem()), (std::vector<std::string>{"News", "a"}));
    EXPECT_EQ(f.Texts(f.Child(f.Child(tree.LinksItem(), "News"), "Daily")), std::vector<std::string>{"b"});
    EXPECT_TRUE(f.Texts(tree.GroupsItem()).empty()) << "the old group is gone";
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kImportInfoKey, "ImportDone"), 1u);
    const auto a = favtest::LoadLink(f.dir.Path(), "", "0.vsl");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->link.address, "http://a.example/");
    EXPECT_TRUE(MessageBoxes(boxes).empty()) << "the manager's import shows no box on success";

    // Another import asks with the manager's text; No changes nothing.
    dialog = f.ShowImport();
    ASSERT_TRUE(dialog);
    boxes.Plan(IDNO);
    ImportFixture::Press(dialog, IMPORT_MANAGER_IMPORT);
    ASSERT_TRUE(PumpUntil([&] { return !MessageBoxes(boxes).empty() && !::IsWindowVisible(dialog); }, 30000));
    const auto asked = MessageBoxes(boxes);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "VessaMgr");
    EXPECT_EQ(asked[0].text, kConfirm);
    EXPECT_EQ(asked[0].pressed, IDNO);
    EXPECT_TRUE(f.dir.Exists("Links\\0.vsl"));
    EXPECT_TRUE(f.dir.Exists("Links\\News\\Daily\\0.vsl"));
    EXPECT_TRUE(f.Child(tree.LinksItem(), "a"));
}

TEST(ManagerImport, AFailureAfterTheOldStoreWentRebuildsTheTree) {
    ImportFixture f;
    // A plain file where the import must make the folder News.
    f.dir.WriteFile("Links\\News", "not a folder");
    testsupport::BoxAnswerer boxes;
    CLeftView& tree = f.StartTree();
    ASSERT_TRUE(f.Child(tree.LinksItem(), "Old"));

    HWND dialog = f.ShowImport();
    ASSERT_TRUE(dialog);
    boxes.Plan(IDOK);
    ImportFixture::Press(dialog, IMPORT_MANAGER_IMPORT);
    ASSERT_TRUE(PumpUntil([&] { return !MessageBoxes(boxes).empty() && !::IsWindowVisible(dialog); }, 30000));
    const auto failed = MessageBoxes(boxes);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].text, kFailed);
    EXPECT_FALSE(f.dir.Exists("Links\\Old\\0.vsl")) << "the old store went before the failure";
    EXPECT_TRUE(PumpUntil([&] { return f.Child(tree.LinksItem(), "Old") == nullptr; }, 10000))
        << "the tree names no deleted file";
    EXPECT_TRUE(f.Child(tree.LinksItem(), "a")) << "what was imported shows";
    EXPECT_FALSE(regtest::StoredDword(HKEY_LOCAL_MACHINE, kImportInfoKey, "ImportDone").value_or(0));
}

}  // namespace
