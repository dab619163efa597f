// The archive object format of our stored records: a class header (new-class
// tag, schema word, class-name length and name) or the null-object tag, then
// the object's fields, little-endian, strings with a 1-, 3- or 7-byte length
// prefix and time stamps as unsigned 32-bit seconds since 1970.
//
// The reader treats its input as hostile: every length is checked against the
// bytes left before anything is allocated, and any damage ends in an
// ArchiveException. No <windows.h> here, so the parser also builds natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace fw {

inline constexpr std::uint16_t kArchiveNullTag = 0x0000;
inline constexpr std::uint16_t kArchiveNewClassTag = 0xFFFF;

// Identifies a storable class: the name written into the class header and the
// schema its objects are stored with.
struct ArchiveClass {
    std::string_view name;
    std::uint16_t schema;
};

class ArchiveException : public std::runtime_error {
public:
    enum class Cause {
        kGeneric,
        kEndOfFile,  // the data ends before the field, or a length runs past it
        kBadIndex,   // a tag that refers to an object or class never stored
        kBadClass,   // another class, or a damaged class name
        kBadSchema,  // a schema the class cannot read
    };

    ArchiveException(Cause cause, const char* what) : std::runtime_error(what), cause_(cause) {}
    Cause cause() const noexcept { return cause_; }

private:
    Cause cause_;
};

class ArchiveWriter {
public:
    void WriteByte(std::uint8_t value);
    void WriteWord(std::uint16_t value);
    void WriteDword(std::uint32_t value);
    void WriteInt(std::int32_t value);
    void WriteString(std::string_view text);
    // Seconds since 1970; values outside the unsigned 32-bit range are clamped.
    void WriteTime(std::int64_t seconds);

    void WriteClassHeader(const ArchiveClass& cls);
    void WriteNullObject();

    const std::string& Bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

class ArchiveReader {
public:
    explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::uint32_t ReadDword();
    std::int32_t ReadInt();
    std::string ReadString();
    std::int64_t ReadTime();

    // Reads an object's class header. False for the null object; throws
    // kBadClass for any class but cls, kBadIndex for a reference tag. The
    // stored schema is kept for the object's loader: GetObjectSchema().
    bool ReadClassHeader(const ArchiveClass& cls);
    std::uint16_t GetObjectSchema() const { return schema_; }

    std::size_t Remaining() const { return bytes_.size() - pos_; }

private:
    std::string_view Take(std::size_t count);

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::uint16_t schema_ = 0;
};

// T provides: static const ArchiveClass& GetRuntimeClass();
//             static std::unique_ptr<T> CreateObject();
//             void Serialize(ArchiveWriter&) const; void Serialize(ArchiveReader&);

// The bytes of one archived object: class header and fields.
template <typename T>
std::string StoreObject(const T& object) {
    ArchiveWriter ar;
    ar.WriteClassHeader(T::GetRuntimeClass());
    object.Serialize(ar);
    return ar.Take();
}

// Loads one archived object of class T; nullptr when the archive holds the
// null object. Bytes after the object are not looked at. Throws
// ArchiveException for damaged data, std::bad_alloc when memory runs out.
template <typename T>
std::unique_ptr<T> LoadObject(std::string_view bytes) {
    ArchiveReader ar(bytes);
    if (!ar.ReadClassHeader(T::GetRuntimeClass())) return nullptr;
    std::unique_ptr<T> object = T::CreateObject();
    object->Serialize(ar);
    return object;
}

}  // namespace fw
