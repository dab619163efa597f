// The favorites import of the real VessaMgr.exe, driven from outside: File
// Import... posted to its frame, the dialog's buttons pressed by control id,
// its tree read across processes; a fixture Favorites folder is named in the
// user's Shell Folders value.
#include "running_manager.h"

#include "ErrorCodes.h"
#include "ImportFavoritesIds.h"
#include "LinkStore.h"
#include "favorites_fixture.h"
#include "remote_tree.h"
#include "resource.h"

#include "testsupport/box_answerer.h"

using namespace mgrtest;

namespace {

HWND ImportDialogOf(DWORD pid) {
    const auto found = testsupport::TopWindows(
        pid, [](HWND wnd) { return ::IsWindowVisible(wnd) && ::GetDlgItem(wnd, IMPORT_MANAGER_IMPORT) != nullptr; });
    return found.empty() ? nullptr : found.front();
}

}  // namespace

TEST(ManagerImportProgram, ImportReplacesTheLinksAndRebuildsTheTreeWithoutABox) {
    ProgramFixture f;
    f.dir.MakeFolder("Links");
    f.dir.MakeFolder("Links\\Old");
    f.dir.MakeFolder("Groups");
    f.dir.MakeFolder("Templates");
    CURLObject old;
    old.link.title = "old";
    ASSERT_EQ(CLinkStore(f.dir.Path()).SaveURLObject(CURLEntry("Old", "0.vsl"), old), kErrNone);
    f.dir.WriteFile("Groups\\Work.vsg", "Links\\Old\\0.vsl\r\n");
    TempProgramFolder favorites;
    favorites.MakeFolder("News");
    favorites.MakeFolder("News\\Daily");
    favtest::WriteFileBytes(favorites / "a.url", favtest::ShortcutText("http://a.example/", "\r\n"));
    favtest::WriteFileBytes(favorites / "News\\Daily\\b.url", favtest::ShortcutText("http://b.example/", "\n"));
    favtest::FavoritesValue favoritesValue;
    favoritesValue.Set(favorites.Path());

    RunningManager manager(f.dir, "-o ");
    HWND wnd = manager.WaitForWindow();
    ASSERT_TRUE(wnd);
    const DWORD pid = [&] {
        DWORD id = 0;
        ::GetWindowThreadProcessId(wnd, &id);
        return id;
    }();
    testsupport::BoxAnswerer boxes(pid);
    RemoteTree tree(wnd);
    ASSERT_TRUE(tree);
    auto links = [&] { return tree.Find(tree.Root(), "Links"); };
    ASSERT_TRUE(WaitUntil([&] { return links() && tree.Find(links(), "Old"); }, 30000)) << "timer 51 builds the tree";

    ::PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(ID_IMPORT, 0), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = ImportDialogOf(pid)) != nullptr; }));
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IMPORT_MANAGER_IMPORT, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IMPORT_MANAGER_IMPORT)));

    ASSERT_TRUE(WaitUntil([&] { return links() && tree.Find(links(), "a"); }, 30000)) << "the tree is rebuilt";
    EXPECT_FALSE(tree.Find(links(), "Old"));
    HTREEITEM daily = tree.Find(tree.Find(links(), "News"), "Daily");
    EXPECT_TRUE(daily && tree.Find(daily, "b"));
    EXPECT_FALSE(tree.Child(tree.Find(tree.Root(), "Groups"))) << "the old group is gone";
    EXPECT_FALSE(::IsWindowVisible(dialog));
    EXPECT_EQ(regtest::StoredDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global\\Vessa\\ImportInfo", "ImportDone"),
              1u);
    for (const testsupport::SeenBox& box : boxes.Boxes())
        EXPECT_EQ(box.caption, "Importing...") << "no box but the dialog itself: " << box.text;
}
