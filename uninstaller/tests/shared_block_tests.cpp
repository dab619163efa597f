// The shared block across processes and against damaged headers.
#include "SharedBlock.h"

#include "harness_util.h"

#include "fw/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

using testsupport::MakeNamedEvent;
using testsupport::WaitEventOrExit;

constexpr std::uint32_t kSize = 65536;

std::uint32_t Word(const CSharedBlock& block, std::uint32_t index) {
    const auto* words = static_cast<const std::uint32_t*>(block.ToPointer(0, CSharedBlock::kHeaderWords * 4));
    return words ? words[index] : 0xDEADBEEF;
}

// A view of the block's mapping of our own, as another program would have.
class RawView {
public:
    explicit RawView(const std::string& fullName)
        : mapping_(::OpenFileMappingA(FILE_MAP_WRITE, FALSE, (fullName + "__FM").c_str())),
          view_(mapping_ ? ::MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 4096) : nullptr) {
        if (view_) ::VirtualAlloc(view_.get(), 4096, MEM_COMMIT, PAGE_READWRITE);
    }
    volatile std::uint32_t* words() { return static_cast<volatile std::uint32_t*>(view_.get()); }

private:
    fw::Handle mapping_;
    fw::MappedView view_;
};

TEST(SharedBlock, FirstOpenerMakesTheHeaderAndTheSecondSeesItsHeads) {
    const std::string base = twtest::UniqueName("blk");
    const std::string ready = twtest::UniqueName("ready");
    const std::string release = twtest::UniqueName("release");
    fw::Handle readyEvent = MakeNamedEvent(ready);
    fw::Handle releaseEvent = MakeNamedEvent(release);
    auto first = twtest::StartHarness("block-open 65536 " + base + " _X header sethead 0 256 sethead 31 4096 signal " +
                                      ready + " wait " + release);
    ASSERT_TRUE(WaitEventOrExit(readyEvent.get(), first->Process()));

    CSharedBlock block;
    ASSERT_EQ(block.Open(kSize, base.c_str(), "_X"), 1);
    EXPECT_EQ(block.GetHead(0), 256u);
    EXPECT_EQ(block.GetHead(31), 4096u);
    for (std::uint32_t i = 1; i < 31; ++i) EXPECT_EQ(block.GetHead(i), CSharedBlock::kNone) << i;
    EXPECT_EQ(block.GetHead(32), CSharedBlock::kNone) << "no head past the last";
    // Every named object of the block opens by its name from this process.
    const std::string full = base + "_X";
    EXPECT_TRUE(fw::Handle(::OpenMutexA(SYNCHRONIZE, FALSE, (full + "__AM").c_str())));
    EXPECT_TRUE(fw::Handle(::OpenFileMappingA(FILE_MAP_READ, FALSE, (full + "__FM").c_str())));
    EXPECT_TRUE(fw::Handle(::OpenMutexA(SYNCHRONIZE, FALSE, (full + "__SS__RWL2_NWM").c_str())));
    EXPECT_TRUE(fw::Handle(::OpenEventA(SYNCHRONIZE, FALSE, (full + "__SS__RWL2_NRE").c_str())));
    EXPECT_TRUE(fw::Handle(::OpenSemaphoreA(SYNCHRONIZE, FALSE, (full + "__SS__RWL2_NES").c_str())));

    ::SetEvent(releaseEvent.get());
    ASSERT_EQ(first->Wait(), 0);
    EXPECT_EQ(first->Output(), "open 0\r\nheader 1 1 256 0 65536\r\nwait 0\r\n");
}

TEST(SharedBlock, HeaderOfANewBlock) {
    const std::string base = twtest::UniqueName("new");
    CSharedBlock block;
    ASSERT_EQ(block.Open(kSize, base.c_str(), ""), 0);
    EXPECT_EQ(block.Name(), base);
    const std::uint32_t expected[5] = {1, 1, 256, 0, kSize};
    for (std::uint32_t i = 0; i < 5; ++i) EXPECT_EQ(Word(block, i), expected[i]) << "word " << i;
    for (std::uint32_t i = 0; i < 32; ++i) EXPECT_EQ(Word(block, 5 + i), CSharedBlock::kNone);
    block.Close();
    EXPECT_FALSE(block.IsOpen());
    EXPECT_FALSE(fw::Handle(::OpenFileMappingA(FILE_MAP_READ, FALSE, (base + "__FM").c_str())))
        << "the last close removes the block";
}

TEST(SharedBlock, MissingNamesFail) {
    CSharedBlock block;
    EXPECT_EQ(block.Open(kSize, nullptr, "_X"), -1);
    EXPECT_EQ(block.Open(kSize, "", "_X"), -1);
    EXPECT_EQ(block.Open(kSize, twtest::UniqueName("n").c_str(), nullptr), -1);
    EXPECT_FALSE(block.IsOpen());
}

TEST(SharedBlock, AllocationsMoveTheNextFreeOffsetAndStopAtTheEnd) {
    const std::string base = twtest::UniqueName("alloc");
    CSharedBlock block;
    ASSERT_EQ(block.Open(kSize, base.c_str(), "_X"), 0);
    EXPECT_EQ(block.Alloc(5), 256u);
    EXPECT_EQ(Word(block, 2), 264u);
    EXPECT_EQ(block.Alloc(kSize), 0u) << "past the end";
    EXPECT_EQ(Word(block, 2), 264u) << "a refused allocation changes nothing";
    EXPECT_EQ(block.Alloc(0xFFFFFFF8u), 0u) << "no 32-bit wrap-around";
    EXPECT_EQ(Word(block, 2), 264u);
    block.Close();

    // Nodes of 12 bytes and entries of 24: 1,813 pairs fit in the block.
    ASSERT_EQ(block.Open(kSize, twtest::UniqueName("pairs").c_str(), "_X"), 0);
    int pairs = 0;
    while (block.Alloc(12) && block.Alloc(24)) ++pairs;
    EXPECT_EQ(pairs, 1813);
    EXPECT_EQ(Word(block, 1), 16u) << "every page committed";
}

