// Ad records on the bytes install_fixtures.py encodes from the layout alone.
#include "AdRecord.h"

#include "install_test_util.h"

#include <gtest/gtest.h>

namespace {

using twtest::RecordBytes;

QueueEntry EntryOf(std::uint16_t version, std::uint32_t id = 9) {
    return QueueEntry{id, 0x1234, 5, version, 0, 44};
}

TEST(AdRecord, ReadsTheCurrentFormatAndWritesItBackByteForByte) {
    const std::string bytes = RecordBytes("current");
    CAdRecord r;
    ASSERT_TRUE(r.Parse(bytes, EntryOf(3000)));
    EXPECT_EQ(r.words, (std::array<std::uint32_t, 6>{77, 0x1234, 7, 3, 9, 10}));
    EXPECT_EQ(r.GetId(), 0x1234u);
    EXPECT_EQ(r.strings[0], "title");
    EXPECT_EQ(r.strings[5], "secret6");
    EXPECT_EQ(r.multiKind, 0x1A3u);
    EXPECT_EQ(r.partKind, 0x2Bu);
    EXPECT_EQ(r.value1, 0x01020304u);
    EXPECT_EQ(r.value2, 0x0506);
    EXPECT_EQ(r.value3, 0x0708);
    EXPECT_EQ(r.value4, 0x090A0B0Cu);
    EXPECT_EQ(r.key, (std::vector<std::uint8_t>{0x11, 0x22}));
    ASSERT_EQ(r.parts.size(), 2u);
    EXPECT_EQ(r.parts[0].items, (std::vector<std::uint16_t>{100, 101}));
    EXPECT_EQ(r.parts[0].hasPartFile, 1);
    EXPECT_EQ(r.parts[0].itemValues[1], (std::vector<std::uint16_t>{32, 33}));
    EXPECT_NE(r.parts[0].partSum, 0);
    EXPECT_EQ(r.parts[1].items, (std::vector<std::uint16_t>{100}));
    EXPECT_EQ(r.parts[1].hasPartFile, 0);
    EXPECT_EQ(r.flagA, 1);
    EXPECT_EQ(r.flagB, 2);
    EXPECT_EQ(r.tens[9], 10);
    EXPECT_EQ(r.listX, (std::vector<std::uint32_t>{5, 6}));
    EXPECT_EQ(r.listY, (std::vector<std::uint32_t>{7}));
    EXPECT_EQ(r.Serialize(), bytes);
    EXPECT_EQ(r.SerializedLength(), bytes.size());
    EXPECT_EQ(r.EntryCopy(), EntryOf(3000));
    EXPECT_TRUE(r.Matches(QueueEntry{1, 0x1234, 0, 0, 0, 0}));
    EXPECT_FALSE(r.Matches(QueueEntry{0x1234, 1, 0, 0, 0, 0}));
}

TEST(AdRecord, LengthOfTheCurrentFormat) {
    // 76 fixed bytes, the strings, the key, per part 4 + 2i + ni + 1 + 2ni, 4 per list value.
    const std::string bytes = RecordBytes("current");
    EXPECT_EQ(bytes.size(), 76u + (5 + 20 + 2 + 2 + 7 + 7) + 2 + (4 + 4 + 4 + 1 + 8) + (4 + 2 + 2 + 1 + 4) + 12);
    EXPECT_EQ(RecordBytes("empty").size(), 76u);
    CAdRecord r;
    ASSERT_TRUE(r.Parse(RecordBytes("empty"), EntryOf(3000)));
    EXPECT_EQ(r.Serialize(), RecordBytes("empty"));
}

TEST(AdRecord, OlderFormatsComeOutInTheCurrentOne) {
    struct Case {
        const char* sample;
        std::uint16_t version;
        std::uint32_t fourth;
        std::uint32_t value1;
        std::uint16_t seventh;  // the seventh of the ten values
        std::vector<std::uint32_t> x, y;
    };
    const Case cases[] = {
        {"f1000", 1000, 1u << 13, 0, 0, {2}, {0}},
        {"f1", 1, 1, 0, 0, {2}, {0}},
        {"f2000", 2000, 3, 0x01020304, 7, {2}, {0}},
        {"f2500", 2500, 3, 0x01020304, 7, {}, {}},
    };
    for (const Case& c : cases) {
        CAdRecord r;
        ASSERT_TRUE(r.ParseOld(RecordBytes(c.sample), EntryOf(c.version))) << c.sample;
        EXPECT_EQ(r.words[3], c.fourth) << c.sample;
        EXPECT_EQ(r.value1, c.value1) << c.sample;
        EXPECT_EQ(r.tens[5], 6) << c.sample;
        EXPECT_EQ(r.tens[6], c.seventh) << c.sample;
        EXPECT_EQ(r.listX, c.x) << c.sample;
        EXPECT_EQ(r.listY, c.y) << c.sample;
        EXPECT_EQ(r.EntryCopy().version, 3000u) << c.sample;
        EXPECT_EQ(r.EntryCopy().id, 9u) << c.sample;
        // Parse hands an older record to ParseOld.
        CAdRecord viaParse;
        ASSERT_TRUE(viaParse.Parse(RecordBytes(c.sample), EntryOf(c.version))) << c.sample;
        EXPECT_EQ(viaParse.Serialize(), r.Serialize()) << c.sample;
        // What it writes is format 3000 and reads back the same.
        CAdRecord again;
        ASSERT_TRUE(again.Parse(r.Serialize(), r.EntryCopy())) << c.sample;
        EXPECT_EQ(again.Serialize(), r.Serialize()) << c.sample;
        EXPECT_EQ(again.listX, c.x) << c.sample;
    }
    CAdRecord current;
    EXPECT_FALSE(current.ParseOld(RecordBytes("current"), EntryOf(3000)));
}

TEST(AdRecord, MalformedRecordsDoNotParse) {
    CAdRecord r;
    // 2 to the power (17 - 18) is no count.
    EXPECT_FALSE(r.ParseOld(RecordBytes("exp18"), EntryOf(1000)));
    EXPECT_FALSE(r.Parse(RecordBytes("exp18"), EntryOf(1000)));
    // Every cut of a record ends inside a string, a count or a block.
    const std::string bytes = RecordBytes("current");
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_FALSE(r.Parse(std::string_view(bytes).substr(0, cut), EntryOf(3000))) << cut;
        EXPECT_EQ(r.GetId(), 0u) << "a failed parse leaves a cleared record";
    }
    const std::string old = RecordBytes("f1000");
    for (std::size_t cut = 0; cut < old.size(); ++cut)
        EXPECT_FALSE(r.ParseOld(std::string_view(old).substr(0, cut), EntryOf(1000))) << cut;
}

TEST(AdRecord, NamesOfTheCachedFiles) {
    EXPECT_EQ(adfiles::Folder("C:\\A", 77), "C:\\A\\77");
    EXPECT_EQ(adfiles::RcFile("C:\\A", 77), "C:\\A\\77\\rc");
    EXPECT_EQ(adfiles::PartFile("C:\\A", 77, 1, 0x2B), "C:\\A\\77\\01.02b");
    EXPECT_EQ(adfiles::MultiFile("C:\\A", 77, 0x22, 2, 1, 0x1A3), "C:\\A\\77\\22020001.1a3");
    // Numbers as the client prints them: the ad number signed.
    EXPECT_EQ(adfiles::Folder("C:\\A", 0xFFFFFFFF), "C:\\A\\-1");
    // A path that does not fit is no path, never a shortened one.
    EXPECT_EQ(adfiles::MultiFile("C:\\" + std::string(241, 'a'), 77, 1, 1, 1, 1), "");
    EXPECT_EQ(adfiles::MultiFile("C:\\" + std::string(240, 'a'), 77, 1, 1, 1, 1).size(), 259u);
    EXPECT_EQ(adfiles::Folder("C:\\" + std::string(254, 'a'), 77), "");
}

}  // namespace
