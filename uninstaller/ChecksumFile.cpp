// The checksums' file forms over Win32 file handles.
#include "Checksum.h"

#include "fw/handles.h"

#include <windows.h>

namespace {

class HandleSource : public CChecksumSource {
public:
    explicit HandleSource(HANDLE file) : file_(file) {}
    bool SeekTo(std::uint64_t offset) override {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset > INT64_MAX ? INT64_MAX : offset);
        return ::SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != 0;
    }
    long Read(std::uint8_t* buffer, std::size_t capacity) override {
        DWORD got = 0;
        if (!::ReadFile(file_, buffer, static_cast<DWORD>(capacity), &got, nullptr)) return -1;
        return static_cast<long>(got);
    }

private:
    HANDLE file_;
};

bool Valid(void* file) { return file != nullptr && file != INVALID_HANDLE_VALUE; }

fw::FileHandle OpenForReading(const char* path) {
    if (!path) return fw::FileHandle();
    return fw::FileHandle(
        ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

bool CChecksum::OfFile(void* file, std::uint64_t spanOffset, std::uint64_t spanLength, std::uint8_t* out) {
    if (!Valid(file)) return false;
    HandleSource source(file);
    return OfSource(source, spanOffset, spanLength, out);
}

bool CChecksum::OfFile(void* file, std::uint8_t* out) {
    if (!Valid(file)) return false;
    HandleSource source(file);
    return OfSource(source, out);
}

bool CChecksum::OfPath(const char* path, std::uint64_t spanOffset, std::uint64_t spanLength, std::uint8_t* out) {
    fw::FileHandle file = OpenForReading(path);
    return file && OfFile(file.get(), spanOffset, spanLength, out);
}

bool CChecksum::OfPath(const char* path, std::uint8_t* out) {
    fw::FileHandle file = OpenForReading(path);
    return file && OfFile(file.get(), out);
}
