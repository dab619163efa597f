#include "queue_db_test_util.h"

#include "Checksum.h"
#include "QueueDbFormat.h"

#include "fw/file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

namespace twtest {

std::string FileBytes(const std::string& path) {
    std::string bytes;
    fw::ReadWholeFile(path, bytes);
    return bytes;
}

std::string CopyFixture(const std::string& name, const testsupport::TempProgramFolder& folder) {
    const char* root = std::getenv("QUEUE_FIXTURES");
    EXPECT_NE(root, nullptr) << "run through with_fixtures.sh";
    const std::string from = std::string(root ? root : "") + "\\" + name + "\\";
    for (const char* file : {"Queue.cdb", "Queue.idx", "Queue1.cdb", "Queue1.idx"}) {
        if (fw::FileExists(from + file)) {
            EXPECT_TRUE(::CopyFileA((from + file).c_str(), (folder / file).c_str(), FALSE));
        }
    }
    return folder / "Queue";
}

std::vector<QueueEntry> IndexEntries(const std::string& indexPath) {
    const std::string bytes = FileBytes(indexPath);
    std::vector<QueueEntry> entries;
    for (std::size_t at = kQueueHeaderSize; at + kQueueEntrySize <= bytes.size(); at += kQueueEntrySize) {
        const QueueEntry e = ParseQueueEntry(reinterpret_cast<const unsigned char*>(bytes.data() + at));
        if (e.id == 0) break;
        entries.push_back(e);
    }
    return entries;
}

std::vector<std::uint32_t> Ids(const std::vector<QueueEntry>& entries) {
    std::vector<std::uint32_t> ids;
    for (const QueueEntry& e : entries) ids.push_back(e.id);
    return ids;
}

std::vector<std::uint32_t> WalkIds(CQueueDb& db, unsigned flags, std::uint32_t key) {
    std::vector<std::uint32_t> ids;
    int stop = 0;
    db.ForEachRecord([&](QueueVisit& v) { ids.push_back(v.entry.id); }, key, flags, &stop);
    return ids;
}

bool SealHolds(const std::string& path) {
    std::string bytes = FileBytes(path);
    if (bytes.size() < kQueueHeaderSize) return false;
    const std::string stored = bytes.substr(kQueueSealOffset, kQueueSealSize);
    CMd5Checksum md5;
    std::uint8_t digest[16];
    std::fill(bytes.begin() + kQueueSealOffset, bytes.begin() + kQueueSealOffset + kQueueSealSize, '\0');
    md5.OfBuffer(bytes.data(), bytes.size(), digest);
    return stored == std::string(reinterpret_cast<char*>(digest), 16);
}

}  // namespace twtest
