// Not a test: the cost of moving a folder of 1,000 links, that a group partly
// lists, into another folder with MoveItem (copy, group lines, delete of the
// source tree), next to plain CopyFileA and DeleteFileA of the same files and
// RemoveDirectoryA; and the cost of one CanDrop on that tree, which must read
// no disk since a drag asks it for each new target. Aim: the move under 1.2 times the raw copies and deletes.
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
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kLinks = 1000;
// Every tenth link of Big is a group member.
constexpr int kMemberStep = 10;
constexpr int kRuns = 5;
// CanDrop is timed for this long, or this many calls, whichever comes first.
constexpr double kCanDropSeconds = 2.0;
constexpr int kCanDropCalls = 20000;

double Seconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Calls step until the time or the count is used up; the mean seconds a call and the calls made.
double MeanSeconds(const std::function<void()>& step, int* calls) {
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    int n = 0;
    while (n < kCanDropCalls && elapsed < kCanDropSeconds) {
        step();
        ++n;
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    *calls = n;
    return elapsed / n;
}

// The least that comparing every child's name needs: one TVM_GETITEMA per child.
bool RawChildLook(HWND tree, HTREEITEM parent, const char* name) {
    char text[260];
    for (HTREEITEM c = TreeView_GetChild(tree, parent); c; c = TreeView_GetNextSibling(tree, c)) {
        TVITEMA tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = c;
        tv.pszText = text;
        tv.cchTextMax = sizeof(text);
        if (::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) && !::lstrcmpiA(text, name))
            return true;
    }
    return false;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string LinkName(int l) {
    return std::to_string(l) + ".vsl";
}

int CountLinkFiles(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*.vsl").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return count;
}

// Links\Big with its 1,000 links, an empty Links\Archive and the group, as
// before any move; whatever an earlier run left is gone.
class Fixture {
public:
    explicit Fixture(const testsupport::TempProgramFolder& dir) : dir_(dir) {
        const CLinkStore store(dir.Path());
        CURLObject record;
        record.link.address = "http://127.0.0.1:1/page";
        dir.MakeFolder("Links\\Big");
        for (int l = 0; l < kLinks; ++l) {
            record.link.title = "Big " + std::to_string(l);
            store.WriteArchive(dir / ("Links\\Big\\" + LinkName(l)), record);
            std::string bytes;
            fw::ReadWholeFile(dir / ("Links\\Big\\" + LinkName(l)), bytes);
            linkBytes_.push_back(std::move(bytes));
        }
        std::vector<std::string> lines;
        for (int l = 0; l < kLinks; l += kMemberStep) lines.push_back("Links\\Big\\" + LinkName(l));
        groupText_ = fw::JoinLinesCrLf(lines);
    }

    void Reset() const {
        testsupport::RemoveTree(dir_ / "Links\\Archive");
        testsupport::RemoveTree(dir_ / "Links\\Big");
        dir_.MakeFolder("Links\\Archive");
        dir_.MakeFolder("Links\\Big");
        for (int l = 0; l < kLinks; ++l) fw::WriteWholeFile(dir_ / ("Links\\Big\\" + LinkName(l)), linkBytes_[l]);
        dir_.MakeFolder("Groups");
        fw::WriteWholeFile(dir_ / "Groups\\Picks.vsg", groupText_);
    }

    // What the move must leave: every link in Archive\Big, Big gone, every group line following.
    bool Moved() const {
        if (fw::FolderExists(dir_ / "Links\\Big")) return false;
        if (CountLinkFiles(dir_ / "Links\\Archive\\Big") != kLinks) return false;
        std::vector<std::string> lines;
        if (!fw::ReadTextLines(dir_ / "Groups\\Picks.vsg", lines)) return false;
        if (lines.size() != static_cast<size_t>((kLinks + kMemberStep - 1) / kMemberStep)) return false;
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i] != "Links\\Archive\\Big\\" + LinkName(static_cast<int>(i) * kMemberStep)) return false;
        return true;
    }

private:
    const testsupport::TempProgramFolder& dir_;
    std::vector<std::string> linkBytes_;
    std::string groupText_;
};

void RawMove(const testsupport::TempProgramFolder& dir) {
    const std::string from = dir / "Links\\Big", to = dir / "Links\\Archive\\Big";
    ::CreateDirectoryA(to.c_str(), nullptr);
    for (int l = 0; l < kLinks; ++l) {
        const std::string source = from + "\\" + LinkName(l);
        ::CopyFileA(source.c_str(), (to + "\\" + LinkName(l)).c_str(), TRUE);
        ::DeleteFileA(source.c_str());
    }
    ::RemoveDirectoryA(from.c_str());
}

}  // namespace

