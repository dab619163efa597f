// Worker threads that can receive posted messages as soon as they start.
#pragma once

#include "fw/handles.h"

#include <windows.h>

#include <functional>

namespace fw {

class Thread {
public:
    Thread() = default;
    Thread(Thread&&) noexcept = default;
    Thread& operator=(Thread&&) noexcept = default;

    // Starts body on a new thread and returns once that thread has its
    // message queue, so PostThreadMessage to it cannot fail for want of one.
    static Thread StartWithQueue(std::function<void()> body);

    explicit operator bool() const noexcept { return static_cast<bool>(handle_); }
    DWORD Id() const noexcept { return id_; }
    HANDLE Handle() const noexcept { return handle_.get(); }
    bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostThreadMessageA(id_, msg, wParam, lParam) != FALSE;
    }
    // True when the thread ended within the time.
    bool Join(DWORD timeoutMs = INFINITE) const;

private:
    fw::Handle handle_;
    DWORD id_ = 0;
};

}  // namespace fw
