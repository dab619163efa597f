// The checksums' file forms on real files under Wine.
#include "Checksum.h"

#include "fw/handles.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t x = 12345;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<char>(x >> 23);
    }
    return bytes;
}

std::string Value(CChecksum& sum, const std::string& bytes) {
    std::uint8_t out[16] = {};
    EXPECT_TRUE(sum.OfBuffer(bytes.data(), bytes.size(), out));
    return std::string(reinterpret_cast<char*>(out), sum.ValueSize());
}

std::string PathValue(CChecksum& sum, const std::string& path, bool* ok) {
    std::uint8_t out[16] = {};
    *ok = sum.OfPath(path.c_str(), out);
    return std::string(reinterpret_cast<char*>(out), sum.ValueSize());
}

TEST(ChecksumFile, FileFormsEqualTheBufferFormOverTheSameBytes) {
    testsupport::TempProgramFolder folder;
    for (const std::size_t size : {0u, 1u, 1023u, 1024u, 1025u, 3000u, 70001u}) {
        const std::string bytes = Pattern(size);
        folder.WriteFile("f.bin", bytes);
        CMd5Checksum md5;
        CWordSumChecksum words;
        CXorChecksum bits;
        for (CChecksum* sum :
             {static_cast<CChecksum*>(&md5), static_cast<CChecksum*>(&words), static_cast<CChecksum*>(&bits)}) {
            bool ok = false;
            EXPECT_EQ(PathValue(*sum, folder / "f.bin", &ok), Value(*sum, bytes)) << "size " << size;
            EXPECT_TRUE(ok);
        }
    }
}

TEST(ChecksumFile, ZeroedSpanEqualsTheValueOfAZeroedCopy) {
    testsupport::TempProgramFolder folder;
    const std::string bytes = Pattern(40000);
    folder.WriteFile("f.bin", bytes);
    struct Span {
        std::uint64_t offset, length;
    };
    // Spans across the 1024-byte blocks and across the 16-block reads.
    for (const Span span : {Span{14, 16}, Span{0, 1}, Span{1020, 10}, Span{1024, 1024}, Span{4990, 10}, Span{16380, 10},
                            Span{15000, 3000}, Span{39990, 10}}) {
        std::string zeroed = bytes;
        zeroed.replace(span.offset, span.length, span.length, '\0');
        CMd5Checksum md5;
        std::uint8_t out[16];
        ASSERT_TRUE(md5.OfPath((folder / "f.bin").c_str(), span.offset, span.length, out));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 16), Value(md5, zeroed)) << span.offset;
    }
}

TEST(ChecksumFile, OpenHandleIsReadFromItsStartAndStaysOpen) {
    testsupport::TempProgramFolder folder;
    const std::string bytes = Pattern(3000);
    folder.WriteFile("f.bin", bytes);
    fw::FileHandle file(
        ::CreateFileA((folder / "f.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    ::SetFilePointer(file.get(), 1777, nullptr, FILE_BEGIN);
    CXorChecksum bits;
    std::uint8_t out[1] = {};
    ASSERT_TRUE(bits.OfFile(file.get(), out));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 1), Value(bits, bytes));
    ASSERT_TRUE(bits.OfFile(file.get(), out)) << "the handle must stay usable";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 1), Value(bits, bytes));
}

TEST(ChecksumFile, UnusableFilesAndHandlesGiveFalse) {
    testsupport::TempProgramFolder folder;
    folder.WriteFile("f.bin", Pattern(100));
    CMd5Checksum md5;
    std::uint8_t out[16];
    std::fill(std::begin(out), std::end(out), 0xAB);
    EXPECT_FALSE(md5.OfPath((folder / "missing.bin").c_str(), out));
    EXPECT_FALSE(md5.OfPath((folder / "missing.bin").c_str(), 14, 16, out));
    EXPECT_FALSE(md5.OfFile(INVALID_HANDLE_VALUE, out));
    EXPECT_FALSE(md5.OfFile(static_cast<HANDLE>(nullptr), out));
    EXPECT_FALSE(md5.OfFile(static_cast<HANDLE>(nullptr), 0, 4, out));
    fw::FileHandle writeOnly(
        ::CreateFileA((folder / "f.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writeOnly);
    EXPECT_FALSE(md5.OfFile(writeOnly.get(), out)) << "a handle without read access";
    writeOnly.reset();
    fw::FileHandle exclusive(
        ::CreateFileA((folder / "f.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    EXPECT_FALSE(md5.OfPath((folder / "f.bin").c_str(), out)) << "a file another handle keeps unshared";
    for (const std::uint8_t b : out) EXPECT_EQ(b, 0xAB) << "a failure writes no value";
}

}  // namespace
