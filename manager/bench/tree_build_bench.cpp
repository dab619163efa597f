// Not a test: the time to build the tree over 10,000 links in 100 folders,
// against a baseline of the same run that reads the same files whole and makes
// as many raw tree inserts with redraw off. Aim: a ratio under 1.3.
#include "LeftView.h"
#include "MainFrame.h"
#include "NimbApp.h"
#include "NimbDoc.h"

#include "fw/file.h"
#include "testsupport/pump.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFolders = 100;
constexpr int kLinksPerFolder = 100;

double Seconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Baseline(const std::string& folder, HWND tree) {
    ::SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    for (int f = 0; f < kFolders; ++f) {
        std::string name = "F";
        name += std::to_string(f);
        TVINSERTSTRUCTA insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(name.c_str());
        auto parent =
            reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        for (int l = 0; l < kLinksPerFolder; ++l) {
            std::string bytes;
            fw::ReadFileBytes(folder + "\\Links\\" + name + "\\" + std::to_string(l) + ".vsl", &bytes);
            insert.hParent = parent;
            insert.item.pszText = bytes.data();
            ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        }
    }
    ::SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
}

}  // namespace

int main() {
    testsupport::ScratchKey registry(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global");
    testsupport::TempProgramFolder dir;
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
    dir.MakeFolder("Templates");
    CURLObject record;
    record.link.address = "http://127.0.0.1:1/page";
    const CLinkStore store(dir.Path());
    for (int f = 0; f < kFolders; ++f) {
        std::string name = "F";
        name += std::to_string(f);
        dir.MakeFolder("Links\\" + name);
        for (int l = 0; l < kLinksPerFolder; ++l) {
            record.link.title = "Link ";
            record.link.title += std::to_string(l);
            record.link.title += " of ";
            record.link.title += name;
            store.WriteArchive(dir / ("Links\\" + name + "\\" + std::to_string(l) + ".vsl"), record);
        }
    }

    CNimbApp app("-o ", dir.Path());
    if (!app.InitInstance()) return 1;
    CLeftView* tree = app.MainFrame()->TreeView();
    testsupport::PumpUntil([&] { return tree->Root() != nullptr; }, 120000);

    HWND bare = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 400, app.MainFrame()->hwnd(),
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    std::vector<double> built, baseline;
    for (int run = 0; run < 3; ++run) {
        built.push_back(Seconds([&] { tree->RefreshTree(); }));
        baseline.push_back(Seconds([&] { Baseline(dir.Path(), bare); }));
    }
    const double b = Median(built), base = Median(baseline);
    std::printf("tree build, %d links in %d folders: %.3f s (median of 3)\n", kFolders * kLinksPerFolder, kFolders, b);
    std::printf("baseline (whole-file reads + raw inserts, redraw off): %.3f s\n", base);
    std::printf("ratio: %.2f (aim: under 1.3)\n", b / base);
    ::DestroyWindow(bare);
    return 0;
}
