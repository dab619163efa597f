// The import dialog of both programs, in-process under Xvfb: driven by its
// control ids, its boxes answered by their buttons, over a real Favorites
// folder, the real store of a temporary program folder and the real registry.
#include "ImportFavoritesDlg.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "LinkStore.h"
#include "favorites_fixture.h"

#include "fw/file.h"
#include "fw/msgbox.h"

#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::TempProgramFolder;

using favtest::kBrowserConfirm;
using favtest::kFailed;
using favtest::kImportInfoKey;
using favtest::kManagerConfirm;
using favtest::kSucceeded;

class RecordingHost : public CImportFavoritesHost {
public:
    explicit RecordingHost(const TempProgramFolder& program) : program_(program) {}
    void OnImportClearingStore() override {
        ++clearing;
        oldLinkThereWhenClearing = program_.Exists("Links\\Old\\0.vsl");
    }
    void OnImportSucceeded() override { ++succeeded; }
    int clearing = 0;
    int succeeded = 0;
    bool oldLinkThereWhenClearing = false;

private:
    const TempProgramFolder& program_;
};

class ImportDialog : public ::testing::TestWithParam<const ImportDialogLayout*> {
protected:
    TempProgramFolder program;
    TempProgramFolder favorites;
    testsupport::ScratchKey ownKeys{HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global"};
    favtest::FavoritesValue favoritesValue;
    RecordingHost host{program};
    std::unique_ptr<testsupport::BoxAnswerer> boxes;
    std::unique_ptr<CImportFavoritesDlg> dialog;

    const ImportDialogLayout& layout() const { return *GetParam(); }
    bool IsManager() const { return layout().owner == ImportDialogLayout::Owner::kManager; }

    void SetUp() override {
        fw::SetProgramName(IsManager() ? "VessaMgr" : "Vessa");
        // The old store: a link in a folder, one at the top, a group.
        ASSERT_NO_FATAL_FAILURE(favtest::MakeOldStore(program, favtest::WithTemplate::kNo));
        CURLObject old;
        old.link.title = "old";
        ASSERT_EQ(CLinkStore(program.Path()).SaveURLObject(CURLEntry("", "0.vsl"), old), kErrNone);

        ASSERT_NO_FATAL_FAILURE(favtest::MakeFavorites(favorites));
        favoritesValue.Set(favorites.Path());

        boxes = std::make_unique<testsupport::BoxAnswerer>();
        dialog = std::make_unique<CImportFavoritesDlg>(nullptr, layout(), &host, program.Path());
        ASSERT_TRUE(dialog->hwnd());
        dialog->SetLinkWait([](DWORD) {});
    }

    void TearDown() override {
        dialog.reset();
        boxes.reset();
    }

    // Shows the dialog; the answerer sees it first, as a window it leaves
    // alone. It reads the dialog's texts, so this thread pumps meanwhile.
    void Show() {
        dialog->Show();
        ASSERT_TRUE(testsupport::PumpUntil([&] { return !boxes->Boxes().empty(); }, 10000));
    }

    void Click(int id) {
        ::SendMessageA(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog->hwnd(), id)));
    }

    // The message boxes answered, not the dialog itself.
    std::vector<testsupport::SeenBox> MessageBoxes() const {
        std::vector<testsupport::SeenBox> seen;
        for (auto& box : boxes->Boxes())
            if (box.caption != "Importing...") seen.push_back(box);
        return seen;
    }

    bool Visible(int id) const { return ::IsWindowVisible(::GetDlgItem(dialog->hwnd(), id)) != FALSE; }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(dialog->hwnd(), id)) != FALSE; }
    std::string Text(int id) const { return testsupport::WindowText(::GetDlgItem(dialog->hwnd(), id)); }

    void ExpectOldStoreKept() const {
        EXPECT_TRUE(program.Exists("Links\\Old\\0.vsl"));
        EXPECT_TRUE(program.Exists("Links\\0.vsl"));
        const auto top = favtest::LoadLink(program.Path(), "", "0.vsl");
        EXPECT_EQ(top ? top->link.title : "<none>", "old");
        EXPECT_TRUE(program.Exists("Groups\\Work.vsg"));
    }
};

