// Scoped holds of the queue database's locks.
#pragma once

#include "NamedRwLock.h"
#include "SharedBlock.h"

#include <windows.h>

// Shared or exclusive hold of a named lock for a scope.
class LockHold {
public:
    LockHold(CNamedRwLock& lock, int mode) : lock_(lock), mode_(mode), held_(lock.Lock(mode, INFINITE) == 0) {}
    ~LockHold() {
        if (held_) lock_.Unlock(mode_);
    }
    bool held() const { return held_; }

private:
    CNamedRwLock& lock_;
    int mode_;
    bool held_;
};

class BlockHold {
public:
    BlockHold(CSharedBlock& block, int mode) : block_(block), mode_(mode), held_(block.Lock(mode)) {}
    ~BlockHold() {
        if (held_) block_.Unlock(mode_);
    }
    bool held() const { return held_; }

private:
    CSharedBlock& block_;
    int mode_;
    bool held_;
};

