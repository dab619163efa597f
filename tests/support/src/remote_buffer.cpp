#include "testsupport/remote_buffer.h"

#include <vector>

namespace testsupport {

RemoteBuffer::RemoteBuffer(HWND wnd, size_t size) : size_(size) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (!pid) return;
    process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (process_) memory_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (memory_) ::VirtualFreeEx(process_.get(), memory_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(const void* data, size_t size, size_t offset) const {
    if (!memory_ || offset > size_ || size > size_ - offset) return false;
    SIZE_T done = 0;
    return ::WriteProcessMemory(process_.get(), reinterpret_cast<void*>(At(offset)), data, size, &done) && done == size;
}

bool RemoteBuffer::Read(void* data, size_t size, size_t offset) const {
    if (!memory_ || offset > size_ || size > size_ - offset) return false;
    SIZE_T done = 0;
    return ::ReadProcessMemory(process_.get(), reinterpret_cast<const void*>(At(offset)), data, size, &done) &&
           done == size;
}

std::string RemoteBuffer::Text(size_t offset) const {
    if (offset >= size_) return {};
    std::vector<char> text(size_ - offset + 1, '\0');
    if (!Read(text.data(), size_ - offset, offset)) return {};
    return text.data();
}

}  // namespace testsupport
