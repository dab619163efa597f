// The named reader-writer lock across processes: the tests hold one side,
// twharness processes the other, meeting through named events.
#include "NamedRwLock.h"

#include "harness_util.h"

#include "fw/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

namespace {

using testsupport::MakeNamedEvent;
using testsupport::WaitEventOrExit;

constexpr int kShared = CNamedRwLock::kShared;
constexpr int kExclusive = CNamedRwLock::kExclusive;

// A twharness process holding the lock in a mode until `release` is set.
struct Holder {
    std::unique_ptr<testsupport::ChildProcess> process;
    fw::Handle ready;
};

Holder HoldLock(const std::string& base, int mode, const std::string& release) {
    Holder h;
    const std::string ready = twtest::UniqueName("ready");
    h.ready = MakeNamedEvent(ready);
    h.process = twtest::StartHarness("lock-create " + base + " _L lock " + std::to_string(mode) + " 0 signal " +
                                     ready + " wait " + release + " unlock " + std::to_string(mode));
    EXPECT_TRUE(WaitEventOrExit(h.ready.get(), h.process->Process())) << "the holder did not take the lock";
    return h;
}

TEST(NamedRwLock, ObjectsHaveTheirNamesAndInitialStates) {
    const std::string base = twtest::UniqueName("names");
    CNamedRwLock lock;
    ASSERT_TRUE(lock.Create(base.c_str(), "_L"));
    fw::Handle mutex(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, (base + "_L__RWL2_NWM").c_str()));
    fw::Handle event(::OpenEventA(SYNCHRONIZE, FALSE, (base + "_L__RWL2_NRE").c_str()));
    fw::Handle semaphore(::OpenSemaphoreA(SYNCHRONIZE, FALSE, (base + "_L__RWL2_NES").c_str()));
    ASSERT_TRUE(mutex && event && semaphore);
    EXPECT_EQ(::WaitForSingleObject(event.get(), 0), WAIT_OBJECT_0) << "no readers: signalled";
    EXPECT_EQ(::WaitForSingleObject(semaphore.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "count 0";
    ASSERT_EQ(::WaitForSingleObject(mutex.get(), 0), WAIT_OBJECT_0) << "not owned";
    ::ReleaseMutex(mutex.get());

    // Another process meets the same objects by building the same name.
    std::string out = twtest::RunHarness("lock-create " + base + " _L lock 1 0 unlock 1");
    EXPECT_EQ(out, "lock-create 1\r\nlock 0\r\n");
    lock.Close();
    EXPECT_FALSE(lock.IsCreated());
}

TEST(NamedRwLock, WithoutABaseNameTheObjectsArePrivate) {
    CNamedRwLock a, b;
    ASSERT_TRUE(a.Create(nullptr, "_L"));
    ASSERT_TRUE(b.Create(nullptr, "_L"));
    ASSERT_EQ(a.Lock(kExclusive, 0), 0);
    EXPECT_EQ(b.Lock(kExclusive, 0), 0) << "two unnamed locks are independent";
    b.Unlock(kExclusive);
    a.Unlock(kExclusive);
}

TEST(NamedRwLock, ACreationThatFailsLeavesNothingOpen) {
    const std::string base = twtest::UniqueName("clash");
    // Another kind of object already holds the semaphore's name.
    fw::Handle squatter(::CreateEventA(nullptr, TRUE, FALSE, (base + "_L__RWL2_NES").c_str()));
    ASSERT_TRUE(squatter);
    CNamedRwLock lock;
    EXPECT_FALSE(lock.Create(base.c_str(), "_L"));
    EXPECT_FALSE(lock.IsCreated());
    fw::Handle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, (base + "_L__RWL2_NWM").c_str()));
    EXPECT_FALSE(mutex) << "the mutex made first must be closed again";
}

