// The Data.ini line format of a skin: tokens, rectangles, colours, the lines
// of buttons, animator and GO, and the look-ups into the table of buttons.
#pragma once

#include "ErrorCodes.h"

#include "SkinControls.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// Coordinates of a skin stay within what a window position can hold, so no
// sum of two of them overflows and no control lands where X cannot put it.
inline constexpr int kSkinCoordMin = -32768;
inline constexpr int kSkinCoordMax = 32767;

// A token keeps at most this many characters.
inline constexpr size_t kSkinTokenMax = 255;

// Cuts the next comma-separated token from the front of line. A line without
// a comma yields itself and stays as it is, so missing tokens repeat the last.
std::string NextToken(std::string& line);

// The token as a number: optional sign and leading digits, saturated.
int TokenToInt(std::string_view token);

// Four tokens x, y, w, h as left, top, right, bottom. With clamp, a negative
// left or top becomes 0 and a right or bottom of 0 or less becomes 18.
RECT ParseRect(std::string& line, bool clamp);

// Three tokens r, g, b, each taken as its low 8 bits.
COLORREF ParseColor(std::string& line);

// "NULL" in any case: the button's default picture.
bool IsNullBitmap(std::string_view token);

// A bitmap name that stays inside the skin's folder: not absolute, no drive
// or stream colon, and no ".." part, so no skin can make a program read
// outside Skins.
bool IsSafeSkinBitmapName(std::string_view name);

// What SkinBitmapPath gives for an unsafe name. The loaders open no file for
// it, so it counts as a missing file.
inline constexpr char kRefusedSkinBitmap[] = "|refused|";
bool IsRefusedSkinBitmap(std::string_view path);

// A bitmap token as a path: "NULL" stays "NULL", a safe name is taken
// relative to the skin folder, any other is kRefusedSkinBitmap.
std::string SkinBitmapPath(const std::string& token, const std::string& skinFolder);

// An ordinary line (name, x, y, w, h, tooltip, bitmap 1, bitmap 2, flag) or a
// FAVORITES/MENU/MINIMIZE/CLOSE line (the same without the name).
struct SkinButtonLine {
    std::string name;
    RECT rect{};
    std::string tooltip;
    std::string bitmap1;  // full path or "NULL"
    std::string bitmap2;  // full path or "NULL"
    int flag = 0;         // 1: scaled by the layout, else only moved
};

struct SkinAnimatorLine {
    RECT rect{};
    std::string bitmap;  // full path or "NULL"
    int frames = 0;
    int framesPerSecond = 0;
    int flag = 0;
};

struct SkinGoLine {
    std::string tooltip;
    std::string bitmap1;
    std::string bitmap2;
};

SkinButtonLine ParseButtonLine(std::string line, const std::string& skinFolder);
SkinButtonLine ParseSpecialButtonLine(std::string line, const std::string& skinFolder);
SkinAnimatorLine ParseAnimatorLine(std::string line, const std::string& skinFolder);
SkinGoLine ParseGoLine(std::string line, const std::string& skinFolder);

// The ordinary button of a BUTTONINFO name (compared without regard to
// case), or null: its row of kSkinControls.
const SkinControl* FindOrdinaryButton(std::string_view name);

// The row of a SPECIAL line.
const SkinControl& GetSpecialButtonInfo(SpecialButton which);
