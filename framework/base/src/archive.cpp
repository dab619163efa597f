#include "fw/archive.h"

#include <limits>

namespace fw {

namespace {

// Length prefix escapes: a 0xFF byte announces a word, a 0xFFFF word a dword.
constexpr std::uint8_t kByteEscape = 0xFF;
constexpr std::uint16_t kWordEscape = 0xFFFF;
// A word of 0xFFFE announces a wide-character string, which our programs never
// write; it is refused rather than misread as a length.
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kClassTagBit = 0x8000;

[[noreturn]] void Fail(ArchiveException::Cause cause, const char* what) { throw ArchiveException(cause, what); }

}  // namespace

void ArchiveWriter::WriteByte(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }

void ArchiveWriter::WriteWord(std::uint16_t value) {
    WriteByte(static_cast<std::uint8_t>(value));
    WriteByte(static_cast<std::uint8_t>(value >> 8));
}

void ArchiveWriter::WriteDword(std::uint32_t value) {
    WriteWord(static_cast<std::uint16_t>(value));
    WriteWord(static_cast<std::uint16_t>(value >> 16));
}

void ArchiveWriter::WriteInt(std::int32_t value) { WriteDword(static_cast<std::uint32_t>(value)); }

void ArchiveWriter::WriteString(std::string_view text) {
    const std::size_t len = text.size();
    if (len < kByteEscape) {
        WriteByte(static_cast<std::uint8_t>(len));
    } else if (len < kWideMarker) {
        WriteByte(kByteEscape);
        WriteWord(static_cast<std::uint16_t>(len));
    } else {
        // 0xFFFFFFFF would read back as no length at all.
        if (len >= std::numeric_limits<std::uint32_t>::max()) Fail(ArchiveException::Cause::kGeneric, "string too long");
        WriteByte(kByteEscape);
        WriteWord(kWordEscape);
        WriteDword(static_cast<std::uint32_t>(len));
    }
    bytes_.append(text);
}

void ArchiveWriter::WriteTime(std::int64_t seconds) {
    constexpr std::int64_t kMax = std::numeric_limits<std::uint32_t>::max();
    WriteDword(static_cast<std::uint32_t>(seconds < 0 ? 0 : seconds > kMax ? kMax : seconds));
}

void ArchiveWriter::WriteClassHeader(const ArchiveClass& cls) {
    WriteWord(kArchiveNewClassTag);
    WriteWord(cls.schema);
    WriteWord(static_cast<std::uint16_t>(cls.name.size()));
    bytes_.append(cls.name);
}

void ArchiveWriter::WriteNullObject() { WriteWord(kArchiveNullTag); }

std::string_view ArchiveReader::Take(std::size_t count) {
    if (count > Remaining()) Fail(ArchiveException::Cause::kEndOfFile, "unexpected end of archive");
    const std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
}

std::uint8_t ArchiveReader::ReadByte() { return static_cast<std::uint8_t>(Take(1)[0]); }

std::uint16_t ArchiveReader::ReadWord() {
    const std::string_view b = Take(2);
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[0]) | static_cast<std::uint8_t>(b[1]) << 8);
}

std::uint32_t ArchiveReader::ReadDword() {
    const std::uint32_t low = ReadWord();
    const std::uint32_t high = ReadWord();
    return low | high << 16;
}

std::int32_t ArchiveReader::ReadInt() { return static_cast<std::int32_t>(ReadDword()); }

std::string ArchiveReader::ReadString() {
    std::uint32_t len = ReadByte();
    if (len == kByteEscape) {
        len = ReadWord();
        if (len == kWideMarker) Fail(ArchiveException::Cause::kGeneric, "wide-character string");
        if (len == kWordEscape) len = ReadDword();
    }
    // Checked before the string is allocated: a damaged length costs nothing.
    return std::string(Take(len));
}

std::int64_t ArchiveReader::ReadTime() { return ReadDword(); }

bool ArchiveReader::ReadClassHeader(const ArchiveClass& cls) {
    const std::uint16_t tag = ReadWord();
    if (tag == kArchiveNullTag) return false;
    if (tag != kArchiveNewClassTag) {
        // Class and object references point into an archive's earlier
        // contents; the first tag has none to point at.
        Fail(tag & kClassTagBit ? ArchiveException::Cause::kBadClass : ArchiveException::Cause::kBadIndex,
             "reference to an unknown class or object");
    }
    schema_ = ReadWord();
    const std::uint16_t nameLen = ReadWord();
    if (nameLen != cls.name.size() || nameLen > Remaining() || Take(nameLen) != cls.name)
        Fail(ArchiveException::Cause::kBadClass, "unexpected class");
    return true;
}

}  // namespace fw
