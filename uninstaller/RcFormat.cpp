// The rc file's bytes, checked; no platform needed.
#include "RcFile.h"

#include <algorithm>
#include <limits>

namespace {
std::uint32_t Word(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return value;
}
}  // namespace

std::optional<std::vector<RcEntry>> ParseRc(std::string_view bytes) {
    if (bytes.size() < 4) return std::nullopt;
    const std::uint32_t n = Word(bytes, 0);
    if (n > kRcMaxEntries || bytes.size() < 4 + 12 * std::size_t{n}) return std::nullopt;
    std::vector<RcEntry> entries;
    entries.reserve(n);
    // One family twice is found by sorting the families once: a look-up per
    // entry would cost n squared over a file at the cap.
    std::vector<std::uint64_t> families;
    families.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::size_t at = 4 + 12 * std::size_t{i};
        RcEntry e;
        const std::uint32_t count = Word(bytes, at);
        e.type = Word(bytes, at + 4);
        e.kind = Word(bytes, at + 8);
        // Counts never go below 0, and there are only two families.
        if (count > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
        if (e.type != kRcMultiFiles && e.type != kRcPartFiles) return std::nullopt;
        e.count = static_cast<std::int32_t>(count);
        entries.push_back(e);
        families.push_back(std::uint64_t{e.type} << 32 | e.kind);
    }
    std::sort(families.begin(), families.end());
    if (std::adjacent_find(families.begin(), families.end()) != families.end()) return std::nullopt;
    return entries;
}

int FindRcEntry(const std::vector<RcEntry>& entries, std::uint32_t kind, std::uint32_t type) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].kind == kind && entries[i].type == type) return static_cast<int>(i);
    return -1;
}

std::int32_t AddToCount(std::int32_t count, std::int64_t change) {
    const std::int64_t sum = std::int64_t{count} + change;
    if (sum < 0) return 0;
    if (sum > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(sum);
}
