// The layout of a device-independent bitmap held in bytes: a .bmp file (file
// header first) or a packed DIB (a bitmap resource: info header first).
// Every size and offset is checked against the bytes at hand.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kDibRgb = 0;
inline constexpr uint32_t kDibRle8 = 1;
inline constexpr uint32_t kDibRle4 = 2;
inline constexpr uint32_t kDibBitfields = 3;

inline constexpr size_t kBmpFileHeaderSize = 14;
inline constexpr uint32_t kDibInfoHeaderSize = 40;

struct DibLimits {
    int32_t maxSide = 16384;
    uint64_t maxPixels = uint64_t{1} << 26;
};

struct DibLayout {
    int32_t width = 0;
    int32_t height = 0;  // always positive
    bool topDown = false;
    uint16_t bitCount = 0;
    uint32_t compression = kDibRgb;
    size_t headerOffset = 0;
    uint32_t headerSize = 0;
    size_t masksOffset = 0;       // three DWORD masks of a bitfields bitmap, else 0
    size_t colorTableOffset = 0;
    uint32_t colorsUsed = 0;      // palette entries the pixels refer to (at most 256)
    uint32_t colorsPresent = 0;   // of those, the entries the bytes really hold
    size_t bitsOffset = 0;
    size_t bitsSize = 0;          // bytes of pixel data to read
    size_t stride = 0;            // bytes per row of an uncompressed bitmap
};

// A .bmp file; only the 40-byte info header is accepted.
bool ParseBmpFile(const uint8_t* data, size_t size, const DibLimits& limits, DibLayout* out);

// A packed DIB with an info header of at least 40 bytes (40, 108 and 124 are
// the ones written by tools).
bool ParsePackedDib(const uint8_t* data, size_t size, const DibLimits& limits, DibLayout* out);

// Bytes of one uncompressed row, rounded up to a multiple of 4.
size_t DibStride(int32_t width, uint16_t bitCount);
