// A buffer in the memory of another window's process: common controls answer
// many messages through a pointer, which must point into their own process.
#pragma once

#include "fw/handles.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace testsupport {

class RemoteBuffer {
public:
    // Bytes of memory in the process of the window; empty when it cannot be had.
    RemoteBuffer(HWND wnd, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return memory_ != nullptr; }
    // The address at the offset, as the other process sees it, for a message's LPARAM.
    LPARAM At(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(memory_) + offset); }

    bool Write(const void* data, size_t size, size_t offset = 0) const;
    bool Read(void* data, size_t size, size_t offset = 0) const;
    template <class T>
    bool Put(const T& value, size_t offset = 0) const {
        return Write(&value, sizeof(value), offset);
    }
    template <class T>
    bool Get(T* value, size_t offset = 0) const {
        return Read(value, sizeof(*value), offset);
    }
    // The text written at the offset, up to its NUL or the buffer's end; empty when unreadable.
    std::string Text(size_t offset = 0) const;

private:
    fw::Handle process_;
    void* memory_ = nullptr;
    size_t size_ = 0;
};

}  // namespace testsupport
