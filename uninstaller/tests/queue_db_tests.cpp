// The queue database on fixtures written by queue_fixtures.py.
#include "QueueDb.h"

#include "harness_util.h"
#include "queue_db_test_util.h"
#include "test_record.h"

#include "fw/file.h"
#include "fw/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using twtest::CopyFixture;
using twtest::FileBytes;
using twtest::Ids;
using twtest::IndexEntries;
using twtest::WalkIds;
using Ids_t = std::vector<std::uint32_t>;

constexpr unsigned kLiveReadOnly = CQueueDb::kVisitLive | CQueueDb::kReadOnly;

// A fixture database copied into a folder of its own, and the database over it.
struct QueueCopy {
    void Copy(const char* fixture) { base = CopyFixture(fixture, folder); }
    // Opens the copy: true when it opened.
    bool Open(bool create = false) { return db.Open(base.c_str(), &prototype, create); }
    // Copies the fixture and opens it.
    bool Open(const char* fixture) {
        Copy(fixture);
        return Open();
    }

    testsupport::TempProgramFolder folder;
    std::string base;
    TestRecord prototype;
    CQueueDb db;
};

// Each test on a copy of its own.
class QueueDb : public ::testing::Test, protected QueueCopy {};

TEST_F(QueueDb, WalksPostOrderAndWritesTheIndexBackPreOrder) {
    Copy("basic");
    ASSERT_TRUE(db.Open((base + ".whatever").c_str(), &prototype, false));
    EXPECT_EQ(db.DataPath(), base + ".cdb");
    EXPECT_EQ(WalkIds(db, kLiveReadOnly), (Ids_t{3, 8, 5}));
    EXPECT_EQ(WalkIds(db, kLiveReadOnly, 1), (Ids_t{8, 5})) << "key filter";
    QueueEntry e;
    ASSERT_TRUE(db.FindEntry(8, &e));
    EXPECT_EQ(e.key, 1u);
    db.Close();
    const auto entries = IndexEntries(base + ".idx");
    EXPECT_EQ(Ids(entries), (Ids_t{5, 3, 8}));
    for (const QueueEntry& entry : entries) EXPECT_EQ(entry.flags, 5u) << entry.id;
    EXPECT_TRUE(twtest::SealHolds(base + ".cdb"));
    EXPECT_TRUE(twtest::SealHolds(base + ".idx"));
    EXPECT_EQ(FileBytes(base + "1.cdb"), FileBytes(base + ".cdb"));
    EXPECT_EQ(FileBytes(base + "1.idx"), FileBytes(base + ".idx"));
}

TEST_F(QueueDb, IndexLoadingRules) {
    struct Case {
        const char* fixture;
        Ids_t walk;
    };
    const Case cases[] = {
        {"skip_zero", {3, 5}},  // the skipped entry is passed over, the id-0 entry ends the load
        {"dup", {3, 5}},        // the second live 5 is not inserted
        {"v0", {3, 5}},         // version 0 keeps its index
        {"badseal", {3, 5}},    // restored from the recovery copies
        {"badrecord", {8, 5}},  // 3 fails its word sum
        {"hostile", {5}},       // offsets and lengths outside the file
    };
    for (const Case& c : cases) {
        QueueCopy q;
        ASSERT_TRUE(q.Open(c.fixture)) << c.fixture;
        EXPECT_EQ(WalkIds(q.db, kLiveReadOnly), c.walk) << c.fixture;
    }
    // The first 5 stays.
    ASSERT_TRUE(Open("dup"));
    std::string text;
    int stop = 0;
    db.ForEachRecord(
        [&](QueueVisit& v) {
            if (v.entry.id == 5) text = v.bytes;
        },
        5, 0, &stop);
    EXPECT_EQ(text, "");
    db.ForEachRecord(
        [&](QueueVisit& v) {
            if (v.entry.id == 5) text = v.bytes;
        },
        CQueueDb::kAnyKey, kLiveReadOnly, &stop);
    EXPECT_EQ(text, "five");
}

TEST_F(QueueDb, ADroppedRecordKeepsItsNodeAndIsWrittenBackNonLive) {
    ASSERT_TRUE(Open("badrecord"));
    db.Close();
    const auto entries = IndexEntries(base + ".idx");
    ASSERT_EQ(Ids(entries), (Ids_t{5, 8, 3}));
    EXPECT_EQ(entries[2].flags & QueueEntry::kLive, 0u);
}

