// The favorites import of the real browser under Wine, driven from outside:
// menu command 31006 shows the dialog, its buttons are pressed by control id,
// its boxes answered by their buttons; a fixture Favorites folder is named in
// the user's Shell Folders value.
#include "browser_test_util.h"
#include "page_test_util.h"

#include "resource.h"

#include "ErrorCodes.h"
#include "ImportFavoritesIds.h"
#include "LinkStore.h"
#include "favorites_fixture.h"
#include "real_manager.h"
#include "remote_tree.h"

#include "fw/file.h"
#include "fw/handles.h"

#include "testsupport/box_answerer.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/running_program.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pagetest {
namespace {

using browsertest::RealManager;
using favtest::ShortcutText;
using favtest::WriteFileBytes;
using testsupport::TempProgramFolder;

constexpr int kImportCommand = 31006;
using favtest::kImportInfoKey;
constexpr const char* kConfirm = favtest::kBrowserConfirm;

using testsupport::TextOf;

// The import dialog of a process, once shown.
HWND ImportDialogOf(DWORD pid) {
    const auto found = testsupport::TopWindows(
        pid, [](HWND wnd) { return ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IMPORT_BROWSER_IMPORT) != nullptr; });
    return found.empty() ? nullptr : found.front();
}

class BrowserImport : public ::testing::Test, protected browsertest::BrowserFolder {
protected:
    TempProgramFolder favorites;
    favtest::FavoritesValue favoritesValue;
    LoopbackServer server{"<html><body>page</body></html>"};
    std::unique_ptr<browsertest::BrowserProgram> browser;
    DWORD pid = 0;
    std::unique_ptr<testsupport::BoxAnswerer> boxes;
    HWND window = nullptr;
    HWND dialog = nullptr;

    void SetUp() override {
        ASSERT_TRUE(server.Listening());
        ASSERT_NO_FATAL_FAILURE(favtest::MakeOldStore(dir, favtest::WithTemplate::kYes));
        ASSERT_NO_FATAL_FAILURE(favtest::MakeFavorites(favorites));
        WriteFileBytes(favorites / "locked.url", ShortcutText("http://locked.example/"));
        favtest::SetFileTimes(favorites / "a.url", 1000000000, 2000000000);
        favoritesValue.Set(favorites.Path());
    }

    void Start() {
        browser = std::make_unique<browsertest::BrowserProgram>(dir, server.Url("/start"));
        ASSERT_TRUE(browser->started());
        pid = browser->id();
        boxes = std::make_unique<testsupport::BoxAnswerer>(pid);
        ASSERT_TRUE(window = browser->WaitForWindow(20000));
    }

    void TearDown() override {
        if (window) {
            EXPECT_EQ(browser->Close(20000), 0);
        }
    }

    // Menu command 31006; the dialog shows, first seen by the answerer as a window it leaves alone.
    void ShowImport(size_t boxesBefore) {
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(kImportCommand, 0), 0);
        ASSERT_TRUE(PumpUntil([&] { return (dialog = ImportDialogOf(pid)) != nullptr; }, 20000));
        if (boxesBefore == 0) {
            ASSERT_TRUE(boxes->WaitForBoxes(1));
        }
    }

    void Press(int id) {
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }

    bool WaitHidden() {
        return PumpUntil([&] { return !::IsWindowVisible(dialog); }, 20000);
    }
};

