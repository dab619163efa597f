#include "tree/TreeEditRules.h"

#include "StringUtil.h"

#include <windows.h>

#include <algorithm>

namespace TreeEdit {

namespace {

constexpr char kNewFolder[] = "New Folder";

// Names the file system gives to devices in every folder.
bool IsDeviceName(std::string_view name) {
    // "CON.txt" and "con " are the device too.
    const size_t dot = name.find('.');
    std::string_view stem = name.substr(0, dot);
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (std::string_view device : kDevices)
        if (EqualsNoCase(stem, device)) return true;
    if (stem.size() == 4 && (StartsWithNoCase(stem, "COM") || StartsWithNoCase(stem, "LPT")))
        return stem[3] >= '0' && stem[3] <= '9';
    return false;
}

bool IsLinkFile(std::string_view line) {
    return EndsWithNoCase(line, ".vsl");
}

}  // namespace

std::string ProposeFolderName(const std::vector<std::string>& taken) {
    auto isTaken = [&](const std::string& name) {
        return std::any_of(taken.begin(), taken.end(), [&](const std::string& t) { return EqualsNoCase(t, name); });
    };
    std::string name = kNewFolder;
    for (unsigned n = 1; isTaken(name); ++n) name = kNewFolder + std::to_string(n);
    return name;
}

NameCheck CheckFolderName(std::string_view name) {
    if (name.empty()) return NameCheck::kEmpty;
    if (name.size() > kMaxNameLength) return NameCheck::kRefused;
    if (name == "." || name == "..") return NameCheck::kRefused;
    if (name.back() == '.' || name.back() == ' ') return NameCheck::kRefused;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return NameCheck::kRefused;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return NameCheck::kRefused;
    }
    if (IsDeviceName(name)) return NameCheck::kRefused;
    return NameCheck::kOk;
}

bool FitsPathLimit(std::string_view fullPath) {
    // Room for "\" and the longest link file name a folder gets (a 10-digit number and ".vsl").
    constexpr size_t kLinkNameRoom = 1 + 10 + 4;
    return fullPath.size() + kLinkNameRoom < MAX_PATH;
}

bool IsDuplicateName(const std::vector<std::string>& siblings, std::string_view oldText, std::string_view newText) {
    if (newText == oldText) return false;
    return std::any_of(siblings.begin(), siblings.end(),
                       [&](const std::string& sibling) { return EqualsNoCase(sibling, newText); });
}

bool NamesLink(std::string_view line, std::string_view memberLine) {
    return EqualsNoCase(line, memberLine);
}

bool LiesBelow(std::string_view line, std::string_view folder) {
    return line.size() > folder.size() + 1 && line[folder.size()] == '\\' && StartsWithNoCase(line, folder);
}

bool RewriteLinkLines(std::vector<std::string>& lines, std::string_view oldLine, std::string_view newLine) {
    bool changed = false;
    for (std::string& line : lines)
        if (NamesLink(line, oldLine) && line != newLine) {
            line = newLine;
            changed = true;
        }
    return changed;
}

bool RewriteFolderLines(std::vector<std::string>& lines, std::string_view oldFolder, std::string_view newFolder) {
    bool changed = false;
    for (std::string& line : lines) {
        if (!LiesBelow(line, oldFolder) || !IsLinkFile(line)) continue;
        std::string rewritten = std::string(newFolder) + line.substr(oldFolder.size());
        if (rewritten != line) {
            line = std::move(rewritten);
            changed = true;
        }
    }
    return changed;
}

bool RemoveLinkLines(std::vector<std::string>& lines, std::string_view memberLine) {
    return std::erase_if(lines, [&](const std::string& line) { return NamesLink(line, memberLine); }) > 0;
}

bool RemoveFolderLines(std::vector<std::string>& lines, std::string_view folder) {
    return std::erase_if(lines, [&](const std::string& line) { return LiesBelow(line, folder); }) > 0;
}

}  // namespace TreeEdit
