// Damaged link files: every one gives error 9 and no record, or loads whole;
// nothing crashes and no stored length turns into a big allocation.
#include "ErrorCodes.h"
#include "LinkStore.h"

#include "link_test_util.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

using linktest::FromHex;
using linktest::ToHex;
using testsupport::TempProgramFolder;

namespace {

constexpr std::uint32_t kStamp = 0x3B9ACA00;

// Offsets in the golden default record.
constexpr std::size_t kTitle = 32;
constexpr std::size_t kAddress = 33;
constexpr std::size_t kComments = 41;
constexpr std::size_t kSkin = linktest::StampOffset(1, 8, 1) + 28;

std::string Golden() { return linktest::GoldenDefaultRecord(kStamp); }

std::string Replace(std::size_t at, std::size_t len, std::string_view with) {
    std::string bytes = Golden();
    bytes.replace(at, len, with);
    return bytes;
}

struct Loaded {
    int rc;
    std::unique_ptr<CURLObject> record;
    std::size_t largestAllocation;
};

Loaded LoadBytes(const TempProgramFolder& dir, const std::string& bytes) {
    dir.WriteFile("Links\\0.vsl", bytes);
    CLinkStore store(dir.Path());
    Loaded out;
    linktest::AllocationProbe probe;
    out.rc = store.LoadURLObject(CURLEntry("", "0.vsl"), &out.record);
    out.largestAllocation = probe.Largest();
    return out;
}

TEST(LinkDamage, TableOfDamagedFiles) {
    struct Case {
        const char* what;
        std::string bytes;
        int rc;
    };
    const Case cases[] = {
        {"empty file", "", kErrWriteFile},
        {"one byte", FromHex("FF"), kErrWriteFile},
        {"schema 1", Replace(2, 2, FromHex("0100")), kErrWriteFile},
        {"schema 3", Replace(2, 2, FromHex("0300")), kErrWriteFile},
        {"another class", Replace(6, 10, "CURLObjecX"), kErrWriteFile},
        {"class name in other case", Replace(6, 10, "CUrlObject"), kErrWriteFile},
        {"shorter class name", Replace(4, 12, FromHex("0700 'CObject'")), kErrWriteFile},
        {"absurd class-name length", Replace(4, 2, FromHex("FF7F")), kErrWriteFile},
        {"class-name length 64", Replace(4, 2, FromHex("4000")), kErrWriteFile},
        {"class reference tag", Replace(0, 2, FromHex("0180")), kErrWriteFile},
        {"object reference tag", Replace(0, 2, FromHex("0100")), kErrWriteFile},
        {"big-object tag", Replace(0, 2, FromHex("FF7F")), kErrWriteFile},
        {"title longer than the file", Replace(kTitle, 1, FromHex("FE")), kErrWriteFile},
        {"2-byte title length too long", Replace(kTitle, 1, FromHex("FF F0 FF")), kErrWriteFile},
        {"4-byte title length too long", Replace(kTitle, 1, FromHex("FF FF FF FF FF FF 7F")), kErrWriteFile},
        {"4-byte length all ones", Replace(kTitle, 1, FromHex("FF FF FF FF FF FF FF")), kErrWriteFile},
        {"wide-character title", Replace(kTitle, 1, FromHex("FF FE FF 00")), kErrWriteFile},
        {"address length eats the rest", Replace(kAddress, 1, FromHex("FF 65 00")), kErrWriteFile},
        {"comments length off by one", Replace(kComments, 1, FromHex("FF FF FF 5E 00 00 00")), kErrWriteFile},
        {"skin length too long", Replace(kSkin, 1, FromHex("F0")), kErrWriteFile},
        {"last int cut", Golden().substr(0, 131), kErrWriteFile},
        // Loads as before: a null object gives a default record, trailing bytes are not read.
        {"null object", FromHex("0000"), kErrNone},
        {"bytes after the record", Golden() + "junk", kErrNone},
        {"title with a longer prefix", Replace(kTitle, 1, FromHex("FF 03 00 'abc'")), kErrNone},
    };
    TempProgramFolder dir;
    dir.MakeFolder("Links");
    for (const auto& c : cases) {
        const Loaded got = LoadBytes(dir, c.bytes);
        EXPECT_EQ(got.rc, c.rc) << c.what;
        EXPECT_EQ(got.record != nullptr, c.rc == kErrNone) << c.what;
        EXPECT_LE(got.largestAllocation, std::max(c.bytes.size(), sizeof(CURLObject)) + linktest::kExceptionSlack)
            << c.what;
    }
    const Loaded null = LoadBytes(dir, FromHex("0000"));
    ASSERT_NE(null.record, nullptr);
    EXPECT_FALSE(null.record->DiffersFrom(CURLObject()));
    const Loaded prefixed = LoadBytes(dir, Replace(kTitle, 1, FromHex("FF 03 00 'abc'")));
    ASSERT_NE(prefixed.record, nullptr);
    EXPECT_EQ(prefixed.record->link.title, "abc");
    EXPECT_EQ(prefixed.record->skinName, "vessa");
}

TEST(LinkDamage, CutAtEveryByteIsRefused) {
    TempProgramFolder dir;
    dir.MakeFolder("Links");
    const std::string golden = Golden();
    for (std::size_t len = 0; len < golden.size(); ++len) {
        const Loaded got = LoadBytes(dir, golden.substr(0, len));
        EXPECT_EQ(got.rc, kErrWriteFile) << "cut at " << len;
        EXPECT_EQ(got.record, nullptr) << "cut at " << len;
    }
    EXPECT_EQ(LoadBytes(dir, golden).rc, kErrNone);
}

TEST(LinkDamage, RandomlyMutatedFilesLoadWholeOrNotAtAll) {
    TempProgramFolder dir;
    dir.MakeFolder("Links");
    CURLObject rich;
    rich.link.title = std::string(300, 't');
    rich.link.comments = "Some comments";
    const std::string valid = fw::StoreObject(rich);

    const unsigned seed = 20240521;
    std::mt19937 rng(seed);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const char interesting[] = {'\x00', '\x01', '\x7F', '\x80', '\xFE', '\xFF'};
    int loaded = 0;
    int refused = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string bytes = valid;
        const int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            switch (pick(5)) {
                case 0: bytes[pick(bytes.size())] = static_cast<char>(pick(256)); break;
                case 1: bytes[pick(bytes.size())] = interesting[pick(sizeof(interesting))]; break;
                case 2: bytes.resize(pick(bytes.size())); break;
                case 3: bytes.insert(pick(bytes.size()), 1 + pick(8), interesting[pick(sizeof(interesting))]); break;
                case 4: bytes.erase(pick(bytes.size()), 1 + pick(8)); break;
            }
        }
        const Loaded got = LoadBytes(dir, bytes);
        ASSERT_TRUE(got.rc == kErrNone || got.rc == kErrWriteFile)
            << "seed " << seed << " case " << i << " gave " << got.rc << ": " << ToHex(bytes);
        ASSERT_EQ(got.record != nullptr, got.rc == kErrNone) << "case " << i;
        ASSERT_LE(got.largestAllocation, std::max(bytes.size(), sizeof(CURLObject)) + linktest::kExceptionSlack)
            << "case " << i << ": " << ToHex(bytes);
        (got.rc == kErrNone ? loaded : refused) += 1;
    }
    // Both outcomes are reached, so the mutations test the parser and not just its first check.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 100);
    std::printf("mutated link files: %d loaded, %d refused\n", loaded, refused);
}

}  // namespace
