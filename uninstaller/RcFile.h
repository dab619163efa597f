// The ad cache's reference-count file "rc": N, then N entries of {count,
// type, kind}, little-endian 32-bit words. An entry is found by type and kind;
// type 0 counts the multi files, type 1 the part files.
//
// A file that cannot be read, is short, holds an impossible count or type, or
// holds one family twice is unknown: nothing is written to it and no count is
// taken from it, so an unknown family is never taken as released. Counts are
// summed in 64 bits. A file held by the client is retried a bounded number of
// times with a pause, then given up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RcEntry {
    std::int32_t count = 0;
    std::uint32_t type = 0;
    std::uint32_t kind = 0;
};

constexpr std::uint32_t kRcMultiFiles = 0;
constexpr std::uint32_t kRcPartFiles = 1;
// More entries than any client writes (one per type and kind in use).
constexpr std::uint32_t kRcMaxEntries = 1u << 16;

// The entries of an rc file's bytes; nullopt when they are not a sound rc file.
std::optional<std::vector<RcEntry>> ParseRc(std::string_view bytes);
// Index of the entry of that family, or -1.
int FindRcEntry(const std::vector<RcEntry>& entries, std::uint32_t kind, std::uint32_t type);
// old + change, kept within 0 and the largest stored count.
std::int32_t AddToCount(std::int32_t count, std::int64_t change);

#ifdef _WIN32
// Adds the change to the family's count (creating the file or the entry);
// true when the file was written, with the new count in *newCount.
bool RcReleaseRef(const char* path, std::int32_t change, std::uint32_t kind, std::uint32_t type,
                  std::int64_t* newCount);
// The family's count (0 when the file or the entry is missing); nullopt when unknown.
std::optional<std::int64_t> RcGetRefCount(const char* path, std::uint32_t kind, std::uint32_t type);
// The sum of every count (0 for a missing file); nullopt when unknown.
std::optional<std::int64_t> RcGetTotalRefs(const char* path);
#endif
