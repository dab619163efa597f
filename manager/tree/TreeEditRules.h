// The editing rules of the tree that need no window: the proposed name of a
// new folder, which typed names may become a folder or group, the duplicate
// test among siblings, and how group lines follow a rename or a delete.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace TreeEdit {

// The proposed name of a new folder or group: "New Folder", else "New Folder"
// and the first number from 1 that no name of taken bears (letter case ignored).
std::string ProposeFolderName(const std::vector<std::string>& taken);

enum class NameCheck { kOk, kEmpty, kRefused };

// Whether a typed name can be a folder or group name below Links or Groups:
// no separators, wildcards, quotes, colons or control characters, not "." or
// "..", no trailing dot or blank, not a device name (CON, NUL, COM1, ... with
// or without an extension), at most kMaxNameLength characters.
inline constexpr size_t kMaxNameLength = 200;
NameCheck CheckFolderName(std::string_view name);

// Whether a full path made of a checked name stays short enough for the
// ANSI file calls, with room for a link file name below it.
bool FitsPathLimit(std::string_view fullPath);

// A rename from oldText to newText clashes when a sibling folder or group
// (the item itself among them) bears newText without regard to case and
// newText is not exactly oldText.
bool IsDuplicateName(const std::vector<std::string>& siblings, std::string_view oldText, std::string_view newText);

// Each rule changes lines in place and says whether any changed. Lines and
// paths compare without regard to letter case, as the file system does.

// Every line naming the link oldLine becomes newLine.
bool RewriteLinkLines(std::vector<std::string>& lines, std::string_view oldLine, std::string_view newLine);

// Every line naming a link file (".vsl") in the folder oldFolder or below it
// has oldFolder at its beginning replaced by newFolder, the rest kept.
bool RewriteFolderLines(std::vector<std::string>& lines, std::string_view oldFolder, std::string_view newFolder);

// Removes every line naming the link memberLine.
bool RemoveLinkLines(std::vector<std::string>& lines, std::string_view memberLine);

// Removes every line below the folder (longer than folder + "\" and beginning with it).
bool RemoveFolderLines(std::vector<std::string>& lines, std::string_view folder);

// Whether a line names the link memberLine; whether it lies below the folder
// (the rule of RemoveFolderLines).
bool NamesLink(std::string_view line, std::string_view memberLine);
bool LiesBelow(std::string_view line, std::string_view folder);

}  // namespace TreeEdit
