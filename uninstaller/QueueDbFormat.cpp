#include "QueueDbFormat.h"

#include "Checksum.h"

#include <cstring>

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
}
void Put16(std::string& s, std::uint16_t v) {
    s += static_cast<char>(v);
    s += static_cast<char>(v >> 8);
}

// A cursor over bytes that refuses to read past them.
class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
    bool Take(std::size_t n, std::string_view* out) {
        if (pos_ > bytes_.size() || n > bytes_.size() - pos_) return false;
        *out = bytes_.substr(pos_, n);
        pos_ += n;
        return true;
    }
    bool U32(std::uint32_t* v) {
        std::string_view b;
        if (!Take(4, &b)) return false;
        *v = Le32(reinterpret_cast<const unsigned char*>(b.data()));
        return true;
    }
    bool U16(std::uint16_t* v) {
        std::string_view b;
        if (!Take(2, &b)) return false;
        *v = Le16(reinterpret_cast<const unsigned char*>(b.data()));
        return true;
    }
    // A 16-bit length of at most `max`, then that many bytes as a little-endian value.
    bool Field(std::size_t max, std::uint32_t* value) {
        std::uint16_t n = 0;
        std::string_view b;
        if (!U16(&n) || n > max || !Take(n, &b)) return false;
        *value = 0;
        for (std::size_t i = 0; i < n; ++i) *value |= std::uint32_t{static_cast<unsigned char>(b[i])} << (8 * i);
        return true;
    }
    std::size_t pos() const { return pos_; }
    void Seek(std::size_t pos) { pos_ = pos; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string MakeQueueHeader(std::string_view signature, std::uint16_t version, std::uint16_t subVersion) {
    std::string s;
    Put32(s, kQueueHeaderLength);
    s.append(signature.substr(0, 8));
    Put16(s, kQueueSealSize);
    s.append(kQueueSealSize, '\0');
    Put16(s, 2);
    Put16(s, version);
    Put16(s, 2);
    Put16(s, subVersion);
    Put16(s, 4);
    Put32(s, 0xFFFFFFFF);
    return s;
}

std::optional<QueueHeader> ParseQueueHeader(std::string_view bytes, std::string_view signature, bool readVersions) {
    Cursor c(bytes);
    std::uint32_t length = 0;
    std::uint16_t sealSize = 0;
    std::string_view sig, seal;
    if (!c.U32(&length) || length != kQueueHeaderLength) return std::nullopt;
    if (!c.Take(8, &sig) || sig != signature.substr(0, 8)) return std::nullopt;
    if (!c.U16(&sealSize) || sealSize != kQueueSealSize || !c.Take(sealSize, &seal)) return std::nullopt;
    QueueHeader h;
    h.seal = std::string(seal);
    if (readVersions) {
        std::uint32_t version = 0, sub = 0;
        if (!c.Field(2, &version) || !c.Field(2, &sub)) return std::nullopt;
        h.version = static_cast<std::uint16_t>(version);
        h.subVersion = static_cast<std::uint16_t>(sub);
    }
    h.end = c.pos();
    return h;
}

QueueEntry ParseQueueEntry(const unsigned char* b) {
    return QueueEntry{Le32(b), Le32(b + 4), Le32(b + 8), Le32(b + 12), Le32(b + 16), Le32(b + 20)};
}

void StoreQueueEntry(const QueueEntry& e, unsigned char* b) {
    const std::uint32_t words[6] = {e.id, e.key, e.flags, e.version, e.length, e.offset};
    for (int w = 0; w < 6; ++w)
        for (int i = 0; i < 4; ++i) b[4 * w + i] = static_cast<unsigned char>(words[w] >> (8 * i));
}

bool QueueRecordFits(const QueueEntry& entry, std::uint64_t fileSize) {
    const std::uint64_t end = std::uint64_t{entry.offset} + entry.length + 4 + kQueueChecksumSize;
    return entry.offset >= kQueueHeaderSize && end <= fileSize;
}

std::string MakeQueueTrailer(std::string_view record) {
    std::string s;
    Put32(s, kQueueChecksumSize);
    CWordSumChecksum sum;
    std::uint8_t value[4];
    sum.OfBuffer(record.data(), record.size(), value);
    s.append(reinterpret_cast<const char*>(value), 4);
    return s;
}

bool QueueTrailerMatches(std::string_view record, std::string_view trailer) {
    return trailer.size() == 4 + kQueueChecksumSize && trailer == MakeQueueTrailer(record);
}

std::optional<std::size_t> QueueOldRecordsStart(std::string_view file, std::uint32_t* count) {
    Cursor c(file);
    std::string_view skip;
    if (!c.Take(12, &skip)) return std::nullopt;  // header length field and signature
    for (int i = 0; i < 3; ++i) {                  // seal, version, sub-version
        std::uint16_t n = 0;
        if (!c.U16(&n) || !c.Take(n, &skip)) return std::nullopt;
    }
    if (!c.Field(4, count)) return std::nullopt;
    return c.pos();
}

std::optional<QueueOldRecord> ReadQueueOldRecord(std::string_view file, std::size_t* pos) {
    Cursor c(file);
    c.Seek(*pos);
    QueueOldRecord r;
    std::uint16_t version = 0;
    std::uint32_t length = 0, checksumLength = 0;
    std::string_view checksum;
    if (!c.U32(&r.entry.id) || !c.U32(&r.entry.key) || !c.U32(&r.entry.flags) || !c.U16(&version) ||
        !c.U32(&length) || !c.Take(length, &r.bytes) || !c.U32(&checksumLength) || !c.Take(checksumLength, &checksum)) {
        return std::nullopt;
    }
    r.entry.version = version;
    r.entry.length = length;
    r.entry.offset = 0;
    *pos = c.pos();
    return r;
}