TEST_P(ImportDialog, ShowsTheChoosingStateWithTheSettingsPath) {
    ASSERT_NO_FATAL_FAILURE(Show());
    EXPECT_TRUE(::IsWindowVisible(dialog->hwnd()));
    EXPECT_EQ(testsupport::WindowText(dialog->hwnd()), "Importing...");
    EXPECT_EQ(Text(layout().description), "Import favorites from Microsoft Internet Explorer.");
    EXPECT_EQ(Text(layout().path), favorites.Path());
    EXPECT_TRUE(Visible(layout().changeFolder));
    EXPECT_TRUE(Visible(layout().path));
    EXPECT_FALSE(Visible(layout().progress));
    EXPECT_FALSE(Visible(layout().currentLink));
    EXPECT_FALSE(Visible(layout().currentFolder));
    EXPECT_TRUE(Enabled(layout().import));
    EXPECT_TRUE(Enabled(layout().cancel));
    EXPECT_EQ(::IsDlgButtonChecked(dialog->hwnd(), layout().changeFolder), BST_UNCHECKED);
    EXPECT_FALSE(Enabled(layout().path));

    // The box opens and closes the edit.
    ::SendMessageA(::GetDlgItem(dialog->hwnd(), layout().changeFolder), BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled(layout().path));
    ::SendMessageA(::GetDlgItem(dialog->hwnd(), layout().changeFolder), BM_CLICK, 0, 0);
    EXPECT_FALSE(Enabled(layout().path));

    Click(layout().cancel);
    EXPECT_FALSE(::IsWindowVisible(dialog->hwnd()));

    // Without the Favorites value the user types the folder: checked, and the edit open.
    regtest::SavedKey noValue(HKEY_CURRENT_USER, favtest::kShellFoldersKey);
    dialog->Show();
    EXPECT_EQ(Text(layout().path), "Enter your Internet Explorer Favorite path");
    EXPECT_EQ(::IsDlgButtonChecked(dialog->hwnd(), layout().changeFolder), BST_CHECKED);
    EXPECT_TRUE(Enabled(layout().path));
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST_P(ImportDialog, ImportReplacesTheStoreByTheFavorites) {
    ASSERT_NO_FATAL_FAILURE(Show());
    if (!IsManager()) boxes->Plan(IDOK);
    Click(layout().import);

    const auto seen = MessageBoxes();
    if (IsManager()) {
        EXPECT_TRUE(seen.empty()) << "the manager shows its new tree instead of a box";
    } else {
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, "Vessa");
        EXPECT_EQ(seen[0].text, kSucceeded);
    }
    const auto a = favtest::LoadLink(program.Path(), "", "0.vsl");
    const auto b = favtest::LoadLink(program.Path(), "News\\Daily", "0.vsl");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->link.title, "a");
    EXPECT_EQ(a->link.address, "http://a.example/");
    EXPECT_EQ(b->link.title, "b");
    EXPECT_EQ(b->link.address, "http://b.example/");
    EXPECT_FALSE(program.Exists("Links\\1.vsl"));
    EXPECT_FALSE(fw::FolderExists(program / "Links\\Old")) << "the old link and its folder are gone";
    EXPECT_FALSE(program.Exists("Groups\\Work.vsg"));
    EXPECT_TRUE(fw::FolderExists(program / "Groups"));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kImportInfoKey, "ImportDone"), 1u);

    EXPECT_FALSE(::IsWindowVisible(dialog->hwnd()));
    EXPECT_EQ(host.clearing, 1);
    EXPECT_TRUE(host.oldLinkThereWhenClearing) << "the owner is told before anything is deleted";
    EXPECT_EQ(host.succeeded, 1);
    // The progress state the import left behind.
    EXPECT_EQ(Text(layout().currentLink), "Importing link: b");
    EXPECT_EQ(Text(layout().currentFolder), "Importing... \"Daily\" to \"Daily\"");
    HWND bar = ::GetDlgItem(dialog->hwnd(), layout().progress);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 2);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 2);
    EXPECT_FALSE(Visible(layout().changeFolder));
    EXPECT_FALSE(Visible(layout().path));
}

