// Writes links in nested folders through the link store, then compares the
// time to load them all with the time of a plain open-read-close of the same
// files. Prints figures; the aim is a load/plain ratio under 1.5.
//   link_store_bench [count=10000]
#include "ErrorCodes.h"
#include "LinkStore.h"

#include "fw/handles.h"
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


// The plain read a loader cannot beat: open, read in 4096-byte blocks, close.
std::size_t PlainRead(const std::string& path) {
    fw::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    char buffer[4096];
    std::size_t total = 0;
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) total += got;
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof(temp), temp);
    const std::string root = std::string(temp) + "vessa-bench-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(root.c_str(), nullptr);
    CLinkStore store(root);

    // 100 links a folder, folders two levels deep: Links\Fa\Fb.
    std::vector<CURLEntry> entries;
    CURLObject record;
    record.link.comments = "A link of the benchmark, with a comment of ordinary length.";
    auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        const int folder = i / 100;
        // Built by appending: "literal" + std::string trips a false -Wrestrict in GCC 12.
        std::string group("F");
        group.append(std::to_string(folder / 10)).append("\\F").append(std::to_string(folder % 10));
        record.link.title.assign("Link number ").append(std::to_string(i));
        record.link.address.assign("http://www.example.com/page/").append(std::to_string(i)).append(".html");
        std::string name;
        if (const int rc = store.AddURLObject(group, record, &name); rc != kErrNone) {
            std::printf("add %d failed with %d\n", i, rc);
            testsupport::RemoveTree(root);
            return 1;
        }
        entries.emplace_back(group, name);
    }
    const double addMs = MsSince(start);

    std::vector<std::string> paths;
    for (const auto& e : entries) paths.push_back(store.EntryPath(e));

    // Alternate the two passes and keep each one's best round, so neither
    // pays alone for a cold cache.
    double plainBest = 1e300;
    double loadBest = 1e300;
    std::size_t bytes = 0;
    int failures = 0;
    for (int round = 0; round < 5; ++round) {
        start = Clock::now();
        bytes = 0;
        for (const auto& path : paths) bytes += PlainRead(path);
        plainBest = std::min(plainBest, MsSince(start));

        start = Clock::now();
        failures = 0;
        for (const auto& e : entries) {
            std::unique_ptr<CURLObject> loaded;
            if (store.LoadURLObject(e, &loaded) != kErrNone) ++failures;
        }
        loadBest = std::min(loadBest, MsSince(start));
    }

    std::printf("links:            %d in %d folders, %zu bytes\n", count, (count + 99) / 100, bytes);
    std::printf("add (write):      %.1f ms (%.3f ms a link)\n", addMs, addMs / count);
    std::printf("plain read:       %.1f ms (%.3f ms a file)\n", plainBest, plainBest / count);
    std::printf("load:             %.1f ms (%.3f ms a link), %d failed\n", loadBest, loadBest / count, failures);
    std::printf("load/plain ratio: %.2f (aim: under 1.5)\n", loadBest / plainBest);
    testsupport::RemoveTree(root);
    return failures == 0 ? 0 : 1;
}
