#include "NamedRwLock.h"

#include "fw/sync.h"

namespace {

constexpr char kMutexSuffix[] = "__RWL2_NWM";
constexpr char kEventSuffix[] = "__RWL2_NRE";
constexpr char kSemaphoreSuffix[] = "__RWL2_NES";
constexpr LONG kMaxReaders = 0x7FFFFFFF;

}  // namespace

std::string CNamedRwLock::ObjectName(const char* baseName, const char* suffix, const char* own) {
    std::string name = baseName;
    if (suffix) name += suffix;
    return name + own;
}

bool CNamedRwLock::Create(const char* baseName, const char* suffix) {
    Close();
    auto name = [&](const char* own) { return baseName ? ObjectName(baseName, suffix, own) : std::string(); };
    auto cname = [&](const std::string& n) { return baseName ? n.c_str() : nullptr; };
    const std::string mutexName = name(kMutexSuffix);
    const std::string eventName = name(kEventSuffix);
    const std::string semaphoreName = name(kSemaphoreSuffix);
    mutex_.reset(::CreateMutexA(nullptr, FALSE, cname(mutexName)));
    noReaders_.reset(::CreateEventA(nullptr, TRUE, TRUE, cname(eventName)));
    readers_.reset(::CreateSemaphoreA(nullptr, 0, kMaxReaders, cname(semaphoreName)));
    if (mutex_ && noReaders_ && readers_) return true;
    Close();
    return false;
}

int CNamedRwLock::Lock(int mode, unsigned long timeoutMs) {
    if (!IsCreated()) return 1;
    if (mode == kExclusive) {
        const HANDLE both[2] = {mutex_.get(), noReaders_.get()};
        const DWORD result = ::WaitForMultipleObjects(2, both, TRUE, timeoutMs);
        if (fw::WaitAcquired(result, 2)) return 0;
        return result == WAIT_TIMEOUT ? -1 : 1;
    }
    fw::MutexGuard guard(mutex_.get(), timeoutMs);
    if (!guard.held()) return 1;  // a failed wait registers no reader
    LONG previous = 0;
    if (!::ReleaseSemaphore(readers_.get(), 1, &previous)) return 1;
    if (previous == 0) ::ResetEvent(noReaders_.get());
    return 0;
}

void CNamedRwLock::Unlock(int mode) {
    if (!IsCreated()) return;
    if (mode == kExclusive) {
        ::ReleaseMutex(mutex_.get());
        return;
    }
    // Takes the mutex and this reader's unit together.
    const HANDLE both[2] = {mutex_.get(), readers_.get()};
    if (!fw::WaitAcquired(::WaitForMultipleObjects(2, both, TRUE, INFINITE), 2)) return;
    const DWORD probe = ::WaitForSingleObject(readers_.get(), 0);
    if (probe == WAIT_TIMEOUT) {
        ::SetEvent(noReaders_.get());
    } else if (probe == WAIT_OBJECT_0) {
        ::ReleaseSemaphore(readers_.get(), 1, nullptr);
    }
    ::ReleaseMutex(mutex_.get());
}

void CNamedRwLock::Close() {
    mutex_.reset();
    noReaders_.reset();
    readers_.reset();
}
