// Mutation tests of the ad record and rc file readers: damaged records and
// rc files parse or fail without reading past their bytes, and what parses
// writes back a record that parses again to the same.
#include "AdRecord.h"
#include "RcFile.h"
#include "mutator.h"

#include <gtest/gtest.h>

namespace {

CAdRecord Sample() {
    CAdRecord r;
    r.words = {77, 0x1234, 7, 3, 9, 10};
    r.strings = {"title", "http://x", "", "s4", "secret5", "secret6"};
    r.multiKind = 0x1A3;
    r.partKind = 0x2B;
    r.key = {0x11, 0x22, 0x33};
    for (int p = 0; p < 3; ++p) {
        AdPart part;
        part.items.assign(static_cast<std::size_t>(p + 1), static_cast<std::uint16_t>(100 + p));
        part.hasPartFile = p != 1;
        part.itemSums.assign(part.items.size(), std::vector<std::uint8_t>(3, 0x5A));
        part.itemValues.assign(part.items.size(), std::vector<std::uint16_t>(3, 0x1234));
        part.partSum = 0x42;
        r.parts.push_back(part);
    }
    r.flagA = 1;
    r.listX = {1, 2};
    r.listY = {3};
    return r;
}

TEST(AdRecordMutation, RecordsReadOrFailCleanly) {
    const std::string valid = Sample().Serialize();
    ASSERT_EQ(valid.size(), Sample().SerializedLength());
    hosttest::Mutator mutator(0x5EED00AD);
    int parsed = 0;
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string bytes = mutator.Mutate(valid);
        for (std::uint16_t version : {3000, 1000, 2000}) {
            CAdRecord r;
            if (!r.Parse(bytes, QueueEntry{1, 2, 1, version, 0, 0})) continue;
            ++parsed;
            CAdRecord again;
            ASSERT_TRUE(again.Parse(r.Serialize(), r.EntryCopy()));
            ASSERT_EQ(again.Serialize(), r.Serialize());
        }
    }
    EXPECT_GT(parsed, 0);
}

TEST(AdRecordMutation, RcFilesReadOrFailCleanly) {
    std::string valid = std::string("\x03\0\0\0", 4);
    for (std::uint32_t i = 0; i < 3; ++i) {
        for (std::uint32_t w : {i + 1, i % 2, 0x100 + i})
            for (int b = 0; b < 4; ++b) valid += static_cast<char>((w >> (8 * b)) & 0xFF);
    }
    ASSERT_TRUE(ParseRc(valid));
    hosttest::Mutator mutator(0x5EED00C0);
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const auto entries = ParseRc(mutator.Mutate(valid));
        if (!entries) continue;
        for (std::size_t a = 0; a < entries->size(); ++a) {
            ASSERT_GE((*entries)[a].count, 0);
            ASSERT_LE((*entries)[a].type, 1u);
            ASSERT_EQ(FindRcEntry(*entries, (*entries)[a].kind, (*entries)[a].type), static_cast<int>(a));
        }
    }
}

// A file at the cap: every family once parses, one family twice anywhere is
// refused, one entry more than the cap is refused.
TEST(AdRecordMutation, RcFilesAtTheCap) {
    const auto file = [](std::uint32_t n, std::uint32_t lastKind) {
        std::string bytes;
        const auto put = [&](std::uint32_t w) {
            for (int b = 0; b < 4; ++b) bytes += static_cast<char>((w >> (8 * b)) & 0xFF);
        };
        put(n);
        for (std::uint32_t i = 0; i < n; ++i) {
            put(1);
            put(i % 2);
            put(i + 1 == n ? lastKind : i / 2 * 2654435761u);
        }
        return bytes;
    };
    const std::uint32_t n = kRcMaxEntries;
    const std::uint32_t distinct = (n - 1) / 2 * 2654435761u;
    ASSERT_TRUE(ParseRc(file(n, distinct)));
    EXPECT_EQ(ParseRc(file(n, distinct))->size(), n);
    EXPECT_FALSE(ParseRc(file(n, 0))) << "the last entry repeats the first part-file family";
    EXPECT_FALSE(ParseRc(file(n + 1, distinct)));
}

}  // namespace
