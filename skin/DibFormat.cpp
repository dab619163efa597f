#include "DibFormat.h"

#include <algorithm>
#include <limits>

namespace {

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

int32_t Read32s(const uint8_t* p) { return static_cast<int32_t>(Read32(p)); }

bool ValidDepth(uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool ValidCompression(uint32_t compression, uint16_t bits) {
    switch (compression) {
        case kDibRgb: return true;
        case kDibRle8: return bits == 8;
        case kDibRle4: return bits == 4;
        case kDibBitfields: return bits == 16 || bits == 32;
        default: return false;
    }
}

// headerOffset: where the info header starts; fileBitsOffset: the file
// header's offset of the pixels, 0 when unknown (a packed DIB).
bool ParseLayout(const uint8_t* data, size_t size, size_t headerOffset, uint32_t fileBitsOffset, bool fileForm,
                 const DibLimits& limits, DibLayout* out) {
    if (size < headerOffset || size - headerOffset < kDibInfoHeaderSize) return false;
    const uint8_t* h = data + headerOffset;
    DibLayout d;
    d.headerOffset = headerOffset;
    d.headerSize = Read32(h);
    if (fileForm ? d.headerSize != kDibInfoHeaderSize : d.headerSize < kDibInfoHeaderSize) return false;
    if (d.headerSize > size - headerOffset) return false;

    const int32_t width = Read32s(h + 4);
    const int32_t height = Read32s(h + 8);
    d.bitCount = Read16(h + 14);
    d.compression = Read32(h + 16);
    const uint32_t sizeImage = Read32(h + 20);
    const uint32_t clrUsed = Read32(h + 32);

    if (width < 1 || width > limits.maxSide) return false;
    if (height == 0 || height == std::numeric_limits<int32_t>::min()) return false;
    d.width = width;
    d.topDown = height < 0;
    d.height = d.topDown ? -height : height;
    if (d.height > limits.maxSide) return false;
    if (static_cast<uint64_t>(d.width) * static_cast<uint64_t>(d.height) > limits.maxPixels) return false;
    if (!ValidDepth(d.bitCount) || !ValidCompression(d.compression, d.bitCount)) return false;
    const bool rle = d.compression == kDibRle8 || d.compression == kDibRle4;
    if (rle && d.topDown) return false;

    uint32_t tableEntries = 0;
    if (d.bitCount <= 8) {
        const uint32_t full = 1u << d.bitCount;
        d.colorsUsed = (clrUsed == 0 || clrUsed > full) ? full : clrUsed;
        tableEntries = d.colorsUsed;
    } else {
        tableEntries = std::min<uint32_t>(clrUsed, 256);  // an optional table that nothing uses
    }

    size_t tableOffset = headerOffset + d.headerSize;
    if (d.compression == kDibBitfields) {
        if (d.headerSize == kDibInfoHeaderSize) {
            if (size - tableOffset < 12) return false;
            d.masksOffset = tableOffset;
            tableOffset += 12;
        } else if (d.headerSize >= kDibInfoHeaderSize + 12) {
            d.masksOffset = headerOffset + kDibInfoHeaderSize;
        } else {
            return false;
        }
    }
    d.colorTableOffset = tableOffset;

    if (fileBitsOffset != 0) {
        if (fileBitsOffset < tableOffset || fileBitsOffset > size) return false;
        d.bitsOffset = fileBitsOffset;
    } else {
        d.bitsOffset = tableOffset + size_t{4} * tableEntries;
        if (d.bitsOffset > size) return false;
    }
    // A short table is read only as far as the bytes go; the rest stays black.
    d.colorsPresent = static_cast<uint32_t>(std::min<size_t>(d.colorsUsed, (d.bitsOffset - tableOffset) / 4));

    const size_t available = size - d.bitsOffset;
    if (rle) {
        d.bitsSize = sizeImage != 0 ? std::min<size_t>(sizeImage, available) : available;
        if (d.bitsSize == 0) return false;
    } else {
        d.stride = DibStride(d.width, d.bitCount);
        const size_t need = d.stride * static_cast<size_t>(d.height);
        if (need > available) return false;
        d.bitsSize = need;
    }
    *out = d;
    return true;
}

}  // namespace

size_t DibStride(int32_t width, uint16_t bitCount) {
    return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
}

bool ParseBmpFile(const uint8_t* data, size_t size, const DibLimits& limits, DibLayout* out) {
    if (size < kBmpFileHeaderSize || data[0] != 'B' || data[1] != 'M') return false;
    // An offset of 0 is taken as pixels right after the colour table.
    return ParseLayout(data, size, kBmpFileHeaderSize, Read32(data + 10), true, limits, out);
}

bool ParsePackedDib(const uint8_t* data, size_t size, const DibLimits& limits, DibLayout* out) {
    return ParseLayout(data, size, 0, 0, false, limits, out);
}