TEST_P(ImportDialog, AnotherImportAsksAndNoChangesNothing) {
    regtest::PutDword(HKEY_LOCAL_MACHINE, kImportInfoKey, "ImportDone", 1);
    ASSERT_NO_FATAL_FAILURE(Show());
    boxes->Plan(IDNO);
    Click(layout().import);
    auto seen = MessageBoxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, IsManager() ? "VessaMgr" : "Vessa");
    EXPECT_EQ(seen[0].text, IsManager() ? kManagerConfirm : kBrowserConfirm);
    EXPECT_EQ(seen[0].pressed, IDNO);
    ExpectOldStoreKept();
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kImportInfoKey, "ImportDone"), 1u);
    EXPECT_FALSE(::IsWindowVisible(dialog->hwnd()));
    EXPECT_EQ(host.clearing, 0);
    EXPECT_EQ(host.succeeded, 0);

    // Yes goes on with the import.
    dialog->Show();
    boxes->Plan(IDYES);
    if (!IsManager()) boxes->Plan(IDOK);
    Click(layout().import);
    seen = MessageBoxes();
    ASSERT_EQ(seen.size(), IsManager() ? 2u : 3u);
    EXPECT_EQ(seen[1].pressed, IDYES);
    const auto a = favtest::LoadLink(program.Path(), "", "0.vsl");
    EXPECT_EQ(a ? a->link.title : "<none>", "a");
    EXPECT_EQ(host.succeeded, 1);
}

TEST_P(ImportDialog, AWrongPathDeletesNothing) {
    ASSERT_NO_FATAL_FAILURE(Show());
    ::SendMessageA(::GetDlgItem(dialog->hwnd(), layout().changeFolder), BM_CLICK, 0, 0);
    ::SetWindowTextA(::GetDlgItem(dialog->hwnd(), layout().path), (favorites / "missing").c_str());
    boxes->Plan(IDOK);
    Click(layout().import);
    const auto seen = MessageBoxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, kFailed);
    ExpectOldStoreKept();
    EXPECT_FALSE(regtest::ValuePresent(HKEY_LOCAL_MACHINE, kImportInfoKey, "ImportDone"));
    EXPECT_EQ(host.clearing, 0);
    EXPECT_EQ(host.succeeded, 0);
    EXPECT_FALSE(::IsWindowVisible(dialog->hwnd()));

    // The prompt text itself is no folder either.
    regtest::SavedKey noValue(HKEY_CURRENT_USER, favtest::kShellFoldersKey);
    dialog->Show();
    boxes->Plan(IDOK);
    Click(layout().import);
    ASSERT_EQ(MessageBoxes().size(), 2u);
    EXPECT_EQ(MessageBoxes()[1].text, kFailed);
    ExpectOldStoreKept();
}

TEST_P(ImportDialog, CancelGoesBackToTheWindowActiveBefore) {
    HWND before = ::CreateWindowExA(0, "Static", "before", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                    nullptr, nullptr);
    ::SetActiveWindow(before);
    ASSERT_EQ(::GetActiveWindow(), before);
    ASSERT_NO_FATAL_FAILURE(Show());
    ::SetActiveWindow(dialog->hwnd());
    Click(layout().cancel);
    EXPECT_FALSE(::IsWindowVisible(dialog->hwnd()));
    EXPECT_EQ(::GetActiveWindow(), before);
    ::DestroyWindow(before);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, ImportDialog, ::testing::Values(&kBrowserImportDialog, &kManagerImportDialog),
                         [](const auto& info) {
                             return info.param->owner == ImportDialogLayout::Owner::kBrowser ? "Browser" : "Manager";
                         });

}  // namespace