TEST(SharedBlock, PagesAllocatedElsewhereAreCommittedHereOnLock) {
    const std::string base = twtest::UniqueName("pages");
    CSharedBlock mine;
    ASSERT_EQ(mine.Open(kSize, base.c_str(), "_X"), 0);
    EXPECT_EQ(twtest::RunHarness("block-open 65536 " + base + " _X alloc 20000 header"),
              "open 1\r\nalloc 256\r\nheader 1 5 20256 0 65536\r\n");
    EXPECT_EQ(mine.ToPointer(20000, 4), nullptr) << "not committed in this process yet";
    ASSERT_TRUE(mine.Lock(CNamedRwLock::kShared));
    void* p = mine.ToPointer(20000, 4);
    ASSERT_NE(p, nullptr);
    MEMORY_BASIC_INFORMATION info = {};
    ASSERT_NE(::VirtualQuery(p, &info, sizeof(info)), 0u);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
    mine.Unlock(CNamedRwLock::kShared);
    EXPECT_EQ(mine.ToOffset(p), 20000u);
    EXPECT_EQ(mine.ToPointer(CSharedBlock::kNone), nullptr);
    EXPECT_EQ(mine.ToOffset(nullptr), CSharedBlock::kNone);
    EXPECT_EQ(mine.ToPointer(258, 4), nullptr) << "unaligned";
}

TEST(SharedBlock, AttachingRefusesADamagedHeader) {
    struct Damage {
        const char* what;
        std::uint32_t word, value;
    };
    const Damage damages[] = {
        {"first word", 0, 2},
        {"page count zero", 1, 0},
        {"page count past the block", 1, 17},
        {"next free unaligned", 2, 262},
        {"next free past the end", 2, kSize + 4},
        {"next free in the header", 2, 4},
        {"size", 4, kSize * 2},
    };
    for (const Damage& d : damages) {
        const std::string base = twtest::UniqueName("dmg");
        CSharedBlock first;
        ASSERT_EQ(first.Open(kSize, base.c_str(), "_X"), 0);
        RawView raw(base + "_X");
        ASSERT_NE(raw.words(), nullptr);
        raw.words()[d.word] = d.value;
        CSharedBlock second;
        EXPECT_EQ(second.Open(kSize, base.c_str(), "_X"), -1) << d.what;
        EXPECT_FALSE(second.IsOpen());
        EXPECT_FALSE(first.Lock(CNamedRwLock::kExclusive)) << d.what << ": the holder trusts it no more";
        EXPECT_EQ(first.Alloc(4), 0u) << d.what;
        // The failed lock holds nothing: another process still gets it at once
        // (this thread would get the mutex again even if it were held).
        EXPECT_EQ(twtest::RunHarness("lock-create " + base + "_X __SS lock 1 0 unlock 1"),
                  "lock-create 1\r\nlock 0\r\n")
            << d.what;
    }
    // The same check in another process.
    const std::string base = twtest::UniqueName("dmg");
    CSharedBlock first;
    ASSERT_EQ(first.Open(kSize, base.c_str(), "_X"), 0);
    RawView raw(base + "_X");
    raw.words()[2] = kSize + 256;
    EXPECT_EQ(twtest::RunHarness("block-open 65536 " + base + " _X"), "open -1\r\n");
}

TEST(SharedBlock, AFailedLockCreationFailsTheOpenOfANewBlock) {
    const std::string base = twtest::UniqueName("nolock");
    fw::Handle squatter(::CreateEventA(nullptr, TRUE, FALSE, (base + "_X__SS__RWL2_NWM").c_str()));
    ASSERT_TRUE(squatter);
    CSharedBlock block;
    EXPECT_EQ(block.Open(kSize, base.c_str(), "_X"), -1);
    EXPECT_FALSE(block.IsOpen());
    EXPECT_FALSE(fw::Handle(::OpenFileMappingA(FILE_MAP_READ, FALSE, (base + "_X__FM").c_str())))
        << "nothing left open";
    EXPECT_FALSE(fw::Handle(::OpenMutexA(SYNCHRONIZE, FALSE, (base + "_X__AM").c_str())));
}

TEST(SharedBlock, ASetUpMutexAbandonedByADeadProcessIsTaken) {
    const std::string base = twtest::UniqueName("abandon");
    CSharedBlock holder;
    ASSERT_EQ(holder.Open(kSize, base.c_str(), "_X"), 0);
    // The harness takes the set-up mutex and the lock's mutex and ends holding both.
    int code = 0;
    twtest::RunHarness("take-mutex " + base + "_X__AM lock-create " + base + "_X __SS lock 1 0", &code);
    ASSERT_EQ(code, 0);
    CSharedBlock other;
    ASSERT_EQ(other.Open(kSize, base.c_str(), "_X"), 1);
    ASSERT_TRUE(other.Lock(CNamedRwLock::kExclusive));
    EXPECT_EQ(other.Alloc(8), 256u);
    other.Unlock(CNamedRwLock::kExclusive);
}

}  // namespace