TEST_F(QueueDb, NonLiveEntriesFollowTheTreeInTheIndex) {
    ASSERT_TRUE(Open("nonlive"));
    EXPECT_EQ(WalkIds(db, kLiveReadOnly), (Ids_t{8, 5}));
    db.Close();
    const auto entries = IndexEntries(base + ".idx");
    ASSERT_EQ(Ids(entries), (Ids_t{5, 8, 3}));
    EXPECT_EQ(entries[2].flags, 0u) << "a non-live entry keeps its flags";
}

TEST_F(QueueDb, WhatDoesNotOpen) {
    for (const char* fixture : {"noterm", "full"}) {
        QueueCopy q;
        q.Copy(fixture);
        const std::string data = FileBytes(q.base + ".cdb"), index = FileBytes(q.base + ".idx");
        EXPECT_FALSE(q.Open()) << fixture;
        EXPECT_FALSE(q.db.IsOpen());
        EXPECT_EQ(FileBytes(q.base + ".cdb"), data) << fixture;
        EXPECT_EQ(FileBytes(q.base + ".idx"), index) << fixture;
    }
}

TEST_F(QueueDb, OtherVersionsAreReplacedOnlyWithLeaveToCreate) {
    for (const char* fixture : {"v21", "v30"}) {
        QueueCopy q;
        q.Copy(fixture);
        const std::string data = FileBytes(q.base + ".cdb"), index = FileBytes(q.base + ".idx");
        EXPECT_FALSE(q.Open()) << fixture;
        EXPECT_EQ(FileBytes(q.base + ".cdb"), data) << fixture << ": left untouched";
        EXPECT_EQ(FileBytes(q.base + ".idx"), index) << fixture;
        ASSERT_TRUE(q.Open(true)) << fixture;
        EXPECT_EQ(WalkIds(q.db, kLiveReadOnly), Ids_t{});
        q.db.Close();
        EXPECT_EQ(FileBytes(q.base + ".cdb").size(), 44u) << fixture;
        EXPECT_EQ(FileBytes(q.base + ".idx").size(), 68u) << fixture;
        EXPECT_TRUE(twtest::SealHolds(q.base + ".cdb"));
        // Byte for byte the empty files the generator writes on its own.
        testsupport::TempProgramFolder generated;
        const std::string empty = CopyFixture("empty", generated);
        EXPECT_EQ(FileBytes(q.base + ".cdb"), FileBytes(empty + ".cdb")) << fixture;
        EXPECT_EQ(FileBytes(q.base + ".idx"), FileBytes(empty + ".idx")) << fixture;
    }
}

TEST_F(QueueDb, CreatesMissingFilesAndFolders) {
    EXPECT_FALSE(db.Open((folder / "a\\b\\Pending").c_str(), &prototype, false));
    ASSERT_TRUE(db.Open((folder / "a\\b\\Pending").c_str(), &prototype, true));
    ASSERT_EQ(db.AddRecord(TestRecord(4, 0, "four"), false), 0);
    db.Close();
    EXPECT_EQ(Ids(IndexEntries(folder / "a\\b\\Pending.idx")), Ids_t{4});
    EXPECT_TRUE(fw::FileExists(folder / "a\\b\\Pending1.cdb"));
}

TEST_F(QueueDb, Converts13Files) {
    Copy("v13");
    EXPECT_FALSE(Open()) << "a conversion needs leave to create";
    ASSERT_TRUE(Open(true));
    std::vector<std::string> texts;
    int stop = 0;
    db.ForEachRecord([&](QueueVisit& v) { texts.push_back(v.bytes); }, CQueueDb::kAnyKey, kLiveReadOnly, &stop);
    EXPECT_EQ(texts, (std::vector<std::string>{"two", "nine", "seven"}));
    db.Close();
    const auto entries = IndexEntries(base + ".idx");
    ASSERT_EQ(Ids(entries), (Ids_t{7, 2, 9}));
    EXPECT_EQ(entries[0].key, 3u);
    EXPECT_EQ(FileBytes(base + ".cdb")[32], 2) << "now version 2";
    WIN32_FIND_DATAA data;
    fw::FindHandle temp(::FindFirstFileA((folder / "cdb*.tmp").c_str(), &data));
    EXPECT_FALSE(temp) << "no temporary file left";
}

