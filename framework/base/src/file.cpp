#include "fw/file.h"

#include "fw/handles.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <limits>

namespace fw {

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

ReadResult ReadFileBytes(const std::string& path, std::string* bytes, uint64_t maxBytes) {
    bytes->clear();
    // Sharing delete lets a save replace the file while we read the old one.
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return ReadResult::kCannotOpen;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return ReadResult::kReadError;
    if (static_cast<uint64_t>(size.QuadPart) > maxBytes) return ReadResult::kReadError;
    bytes->resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes->size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes->size() - done, 1u << 30));
        if (!::ReadFile(file.get(), bytes->data() + done, want, &got, nullptr)) return ReadResult::kReadError;
        if (got == 0) break;  // the file shrank under us
        done += got;
    }
    bytes->resize(done);
    return ReadResult::kOk;
}

ReadResult ReadFileBytes(const std::string& path, std::string* bytes) {
    return ReadFileBytes(path, bytes, static_cast<uint64_t>(std::numeric_limits<int32_t>::max()));
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    return ReadFileBytes(path, &bytes) == ReadResult::kOk;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.get(), bytes);
}

namespace {

// Writes (and flushes) a new temporary file; false (and no file) on failure.
bool WriteTemporary(const std::string& temp, std::string_view bytes, DWORD disposition, bool flush = true) {
    bool ok;
    {
        FileHandle file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (!file) return false;
        ok = WriteAll(file.get(), bytes) && (!flush || ::FlushFileBuffers(file.get()));
    }
    if (!ok) {
        const DWORD err = ::GetLastError();
        ::DeleteFileA(temp.c_str());
        ::SetLastError(err);
    }
    return ok;
}

}  // namespace

namespace {

// A temporary name in the file's folder that no other writer uses: two
// programs (or threads) saving one file at once each write their own.
std::string UniqueTemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".~" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++) + ".tmp";
}

}  // namespace

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
    const std::string temp = UniqueTemporaryName(path);
    if (!WriteTemporary(temp, bytes, CREATE_NEW)) return false;
    // A reader holding the old file open, or another writer's move, makes the
    // move fail for a moment; a busy machine can stretch that moment.
    const ULONGLONG end = ::GetTickCount64() + 5000;
    for (DWORD wait = 1;; wait = std::min<DWORD>(wait * 2, 50)) {
        if (::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD err = ::GetLastError();
        if ((err != ERROR_SHARING_VIOLATION && err != ERROR_ACCESS_DENIED) || ::GetTickCount64() >= end) break;
        ::Sleep(wait);
    }
    const DWORD err = ::GetLastError();
    ::DeleteFileA(temp.c_str());
    ::SetLastError(err);
    return false;
}

CreateResult CreateFileAtomic(const std::string& path, std::string_view bytes, bool flush) {
    const std::string temp = UniqueTemporaryName(path);
    if (!WriteTemporary(temp, bytes, CREATE_NEW, flush)) return CreateResult::kFailed;
    // Without MOVEFILE_REPLACE_EXISTING the move fails when another writer
    // took the name since it was chosen.
    if (::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return CreateResult::kOk;
    const DWORD err = ::GetLastError();
    ::DeleteFileA(temp.c_str());
    const bool exists = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    ::SetLastError(err);
    return exists ? CreateResult::kExists : CreateResult::kFailed;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    lines = SplitLines(bytes);
    return true;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    return WriteWholeFile(path, JoinLinesCrLf(lines));
}

std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool FileExists(const std::string& path) {
    const DWORD attrs = ::GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD attrs = ::GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace fw
