// Helpers of the link record and link store tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace linktest {

// Bytes from hex pairs ("FF 02 0A"); blanks are ignored, 'text' in single
// quotes is taken as it stands.
std::string FromHex(std::string_view spec);

// Space-separated hex of bytes, for readable failures.
std::string ToHex(std::string_view bytes);

// A little-endian dword as 4 bytes.
std::string Dword(std::uint32_t value);

// The default record of the link file format with every stamp set to stamp,
// written out by hand, field by field.
std::string GoldenDefaultRecord(std::uint32_t stamp);

// Offset of the first stamp in a record whose three strings have these
// stored sizes (prefix included).
// Records the largest single allocation through operator new while it lives
// (the test executable replaces operator new): damaged lengths must never
// turn into big allocations. One at a time, on one thread.
class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;
    std::size_t Largest() const;
};

// A thrown exception's message takes a small allocation of its own.
inline constexpr std::size_t kExceptionSlack = 64;

inline constexpr std::size_t StampOffset(std::size_t title, std::size_t address, std::size_t comments) {
    return 32 + title + address + comments;
}

}  // namespace linktest
