// Waits on kernel objects shared with other processes. A mutex whose owner
// died is handed to the next waiter as abandoned: the waiter owns it all the
// same, so every wait here counts an abandoned result as acquired. Treating
// it as a failure would leave the mutex owned and never released.
#pragma once

#include <windows.h>

namespace fw {

// True when a wait on `count` objects returned with the object (or, for a
// wait-all, every object) acquired, abandoned or not.
inline bool WaitAcquired(DWORD result, DWORD count = 1) noexcept {
    return (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) ||
           (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count);
}

// Owns a mutex for a scope: waits on construction, releases on destruction
// when the wait acquired it.
class MutexGuard {
public:
    explicit MutexGuard(HANDLE mutex, DWORD timeout = INFINITE) noexcept
        : mutex_(mutex), result_(mutex ? ::WaitForSingleObject(mutex, timeout) : WAIT_FAILED) {
        held_ = WaitAcquired(result_);
    }
    ~MutexGuard() { Release(); }
    MutexGuard(const MutexGuard&) = delete;
    MutexGuard& operator=(const MutexGuard&) = delete;

    bool held() const noexcept { return held_; }
    // The previous owner ended without releasing it: what it guarded may be half-written.
    bool abandoned() const noexcept { return result_ == WAIT_ABANDONED_0; }
    // The raw wait result (WAIT_TIMEOUT, WAIT_FAILED...).
    DWORD result() const noexcept { return result_; }

    void Release() noexcept {
        if (held_) ::ReleaseMutex(mutex_);
        held_ = false;
    }

private:
    HANDLE mutex_;
    DWORD result_;
    bool held_ = false;
};

}  // namespace fw
