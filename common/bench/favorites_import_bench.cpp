// Benchmark, not a test: imports 2,000 shortcuts in 100 folders into an empty
// store and compares it with reading the same files and writing as many link
// files raw (one CreateFile and WriteFile each, folders made with
// CreateDirectory). Prints both times and their ratio (aim: under 1.5).
#include "FavoritesReader.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "favorites_fixture.h"

#include "fw/archive.h"
#include "fw/handles.h"

#include "testsupport/temp_program_folder.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFolders = 100;
constexpr int kPerFolder = 20;
constexpr int kRuns = 5;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string FolderName(int i) {
    std::string name = "Folder ";
    name += std::to_string(i);
    return name;
}

void MakeFavorites(const std::string& root) {
    for (int f = 0; f < kFolders; ++f) {
        const std::string folder = root + "\\" + FolderName(f);
        ::CreateDirectoryA(folder.c_str(), nullptr);
        for (int i = 0; i < kPerFolder; ++i) {
            std::string name = folder + "\\Shortcut ";
            name += std::to_string(i);
            name += ".url";
            std::string url = "http://example.com/";
            url += std::to_string(f * kPerFolder + i);
            favtest::WriteFileBytes(name, favtest::ShortcutText(url));
        }
    }
}

// What the import does, at the least cost: read each shortcut, write one
// link file of the record's size per shortcut.
void RawCopy(const std::string& root, const std::string& links, const std::string& record) {
    ::CreateDirectoryA(links.c_str(), nullptr);
    std::vector<char> buffer(64 * 1024);
    for (int f = 0; f < kFolders; ++f) {
        const std::string from = root + "\\" + FolderName(f);
        const std::string to = links + "\\" + FolderName(f);
        ::CreateDirectoryA(to.c_str(), nullptr);
        for (int i = 0; i < kPerFolder; ++i) {
            std::string name = from + "\\Shortcut ";
            name += std::to_string(i);
            name += ".url";
            fw::FileHandle in(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                            nullptr));
            DWORD read = 0;
            ::ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
            std::string out = to + "\\";
            out += std::to_string(i);
            out += ".vsl";
            fw::FileHandle file(
                ::CreateFileA(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            ::WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
        }
    }
}

// The import's two halves apart: every shortcut read, and as many links added.
void Halves(const std::string& root, double* readMs, double* addMs) {
    testsupport::TempProgramFolder program;
    CFavoritesReader reader(nullptr, program.Path());
    CURLObject record = favtest::DistinctTemplate();
    auto start = Clock::now();
    for (int f = 0; f < kFolders; ++f)
        for (int i = 0; i < kPerFolder; ++i) {
            std::string name = root + "\\" + FolderName(f) + "\\Shortcut ";
            name += std::to_string(i);
            name += ".url";
            reader.ReadURLFile(name, &record);
        }
    *readMs = Ms(Clock::now() - start);
    CLinkStore store(program.Path());
    start = Clock::now();
    for (int f = 0; f < kFolders; ++f)
        for (int i = 0; i < kPerFolder; ++i) store.AddURLObject(FolderName(f), record, nullptr, CLinkStore::kNoFlush);
    *addMs = Ms(Clock::now() - start);
}

}  // namespace

int main() {
    testsupport::TempProgramFolder favorites;
    MakeFavorites(favorites.Path());
    const std::string record = fw::StoreObject(favtest::DistinctTemplate());

    double bestImport = 1e300;
    double bestRaw = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        {
            testsupport::TempProgramFolder program;
            CFavoritesReader reader(nullptr, program.Path());
            const auto start = Clock::now();
            const int rc = reader.ImportFavorites(favorites.Path());
            const double ms = Ms(Clock::now() - start);
            if (rc != kErrNone) {
                std::printf("import failed: %d\n", rc);
                return 1;
            }
            bestImport = std::min(bestImport, ms);
        }
        {
            testsupport::TempProgramFolder program;
            const auto start = Clock::now();
            RawCopy(favorites.Path(), program / "Links", record);
            bestRaw = std::min(bestRaw, Ms(Clock::now() - start));
        }
    }
    std::printf("favorites import of %d shortcuts in %d folders (best of %d)\n", kFolders * kPerFolder, kFolders,
                kRuns);
    std::printf("  CFavoritesReader::ImportFavorites: %8.1f ms\n", bestImport);
    std::printf("  raw read and write:                %8.1f ms\n", bestRaw);
    std::printf("  ratio: %.2f (aim: under 1.5)\n", bestImport / bestRaw);
    double readMs = 0, addMs = 0;
    Halves(favorites.Path(), &readMs, &addMs);
    std::printf("  of which: reading the shortcuts %.1f ms, adding the links %.1f ms\n", readMs, addMs);
    return 0;
}
