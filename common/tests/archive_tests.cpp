#include "fw/archive.h"

#include "link_test_util.h"

#include <gtest/gtest.h>


using linktest::FromHex;
using linktest::ToHex;
using Cause = fw::ArchiveException::Cause;

namespace {

Cause CauseOf(std::string_view bytes, void (*read)(fw::ArchiveReader&)) {
    fw::ArchiveReader ar(bytes);
    try {
        read(ar);
    } catch (const fw::ArchiveException& e) {
        return e.cause();
    }
    ADD_FAILURE() << "no exception for " << ToHex(bytes);
    return Cause::kGeneric;
}

const fw::ArchiveClass kThing{"CThing", 7};

TEST(Archive, StringLengthPrefixes) {
    struct Case {
        std::size_t len;
        const char* prefix;
    } cases[] = {
        {0, "00"},
        {1, "01"},
        {254, "FE"},
        {255, "FF FF 00"},
        {300, "FF 2C 01"},
        {65533, "FF FD FF"},
        {65534, "FF FF FF FE FF 00 00"},  // 0xFFFE as a word would announce a wide string
        {70000, "FF FF FF 70 11 01 00"},
    };
    for (const auto& c : cases) {
        const std::string text(c.len, 'x');
        fw::ArchiveWriter w;
        w.WriteString(text);
        const std::string prefix = FromHex(c.prefix);
        ASSERT_EQ(w.Bytes().size(), prefix.size() + c.len) << c.len;
        EXPECT_EQ(ToHex(w.Bytes().substr(0, prefix.size())), ToHex(prefix)) << c.len;
        fw::ArchiveReader r(w.Bytes());
        EXPECT_EQ(r.ReadString(), text) << c.len;
        EXPECT_EQ(r.Remaining(), 0u);
    }
}

TEST(Archive, ReaderTakesLongerPrefixesThanNeeded) {
    for (const char* hex : {"05 'hello'", "FF 05 00 'hello'", "FF FF FF 05 00 00 00 'hello'"}) {
        fw::ArchiveReader r(FromHex(hex));
        EXPECT_EQ(r.ReadString(), "hello") << hex;
    }
}

TEST(Archive, StringLengthsBeyondTheDataAreRefused) {
    for (const char* hex : {"", "05 'abcd'", "FF", "FF 2C", "FF 2C 01 'short'", "FF FF FF", "FF FF FF FF FF FF 7F 'x'",
                            "FF FF FF FF FF FF FF", "FE"}) {
        const std::string bytes = FromHex(hex);
        linktest::AllocationProbe probe;
        EXPECT_EQ(CauseOf(bytes, [](fw::ArchiveReader& ar) { ar.ReadString(); }), Cause::kEndOfFile) << hex;
        EXPECT_LE(probe.Largest(), bytes.size() + linktest::kExceptionSlack) << hex;
    }
    // A wide-character string is not ours.
    EXPECT_EQ(CauseOf(FromHex("FF FE FF 01 'a' 00"), [](fw::ArchiveReader& ar) { ar.ReadString(); }), Cause::kGeneric);
}

TEST(Archive, NumbersAreLittleEndian) {
    fw::ArchiveWriter w;
    w.WriteByte(0x12);
    w.WriteWord(0x3456);
    w.WriteDword(0x789ABCDE);
    w.WriteInt(-2);
    EXPECT_EQ(ToHex(w.Bytes()), ToHex(FromHex("12 5634 DEBC9A78 FEFFFFFF")));
    fw::ArchiveReader r(w.Bytes());
    EXPECT_EQ(r.ReadByte(), 0x12);
    EXPECT_EQ(r.ReadWord(), 0x3456);
    EXPECT_EQ(r.ReadDword(), 0x789ABCDEu);
    EXPECT_EQ(r.ReadInt(), -2);
    EXPECT_EQ(CauseOf("\x01", [](fw::ArchiveReader& ar) { ar.ReadWord(); }), Cause::kEndOfFile);
    EXPECT_EQ(CauseOf("\x01\x02\x03", [](fw::ArchiveReader& ar) { ar.ReadDword(); }), Cause::kEndOfFile);
}

TEST(Archive, StampsAreUnsigned32BitSeconds) {
    struct Case {
        std::int64_t written;
        const char* bytes;
        std::int64_t read;
    } cases[] = {
        {0, "00000000", 0},
        {1000000000, "00CA9A3B", 1000000000},
        {0x80000000LL, "00000080", 0x80000000LL},  // after 2038, not negative
        {0xFFFFFFFFLL, "FFFFFFFF", 0xFFFFFFFFLL},
        {0x100000005LL, "FFFFFFFF", 0xFFFFFFFFLL},  // beyond 2106: clamped
        {-5, "00000000", 0},
    };
    for (const auto& c : cases) {
        fw::ArchiveWriter w;
        w.WriteTime(c.written);
        EXPECT_EQ(ToHex(w.Bytes()), ToHex(FromHex(c.bytes))) << c.written;
        fw::ArchiveReader r(w.Bytes());
        EXPECT_EQ(r.ReadTime(), c.read) << c.written;
    }
}

TEST(Archive, ClassHeaderAndNullObject) {
    fw::ArchiveWriter w;
    w.WriteClassHeader(kThing);
    w.WriteNullObject();
    EXPECT_EQ(ToHex(w.Bytes()), ToHex(FromHex("FFFF 0700 0600 'CThing' 0000")));

    fw::ArchiveReader r(w.Bytes());
    EXPECT_TRUE(r.ReadClassHeader(kThing));
    EXPECT_EQ(r.GetObjectSchema(), 7);
    EXPECT_FALSE(r.ReadClassHeader(kThing));  // the null object
    EXPECT_EQ(r.Remaining(), 0u);

    // Any stored schema is handed on; the class decides what it reads.
    fw::ArchiveReader other(FromHex("FFFF 0100 0600 'CThing'"));
    EXPECT_TRUE(other.ReadClassHeader(kThing));
    EXPECT_EQ(other.GetObjectSchema(), 1);
}

TEST(Archive, DamagedClassHeadersAreRefused) {
    struct Case {
        const char* hex;
        Cause cause;
    } cases[] = {
        {"", Cause::kEndOfFile},
        {"FF", Cause::kEndOfFile},
        {"FFFF 0700", Cause::kEndOfFile},
        {"FFFF 0700 06", Cause::kEndOfFile},
        {"FFFF 0700 0600 'CThi'", Cause::kBadClass},  // name cut short
        {"FFFF 0700 0600 'CThinG'", Cause::kBadClass},
        {"FFFF 0700 0500 'CThin'", Cause::kBadClass},
        {"FFFF 0700 0700 'CThings'", Cause::kBadClass},
        {"FFFF 0700 FFFF 'CThing'", Cause::kBadClass},  // absurd name length
        {"FFFF 0700 0000", Cause::kBadClass},
        {"0180", Cause::kBadClass},  // reference to class 1
        {"FF7F", Cause::kBadIndex},  // big-object tag
        {"0100", Cause::kBadIndex},  // reference to object 1
    };
    for (const auto& c : cases) {
        const std::string bytes = FromHex(c.hex);
        linktest::AllocationProbe probe;
        EXPECT_EQ(CauseOf(bytes, [](fw::ArchiveReader& ar) { ar.ReadClassHeader(kThing); }), c.cause) << c.hex;
        EXPECT_LE(probe.Largest(), bytes.size() + linktest::kExceptionSlack) << c.hex;
    }
}

}  // namespace
