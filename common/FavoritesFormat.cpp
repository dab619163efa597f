#include "FavoritesFormat.h"

#include <array>

namespace favorites {

namespace {

constexpr char kSection[] = "InternetShortcut";
constexpr char kUrlKey[] = "URL=";
constexpr char kShortcutExt[] = ".url";
constexpr char kLinksText[] = "Links";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Plain ASCII comparison: every name compared here is ASCII.
bool EqualsAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool StartsAscii(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsAscii(text.substr(0, prefix.size()), prefix);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// "[name]" gives name; anything else is no section line.
bool SectionName(std::string_view line, std::string_view* name) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return false;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    *name = Trim(line.substr(1, close - 1));
    return true;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, also with an extension: the system
// opens the device instead of a folder of that name.
bool IsDeviceName(std::string_view name) {
    const std::string_view base = Trim(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    for (std::string_view device : kPlain)
        if (EqualsAscii(base, device)) return true;
    return base.size() == 4 && (StartsAscii(base, "com") || StartsAscii(base, "lpt")) && base[3] >= '1' &&
           base[3] <= '9';
}

// A folder name that the system keeps as it is, inside its parent.
bool IsMirrorableName(std::string_view name) {
    if (name.empty() || name.back() == '.' || IsBlank(name.back())) return false;  // also ".", "..", "..."
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
            IsSeparator(c))
            return false;
    }
    return !IsDeviceName(name);
}

}  // namespace

bool ParseShortcutText(std::string_view text, bool complete, std::string* address) {
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        text = text.substr(0, nul);
        complete = true;
    }
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        const std::string_view line = text.substr(pos, end == std::string_view::npos ? end : end - pos);
        std::string_view name;
        if (SectionName(line, &name)) {
            inSection = EqualsAscii(name, kSection);
        } else if (inSection && StartsAscii(line, kUrlKey)) {
            // A line cut by the read bound is no whole address.
            if (end == std::string_view::npos && !complete) return false;
            const std::string_view value = Trim(line.substr(sizeof(kUrlKey) - 1));
            if (value.empty() || value.size() > kMaxAddressChars) return false;
            address->assign(value);
            return true;
        }
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return false;
}

bool ParseShortcutFile(std::string_view bytes, std::string* address) {
    const bool complete = bytes.size() <= kMaxShortcutBytes;
    return ParseShortcutText(complete ? bytes : bytes.substr(0, kMaxShortcutBytes), complete, address);
}

std::string ShortcutTitle(std::string_view path) {
    std::size_t cut = path.size();
    while (cut > 0 && !IsSeparator(path[cut - 1])) --cut;
    std::string_view name = path.substr(cut);
    const std::string_view ext = kShortcutExt;
    if (name.size() >= ext.size() && EqualsAscii(name.substr(name.size() - ext.size()), ext))
        name.remove_suffix(ext.size());
    return std::string(name);
}

bool MapFavoritesFolder(std::string_view root, std::string_view folder, std::string* relative) {
    while (!root.empty() && IsSeparator(root.back())) root.remove_suffix(1);
    while (folder.size() > root.size() && IsSeparator(folder.back())) folder.remove_suffix(1);
    if (!StartsAscii(folder, root)) return false;
    std::string_view rest = folder.substr(root.size());
    if (rest.empty()) {
        relative->clear();
        return true;
    }
    if (!IsSeparator(rest.front())) return false;  // "C:\FavoritesX" is not below "C:\Favorites"
    // A root given as "C:\" is joined to its names with a second backslash.
    while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);

    std::string mapped;
    for (;;) {
        const std::size_t sep = rest.find_first_of("\\/");
        const std::string_view name = rest.substr(0, sep);
        if (!IsMirrorableName(name)) return false;
        if (!mapped.empty()) mapped += '\\';
        mapped += name;
        if (sep == std::string_view::npos) break;
        rest.remove_prefix(sep + 1);
    }
    *relative = std::move(mapped);
    return true;
}

std::string ProgressFolderText(std::string_view relative) {
    if (relative.empty()) return kLinksText;
    const std::size_t cut = relative.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? relative : relative.substr(cut + 1));
}

}  // namespace favorites
