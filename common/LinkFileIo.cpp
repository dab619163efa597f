#include "LinkFileIo.h"

#include "fw/handles.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>

namespace linkfile {

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

ReadResult ReadFileBytes(const std::string& path, std::string* bytes) {
    bytes->clear();
    // Sharing delete lets a save replace the file while we read the old one.
    fw::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ReadResult::kCannotOpen;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > std::numeric_limits<std::int32_t>::max())
        return ReadResult::kReadError;
    bytes->resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes->size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes->data() + done, static_cast<DWORD>(bytes->size() - done), &got, nullptr))
            return ReadResult::kReadError;
        if (got == 0) break;  // the file shrank under us
        done += got;
    }
    bytes->resize(done);
    return ReadResult::kOk;
}

CreateResult CreateFileAtomic(const std::string& path, std::string_view bytes) {
    // A name of our own: two writers racing for one link name must not share a temporary file.
    static std::atomic<unsigned> counter{0};
    const std::string temp =
        path + ".~" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++) + ".tmp";
    bool ok = false;
    {
        fw::FileHandle file(
            ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return CreateResult::kFailed;
        ok = WriteAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
    }
    // Without MOVEFILE_REPLACE_EXISTING the move fails when another writer
    // took the name since it was chosen.
    if (ok && ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return CreateResult::kOk;
    const DWORD err = ::GetLastError();
    ::DeleteFileA(temp.c_str());
    const bool exists = ok && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    ::SetLastError(err);
    return exists ? CreateResult::kExists : CreateResult::kFailed;
}

}  // namespace linkfile
