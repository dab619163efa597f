#include "SharedBlock.h"

#include "fw/sync.h"

#include <windows.h>

#include <cstring>

namespace {

enum HeaderWord : std::uint32_t { kMagic = 0, kPages = 1, kNextFree = 2, kZero = 3, kSize = 4, kHeads = 5 };

constexpr char kSetupSuffix[] = "__AM";
constexpr char kMappingSuffix[] = "__FM";
constexpr char kLockSuffix[] = "__SS";

}  // namespace

CSharedBlock::CSharedBlock() {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    pageSize_ = info.dwPageSize ? info.dwPageSize : 4096;
}

int CSharedBlock::Open(std::uint32_t size, const char* baseName, const char* suffix) {
    Close();
    if (!baseName || !*baseName || !suffix) return -1;
    if (size < kFirstFree) return -1;  // the header and the space before the first allocation
    size_ = size;
    pages_ = static_cast<std::uint32_t>((std::uint64_t{size} + pageSize_ - 1) / pageSize_);
    name_ = std::string(baseName) + suffix;

    setupMutex_.reset(::CreateMutexA(nullptr, FALSE, (name_ + kSetupSuffix).c_str()));
    if (!setupMutex_) {
        Close();
        return -1;
    }
    int result = -1;
    {
        fw::MutexGuard setup(setupMutex_.get());
        if (setup.held()) {
            mapping_.reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_RESERVE, 0, size,
                                                (name_ + kMappingSuffix).c_str()));
            const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
            if (mapping_) view_.reset(::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, size));
            if (view_ && CommitPages(1)) {
                if (existed) {
                    if (Refresh() && lock_.Create(name_.c_str(), kLockSuffix)) result = 1;
                } else {
                    std::memset(view_.get(), 0, pageSize_ < size ? pageSize_ : size);
                    volatile std::uint32_t* h = Header();
                    h[kMagic] = 1;
                    h[kPages] = 1;
                    h[kNextFree] = kFirstFree;
                    h[kZero] = 0;
                    h[kSize] = size;
                    for (std::uint32_t i = 0; i < kHeadCount; ++i) h[kHeads + i] = kNone;
                    if (lock_.Create(name_.c_str(), kLockSuffix)) result = 0;
                }
            }
        }
    }
    if (result < 0) {
        Close();
        return -1;
    }
    open_ = true;
    return result;
}

// A block attached to (or changed by another process) is trusted only while
// its header agrees with what every opener must have written.
bool CSharedBlock::HeaderHoldsTogether() const {
    const volatile std::uint32_t* h = Header();
    const std::uint32_t nextFree = h[kNextFree];
    const std::uint32_t pages = h[kPages];
    return h[kMagic] == 1 && h[kSize] == size_ && nextFree >= kFirstFree && nextFree <= size_ && nextFree % 4 == 0 &&
           pages >= 1 && pages <= pages_;
}

bool CSharedBlock::CommitPages(std::uint64_t upTo) {
    if (upTo > pages_) return false;
    while (committed_ < upTo) {
        char* page = static_cast<char*>(view_.get()) + std::uint64_t{committed_} * pageSize_;
        if (!::VirtualAlloc(page, pageSize_, MEM_COMMIT, PAGE_READWRITE)) return false;
        ++committed_;
    }
    return true;
}

// Commits in this process the pages that any process has committed and that
// the next free offset needs; raises the shared count when this one has more.
// Called with the set-up mutex held.
bool CSharedBlock::Refresh() {
    if (!HeaderHoldsTogether()) return false;
    volatile std::uint32_t* h = Header();
    if (!CommitPages(h[kPages])) return false;
    const std::uint64_t needed = (std::uint64_t{h[kNextFree]} + pageSize_ - 1) / pageSize_;
    if (!CommitPages(needed)) return false;
    if (committed_ > h[kPages]) h[kPages] = committed_;
    return true;
}

void CSharedBlock::Close() {
    open_ = false;
    name_.clear();
    setupMutex_.reset();
    view_.reset();
    mapping_.reset();
    lock_.Close();
    committed_ = 0;
}

bool CSharedBlock::Lock(int mode) {
    if (!open_) return false;
    if (lock_.Lock(mode, INFINITE) != 0) return false;
    bool refreshed = false;
    {
        fw::MutexGuard setup(setupMutex_.get());
        refreshed = setup.held() && Refresh();
    }
    if (!refreshed) lock_.Unlock(mode);
    return refreshed;
}

void CSharedBlock::Unlock(int mode) {
    if (open_) lock_.Unlock(mode);
}

std::uint32_t CSharedBlock::Alloc(std::uint32_t count) {
    if (!open_) return 0;
    fw::MutexGuard setup(setupMutex_.get());
    if (!setup.held() || !HeaderHoldsTogether()) return 0;
    volatile std::uint32_t* h = Header();
    const std::uint32_t start = h[kNextFree];
    const std::uint64_t end = (std::uint64_t{start} + count + 3) & ~std::uint64_t{3};
    if (end > size_) return 0;
    h[kNextFree] = static_cast<std::uint32_t>(end);
    if (!Refresh()) {
        h[kNextFree] = start;  // the space could not be committed: not given
        return 0;
    }
    return start;
}

std::uint32_t CSharedBlock::GetHead(std::uint32_t index) const {
    if (!open_ || index >= kHeadCount) return kNone;
    return Header()[kHeads + index];
}

void CSharedBlock::SetHead(std::uint32_t index, std::uint32_t offset) {
    if (open_ && index < kHeadCount) Header()[kHeads + index] = offset;
}

void* CSharedBlock::ToPointer(std::uint32_t offset, std::uint32_t length) const {
    if (!open_ || offset == kNone || offset % 4 != 0) return nullptr;
    const std::uint64_t committedBytes = std::uint64_t{committed_} * pageSize_;
    const std::uint64_t limit = committedBytes < size_ ? committedBytes : size_;
    if (std::uint64_t{offset} + length > limit) return nullptr;
    return static_cast<char*>(view_.get()) + offset;
}

std::uint32_t CSharedBlock::ToOffset(const void* address) const {
    if (!open_ || !address) return kNone;
    const char* base = static_cast<const char*>(view_.get());
    const char* at = static_cast<const char*>(address);
    if (at < base || at >= base + size_) return kNone;
    return static_cast<std::uint32_t>(at - base);
}
