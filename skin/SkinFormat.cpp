#include "SkinFormat.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "SkinResources.h"
#include "StringUtil.h"

#include <algorithm>

namespace {

constexpr char kSpaces[] = " \t\r\n\v\f";

int ClampCoord(long long value) {
    return static_cast<int>(std::clamp<long long>(value, kSkinCoordMin, kSkinCoordMax));
}

}  // namespace

std::string NextToken(std::string& line) {
    const size_t comma = line.find(',');
    std::string token = line.substr(0, comma == std::string::npos ? line.size() : comma);
    if (token.size() > kSkinTokenMax) token.resize(kSkinTokenMax);
    if (comma != std::string::npos) line.erase(0, comma + 1);
    line.erase(0, std::min(line.find_first_not_of(kSpaces), line.size()));
    const size_t last = line.find_last_not_of(kSpaces);
    line.erase(last == std::string::npos ? 0 : last + 1);
    return token;
}

int TokenToInt(std::string_view token) { return StringToInt(token); }

RECT ParseRect(std::string& line, bool clamp) {
    const int x = ClampCoord(TokenToInt(NextToken(line)));
    const int y = ClampCoord(TokenToInt(NextToken(line)));
    const int w = ClampCoord(TokenToInt(NextToken(line)));
    const int h = ClampCoord(TokenToInt(NextToken(line)));
    // Right and bottom come from the unclamped left and top.
    RECT rect{x, y, ClampCoord(static_cast<long long>(x) + w), ClampCoord(static_cast<long long>(y) + h)};
    if (clamp) {
        if (rect.left < 0) rect.left = 0;
        if (rect.top < 0) rect.top = 0;
        if (rect.right <= 0) rect.right = 18;
        if (rect.bottom <= 0) rect.bottom = 18;
    }
    return rect;
}

COLORREF ParseColor(std::string& line) {
    const unsigned r = static_cast<unsigned>(TokenToInt(NextToken(line))) & 0xFF;
    const unsigned g = static_cast<unsigned>(TokenToInt(NextToken(line))) & 0xFF;
    const unsigned b = static_cast<unsigned>(TokenToInt(NextToken(line))) & 0xFF;
    return RGB(r, g, b);
}

bool IsNullBitmap(std::string_view token) { return EqualsNoCase(token, "NULL"); }

std::string SkinBitmapPath(const std::string& token, const std::string& skinFolder) {
    if (IsNullBitmap(token)) return "NULL";
    return skinFolder + "\\" + token;
}

SkinButtonLine ParseSpecialButtonLine(std::string line, const std::string& skinFolder) {
    SkinButtonLine out;
    out.rect = ParseRect(line, true);
    out.tooltip = NextToken(line);
    out.bitmap1 = SkinBitmapPath(NextToken(line), skinFolder);
    out.bitmap2 = SkinBitmapPath(NextToken(line), skinFolder);
    out.flag = TokenToInt(NextToken(line));
    return out;
}

SkinButtonLine ParseButtonLine(std::string line, const std::string& skinFolder) {
    std::string name = NextToken(line);
    SkinButtonLine out = ParseSpecialButtonLine(std::move(line), skinFolder);
    out.name = std::move(name);
    return out;
}

SkinAnimatorLine ParseAnimatorLine(std::string line, const std::string& skinFolder) {
    SkinAnimatorLine out;
    out.rect = ParseRect(line, true);
    out.bitmap = SkinBitmapPath(NextToken(line), skinFolder);
    out.frames = TokenToInt(NextToken(line));
    out.framesPerSecond = TokenToInt(NextToken(line));
    out.flag = TokenToInt(NextToken(line));
    return out;
}

SkinGoLine ParseGoLine(std::string line, const std::string& skinFolder) {
    SkinGoLine out;
    out.tooltip = NextToken(line);
    out.bitmap1 = SkinBitmapPath(NextToken(line), skinFolder);
    out.bitmap2 = SkinBitmapPath(NextToken(line), skinFolder);
    return out;
}

const SkinButtonInfo kOrdinaryButtons[kOrdinaryButtonCount] = {
    {"BUTTON_BACK", 1035, IDB_SKIN_BACK},
    {"BUTTON_FORWARD", 1036, IDB_SKIN_FORWARD},
    {"BUTTON_STOP", 1034, IDB_SKIN_STOP},
    {"BUTTON_REFRESH", 1033, IDB_SKIN_REFRESH},
    {"BUTTON_HOME", 1032, IDB_SKIN_HOME},
    {"BUTTON_CUT", 1031, IDB_SKIN_GENERIC},
    {"BUTTON_COPY", 1030, IDB_SKIN_GENERIC},
    {"BUTTON_PASTE", 1029, IDB_SKIN_GENERIC},
    {"BUTTON_PRINT", 1027, IDB_SKIN_PRINT},
    {"BUTTON_EDITSOURCE", 1026, IDB_SKIN_EDITSOURCE},
    {"BUTTON_WORKOFFLINE", 1025, IDB_SKIN_WORKOFFLINE},
    {"BUTTON_INVOKEMANAGER", 1038, IDB_SKIN_MANAGER},
    {"BUTTON_SKINLIBRARY", 1037, IDB_SKIN_GENERIC},
};

const SkinButtonInfo* FindOrdinaryButton(std::string_view name) {
    for (const auto& info : kOrdinaryButtons) {
        if (EqualsNoCase(name, info.name)) return &info;
    }
    return nullptr;
}

const SpecialButtonInfo kSpecialButtons[kSpecialButtonCount] = {
    {SpecialButton::kFavorites, "FAVORITES", "BUTTON_FAVORITES", 1028, IDB_SKIN_FAVORITES, kErrSkinFavoritesButton,
     AppConstants::kDefaultFavoritesLine},
    {SpecialButton::kMenu, "MENU", "BUTTON_MENU", 1004, IDB_SKIN_MENU, kErrSkinMenuButton,
     AppConstants::kDefaultMenuLine},
    {SpecialButton::kMinimize, "MINIMIZE", "BUTTON_MINIMIZE", 1017, IDB_SKIN_MINIMIZE, kErrSkinMinimizeButton,
     AppConstants::kDefaultMinimizeLine},
    {SpecialButton::kClose, "CLOSE", "BUTTON_CLOSE", 1014, IDB_SKIN_CLOSE, kErrSkinCloseButton,
     AppConstants::kDefaultCloseLine},
    {SpecialButton::kAnimator, "ANIMATOR", "BUTTON_ANIMATOR", 1051, IDB_SKIN_ANIMATOR, kErrSkinAnimator,
     AppConstants::kDefaultAnimatorLine},
    {SpecialButton::kGo, "GO", "BUTTON_GO", 1008, IDB_SKIN_GO, kErrSkinGoButton, AppConstants::kDefaultGoLine},
};

const SpecialButtonInfo& GetSpecialButtonInfo(SpecialButton which) {
    return kSpecialButtons[static_cast<size_t>(which)];
}
