#include "SkinFile.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "StringUtil.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kBackground[] = "BACKGROUND";
constexpr char kSpecial[] = "SPECIAL";
constexpr int kMinViewerWidth = 470;
constexpr COLORREF kBuiltInTransparent = RGB(255, 0, 0);

}  // namespace

std::string ReadIniString(const std::string& path, const char* section, const char* key, const char* def,
                          DWORD buffer) {
    if (buffer == 0) return {};
    std::vector<char> text(buffer);
    const DWORD length = ::GetPrivateProfileStringA(section, key, def, text.data(), buffer, path.c_str());
    return std::string(text.data(), std::min<DWORD>(length, buffer - 1));
}

bool IsBuiltInSkin(std::string_view reference) { return EqualsNoCase(reference, AppConstants::kDefaultSkin); }

bool IsSafeSkinName(std::string_view name) {
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    return true;
}

SkinPaths MakeSkinPaths(const std::string& programFolder, const std::string& skinName) {
    SkinPaths paths;
    const std::string skins = programFolder + AppConstants::kSkinsFolder;
    if (IsBuiltInSkin(skinName) || !IsSafeSkinName(skinName)) {
        paths.name = AppConstants::kDefaultSkin;
        paths.reference = AppConstants::kDefaultSkin;
        paths.folder = skins;
        paths.builtIn = true;
        return paths;
    }
    paths.name = skinName;
    paths.folder = skins + "\\" + skinName;
    paths.reference = paths.folder + AppConstants::kSkinDataFile;
    paths.builtIn = false;
    return paths;
}

CSkinFile::CSkinFile(SkinPaths paths) : paths_(std::move(paths)) {}

std::string CSkinFile::ReadIniString(const char* section, const char* key, DWORD buffer) const {
    if (paths_.builtIn) return {};
    return ::ReadIniString(paths_.reference, section, key, "", buffer);
}

std::string CSkinFile::BackgroundBitmap() const { return ReadIniString(kBackground, "BITMAP"); }

COLORREF CSkinFile::TransparentColor() const {
    if (paths_.builtIn) return kBuiltInTransparent;
    std::string line = ReadIniString(kBackground, "TRANSPARENTCOLOR");
    return ParseColor(line);
}

bool CSkinFile::ReadSkinSize(RECT* out) const {
    *out = RECT{0, 0, 0, 0};
    const std::string width = ReadIniString(kBackground, "WIDTH");
    const std::string height = ReadIniString(kBackground, "HEIGHT");
    if (width.empty() || height.empty()) return false;
    const int w = TokenToInt(width);
    const int h = TokenToInt(height);
    if (w < kMinSkinSide || w > kMaxSkinSide || h < kMinSkinSide || h > kMaxSkinSide) return false;
    *out = RECT{0, 0, w, h};
    return true;
}

std::string CSkinFile::SpecialLine(SpecialButton which) const {
    const SkinControl& info = GetSpecialButtonInfo(which);
    if (paths_.builtIn) return info.builtInLine;
    return ReadIniString(kSpecial, info.specialKey);
}

int CSkinFile::ButtonLineCount() const {
    if (paths_.builtIn) return static_cast<int>(AppConstants::kDefaultButtonLines.size());
    return std::clamp(TokenToInt(ReadIniString("BUTTONS", "NUMBEROFBUTTONS")), 0, kMaxSkinButtonLines);
}

std::string CSkinFile::ButtonLine(int number) const {
    if (paths_.builtIn) {
        if (number < 1 || number > static_cast<int>(AppConstants::kDefaultButtonLines.size())) return {};
        return AppConstants::kDefaultButtonLines[number - 1];
    }
    return ReadIniString("BUTTONINFO", std::to_string(number).c_str());
}

ErrorCode CSkinFile::ReadViewer(RECT* out) const {
    if (paths_.builtIn) {
        *out = AppConstants::DefaultViewerArea.area;
        return kErrNone;
    }
    std::string line = ReadIniString("WEB", "VIEWER");
    if (line.empty()) return kErrSkinViewer;
    const RECT rect = ParseRect(line, true);
    if (rect.right - rect.left < kMinViewerWidth) return kErrSkinViewer;
    *out = rect;
    return kErrNone;
}

ErrorCode CSkinFile::ReadTitleBar(RECT* out) const {
    if (paths_.builtIn) {
        *out = RECT{0, 0, 0, 0};
        return kErrNone;
    }
    std::string line = ReadIniString(kSpecial, "TITLEBAR");
    if (line.empty()) return kErrSkinTitlebar;
    *out = ParseRect(line, false);
    return kErrNone;
}

std::string CSkinFile::Comments() const {
    if (paths_.builtIn) return AppConstants::kDefaultSkinDescription;
    return ::ReadIniString(paths_.reference, "GENERAL", "COMMENTS", "No Comments");
}

bool CSkinFile::WriteSkinSize(int width, int height) const {
    if (paths_.builtIn) return false;
    return ::WritePrivateProfileStringA(kBackground, "WIDTH", std::to_string(width).c_str(), paths_.reference.c_str()) &&
           ::WritePrivateProfileStringA(kBackground, "HEIGHT", std::to_string(height).c_str(), paths_.reference.c_str());
}
