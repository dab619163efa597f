// One record of an application's "Pending" or "Done" queue: an ad the client
// keeps in its shared cache, a folder named by the ad's number holding its
// part files, its multi files and the "rc" reference-count file. Reads and
// writes the current format 3000 and reads 1, 1000 and 2000. Parsing never
// reads past the record's bytes. Only VerifyFiles needs the platform.
#pragma once

#include "QueueRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct AdPart {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    std::uint8_t hasPartFile = 0;
    std::vector<std::uint16_t> items;                    // one value per item; at most 255 items
    std::vector<std::vector<std::uint8_t>> itemSums;     // per item: one XOR byte per key byte
    std::vector<std::vector<std::uint16_t>> itemValues;  // per item: one value per key byte
    std::uint8_t partSum = 0;                            // the part file's XOR byte
    bool operator==(const AdPart&) const = default;
};

class CAdRecord : public CQueueRecord {
public:
    static constexpr std::uint16_t kFormat = 3000;
    // Above this the older formats' 2^(17 - w) has no meaning.
    static constexpr std::uint32_t kMaxExponent = 17;

    CAdRecord() = default;
    ~CAdRecord() override;
    CAdRecord(const CAdRecord&) = default;
    CAdRecord& operator=(const CAdRecord&) = default;

    // Format 3000 records parse here; others go to ParseOld. False when the
    // bytes do not hold a whole record of the entry's format.
    bool Parse(std::string_view bytes, const QueueEntry& entry) override;
    // Formats 1, 1000, 2000 and any other but 3000; false for 3000 or when the
    // bytes do not parse. The entry copy then says 3000, so a store upgrades it.
    bool ParseOld(std::string_view bytes, const QueueEntry& entry) override;
    std::string Serialize() const override;
    QueueEntry EntryCopy() const override { return entry_; }
    // A record matches an entry whose key is its identity.
    bool Matches(const QueueEntry& entry) const override { return entry.key == GetId(); }
    std::uint32_t GetId() const { return words[1]; }
    void SetEntry(const QueueEntry& entry) { entry_ = entry; }

    // Frees the strings (the fifth and sixth wiped first) and zeroes every field.
    void Clear();
    // Every cached file with a non-zero XOR byte matches it, or is held by
    // another process without sharing; the first mismatch or unreadable file
    // gives false.
    bool VerifyFiles(const char* adsFolder) const;

    std::uint32_t AdNumber() const { return words[0]; }
    // The length Serialize() gives.
    std::size_t SerializedLength() const;

    std::array<std::uint32_t, 6> words{};
    std::array<std::string, 6> strings;  // an absent string is empty
    std::uint32_t multiKind = 0;
    std::uint32_t partKind = 0;
    std::uint32_t value1 = 0;
    std::uint16_t value2 = 0;
    std::uint16_t value3 = 0;
    std::uint32_t value4 = 0;
    std::vector<std::uint8_t> key;  // at most 255 bytes
    std::vector<AdPart> parts;      // at most 255 parts
    std::uint8_t flagA = 0;
    std::uint8_t flagB = 0;
    std::array<std::uint16_t, 10> tens{};
    std::vector<std::uint32_t> listX;  // at most 255 values each
    std::vector<std::uint32_t> listY;

private:
    bool Read(std::string_view bytes, std::uint16_t format);
    void Wipe();

    QueueEntry entry_{};
};

// Names of an ad's cached files in the ads folder, as the client writes them;
// empty when the path would not fit in 260 characters.
namespace adfiles {
std::string Folder(const std::string& ads, std::uint32_t ad);
std::string RcFile(const std::string& ads, std::uint32_t ad);
std::string PartFile(const std::string& ads, std::uint32_t ad, unsigned part, std::uint32_t kind);
std::string MultiFile(const std::string& ads, std::uint32_t ad, std::uint8_t keyByte, unsigned part, unsigned item,
                      std::uint32_t kind);
}  // namespace adfiles
