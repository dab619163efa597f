// Checksums over buffers and over a block source in memory; built natively
// (tests/host) so the values are checked without the platform.
#include "Checksum.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::uint8_t* bytes, std::size_t n) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
    return s;
}

std::string OfString(CChecksum& sum, const char* text) {
    std::uint8_t out[16];
    EXPECT_TRUE(sum.OfString(text, out));
    return Hex(out, sum.ValueSize());
}

std::string OfBytes(CChecksum& sum, const std::vector<std::uint8_t>& bytes) {
    std::uint8_t out[16];
    EXPECT_TRUE(sum.OfBuffer(bytes.data(), bytes.size(), out));
    return Hex(out, sum.ValueSize());
}

// A file in memory; can fail its n-th read.
class MemorySource : public CChecksumSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes, int failingRead = -1)
        : bytes_(std::move(bytes)), failingRead_(failingRead) {}
    bool SeekTo(std::uint64_t offset) override {
        pos_ = offset;
        return true;
    }
    long Read(std::uint8_t* buffer, std::size_t capacity) override {
        if (reads_++ == failingRead_) return -1;
        if (pos_ >= bytes_.size()) return 0;
        const std::size_t n = std::min<std::size_t>(capacity, bytes_.size() - pos_);
        std::memcpy(buffer, bytes_.data() + pos_, n);
        pos_ += n;
        return static_cast<long>(n);
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t pos_ = 0;
    int reads_ = 0;
    int failingRead_;
};

std::vector<std::uint8_t> Pattern(std::size_t n, int mul, int add) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i * mul + add);
    return v;
}

TEST(Md5, Rfc1321TestSuite) {
    struct Case {
        const char* text;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    CMd5Checksum md5;
    EXPECT_EQ(md5.ValueSize(), 16);
    for (const Case& c : cases) EXPECT_EQ(OfString(md5, c.text), c.digest) << '"' << c.text << '"';
}

TEST(Md5, SplitUpdatesGiveTheOneCallValue) {
    const std::vector<std::uint8_t> data = Pattern(1000, 31, 7);
    CMd5Checksum whole;
    const std::string expected = OfBytes(whole, data);
    for (const std::size_t cut : {1u, 55u, 56u, 63u, 64u, 65u, 128u, 999u}) {
        CMd5Checksum md5;
        md5.Reset();
        md5.Update(data.data(), cut);
        md5.Update(data.data() + cut, data.size() - cut);
        std::uint8_t out[16];
        md5.WriteValue(out);
        EXPECT_EQ(Hex(out, 16), expected) << cut;
    }
}

// Values computed independently (by hand and with a separate script).
TEST(WordSum, TableOfValues) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* value;
    };
    const Case cases[] = {
        {{}, "00000000"},
        {{1, 2, 3, 4, 5}, "04030206"},  // 0x01020304 + 0x05000000
        {{'a', 'b', 'c'}, "00636261"},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1}, "00000000"},  // wraps modulo 2^32
        {{0x80}, "00000080"},
    };
    CWordSumChecksum sum;
    EXPECT_EQ(sum.ValueSize(), 4);
    for (const Case& c : cases) EXPECT_EQ(OfBytes(sum, c.bytes), c.value);
}

TEST(WordSum, WordBoundariesRestartWithEveryCall) {
    // Bytes 03 0a 11 18 1f 26 2d 34 3b 42 fed as [03 0a 11], 00, 00, [26 ... 42].
    CWordSumChecksum sum;
    sum.Reset();
    const std::vector<std::uint8_t> data = Pattern(10, 7, 3);
    const std::uint8_t zero = 0;
    sum.Update(data.data(), 3);
    sum.Update(&zero, 1);
    sum.Update(&zero, 1);
    sum.Update(data.data() + 5, 5);
    std::uint8_t out[4];
    sum.WriteValue(out);
    EXPECT_EQ(Hex(out, 4), "3b45376b");
}

TEST(Xor, TableOfValues) {
    CXorChecksum sum;
    EXPECT_EQ(sum.ValueSize(), 1);
    EXPECT_EQ(OfBytes(sum, {}), "00");
    EXPECT_EQ(OfBytes(sum, {0x0F, 0xF0, 0x01}), "fe");
    EXPECT_EQ(OfBytes(sum, Pattern(3000, 13, 1)), "88");  // 136
}

TEST(ChecksumSource, BlocksOfAThreeThousandByteFile) {
    const std::vector<std::uint8_t> data = Pattern(3000, 13, 1);
    std::uint8_t out[16];
    CXorChecksum bits;
    MemorySource file(data);
    ASSERT_TRUE(bits.OfSource(file, out));
    EXPECT_EQ(Hex(out, 1), OfBytes(bits, data)) << "three blocks equal one buffer";
    CWordSumChecksum words;
    MemorySource again(data);
    ASSERT_TRUE(words.OfSource(again, out));
    EXPECT_EQ(Hex(out, 4), "ec453b23");
}

TEST(ChecksumSource, ZeroedSpanIsFedOneByteACallAndSkipsPastTheBlock) {
    const std::vector<std::uint8_t> data = Pattern(3000, 13, 1);
    struct Case {
        std::uint64_t offset, length;
        const char* wordSum;
    };
    // Word sums over the calls the span makes, computed independently.
    const Case cases[] = {{14, 16, "e07a4b5a"}, {1020, 10, "7c015f60"}};
    for (const Case& c : cases) {
        CWordSumChecksum words;
        MemorySource file(data);
        std::uint8_t out[16];
        ASSERT_TRUE(words.OfSource(file, c.offset, c.length, out));
        EXPECT_EQ(Hex(out, 4), c.wordSum) << c.offset;

        std::vector<std::uint8_t> zeroed = data;
        std::fill(zeroed.begin() + c.offset, zeroed.begin() + c.offset + c.length, 0);
        CMd5Checksum md5;
        MemorySource again(data);
        ASSERT_TRUE(md5.OfSource(again, c.offset, c.length, out));
        EXPECT_EQ(Hex(out, 16), OfBytes(md5, zeroed)) << c.offset;
    }
}

TEST(ChecksumSource, AReadErrorMidFileIsAFailure) {
    const std::vector<std::uint8_t> data = Pattern(3000, 13, 1);
    for (const int failing : {0, 1, 2}) {
        CMd5Checksum md5;
        MemorySource file(data, failing);
        std::uint8_t out[16];
        std::memset(out, 0xAB, sizeof(out));
        EXPECT_FALSE(md5.OfSource(file, out)) << "read " << failing;
        EXPECT_EQ(out[0], 0xAB) << "no value written";
    }
}

TEST(Checksum, NullInputsGiveFalse) {
    CMd5Checksum md5;
    std::uint8_t out[16];
    EXPECT_FALSE(md5.OfString(nullptr, out));
    EXPECT_FALSE(md5.OfBuffer(nullptr, 3, out));
    EXPECT_TRUE(md5.OfBuffer(nullptr, 0, out));
}

}  // namespace
