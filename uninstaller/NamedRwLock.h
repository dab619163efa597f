// A reader-writer lock shared by every process that builds the same name: a
// mutex a writer holds for its whole hold (readers take it briefly to
// register), an event signalled while no reader holds the lock, and a
// semaphore whose count is the number of readers. Writers are not preferred:
// a stream of readers can keep a writer waiting.
#pragma once

#include "fw/handles.h"

#include <string>

class CNamedRwLock {
public:
    static constexpr int kShared = 0;
    static constexpr int kExclusive = 1;

    // Creates or opens the three objects base + suffix + their own suffix;
    // unnamed (private to the process) without a base name. True when all
    // three exist; otherwise none is left open.
    bool Create(const char* baseName, const char* suffix);

    // 0 when acquired (an abandoned mutex counts as acquired). Exclusive: -1
    // on time-out, 1 on any other failure. Shared: 1 on time-out or failure.
    int Lock(int mode, unsigned long timeoutMs);
    void Unlock(int mode);
    void Close();

    bool IsCreated() const { return static_cast<bool>(mutex_); }

    static std::string ObjectName(const char* baseName, const char* suffix, const char* own);

private:
    fw::Handle mutex_;
    fw::Handle noReaders_;
    fw::Handle readers_;
};
