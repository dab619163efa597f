#include "Checksum.h"

#include <cstring>

bool CChecksum::OfBuffer(const void* data, std::size_t length, std::uint8_t* out) {
    if (!out || (!data && length)) return false;
    Reset();
    Update(static_cast<const std::uint8_t*>(data), length);
    WriteValue(out);
    return true;
}

bool CChecksum::OfString(const char* text, std::uint8_t* out) {
    if (!text) return false;
    return OfBuffer(text, std::strlen(text), out);
}

bool CChecksum::OfSource(CChecksumSource& source, std::uint8_t* out) {
    return OfSource(source, 0, 0, out);
}

bool CChecksum::OfSource(CChecksumSource& source, std::uint64_t spanOffset, std::uint64_t spanLength,
                         std::uint8_t* out) {
    if (!out || !source.SeekTo(0)) return false;
    Reset();
    std::uint8_t block[kBlockSize];
    static constexpr std::uint8_t kZero = 0;
    bool spanDone = spanLength == 0;
    std::uint64_t pos = 0;
    for (;;) {
        const long got = source.Read(block, sizeof(block));
        if (got < 0) return false;
        if (got == 0) break;
        const std::uint64_t end = pos + static_cast<std::uint64_t>(got);
        if (!spanDone && spanOffset >= pos && spanOffset < end) {
            spanDone = true;
            const std::size_t before = static_cast<std::size_t>(spanOffset - pos);
            Update(block, before);
            for (std::uint64_t i = 0; i < spanLength; ++i) Update(&kZero, 1);
            const std::uint64_t spanEnd = spanOffset + spanLength < spanOffset ? UINT64_MAX : spanOffset + spanLength;
            if (spanEnd <= end) {
                const std::size_t after = static_cast<std::size_t>(spanEnd - pos);
                Update(block + after, static_cast<std::size_t>(got) - after);
                pos = end;
            } else {
                if (!source.SeekTo(spanEnd)) return false;
                pos = spanEnd;
            }
        } else {
            Update(block, static_cast<std::size_t>(got));
            pos = end;
        }
    }
    WriteValue(out);
    return true;
}

void CWordSumChecksum::Update(const std::uint8_t* data, std::size_t length) {
    std::uint32_t total = total_;
    std::size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        total += (std::uint32_t{data[i]} << 24) | (std::uint32_t{data[i + 1]} << 16) |
                 (std::uint32_t{data[i + 2]} << 8) | std::uint32_t{data[i + 3]};
    }
    std::uint32_t last = 0;
    for (int shift = 24; i < length; ++i, shift -= 8) last |= std::uint32_t{data[i]} << shift;
    total_ = total + last;
}

void CWordSumChecksum::WriteValue(std::uint8_t* out) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(total_ >> (8 * i));
}

void CXorChecksum::Update(const std::uint8_t* data, std::size_t length) {
    std::uint8_t sum = sum_;
    for (std::size_t i = 0; i < length; ++i) sum ^= data[i];
    sum_ = sum;
}
