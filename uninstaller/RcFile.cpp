// Reading and changing rc files on disk.
#include "RcFile.h"

#include "LinkCheck.h"
#include "QueueDbFile.h"

#include "fw/handles.h"

#include <windows.h>

namespace {

// The client holds an rc file only while it changes it.
constexpr int kBusyAttempts = 100;
constexpr DWORD kBusyPauseMs = 10;
constexpr std::uint64_t kMaxRcBytes = 4 + 12 * std::uint64_t{kRcMaxEntries} + 4096;

enum class Opened { kOk, kMissing, kFailed };

Opened OpenRc(const char* path, DWORD access, DWORD share, DWORD disposition, fw::FileHandle* file,
              bool* existed = nullptr) {
    if (!path || !*path) return Opened::kFailed;
    // The rc file is a plain file: never a folder, a link or a junction.
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return Opened::kFailed;
    for (int attempt = 0; attempt < kBusyAttempts; ++attempt) {
        HANDLE h = ::CreateFileA(path, access, share, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        const DWORD error = ::GetLastError();
        file->reset(h);
        if (*file) {
            if (existed) *existed = error == ERROR_ALREADY_EXISTS;
            // Never read or written through a link to another file.
            if (!IsOwnPath(path, file->get())) {
                file->reset();
                return Opened::kFailed;
            }
            return Opened::kOk;
        }
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Opened::kMissing;
        if (error != ERROR_SHARING_VIOLATION) return Opened::kFailed;
        ::Sleep(kBusyPauseMs);
    }
    return Opened::kFailed;
}

bool ReadAll(HANDLE file, std::string* bytes) {
    std::uint64_t size = 0;
    return queuefile::SizeOf(file, &size) && size <= kMaxRcBytes &&
           queuefile::ReadAt(file, 0, static_cast<std::size_t>(size), bytes);
}

std::string Words(std::initializer_list<std::uint32_t> words) {
    std::string out;
    for (std::uint32_t w : words)
        for (int i = 0; i < 4; ++i) out += static_cast<char>((w >> (8 * i)) & 0xFF);
    return out;
}

// The sound entries of an existing rc file, or nullopt.
std::optional<std::vector<RcEntry>> ReadRc(const char* path, bool* missing) {
    fw::FileHandle file;
    const Opened opened = OpenRc(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, &file);
    *missing = opened == Opened::kMissing;
    if (opened != Opened::kOk) return std::nullopt;
    std::string bytes;
    if (!ReadAll(file.get(), &bytes)) return std::nullopt;
    return ParseRc(bytes);
}

}  // namespace

bool RcReleaseRef(const char* path, std::int32_t change, std::uint32_t kind, std::uint32_t type,
                  std::int64_t* newCount) {
    fw::FileHandle file;
    bool existed = true;
    if (OpenRc(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS, &file, &existed) != Opened::kOk) return false;
    const bool created = !existed;
    std::string bytes;
    if (!ReadAll(file.get(), &bytes)) return false;
    std::vector<RcEntry> entries;
    if (!(created && bytes.empty())) {
        auto parsed = ParseRc(bytes);
        if (!parsed) return false;
        entries = std::move(*parsed);
    }
    const int found = FindRcEntry(entries, kind, type);
    const std::int32_t count = AddToCount(found >= 0 ? entries[found].count : 0, change);
    if (found >= 0) {
        if (!queuefile::WriteAt(file.get(), 4 + 12 * std::uint64_t(found), Words({std::uint32_t(count), type, kind})))
            return false;
    } else {
        // The entry first, then the count that makes it part of the file.
        const std::uint32_t n = static_cast<std::uint32_t>(entries.size());
        if (n >= kRcMaxEntries) return false;
        if (!queuefile::WriteAt(file.get(), 4 + 12 * std::uint64_t{n}, Words({std::uint32_t(count), type, kind})) ||
            !queuefile::WriteAt(file.get(), 0, Words({n + 1})))
            return false;
    }
    if (newCount) *newCount = count;
    return true;
}

std::optional<std::int64_t> RcGetRefCount(const char* path, std::uint32_t kind, std::uint32_t type) {
    bool missing = false;
    const auto entries = ReadRc(path, &missing);
    if (!entries) return missing ? std::optional<std::int64_t>(0) : std::nullopt;
    const int found = FindRcEntry(*entries, kind, type);
    return found >= 0 ? (*entries)[found].count : 0;
}

std::optional<std::int64_t> RcGetTotalRefs(const char* path) {
    bool missing = false;
    const auto entries = ReadRc(path, &missing);
    if (!entries) return missing ? std::optional<std::int64_t>(0) : std::nullopt;
    std::int64_t total = 0;
    for (const RcEntry& e : *entries) total += e.count;
    return total;
}
