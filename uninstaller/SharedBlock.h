// A named block of shared memory in the paging file, reserved whole and
// committed page by page as it fills: a header, a bump allocator that never
// gives space back, 32 list heads and a reader-writer lock for its users.
// Every process that builds the same name meets the same block.
//
// Header, little-endian 32-bit words: 0 one; 4 pages committed by any
// process; 8 next free offset (from 256, a multiple of 4); 12 zero; 16 the
// block's size; 20 the 32 list heads (0xFFFFFFFF for none).
#pragma once

#include "NamedRwLock.h"
#include "fw/handles.h"

#include <cstdint>
#include <string>

class CSharedBlock {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    static constexpr std::uint32_t kHeadCount = 32;
    static constexpr std::uint32_t kFirstFree = 256;
    static constexpr std::uint32_t kHeaderWords = 5 + kHeadCount;

    CSharedBlock();
    virtual ~CSharedBlock() { Close(); }
    CSharedBlock(const CSharedBlock&) = delete;
    CSharedBlock& operator=(const CSharedBlock&) = delete;

    // 0 when this call made the block, 1 when it attached to an existing one
    // whose header holds together, -1 on failure (nothing is then left open).
    int Open(std::uint32_t size, const char* baseName, const char* suffix);
    void Close();
    bool IsOpen() const { return open_; }

    // Takes the block's lock (no time-out) and commits the pages the header
    // asks for. False, holding nothing, when the lock or the pages fail or
    // the header no longer holds together.
    bool Lock(int mode);
    void Unlock(int mode);

    // The offset of `count` new bytes, or 0 when the block has no room.
    std::uint32_t Alloc(std::uint32_t count);

    std::uint32_t GetHead(std::uint32_t index) const;
    void SetHead(std::uint32_t index, std::uint32_t offset);

    // The address of `length` bytes at `offset`; null for none, or when they
    // are not inside the committed, 4-aligned part of the block.
    void* ToPointer(std::uint32_t offset, std::uint32_t length = 4) const;
    std::uint32_t ToOffset(const void* address) const;

    std::uint32_t Size() const { return size_; }
    const std::string& Name() const { return name_; }

private:
    volatile std::uint32_t* Header() const { return static_cast<volatile std::uint32_t*>(view_.get()); }
    bool HeaderHoldsTogether() const;
    bool CommitPages(std::uint64_t upTo);
    bool Refresh();

    bool open_ = false;
    fw::Handle setupMutex_;
    fw::Handle mapping_;
    fw::MappedView view_;
    std::uint32_t size_ = 0;
    std::uint32_t pages_ = 0;
    std::uint32_t committed_ = 0;
    std::string name_;
    CNamedRwLock lock_;
    std::uint32_t pageSize_ = 4096;
};