TEST_F(BrowserImport, ImportsTheFavoritesAndAsksBeforeAnother) {
    ASSERT_NO_FATAL_FAILURE(Start());
    // A shortcut held open without sharing cannot be read.
    fw::FileHandle lock(
        ::CreateFileA((favorites / "locked.url").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);

    ASSERT_NO_FATAL_FAILURE(ShowImport(0));
    EXPECT_EQ(TextOf(dialog), "Importing...");
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, IMPORT_BROWSER_PATH)), favorites.Path());
    boxes->Plan(IDOK);
    Press(IMPORT_BROWSER_IMPORT);
    ASSERT_TRUE(boxes->WaitForBoxes(2, 30000));
    EXPECT_EQ(boxes->Boxes()[1].caption, "Vessa");
    EXPECT_EQ(boxes->Boxes()[1].text, "IE Favorites have all been successfully imported");
    EXPECT_TRUE(WaitHidden());

    const auto a = favtest::LoadLink(dir.Path(), "", "0.vsl");
    const auto b = favtest::LoadLink(dir.Path(), "News\\Daily", "0.vsl");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->link.title, "a");
    EXPECT_EQ(a->link.address, "http://a.example/");
    EXPECT_EQ(a->link.stamp3, 2000000000);
    EXPECT_EQ(b->link.title, "b");
    EXPECT_EQ(b->link.address, "http://b.example/");
    for (const CURLObject* link : {a.get(), b.get()}) {
        CURLObject expected = favtest::DistinctTemplate();
        expected.link.title = link->link.title;
        expected.link.address = link->link.address;
        EXPECT_FALSE(link->DiffersFrom(expected)) << "the template's rectangle, skin, fonts, colours and options";
    }
    EXPECT_FALSE(dir.Exists("Links\\1.vsl")) << "the locked shortcut is skipped";
    EXPECT_FALSE(dir.Exists("Groups\\Work.vsg")) << "the old group is gone";
    EXPECT_FALSE(fw::FolderExists(dir / "Links\\Old"));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, kImportInfoKey, "ImportDone"), 1u);

    // Another import asks first; No changes nothing and hides the dialog.
    ASSERT_NO_FATAL_FAILURE(ShowImport(2));
    boxes->Plan(IDNO);
    Press(IMPORT_BROWSER_IMPORT);
    ASSERT_TRUE(boxes->WaitForBoxes(3, 30000));
    EXPECT_EQ(boxes->Boxes()[2].text, kConfirm);
    EXPECT_EQ(boxes->Boxes()[2].pressed, IDNO);
    EXPECT_TRUE(WaitHidden());
    EXPECT_EQ(favtest::LoadLink(dir.Path(), "", "0.vsl")->link.title, "a");
    EXPECT_TRUE(dir.Exists("Links\\News\\Daily\\0.vsl"));
    EXPECT_FALSE(dir.Exists("Links\\1.vsl"));
    EXPECT_EQ(boxes->Boxes().size(), 3u);
}

TEST_F(BrowserImport, WithoutTheFavoritesValueTheUserTypesTheFolder) {
    regtest::SavedKey noValue(HKEY_CURRENT_USER, favtest::kShellFoldersKey);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowImport(0));
    EXPECT_EQ(TextOf(::GetDlgItem(dialog, IMPORT_BROWSER_PATH)), "Enter your Internet Explorer Favorite path");
    DWORD_PTR checked = 0;
    ASSERT_TRUE(::SendMessageTimeoutA(::GetDlgItem(dialog, IMPORT_BROWSER_CHANGE), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG,
                                      5000, &checked));
    EXPECT_EQ(checked, static_cast<DWORD_PTR>(BST_CHECKED));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IMPORT_BROWSER_PATH)));

    Press(IMPORT_BROWSER_CANCEL);
    EXPECT_TRUE(WaitHidden());
    EXPECT_TRUE(dir.Exists("Links\\Old\\0.vsl"));
    EXPECT_EQ(boxes->Boxes().size(), 1u) << "no box but the dialog itself";
}

TEST_F(BrowserImport, ASuccessfulImportRebuildsARunningManagersTree) {
    RealManager manager(dir);
    HWND frame = manager.WaitUntilServing();
    ASSERT_TRUE(frame) << "the manager serves its automation object";
    mgrtest::RemoteTree tree(frame);
    ASSERT_TRUE(tree);
    // The texts of the children of Links, as the manager's tree shows them now.
    auto linksChildren = [&] {
        std::vector<std::string> texts;
        HTREEITEM links = tree.Find(tree.Root(), "Links");
        for (HTREEITEM item = links ? tree.Child(links) : nullptr; item; item = tree.Sibling(item)) {
            texts.push_back(tree.Text(item));
        }
        return texts;
    };
    ASSERT_TRUE(PumpUntil([&] { return linksChildren() == std::vector<std::string>{"Old"}; }, 20000))
        << "the manager's first build";
    ASSERT_TRUE(tree.Find(tree.Find(tree.Root(), "Groups"), "Work")) << "the old group, shown before the import";

    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ShowImport(0));
    boxes->Plan(IDOK);
    Press(IMPORT_BROWSER_IMPORT);
    ASSERT_TRUE(boxes->WaitForBoxes(2, 30000));
    EXPECT_EQ(boxes->Boxes()[1].text, "IE Favorites have all been successfully imported");

    // The folders come before the links, each in the order the disk lists them.
    const std::vector<std::string> imported{"News", "a", "locked"};
    EXPECT_TRUE(PumpUntil([&] { return linksChildren() == imported; }, 20000))
        << "the manager's tree rebuilt from the imported links: " << testing::PrintToString(linksChildren());
    HTREEITEM news = tree.Find(tree.Find(tree.Root(), "Links"), "News");
    HTREEITEM daily = news ? tree.Find(news, "Daily") : nullptr;
    ASSERT_TRUE(daily);
    EXPECT_TRUE(tree.Find(daily, "b"));
    EXPECT_FALSE(tree.Find(tree.Find(tree.Root(), "Groups"), "Work")) << "the old group is gone from the tree";
    EXPECT_TRUE(manager.Boxes().Boxes().empty());
    EXPECT_EQ(manager.Close(), 0);
}

}  // namespace
}  // namespace pagetest