int main() {
    // Each figure shows as soon as it is known, also when a later step stalls.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testsupport::ScratchKey registry(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global");
    testsupport::TempProgramFolder dir;
    dir.MakeFolder("Links");
    dir.MakeFolder("Templates");
    const Fixture fixture(dir);
    fixture.Reset();

    CNimbApp app("-o ", dir.Path());
    if (!app.InitInstance()) return 1;
    CLeftView* tree = app.MainFrame()->TreeView();
    testsupport::PumpUntil([&] { return tree->Root() != nullptr; }, 300000);

    std::vector<double> moves, refreshes, raws;
    for (int run = 0; run < kRuns; ++run) {
        fixture.Reset();
        tree->RefreshTree();
        HTREEITEM big = tree->FindChildByName(tree->LinksItem(), "Big");
        HTREEITEM archive = tree->FindChildByName(tree->LinksItem(), "Archive");
        if (!big || !archive) return 2;
        int result = -1;
        moves.push_back(Seconds([&] { result = tree->MoveItem(big, archive); }));
        if (result != 0 || !fixture.Moved()) {
            std::printf("run %d: MoveItem gave %d and left the disk %s\n", run, result,
                        fixture.Moved() ? "moved" : "not as a move leaves it");
            return 3;
        }
        // What a drop does next: the target's children built again.
        refreshes.push_back(Seconds([&] { tree->RefreshItem(archive); }));
        if (!tree->FindChildByName(archive, "Big")) return 4;

        fixture.Reset();
        raws.push_back(Seconds([&] { RawMove(dir); }));
        if (CountLinkFiles(dir / "Links\\Archive\\Big") != kLinks || fw::FolderExists(dir / "Links\\Big")) return 5;
    }
    const double move = Median(moves), refresh = Median(refreshes), raw = Median(raws);
    std::printf(
        "MoveItem of folder Big (%d links, %d of them in a group) into Archive: %.3f s "
        "(median of %d, fresh fixture each)\n",
        kLinks, (kLinks + kMemberStep - 1) / kMemberStep, move, kRuns);
    std::printf("then the drop's rebuild of Archive's children: %.3f s\n", refresh);
    std::printf("raw CopyFileA + DeleteFileA of the %d files and RemoveDirectoryA: %.3f s\n", kLinks, raw);
    std::printf("ratio MoveItem / raw: %.2f (aim: under 1.2)\n", move / raw);

    // CanDrop on the tree with the 1,000 links; the folder case compares every child of Big.
    fixture.Reset();
    tree->RefreshTree();
    HTREEITEM big = tree->FindChildByName(tree->LinksItem(), "Big");
    HTREEITEM archive = tree->FindChildByName(tree->LinksItem(), "Archive");
    HTREEITEM group = tree->FindChildByName(tree->GroupsItem(), "Picks");
    HTREEITEM link = big ? tree->FindChildByName(big, "Big 500") : nullptr;
    if (!big || !archive || !group || !link) return 6;
    struct Case {
        const char* what;
        HTREEITEM dragged, target;
        bool expected;
    };
    const Case cases[] = {
        {"folder Archive onto Big (1,000 children compared)", archive, big, true},
        {"folder Big onto its parent Links", big, tree->LinksItem(), false},
        {"link of Big onto Archive", link, archive, true},
        {"link of Big onto the group", link, group, true},
        {"folder Big onto one of its links", big, link, false},
    };
    for (const Case& c : cases) {
        if (tree->CanDrop(c.dragged, c.target) != c.expected) {
            std::printf("CanDrop for %s is not %d\n", c.what, c.expected);
            return 7;
        }
        int calls = 0, held = 0;
        const double s = MeanSeconds([&] { held += tree->CanDrop(c.dragged, c.target) ? 1 : 0; }, &calls);
        std::printf("CanDrop, %s: %.2f us a call (mean of %d, %d held)\n", c.what, s * 1e6, calls, held);
    }
    int calls = 0, found = 0;
    const double rawLook = MeanSeconds([&] { found += RawChildLook(tree->hwnd(), big, "Archive") ? 1 : 0; }, &calls);
    std::printf("raw look through Big's %d children by TVM_GETITEMA: %.2f us (mean of %d, %d found)\n", kLinks,
                rawLook * 1e6, calls, found);
    // Every item message pays for the control's check of the handle, so the tree's size counts.
    char text[260];
    const double oneRead = MeanSeconds(
        [&] {
            TVITEMA tv{};
            tv.mask = TVIF_TEXT;
            tv.hItem = link;
            tv.pszText = text;
            tv.cchTextMax = sizeof(text);
            ::SendMessageA(tree->hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        },
        &calls);
    std::printf("one TVM_GETITEMA on this tree of %u items: %.2f us (mean of %d)\n",
                static_cast<unsigned>(TreeView_GetCount(tree->hwnd())), oneRead * 1e6, calls);
    // The same answers with Links moved aside show that CanDrop looks at the tree only.
    const std::string links = dir / "Links", aside = dir / "Links.aside";
    if (!::MoveFileA(links.c_str(), aside.c_str())) {
        std::printf("Links could not be moved aside (error %lu)\n", ::GetLastError());
        return 8;
    }
    bool same = true;
    for (const Case& c : cases) same = same && tree->CanDrop(c.dragged, c.target) == c.expected;
    ::MoveFileA(aside.c_str(), links.c_str());
    std::printf("CanDrop with the Links folder moved aside: %s\n",
                same ? "the same answers (it reads no disk)" : "other answers (it reads the disk)");
    return same ? 0 : 9;
}
