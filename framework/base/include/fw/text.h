// Case-blind comparison of fixed ASCII words: switches, keywords, names this
// code itself writes. Only A to Z fold; every other byte compares as it is.
// Names the user or the disk gives (files, folders, groups, skins) compare as
// the file system does instead: EqualsNoCase in common/StringUtil.h.
#pragma once

#include <string_view>

namespace fw {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool StartsWithAsciiNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
    return true;
}

constexpr bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithAsciiNoCase(a, b);
}

}  // namespace fw