TEST(NamedRwLock, AReaderInAnotherProcessKeepsAWriterOut) {
    const std::string base = twtest::UniqueName("rw");
    const std::string release = twtest::UniqueName("release");
    fw::Handle releaseEvent = MakeNamedEvent(release);
    CNamedRwLock lock;
    ASSERT_TRUE(lock.Create(base.c_str(), "_L"));

    Holder reader = HoldLock(base, kShared, release);
    EXPECT_EQ(lock.Lock(kExclusive, 0), -1);
    EXPECT_EQ(lock.Lock(kShared, 0), 0) << "readers share";
    lock.Unlock(kShared);
    EXPECT_EQ(lock.Lock(kExclusive, 0), -1);

    ::SetEvent(releaseEvent.get());
    ASSERT_EQ(reader.process->Wait(), 0);
    EXPECT_EQ(reader.process->Output(), "lock-create 1\r\nlock 0\r\nwait 0\r\n");
    EXPECT_EQ(lock.Lock(kExclusive, 0), 0);
    lock.Unlock(kExclusive);
}

TEST(NamedRwLock, ThreeReadersInThreeProcesses) {
    const std::string base = twtest::UniqueName("rw3");
    CNamedRwLock lock;
    ASSERT_TRUE(lock.Create(base.c_str(), "_L"));
    std::vector<std::string> releases;
    std::vector<fw::Handle> releaseEvents;
    std::vector<Holder> readers;
    for (int i = 0; i < 3; ++i) {
        releases.push_back(twtest::UniqueName("release"));
        releaseEvents.push_back(MakeNamedEvent(releases.back()));
        readers.push_back(HoldLock(base, kShared, releases.back()));
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lock.Lock(kExclusive, 0), -1) << (3 - i) << " readers hold";
        ::SetEvent(releaseEvents[i].get());
        ASSERT_EQ(readers[i].process->Wait(), 0);
    }
    EXPECT_EQ(lock.Lock(kExclusive, 0), 0) << "the last reader is gone";
    lock.Unlock(kExclusive);
}

TEST(NamedRwLock, AWriterInAnotherProcessKeepsReadersAndWritersOut) {
    const std::string base = twtest::UniqueName("w");
    const std::string release = twtest::UniqueName("release");
    fw::Handle releaseEvent = MakeNamedEvent(release);
    CNamedRwLock lock;
    ASSERT_TRUE(lock.Create(base.c_str(), "_L"));
    Holder writer = HoldLock(base, kExclusive, release);
    EXPECT_EQ(lock.Lock(kExclusive, 0), -1);
    EXPECT_EQ(lock.Lock(kShared, 0), 1);
    // The reader that timed out registered nothing: no count left behind.
    fw::Handle semaphore(::OpenSemaphoreA(SYNCHRONIZE, FALSE, (base + "_L__RWL2_NES").c_str()));
    EXPECT_EQ(::WaitForSingleObject(semaphore.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::SetEvent(releaseEvent.get());
    ASSERT_EQ(writer.process->Wait(), 0);
    EXPECT_EQ(lock.Lock(kExclusive, 0), 0);
    lock.Unlock(kExclusive);
}

TEST(NamedRwLock, AWriterThatDiedHoldingTheLockLeavesItUsable) {
    const std::string base = twtest::UniqueName("dead");
    CNamedRwLock lock;
    ASSERT_TRUE(lock.Create(base.c_str(), "_L"));
    // The harness ends while it holds the lock: its mutex is abandoned.
    EXPECT_EQ(twtest::RunHarness("lock-create " + base + " _L lock 1 0"), "lock-create 1\r\nlock 0\r\n");
    ASSERT_EQ(lock.Lock(kShared, 0), 0) << "an abandoned mutex is acquired";
    lock.Unlock(kShared);
    EXPECT_EQ(twtest::RunHarness("lock-create " + base + " _L lock 1 0"), "lock-create 1\r\nlock 0\r\n");
    ASSERT_EQ(lock.Lock(kExclusive, 0), 0) << "an abandoned mutex is acquired";
    lock.Unlock(kExclusive);
    EXPECT_EQ(twtest::RunHarness("lock-create " + base + " _L lock 1 0 unlock 1"), "lock-create 1\r\nlock 0\r\n")
        << "and released again";
}

}  // namespace
