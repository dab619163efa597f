#include "QueueDbFile.h"

#include <algorithm>

namespace queuefile {

namespace {
bool SeekTo(HANDLE file, std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}
}  // namespace

bool SizeOf(HANDLE file, std::uint64_t* size) {
    LARGE_INTEGER s;
    if (!::GetFileSizeEx(file, &s) || s.QuadPart < 0) return false;
    *size = static_cast<std::uint64_t>(s.QuadPart);
    return true;
}

bool ReadAt(HANDLE file, std::uint64_t offset, std::size_t count, std::string* bytes) {
    bytes->assign(count, '\0');
    if (!SeekTo(file, offset)) return false;
    std::size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 20));
        DWORD got = 0;
        if (!::ReadFile(file, bytes->data() + done, chunk, &got, nullptr) || got == 0) return false;
        done += got;
    }
    return true;
}

bool WriteAt(HANDLE file, std::uint64_t offset, const std::string& bytes) {
    if (!SeekTo(file, offset)) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD wrote = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

void MakeWritable(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool Exists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace queuefile
