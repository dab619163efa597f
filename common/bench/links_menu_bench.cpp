// Builds the links popup for links spread over folders and compares the time
// with listing the same folders and files and reading every title straight
// from the file's bytes. Prints figures; the aim is a build/raw ratio under 1.5.
//   links_menu_bench [links=2000] [folders=100]
#include "ErrorCodes.h"
#include "FolderUtil.h"
#include "LinkStore.h"
#include "LinksMenu.h"

#include "fw/file.h"
#include "testsupport/temp_program_folder.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The title as the file holds it: a length byte at offset 32, then the text.
std::string RawTitle(const std::string& path) {
    std::string bytes;
    if (fw::ReadFileBytes(path, &bytes) != fw::ReadResult::kOk || bytes.size() < 33) return {};
    const size_t len = static_cast<unsigned char>(bytes[32]);
    return bytes.substr(33, std::min(len, bytes.size() - 33));
}

size_t ListAndReadRaw(const std::string& program) {
    CFolderUtil util(program);
    std::vector<std::string> folders{util.LinksFolder()};
    util.ListSubfolders(util.LinksFolder(), &folders);
    size_t titles = 0;
    for (const auto& folder : folders) {
        std::vector<std::string> files;
        util.ListFiles(folder, "vsl", &files);
        for (const auto& file : files) titles += RawTitle(folder + "\\" + file).empty() ? 0 : 1;
    }
    return titles;
}

size_t BuildPopup(const std::string& program) {
    CLinksMenu builder(program, nullptr, nullptr, nullptr);
    COwnerDrawMenu root;
    root.CreatePopup();
    MenuList created;
    std::vector<std::string> paths;
    int nextId = 0;
    builder.BuildLinksMenu(&root, &paths, &created, &nextId);
    builder.BuildGroupsMenu(&root, &paths, &nextId);
    return paths.size();
}

template <typename F>
double Median(int runs, F f, size_t* result) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        *result = f();
        times.push_back(MsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int links = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int folders = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    testsupport::TempProgramFolder dir;
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
    const CLinkStore store(dir.Path());
    for (int i = 0; i < links; ++i) {
        CURLObject record;
        // Appended: GCC 12 warns falsely on a literal plus to_string.
        const std::string number = std::to_string(i);
        record.link.title = "Link number ";
        record.link.title += number;
        record.link.address = "http://127.0.0.1/";
        record.link.address += number;
        std::string group = "Folder ";
        group += std::to_string(i % folders);
        if (store.AddURLObject(group, record) != kErrNone) {
            std::printf("cannot write link %d\n", i);
            return 1;
        }
    }
    size_t built = 0, read = 0;
    // A warm-up pass of each, so both find the files in the cache.
    ListAndReadRaw(dir.Path());
    BuildPopup(dir.Path());
    const double raw = Median(7, [&] { return ListAndReadRaw(dir.Path()); }, &read);
    const double build = Median(7, [&] { return BuildPopup(dir.Path()); }, &built);
    std::printf("links %d in %d folders: %zu items built, %zu titles read raw\n", links, folders, built, read);
    std::printf("build popup   %9.2f ms (median of 7)\n", build);
    std::printf("list and read %9.2f ms (median of 7)\n", raw);
    std::printf("ratio %.2f (aim: under 1.5)\n", raw > 0 ? build / raw : 0.0);
    return 0;
}
