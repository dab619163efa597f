// Reading a skin: the built-in skin "vessa" from constants, any other from
// the Data.ini file of its folder under the program folder's Skins folder.
#pragma once

#include "ErrorCodes.h"

#include "SkinFormat.h"

#include <windows.h>

#include <string>
#include <string_view>

// Every value is read into a buffer of this many characters (at most one less is kept).
inline constexpr DWORD kSkinValueBuffer = 2048;

// More BUTTONINFO lines than this are not read: a skin has thirteen ordinary
// buttons, and a huge count must not stall the start.
inline constexpr int kMaxSkinButtonLines = 256;

// WIDTH and HEIGHT outside this range count as empty.
inline constexpr int kMinSkinSide = 1;
inline constexpr int kMaxSkinSide = 16384;

// The value of a key, or def when it is missing; cut to one less than buffer characters.
std::string ReadIniString(const std::string& path, const char* section, const char* key, const char* def = "",
                          DWORD buffer = kSkinValueBuffer);

// The reference selects the built-in skin when it is "vessa" in any case.
bool IsBuiltInSkin(std::string_view reference);

// A skin name that names a folder directly inside Skins: not empty, no path
// separators, drive colons, wildcards or "..".
bool IsSafeSkinName(std::string_view name);

struct SkinPaths {
    std::string name;       // the skin in use: "vessa" for the built-in skin
    std::string reference;  // "vessa", or the skin's Data.ini path
    std::string folder;     // where its bitmap names are taken from
    bool builtIn = true;
};

// The paths of a skin name under programFolder. The built-in skin's folder is
// the Skins folder itself. A name that could reach outside Skins is treated as
// a missing skin: the built-in one.
SkinPaths MakeSkinPaths(const std::string& programFolder, const std::string& skinName);

// One resolved skin: what every reader of the browser and the manager takes.
// Whether it is the built-in skin is decided once, by MakeSkinPaths.
class CSkinFile {
public:
    explicit CSkinFile(SkinPaths paths);

    bool IsBuiltIn() const { return paths_.builtIn; }
    const SkinPaths& Paths() const { return paths_; }
    const std::string& Name() const { return paths_.name; }
    const std::string& Reference() const { return paths_.reference; }
    const std::string& Folder() const { return paths_.folder; }

    // A value of the settings file with the empty text as default; always
    // empty for the built-in skin.
    // buffer: the characters read at most, one less kept (the manager's miniatures read 1024).
    std::string ReadIniString(const char* section, const char* key, DWORD buffer = kSkinValueBuffer) const;

    // BACKGROUND BITMAP: the background file's name, relative to the skin folder.
    std::string BackgroundBitmap() const;

    // BACKGROUND TRANSPARENTCOLOR; pure red for the built-in skin, black when empty.
    COLORREF TransparentColor() const;

    // True with 0, 0, WIDTH, HEIGHT when both are given and each within
    // 1 to 16384; else false with an empty rectangle (and always for "vessa").
    bool ReadSkinSize(RECT* out) const;

    // The SPECIAL line of a special button: the built-in constant line or the
    // settings file's value; empty when missing.
    std::string SpecialLine(SpecialButton which) const;

    // The number of ordinary lines to read: 9 for the built-in skin, else
    // NUMBEROFBUTTONS bounded to 0 to kMaxSkinButtonLines.
    int ButtonLineCount() const;

    // Ordinary line number (from 1): the built-in line or BUTTONINFO "number".
    std::string ButtonLine(int number) const;

    // WEB VIEWER, clamped: 0, or 53 when it is missing or narrower than 470.
    ErrorCode ReadViewer(RECT* out) const;

    // SPECIAL TITLEBAR, not clamped: 0, or 54 when it is missing.
    ErrorCode ReadTitleBar(RECT* out) const;

    // GENERAL COMMENTS, the skin's description: "No Comments" when the key is
    // missing (an empty value stays empty), the built-in skin's own text for "vessa".
    std::string Comments() const;

    // Writes WIDTH and HEIGHT of BACKGROUND; nothing for the built-in skin.
    bool WriteSkinSize(int width, int height) const;

private:
    SkinPaths paths_;
};