TEST_F(QueueDb, AWalkStopsAtTheFirstRecordItCannotRead) {
    for (const unsigned flags : {unsigned{CQueueDb::kVisitLive}, kLiveReadOnly}) {
        QueueCopy q;
        ASSERT_TRUE(q.Open("basic"));
        int visits = 0, stop = 0;
        EXPECT_EQ(q.db.ForEachRecord([&](QueueVisit&) { ++visits; }, CQueueDb::kAnyKey, flags, &stop), 0);
        EXPECT_EQ(visits, 3);
        {
            // Cut behind the database's back: no record can be read any more.
            fw::FileHandle file(::CreateFileA((q.base + ".cdb").c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(file);
            ::SetFilePointer(file.get(), 44, nullptr, FILE_BEGIN);
            ASSERT_TRUE(::SetEndOfFile(file.get()));
        }
        visits = 0;
        EXPECT_EQ(q.db.ForEachRecord([&](QueueVisit&) { ++visits; }, CQueueDb::kAnyKey, flags, &stop), 1) << flags;
        EXPECT_EQ(visits, 0) << flags;
    }
}

TEST_F(QueueDb, UpgradesOldRecordsAtOpen) {
    Copy("old");
    const auto before = IndexEntries(base + ".idx");
    ASSERT_TRUE(Open());
    std::vector<std::string> texts;
    int stop = 0;
    db.ForEachRecord([&](QueueVisit& v) { texts.push_back(v.bytes); }, CQueueDb::kAnyKey, kLiveReadOnly, &stop);
    EXPECT_EQ(texts, (std::vector<std::string>{"three", "eight", "five"}));
    QueueEntry five;
    ASSERT_TRUE(db.FindEntry(5, &five));
    EXPECT_EQ(five.offset, before[0].offset) << "shorter: written in place";
    EXPECT_EQ(five.length, 4u);
}

TEST_F(QueueDb, CallbacksThatLengthenAppendAndThatShortenWriteInPlace) {
    ASSERT_TRUE(Open("basic"));
    const std::uint64_t sizeBefore = FileBytes(base + ".cdb").size();
    int stop = 0;
    db.ForEachRecord(
        [](QueueVisit& v) {
            if (v.entry.id == 3) v.bytes = "a much longer three";
            if (v.entry.id == 8) v.bytes = "8";
            v.entry.id = 77;     // ignored: the id is the entry's
            v.entry.offset = 1;  // ignored: set by the write
            v.changed = v.entry.key != 0;
        },
        CQueueDb::kAnyKey, CQueueDb::kVisitLive, &stop);
    QueueEntry three, eight;
    ASSERT_TRUE(db.FindEntry(3, &three));
    ASSERT_TRUE(db.FindEntry(8, &eight));
    EXPECT_EQ(three.offset, sizeBefore);
    EXPECT_EQ(three.length, 19u);
    EXPECT_EQ(eight.offset, 69u);
    EXPECT_EQ(eight.length, 1u);
    EXPECT_FALSE(db.FindEntry(77, &three));
    // Without a write the entry takes what the callback changed, but never
    // its id, length or offset.
    db.ForEachRecord(
        [](QueueVisit& v) {
            if (v.entry.id != 8) return;
            v.entry.key = 42;
            v.entry.id = 77;
            v.entry.length = 2;
            v.entry.offset = 1;
        },
        CQueueDb::kAnyKey, CQueueDb::kVisitLive, &stop);
    ASSERT_TRUE(db.FindEntry(8, &eight));
    EXPECT_EQ(eight.key, 42u);
    EXPECT_EQ(eight.length, 1u);
    EXPECT_EQ(eight.offset, 69u);
    EXPECT_FALSE(db.FindEntry(77, &three));
    db.Close();
    EXPECT_TRUE(twtest::SealHolds(base + ".cdb"));
    // Reopened, every record still passes its word sum.
    ASSERT_TRUE(Open());
    EXPECT_EQ(WalkIds(db, kLiveReadOnly), (Ids_t{3, 8, 5}));
}

TEST_F(QueueDb, AddUpdateRemove) {
    ASSERT_TRUE(Open("basic"));
    TestRecord four(4, 9, "four");
    ASSERT_EQ(db.AddRecord(four, false), 0);
    QueueEntry e;
    ASSERT_TRUE(db.FindEntry(4, &e));
    EXPECT_EQ(e.flags & 5u, 5u) << "added live";
    EXPECT_EQ(db.AddRecord(four, false), -2);
    ASSERT_EQ(db.AddRecord(TestRecord(4, 9, "FOUR!"), true), 0);
    EXPECT_TRUE(db.RemoveRecord(3, nullptr, true));
    EXPECT_FALSE(db.RemoveRecord(3, nullptr, true));
    EXPECT_EQ(WalkIds(db, kLiveReadOnly), (Ids_t{4, 8, 5}));
    db.Close();
    const auto entries = IndexEntries(base + ".idx");
    EXPECT_EQ(Ids(entries), (Ids_t{5, 4, 8, 3}));
    ASSERT_TRUE(Open());
    std::string text;
    int stop = 0;
    db.ForEachRecord([&](QueueVisit& v) { text = v.bytes; }, 9, kLiveReadOnly, &stop);
    EXPECT_EQ(text, "FOUR!");
}

TEST_F(QueueDb, RecoveryCopiesAreRefreshedOnlyFromSealedFiles) {
    ASSERT_TRUE(Open("basic"));
    db.Close();
    const std::string goodCopy = FileBytes(base + "1.cdb");
    ASSERT_EQ(goodCopy, FileBytes(base + ".cdb"));
    ASSERT_TRUE(Open());
    {
        // Changed behind the database's back: the seal no longer holds.
        fw::FileHandle file(::CreateFileA((base + ".cdb").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD wrote = 0;
        ::SetFilePointer(file.get(), 50, nullptr, FILE_BEGIN);
        ASSERT_TRUE(::WriteFile(file.get(), "X", 1, &wrote, nullptr));
    }
    db.Close();
    EXPECT_EQ(FileBytes(base + "1.cdb"), goodCopy);
    // The next open restores the data from its copy.
    ASSERT_TRUE(Open());
    EXPECT_EQ(WalkIds(db, kLiveReadOnly), (Ids_t{3, 8, 5}));
}

TEST_F(QueueDb, AnOpenMutexLeftByADeadProcessIsTaken) {
    ASSERT_TRUE(Open("basic"));
    const std::string openMutex = db.BaseName() + "__BMTX";
    db.Close();
    // Kept alive here, so the harness's end abandons it instead of removing it.
    fw::Handle keep(::CreateMutexA(nullptr, FALSE, openMutex.c_str()));
    ASSERT_TRUE(keep);
    int code = -1;
    twtest::RunHarness("take-mutex " + openMutex, &code);
    ASSERT_EQ(code, 0);
    ASSERT_TRUE(Open()) << "an abandoned mutex is acquired";
    EXPECT_EQ(WalkIds(db, kLiveReadOnly), (Ids_t{3, 8, 5}));
    db.Close();
    EXPECT_EQ(::WaitForSingleObject(keep.get(), 0), WAIT_OBJECT_0) << "and released again";
    ::ReleaseMutex(keep.get());
}

TEST_F(QueueDb, TwoProcessesShareOneIndexAndLeaveNoObjectsBehind) {
    Copy("basic");
    const std::string ready = twtest::UniqueName("ready"), release = twtest::UniqueName("release");
    fw::Handle readyEvent = testsupport::MakeNamedEvent(ready), releaseEvent = testsupport::MakeNamedEvent(release);
    auto holder = twtest::StartHarness("db-open " + base + " 0 db-add 4 0 four signal " + ready + " wait " + release +
                                       " db-close");
    ASSERT_TRUE(testsupport::WaitEventOrExit(readyEvent.get(), holder->Process()));
    ASSERT_TRUE(Open());
    EXPECT_EQ(WalkIds(db, kLiveReadOnly), (Ids_t{4, 3, 8, 5})) << "the holder's index, not a new load";
    const std::string objects = db.BaseName();
    ::SetEvent(releaseEvent.get());
    ASSERT_EQ(holder->Wait(), 0);
    EXPECT_EQ(holder->Output(), "db-open 1\r\ndb-add 0\r\nwait 0\r\n");
    db.Close();
    EXPECT_EQ(Ids(IndexEntries(base + ".idx")), (Ids_t{5, 3, 4, 8}));
    for (const char* suffix : {"__BMTX", "__BA__RWL2_NWM", "__IA__RWL2_NWM", "__IS__AM"})
        EXPECT_FALSE(fw::Handle(::OpenMutexA(SYNCHRONIZE, FALSE, (objects + suffix).c_str()))) << suffix;
    EXPECT_FALSE(fw::Handle(::OpenFileMappingA(FILE_MAP_READ, FALSE, (objects + "__IS__FM").c_str())));
}

}  // namespace
