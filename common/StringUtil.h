// Small text helpers shared by both programs.
#pragma once

#include <string>
#include <string_view>

std::string IntToString(int value);

// The leading decimal number of the text (after blanks, with an optional
// sign), 0 when there is none; saturates instead of overflowing.
int StringToInt(std::string_view text);

// ANSI names compared without regard to case exactly as the file system
// (and the registry) compares them: both in UTF-16, each unit folded to upper
// case, nothing ignored. For file, folder, group and skin names and paths.
// Fixed ASCII words such as switches compare with fw::EqualsAsciiNoCase.
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// Path helpers: "a" + "\" + "b" without doubling a backslash.
std::string JoinPath(std::string_view folder, std::string_view name);

// True when text begins with prefix as a whole path component:
// "C:\App\Links\A" begins with "C:\App\Links", "C:\App\LinksX" does not.
bool PathStartsWith(std::string_view path, std::string_view prefix);
