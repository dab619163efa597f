// Internet Explorer's per-user values: page font and colours, start page,
// typed-address history, and the Favorites folder.
#include "RegSettings.h"

#include "ErrorCodes.h"
#include "RegSettingsDetail.h"

#include "fw/registry.h"

#include <cstdint>
#include <cstring>

using regdetail::OpenOrCreate;

namespace {

constexpr char kScriptsKey[] = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
constexpr char kMainKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
constexpr char kSettingsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";
constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

enum class Create { kYes, kNo };

ErrorCode ReadText(const char* keyPath, const char* name, size_t maxChars, std::string* out) {
    fw::RegKey key = fw::OpenKey(HKEY_CURRENT_USER, keyPath, KEY_READ);
    if (!key) return kErrSettingsRead;
    auto value = fw::ReadString(key.get(), name, maxChars);
    if (!value) return kErrSettingsRead;
    *out = std::move(*value);
    return kErrNone;
}

ErrorCode WriteText(const char* keyPath, const char* name, size_t maxChars, Create create, const std::string& text) {
    if (text.size() > maxChars) return kErrSettingsWrite;
    fw::RegKey key = create == Create::kYes ? OpenOrCreate(HKEY_CURRENT_USER, keyPath)
                                            : fw::OpenKey(HKEY_CURRENT_USER, keyPath, KEY_ALL_ACCESS);
    if (!key || !fw::WriteString(key.get(), name, text)) return kErrSettingsWrite;
    ::RegFlushKey(key.get());
    return kErrNone;
}

ErrorCode ReadPageText(const char* keyPath, const char* name, std::string* out) {
    return ReadText(keyPath, name, CRegSettings::kMaxPageSettingChars, out);
}

ErrorCode WritePageText(const char* keyPath, const char* name, Create create, const std::string& text) {
    return WriteText(keyPath, name, CRegSettings::kMaxPageSettingChars, create, text);
}

// "IEFontSize": exactly 4 bytes of REG_BINARY, little-endian.
ErrorCode ReadFontSize(int32_t* out) {
    fw::RegKey key = fw::OpenKey(HKEY_CURRENT_USER, kScriptsKey, KEY_READ);
    if (!key) return kErrSettingsRead;
    const auto bytes = fw::ReadBinary(key.get(), "IEFontSize", 4);
    if (!bytes || bytes->size() != 4) return kErrSettingsRead;
    const uint32_t value = static_cast<uint32_t>((*bytes)[0]) | static_cast<uint32_t>((*bytes)[1]) << 8 |
                           static_cast<uint32_t>((*bytes)[2]) << 16 | static_cast<uint32_t>((*bytes)[3]) << 24;
    *out = static_cast<int32_t>(value);
    return kErrNone;
}

// The number of a canonical "url<n>" value name (n from 1, no leading zero); 0 otherwise.
uint64_t TypedUrlNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 3 + 18 || _strnicmp(name.c_str(), "url", 3) != 0 || name[3] == '0') return 0;
    uint64_t n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        n = n * 10 + static_cast<uint64_t>(name[i] - '0');
    }
    return n;
}

}  // namespace

std::string ColorToString(COLORREF color) {
    return std::to_string(GetRValue(color)) + "," + std::to_string(GetGValue(color)) + "," +
           std::to_string(GetBValue(color));
}

ErrorCode CRegSettings::GetIEFontName(std::string* out) {
    return ReadPageText(kScriptsKey, "IEPropFontName", out);
}
ErrorCode CRegSettings::SetIEFontName(const std::string& name) {
    return WritePageText(kScriptsKey, "IEPropFontName", Create::kYes, name);
}

ErrorCode CRegSettings::GetIEFontSize(int* out) {
    int32_t size = 0;
    const ErrorCode rc = ReadFontSize(&size);
    if (rc == kErrNone) *out = size;
    return rc;
}

ErrorCode CRegSettings::SetIEFontSize(int size) {
    const uint32_t value = static_cast<uint32_t>(size);
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    fw::RegKey key = OpenOrCreate(HKEY_CURRENT_USER, kScriptsKey);
    if (!key || !fw::WriteBinary(key.get(), "IEFontSize", bytes, sizeof(bytes))) return kErrSettingsWrite;
    ::RegFlushKey(key.get());
    return kErrNone;
}

