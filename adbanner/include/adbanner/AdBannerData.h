// The ad-banner control as its host knows it: the class id it is created by
// and its initial data, the persisted form the host hands it before it is
// activated. Shared by the browser and our stand-in control; no platform
// header, so the reader also builds natively.
//
// Stream layout (little-endian): extent width, extent height (HIMETRIC,
// signed 32-bit), then the product name and the application key, each a
// 32-bit byte length followed by that many bytes of UTF-16 text without
// terminator. Whatever follows is the vendor's and is not read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <guiddef.h>
#endif

namespace adbanner {

inline constexpr char kClassIdText[] = "{1DC1FA5E-773D-11D3-9F9F-006097A7311B}";
#ifdef _WIN32
inline constexpr CLSID kClassId = {0x1DC1FA5E, 0x773D, 0x11D3, {0x9F, 0x9F, 0x00, 0x60, 0x97, 0xA7, 0x31, 0x1B}};
#endif

struct InitialData {
    int32_t extentX = 0;  // HIMETRIC
    int32_t extentY = 0;
    std::u16string productName;
    std::u16string applicationKey;
};

// A text no longer than this is read; a longer one is refused (the vendor's
// texts are a product name and a five-letter key).
inline constexpr uint32_t kMaxTextBytes = 4096;

inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void PutText(std::vector<uint8_t>& out, const std::u16string& text) {
    PutU32(out, static_cast<uint32_t>(text.size() * 2));
    for (char16_t c : text) {
        out.push_back(static_cast<uint8_t>(c & 0xFF));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
}

inline std::vector<uint8_t> Encode(const InitialData& data) {
    std::vector<uint8_t> out;
    PutU32(out, static_cast<uint32_t>(data.extentX));
    PutU32(out, static_cast<uint32_t>(data.extentY));
    PutText(out, data.productName);
    PutText(out, data.applicationKey);
    return out;
}

// Reads the stream's bytes from the front. Every length is checked against
// what is there: a short, odd or oversized text gives nothing.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    std::optional<uint32_t> U32() {
        if (size_ - pos_ < 4) return std::nullopt;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data_[pos_ + i]) << (8 * i);
        pos_ += 4;
        return v;
    }
    std::optional<std::u16string> Text() {
        const auto bytes = U32();
        if (!bytes || *bytes % 2 != 0 || *bytes > kMaxTextBytes || size_ - pos_ < *bytes) return std::nullopt;
        std::u16string text(*bytes / 2, u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(data_[pos_ + 2 * i] | (data_[pos_ + 2 * i + 1] << 8));
        pos_ += *bytes;
        return text;
    }
    size_t Position() const { return pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

inline std::optional<InitialData> Decode(const uint8_t* data, size_t size) {
    Reader reader(data, size);
    InitialData out;
    const auto x = reader.U32();
    const auto y = reader.U32();
    if (!x || !y) return std::nullopt;
    out.extentX = static_cast<int32_t>(*x);
    out.extentY = static_cast<int32_t>(*y);
    auto product = reader.Text();
    if (!product) return std::nullopt;
    auto key = reader.Text();
    if (!key) return std::nullopt;
    out.productName = std::move(*product);
    out.applicationKey = std::move(*key);
    return out;
}

// UTF-16 of a plain ASCII text, and back (other characters become '?').
inline std::u16string Widen(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}
inline std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace adbanner
