// The ad record's stored forms and the names of its cached files.
#include "AdRecord.h"

#include <cstdio>

namespace {

constexpr std::size_t kMaxPath = 260;

// Little-endian reads that fail, and stay failed, at the record's end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }

    template <typename T>
    T Take() {
        T value = 0;
        if (!ok_ || bytes_.size() - pos_ < sizeof(T)) {
            ok_ = false;
            return 0;
        }
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<T>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += sizeof(T);
        return value;
    }
    // A string that ends with its zero inside the record.
    std::string String() {
        if (!ok_) return {};
        const std::size_t end = bytes_.find('\0', pos_);
        if (end == std::string_view::npos) {
            ok_ = false;
            return {};
        }
        std::string text(bytes_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return text;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

class Writer {
public:
    explicit Writer(std::size_t reserve) { out_.reserve(reserve); }
    template <typename T>
    void Put(T value) {
        for (std::size_t i = 0; i < sizeof(T); ++i) out_ += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    void String(const std::string& text) {
        // A string stops at its first zero, as a reader would see it.
        out_.append(text.c_str());
        out_ += '\0';
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

template <typename T>
std::uint8_t Count8(const std::vector<T>& v) {
    return static_cast<std::uint8_t>(v.size() > 255 ? 255 : v.size());
}

std::string Fitting(const char* text, int length) {
    if (length < 0 || static_cast<std::size_t>(length) >= kMaxPath) return {};
    return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace

CAdRecord::~CAdRecord() {
    Wipe();
}

void CAdRecord::Wipe() {
    for (std::string* s : {&strings[4], &strings[5]}) {
        volatile char* p = s->data();
        for (std::size_t i = 0; i < s->size(); ++i) p[i] = 0;
    }
}

void CAdRecord::Clear() {
    Wipe();
    *this = CAdRecord();
}

std::size_t CAdRecord::SerializedLength() const {
    // 76 fixed bytes: groups 1, 3, 5 and 10, the six terminators and the four counts.
    std::size_t length = 76 + key.size() + 4 * (listX.size() + listY.size());
    for (const std::string& s : strings) length += std::string_view(s.c_str()).size();
    const std::size_t n = key.size();
    for (const AdPart& p : parts) length += 4 + 2 * p.items.size() + n * p.items.size() + 1 + 2 * n * p.items.size();
    return length;
}

std::string CAdRecord::Serialize() const {
    // Counts past 255 cannot be stored; Serialize writes the first 255, so
    // what it writes always parses back.
    const std::size_t n = Count8(key);
    const std::size_t partCount = Count8(parts);
    Writer w(SerializedLength());
    for (std::uint32_t word : words) w.Put(word);
    w.String(strings[0]);
    w.String(strings[1]);
    w.Put(multiKind);
    w.Put(partKind);
    for (int i = 2; i < 6; ++i) w.String(strings[i]);
    w.Put(value1);
    w.Put(value2);
    w.Put(value3);
    w.Put(value4);
    w.Put(static_cast<std::uint8_t>(n));
    for (std::size_t i = 0; i < n; ++i) w.Put(key[i]);
    w.Put(static_cast<std::uint8_t>(partCount));
    for (std::size_t p = 0; p < partCount; ++p) {
        const AdPart& part = parts[p];
        w.Put(part.first);
        w.Put(part.second);
        w.Put(Count8(part.items));
        w.Put(part.hasPartFile);
        for (std::size_t i = 0; i < Count8(part.items); ++i) w.Put(part.items[i]);
    }
    for (std::size_t p = 0; p < partCount; ++p) {
        const AdPart& part = parts[p];
        for (std::size_t i = 0; i < Count8(part.items); ++i)
            for (std::size_t k = 0; k < n; ++k)
                w.Put(i < part.itemSums.size() && k < part.itemSums[i].size() ? part.itemSums[i][k] : std::uint8_t{0});
        w.Put(part.partSum);
    }
    for (std::size_t p = 0; p < partCount; ++p) {
        const AdPart& part = parts[p];
        for (std::size_t i = 0; i < Count8(part.items); ++i)
            for (std::size_t k = 0; k < n; ++k)
                w.Put(i < part.itemValues.size() && k < part.itemValues[i].size() ? part.itemValues[i][k]
                                                                                  : std::uint16_t{0});
    }
    w.Put(flagA);
    w.Put(flagB);
    for (std::uint16_t t : tens) w.Put(t);
    w.Put(Count8(listX));
    for (std::size_t i = 0; i < Count8(listX); ++i) w.Put(listX[i]);
    w.Put(Count8(listY));
    for (std::size_t i = 0; i < Count8(listY); ++i) w.Put(listY[i]);
    return w.Take();
}

bool CAdRecord::Parse(std::string_view bytes, const QueueEntry& entry) {
    if (entry.Format() != kFormat) return ParseOld(bytes, entry);
    Clear();
    entry_ = entry;
    if (Read(bytes, kFormat)) return true;
    Clear();
    return false;
}

bool CAdRecord::ParseOld(std::string_view bytes, const QueueEntry& entry) {
    if (entry.Format() == kFormat) return false;
    Clear();
    if (!Read(bytes, entry.Format())) {
        Clear();
        return false;
    }
    entry_ = entry;
    entry_.version = (entry.version & 0xFFFF0000u) | kFormat;
    return true;
}

bool CAdRecord::Read(std::string_view bytes, std::uint16_t format) {
    const bool oldest = format == 1 || format == 1000;
    Reader r(bytes);
    for (std::uint32_t& word : words) word = r.Take<std::uint32_t>();
    if (oldest) {
        if (words[3] > kMaxExponent) return false;
        words[3] = std::uint32_t{1} << (kMaxExponent - words[3]);
    }
    strings[0] = r.String();
    strings[1] = r.String();
    multiKind = r.Take<std::uint32_t>();
    partKind = r.Take<std::uint32_t>();
    for (int i = 2; i < 6; ++i) strings[i] = r.String();
    if (!oldest) {
        value1 = r.Take<std::uint32_t>();
        value2 = r.Take<std::uint16_t>();
        value3 = r.Take<std::uint16_t>();
        value4 = r.Take<std::uint32_t>();
    }
    key.resize(r.Take<std::uint8_t>());
    for (std::uint8_t& b : key) b = r.Take<std::uint8_t>();
    const std::size_t n = key.size();
    parts.resize(r.Take<std::uint8_t>());
    for (AdPart& part : parts) {
        part.first = r.Take<std::uint8_t>();
        part.second = r.Take<std::uint8_t>();
        part.items.resize(r.Take<std::uint8_t>());
        part.hasPartFile = r.Take<std::uint8_t>();
        for (std::uint16_t& v : part.items) v = r.Take<std::uint16_t>();
        if (!r.ok()) return false;
    }
    for (AdPart& part : parts) {
        part.itemSums.assign(part.items.size(), std::vector<std::uint8_t>(n));
        for (auto& sums : part.itemSums)
            for (std::uint8_t& s : sums) s = r.Take<std::uint8_t>();
        part.partSum = r.Take<std::uint8_t>();
        if (!r.ok()) return false;
    }
    for (AdPart& part : parts) {
        part.itemValues.assign(part.items.size(), std::vector<std::uint16_t>(n));
        for (auto& values : part.itemValues)
            for (std::uint16_t& v : values) v = r.Take<std::uint16_t>();
        if (!r.ok()) return false;
    }
    flagA = r.Take<std::uint8_t>();
    flagB = r.Take<std::uint8_t>();
    const int stored = oldest ? 6 : 10;
    for (int i = 0; i < stored; ++i) tens[i] = r.Take<std::uint16_t>();
    if (format == kFormat) {
        listX.resize(r.Take<std::uint8_t>());
        for (std::uint32_t& v : listX) v = r.Take<std::uint32_t>();
        listY.resize(r.Take<std::uint8_t>());
        for (std::uint32_t& v : listY) v = r.Take<std::uint32_t>();
    } else if (oldest || format == 2000) {
        listX = {2};
        listY = {0};
    }
    return r.ok();
}

namespace adfiles {

std::string Folder(const std::string& ads, std::uint32_t ad) {
    char path[kMaxPath + 32];
    return Fitting(path, std::snprintf(path, sizeof path, "%s\\%d", ads.c_str(), static_cast<int>(ad)));
}

std::string RcFile(const std::string& ads, std::uint32_t ad) {
    char path[kMaxPath + 32];
    return Fitting(path, std::snprintf(path, sizeof path, "%s\\%d\\rc", ads.c_str(), static_cast<int>(ad)));
}

std::string PartFile(const std::string& ads, std::uint32_t ad, unsigned part, std::uint32_t kind) {
    char path[kMaxPath + 48];
    return Fitting(path, std::snprintf(path, sizeof path, "%s\\%d\\%02x.%03x", ads.c_str(), static_cast<int>(ad), part,
                                       static_cast<unsigned>(kind)));
}

std::string MultiFile(const std::string& ads, std::uint32_t ad, std::uint8_t keyByte, unsigned part, unsigned item,
                      std::uint32_t kind) {
    char path[kMaxPath + 64];
    return Fitting(path, std::snprintf(path, sizeof path, "%s\\%d\\%02x%02x%04x.%03x", ads.c_str(),
                                       static_cast<int>(ad), keyByte, part, item, static_cast<unsigned>(kind)));
}

}  // namespace adfiles
