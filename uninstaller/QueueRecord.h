// The base of records kept in a queue database, and the 24-byte index entry
// that describes each stored record (the same layout in the index file and
// in the shared block).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct QueueEntry {
    std::uint32_t id = 0;       // orders the tree; unique among live entries
    std::uint32_t key = 0;      // matched by walks and by a record's match test
    std::uint32_t flags = 0;    // bit 0 live; bit 2 set and bit 1 cleared on load and add
    std::uint32_t version = 0;  // low 16 bits: the record's format version
    std::uint32_t length = 0;   // of the stored record
    std::uint32_t offset = 0;   // of the stored record in the data file

    static constexpr std::uint32_t kLive = 1;
    static constexpr std::uint32_t kSeen = 4;
    static constexpr std::uint32_t kStale = 2;
    static constexpr std::uint32_t kSkip = 0xFFFFFFFF;

    bool IsLive() const { return (flags & kLive) != 0; }
    std::uint16_t Format() const { return static_cast<std::uint16_t>(version); }
    bool operator==(const QueueEntry&) const = default;
};
static_assert(sizeof(QueueEntry) == 24);

class CQueueRecord {
public:
    virtual ~CQueueRecord() = default;

    // Reads the record from its stored bytes under its entry; false when the
    // bytes do not parse as the entry's format.
    virtual bool Parse(std::string_view bytes, const QueueEntry& entry) = 0;
    // Reads a record stored in an older format; false for the current format
    // or when the bytes do not parse.
    virtual bool ParseOld(std::string_view bytes, const QueueEntry& entry) = 0;
    // The record in the current format.
    virtual std::string Serialize() const = 0;
    // A copy of the record's own entry: identity, flags and format version.
    virtual QueueEntry EntryCopy() const = 0;

    // A record's identity is both its id and its key.
    virtual bool Matches(const QueueEntry& entry) const {
        const QueueEntry own = EntryCopy();
        return own.id == entry.id && own.key == entry.key;
    }
};
