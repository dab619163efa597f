// The queue database's file layout: the header both files share, the
// trailer after each stored record, index entries and the records of old
// version 1.3 data files. Pure readers: every length and offset is checked
// against the bytes at hand; no platform needed, so they also build natively.
#pragma once

#include "QueueRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::uint16_t kQueueSealSize = 16;
inline constexpr std::uint32_t kQueueHeaderLength = kQueueSealSize + 24;  // after the length field
inline constexpr std::uint32_t kQueueHeaderSize = 4 + kQueueHeaderLength;  // 44: where records start
inline constexpr std::uint32_t kQueueSealOffset = 14;
inline constexpr std::uint32_t kQueueEntrySize = 24;
inline constexpr std::uint32_t kQueueChecksumSize = 4;
inline constexpr char kQueueDataSignature[] = "ADHB-SDK";
inline constexpr char kQueueIndexSignature[] = "ADHB-IDX";

struct QueueHeader {
    std::string seal;  // 16 bytes
    std::uint16_t version = 0;
    std::uint16_t subVersion = 0;
    std::size_t end = 0;  // offset after the two version fields
};

// The header of a current file: length 40, the signature, seal size 16, the
// seal, version 2.0, and the last field 0xFFFFFFFF.
std::string MakeQueueHeader(std::string_view signature, std::uint16_t version = 2, std::uint16_t subVersion = 0);

// Reads a header from the file's first bytes. With readVersions false only
// the part up to the seal is read (the index file). Empty on any damage.
std::optional<QueueHeader> ParseQueueHeader(std::string_view bytes, std::string_view signature, bool readVersions);

// An index entry from 24 bytes, and back.
QueueEntry ParseQueueEntry(const unsigned char* bytes);
void StoreQueueEntry(const QueueEntry& entry, unsigned char* bytes);

// Whether a stored record and its trailer (checksum length and checksum) can
// lie where the entry says in a data file of the given size.
bool QueueRecordFits(const QueueEntry& entry, std::uint64_t fileSize);

// The trailer written after a record's bytes: length 4, then the word sum.
std::string MakeQueueTrailer(std::string_view record);
// Checks a trailer read after the record: length 4 and the record's word sum.
bool QueueTrailerMatches(std::string_view record, std::string_view trailer);

// One record of a version 1.3 data file, where records lie inline.
struct QueueOldRecord {
    QueueEntry entry;
    std::string_view bytes;
};
// Where the records of a 1.3 file start, after its header and record count
// field; empty on damage.
std::optional<std::size_t> QueueOldRecordsStart(std::string_view file, std::uint32_t* count);
// Reads the record at *pos and moves past it and its checksum; empty on a
// short or inconsistent record.
std::optional<QueueOldRecord> ReadQueueOldRecord(std::string_view file, std::size_t* pos);
