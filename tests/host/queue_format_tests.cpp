// The queue database's file readers: a table of damaged headers, and
// mutation tests of the header, index entry and 1.3 record readers.
#include "QueueDbFormat.h"
#include "mutator.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Set16(std::string& s, std::size_t at, std::uint16_t v) {
    s[at] = static_cast<char>(v);
    s[at + 1] = static_cast<char>(v >> 8);
}

TEST(QueueHeader, CurrentHeaderAndItsDamages) {
    const std::string good = MakeQueueHeader(kQueueDataSignature);
    ASSERT_EQ(good.size(), 44u);
    auto parsed = ParseQueueHeader(good, kQueueDataSignature, true);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->version, 2);
    EXPECT_EQ(parsed->subVersion, 0);
    EXPECT_FALSE(ParseQueueHeader(good, kQueueIndexSignature, true)) << "other signature";
    struct Damage {
        const char* what;
        std::size_t at;
        std::uint16_t value;
    };
    const Damage damages[] = {
        {"header length 41", 0, 41}, {"header length 39", 0, 39}, {"seal size 15", 12, 15},
        {"seal size 17", 12, 17},    {"version length 3", 30, 3}, {"sub-version length 300", 34, 300},
    };
    for (const Damage& d : damages) {
        std::string bad = good;
        Set16(bad, d.at, d.value);
        EXPECT_FALSE(ParseQueueHeader(bad, kQueueDataSignature, true)) << d.what;
    }
    for (std::size_t n = 0; n < 34; ++n)
        EXPECT_FALSE(ParseQueueHeader(good.substr(0, n), kQueueDataSignature, true)) << "cut at " << n;
    EXPECT_TRUE(ParseQueueHeader(good.substr(0, 30), kQueueDataSignature, false)) << "the index reads no versions";
}

TEST(QueueRecord, FitsAndTrailers) {
    EXPECT_TRUE(QueueRecordFits(QueueEntry{1, 0, 1, 3000, 4, 44}, 56));
    EXPECT_FALSE(QueueRecordFits(QueueEntry{1, 0, 1, 3000, 4, 44}, 55));
    EXPECT_FALSE(QueueRecordFits(QueueEntry{1, 0, 1, 3000, 4, 43}, 1000)) << "inside the header";
    EXPECT_FALSE(QueueRecordFits(QueueEntry{1, 0, 1, 3000, 0xFFFFFFF0, 44}, 1000)) << "no 32-bit wrap";
    EXPECT_FALSE(QueueRecordFits(QueueEntry{1, 0, 1, 3000, 16, 0xFFFFFFF8}, 1000));
    const std::string trailer = MakeQueueTrailer(std::string("\x01\x02\x03\x04\x05", 5));
    EXPECT_EQ(trailer, std::string("\x04\0\0\0\x04\x03\x02\x06", 8));
    EXPECT_TRUE(QueueTrailerMatches(std::string("\x01\x02\x03\x04\x05", 5), trailer));
    EXPECT_FALSE(QueueTrailerMatches(std::string("\x01\x02\x03\x04\x06", 5), trailer));
}

std::string Old13File() {
    std::string s = MakeQueueHeader(kQueueDataSignature, 1, 3);
    s.resize(38);  // up to the last field's length
    s += std::string("\x04\0", 2) + std::string("\x02\0\0\0", 4);
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
    };
    for (std::uint32_t id : {7u, 9u}) {
        put32(id);
        put32(1);
        put32(1);
        s += std::string("\xB8\x0B", 2);  // 3000
        put32(5);
        s += "hello";
        put32(4);
        put32(0x12345678);
    }
    return s;
}

TEST(QueueMutation, HeadersEntriesAndOldRecordsReadOrFailCleanly) {
    hosttest::Mutator mutator(0x5EED0004);
    const std::string header = MakeQueueHeader(kQueueDataSignature);
    const std::string old = Old13File();
    std::uint32_t count = 0;
    ASSERT_TRUE(QueueOldRecordsStart(old, &count));
    ASSERT_EQ(count, 2u);
    int accepted = 0;
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string h = mutator.Mutate(header);
        if (auto parsed = ParseQueueHeader(h, kQueueDataSignature, true)) {
            ++accepted;
            ASSERT_LE(parsed->end, h.size()) << i;
            ASSERT_EQ(parsed->seal.size(), kQueueSealSize) << i;
        }
    }
    EXPECT_GT(accepted, 0);
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        std::string e = mutator.Mutate(std::string("\x05\0\0\0\x01\0\0\0\x05\0\0\0\xB8\x0B\0\0\x04\0\0\0\x2C\0\0\0", 24));
        e.resize(24);
        const QueueEntry entry = ParseQueueEntry(reinterpret_cast<const unsigned char*>(e.data()));
        unsigned char back[24];
        StoreQueueEntry(entry, back);
        ASSERT_EQ(std::memcmp(back, e.data(), 24), 0) << i;
        if (QueueRecordFits(entry, 4096)) {
            ASSERT_GE(entry.offset, kQueueHeaderSize);
            ASSERT_LE(std::uint64_t{entry.offset} + entry.length + 8, 4096u);
        }
    }
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string f = mutator.Mutate(old);
        std::optional<std::size_t> start = QueueOldRecordsStart(f, &count);
        if (!start) continue;
        std::size_t pos = *start;
        // The count comes from the file: the loop ends at the first short record.
        for (std::uint32_t r = 0; r < count; ++r) {
            const std::size_t before = pos;
            std::optional<QueueOldRecord> record = ReadQueueOldRecord(f, &pos);
            if (!record) break;
            ASSERT_GT(pos, before) << i;
            ASSERT_LE(pos, f.size()) << i;
            ASSERT_EQ(record->bytes.size(), record->entry.length) << i;
        }
    }
}

}  // namespace
