// Small text helpers shared by both programs.
#pragma once

#include <string>
#include <string_view>

std::string IntToString(int value);

// The leading decimal number of the text (after blanks, with an optional
// sign), 0 when there is none; saturates instead of overflowing.
int StringToInt(std::string_view text);

// ANSI comparisons without regard to case, as the file system and the
// registry compare names.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// Path helpers: "a" + "\" + "b" without doubling a backslash.
std::string JoinPath(std::string_view folder, std::string_view name);

// True when text begins with prefix as a whole path component:
// "C:\App\Links\A" begins with "C:\App\Links", "C:\App\LinksX" does not.
bool PathStartsWith(std::string_view path, std::string_view prefix);