ErrorCode CRegSettings::GetIEFontSizeByte(int* out) {
    int32_t size = 0;
    const ErrorCode rc = ReadFontSize(&size);
    if (rc == kErrNone) *out = static_cast<int>(static_cast<uint32_t>(size) & 0xFF);
    return rc;
}

ErrorCode CRegSettings::GetUseDlgBoxColors(std::string* out) {
    return ReadText(kMainKey, "Use_DlgBox_Colors", kMaxDlgBoxColorsChars, out);
}
ErrorCode CRegSettings::SetUseDlgBoxColors(const std::string& value) {
    return WriteText(kMainKey, "Use_DlgBox_Colors", kMaxDlgBoxColorsChars, Create::kYes, value);
}

ErrorCode CRegSettings::GetBackgroundColor(std::string* out) {
    return ReadPageText(kSettingsKey, "Background Color", out);
}
ErrorCode CRegSettings::SetBackgroundColor(const std::string& value) {
    return WritePageText(kSettingsKey, "Background Color", Create::kNo, value);
}

ErrorCode CRegSettings::GetTextColor(std::string* out) {
    return ReadPageText(kSettingsKey, "Text Color", out);
}
ErrorCode CRegSettings::SetTextColor(const std::string& value) {
    return WritePageText(kSettingsKey, "Text Color", Create::kNo, value);
}

ErrorCode CRegSettings::GetAnchorColorHover(std::string* out) {
    return ReadPageText(kSettingsKey, "Anchor Color Hover", out);
}
ErrorCode CRegSettings::SetAnchorColorHover(const std::string& value) {
    return WritePageText(kSettingsKey, "Anchor Color Hover", Create::kYes, value);
}

ErrorCode CRegSettings::GetUseAnchorHoverColor(std::string* out) {
    return ReadPageText(kSettingsKey, "Use Anchor Hover Color", out);
}
ErrorCode CRegSettings::SetUseAnchorHoverColor(const std::string& value) {
    return WritePageText(kSettingsKey, "Use Anchor Hover Color", Create::kYes, value);
}

ErrorCode CRegSettings::GetAnchorColorVisited(std::string* out) {
    return ReadPageText(kSettingsKey, "Anchor Color Visited", out);
}
ErrorCode CRegSettings::SetAnchorColorVisited(const std::string& value) {
    return WritePageText(kSettingsKey, "Anchor Color Visited", Create::kNo, value);
}

ErrorCode CRegSettings::GetAnchorColor(std::string* out) {
    return ReadPageText(kSettingsKey, "Anchor Color", out);
}
ErrorCode CRegSettings::SetAnchorColor(const std::string& value) {
    return WritePageText(kSettingsKey, "Anchor Color", Create::kNo, value);
}

ErrorCode CRegSettings::GetStartPage(std::string* out) {
    return ReadText(kMainKey, "Start Page", kMaxValueChars, out);
}

ErrorCode CRegSettings::GetFavoritesPath(std::string* out) {
    return ReadText(kShellFoldersKey, "Favorites", kMaxFavoritesChars, out);
}

ErrorCode CRegSettings::GetTypedURLs(std::vector<std::string>* list) {
    fw::RegKey key = fw::OpenKey(HKEY_CURRENT_USER, kTypedUrlsKey, KEY_READ);
    if (!key) return kErrSettingsRead;
    // By number, not by enumeration: the registry's order is not the history's.
    for (unsigned long n = 1;; ++n) {
        const std::string name = "url" + std::to_string(n);
        if (!fw::ValueExists(key.get(), name.c_str())) break;
        if (auto url = fw::ReadString(key.get(), name.c_str(), kMaxValueChars)) list->push_back(std::move(*url));
    }
    return kErrNone;
}

ErrorCode CRegSettings::SetTypedURLs(const std::vector<std::string>& list) {
    for (const auto& url : list)
        if (url.size() > kMaxValueChars) return kErrSettingsWrite;
    fw::RegKey key = OpenOrCreate(HKEY_CURRENT_USER, kTypedUrlsKey);
    if (!key) return kErrSettingsWrite;
    for (size_t i = 0; i < list.size(); ++i)
        fw::WriteString(key.get(), ("url" + std::to_string(i + 1)).c_str(), list[i]);
    // Entries left above the new count would come back when the list grows again.
    for (const auto& name : fw::ValueNames(key.get())) {
        const uint64_t n = TypedUrlNumber(name);
        if (n > list.size()) ::RegDeleteValueA(key.get(), name.c_str());
    }
    ::RegFlushKey(key.get());
    return kErrNone;
}
