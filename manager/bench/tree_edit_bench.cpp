// Not a test: the cost of deleting a link that 100 groups of 100 lines list
// (every group file rewritten, the members rebuilt), and of the confirmation's
// look through those groups for a folder of 1,000 links, next to a raw read
// and write of the same group files. Aim: the delete under 0.5 s, the look under 1 s.
#include "LeftView.h"
#include "MainFrame.h"
#include "NimbApp.h"
#include "NimbDoc.h"
#include "resource.h"

#include "fw/file.h"
#include "testsupport/pump.h"
#include "testsupport/reg_test_util.h"
#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kGroups = 100;
constexpr int kLinesPerGroup = 100;
constexpr int kFolderLinks = 1000;

double Seconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string GroupPath(const testsupport::TempProgramFolder& dir, int g) {
    return dir / ("Groups\\G" + std::to_string(g) + ".vsg");
}

}  // namespace

int main() {
    testsupport::ScratchKey registry(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global");
    // Neither question is asked: the figures are the disk and tree work.
    regtest::PutDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global\\Vessa\\Options", "Hide Normal DeleteDlg", 1);
    regtest::PutDword(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global\\Vessa\\Options", "Hide Group Item DeleteDlg", 1);
    testsupport::TempProgramFolder dir;
    dir.MakeFolder("Links\\Big");
    dir.MakeFolder("Groups");
    dir.MakeFolder("Templates");
    const CLinkStore store(dir.Path());
    CURLObject record;
    record.link.address = "http://127.0.0.1:1/page";
    std::string linkBytes;
    for (int l = 0; l < kLinesPerGroup; ++l) {
        record.link.title = "Link " + std::to_string(l);
        store.WriteArchive(dir / ("Links\\" + std::to_string(l) + ".vsl"), record);
    }
    fw::ReadWholeFile(dir / "Links\\0.vsl", linkBytes);
    for (int l = 0; l < kFolderLinks; ++l) {
        record.link.title = "Big " + std::to_string(l);
        store.WriteArchive(dir / ("Links\\Big\\" + std::to_string(l) + ".vsl"), record);
    }
    std::vector<std::string> lines;
    for (int l = 0; l < kLinesPerGroup; ++l) lines.push_back("Links\\" + std::to_string(l) + ".vsl");
    const std::string groupText = fw::JoinLinesCrLf(lines);
    auto writeGroups = [&] {
        for (int g = 0; g < kGroups; ++g) fw::WriteWholeFile(GroupPath(dir, g), groupText);
    };
    writeGroups();

    CNimbApp app("-o ", dir.Path());
    if (!app.InitInstance()) return 1;
    CLeftView* tree = app.MainFrame()->TreeView();
    testsupport::PumpUntil([&] { return tree->Root() != nullptr; }, 300000);

    std::vector<double> deletes, confirms, raws;
    for (int run = 0; run < 3; ++run) {
        // The store as it was: the link back, every group whole, the tree rebuilt.
        fw::WriteWholeFile(dir / "Links\\0.vsl", linkBytes);
        writeGroups();
        tree->RefreshTree();
        HTREEITEM link = tree->FindChildByName(tree->LinksItem(), "Link 0");
        HTREEITEM big = tree->FindChildByName(tree->LinksItem(), "Big");
        if (!link || !big) return 2;

        TreeView_SelectItem(tree->hwnd(), big);
        confirms.push_back(Seconds([&] { tree->ConfirmDelete(big, TreeKind::kFolder); }));
        TreeView_SelectItem(tree->hwnd(), link);
        deletes.push_back(Seconds([&] { tree->HandleCommand(ID_EDIT_DELETE); }));
        if (fw::FileExists(dir / "Links\\0.vsl")) return 3;
        raws.push_back(Seconds([&] {
            for (int g = 0; g < kGroups; ++g) {
                std::string bytes;
                fw::ReadFileBytes(GroupPath(dir, g), &bytes);
                fw::WriteWholeFile(GroupPath(dir, g), bytes);
            }
        }));
    }
    const double d = Median(deletes), c = Median(confirms), raw = Median(raws);
    std::printf("delete of a link listed by %d groups of %d lines: %.3f s (median of 3; aim: under 0.5 s)\n", kGroups,
                kLinesPerGroup, d);
    std::printf("confirmation look for a folder of %d links through those groups: %.3f s (aim: under 1 s)\n",
                kFolderLinks, c);
    std::printf("raw read and write of the %d group files: %.3f s\n", kGroups, raw);
    std::printf("ratios to raw: delete %.1f, confirmation %.1f\n", d / raw, c / raw);
    return 0;
}
