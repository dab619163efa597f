// The one table of the skin's buttons: the name a skin gives each, the control
// it drives, its default picture, and how the window treats it. Every other
// list of buttons (ordinary names, special lines, layout order, palette
// repaints) is derived from it.
#pragma once

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "SkinControlIds.h"
#include "SkinResources.h"

#include <array>
#include <cstddef>

// The six lines of the SPECIAL section, in the order they are read; kNone
// marks an ordinary (BUTTONINFO) button.
enum class SpecialButton : int { kFavorites, kMenu, kMinimize, kClose, kAnimator, kGo, kNone };
inline constexpr size_t kSpecialButtonCount = 6;

struct SkinControl {
    int controlId;
    const char* name;  // the BUTTONINFO name; for a special button "BUTTON_" + its key
    int defaultBitmap;
    SpecialButton special = SpecialButton::kNone;
    const char* specialKey = nullptr;   // key in SPECIAL
    ErrorCode missingCode = kErrNone;   // result when the SPECIAL line is missing or empty
    const char* builtInLine = nullptr;  // the built-in skin's SPECIAL line
    bool laidOut = true;                // placed by proportion; GO sits at the end of the address row
    bool paletteRepaint = true;         // repainted on palette changes: MENU realises its own, SKINLIBRARY is left alone
};

// Every skin button, in the layout's order.
inline constexpr std::array<SkinControl, 19> kSkinControls = {{
    {IDC_MENU, "BUTTON_MENU", IDB_SKIN_MENU, SpecialButton::kMenu, "MENU", kErrSkinMenuButton,
     AppConstants::kDefaultMenuLine, true, false},
    {IDC_MINIMIZE, "BUTTON_MINIMIZE", IDB_SKIN_MINIMIZE, SpecialButton::kMinimize, "MINIMIZE", kErrSkinMinimizeButton,
     AppConstants::kDefaultMinimizeLine},
    {IDC_CLOSE, "BUTTON_CLOSE", IDB_SKIN_CLOSE, SpecialButton::kClose, "CLOSE", kErrSkinCloseButton,
     AppConstants::kDefaultCloseLine},
    {IDC_ANIMATOR, "BUTTON_ANIMATOR", IDB_SKIN_ANIMATOR, SpecialButton::kAnimator, "ANIMATOR", kErrSkinAnimator,
     AppConstants::kDefaultAnimatorLine},
    {IDC_BACK, "BUTTON_BACK", IDB_SKIN_BACK},
    {IDC_FORWARD, "BUTTON_FORWARD", IDB_SKIN_FORWARD},
    {IDC_STOP, "BUTTON_STOP", IDB_SKIN_STOP},
    {IDC_REFRESH, "BUTTON_REFRESH", IDB_SKIN_REFRESH},
    {IDC_HOME, "BUTTON_HOME", IDB_SKIN_HOME},
    {IDC_CUT, "BUTTON_CUT", IDB_SKIN_GENERIC},
    {IDC_COPY, "BUTTON_COPY", IDB_SKIN_GENERIC},
    {IDC_PASTE, "BUTTON_PASTE", IDB_SKIN_GENERIC},
    {IDC_FAVORITES, "BUTTON_FAVORITES", IDB_SKIN_FAVORITES, SpecialButton::kFavorites, "FAVORITES",
     kErrSkinFavoritesButton, AppConstants::kDefaultFavoritesLine},
    {IDC_PRINT, "BUTTON_PRINT", IDB_SKIN_PRINT},
    {IDC_EDITSOURCE, "BUTTON_EDITSOURCE", IDB_SKIN_EDITSOURCE},
    {IDC_WORKOFFLINE, "BUTTON_WORKOFFLINE", IDB_SKIN_WORKOFFLINE},
    {IDC_INVOKEMANAGER, "BUTTON_INVOKEMANAGER", IDB_SKIN_MANAGER},
    {IDC_SKINLIBRARY, "BUTTON_SKINLIBRARY", IDB_SKIN_GENERIC, SpecialButton::kNone, nullptr, kErrNone, nullptr, true,
     false},
    {IDC_GO, "BUTTON_GO", IDB_SKIN_GO, SpecialButton::kGo, "GO", kErrSkinGoButton, AppConstants::kDefaultGoLine, false},
}};

// The row of a control id, or null.
constexpr const SkinControl* FindSkinControl(int controlId) {
    for (const SkinControl& c : kSkinControls)
        if (c.controlId == controlId) return &c;
    return nullptr;
}

// The index of a control id in kSkinControls, or kSkinControls.size().
constexpr size_t SkinControlIndex(int controlId) {
    for (size_t i = 0; i < kSkinControls.size(); ++i)
        if (kSkinControls[i].controlId == controlId) return i;
    return kSkinControls.size();
}

constexpr size_t CountSkinControls(bool (*pick)(const SkinControl&)) {
    size_t n = 0;
    for (const SkinControl& c : kSkinControls) n += pick(c) ? 1 : 0;
    return n;
}

// The control ids of the rows pick accepts, in the table's order.
template <size_t N>
constexpr std::array<int, N> SkinControlIds(bool (*pick)(const SkinControl&)) {
    std::array<int, N> ids{};
    size_t n = 0;
    for (const SkinControl& c : kSkinControls)
        if (pick(c) && n < N) ids[n++] = c.controlId;
    return ids;
}

constexpr bool IsOrdinarySkinButton(const SkinControl& c) { return c.special == SpecialButton::kNone; }
constexpr bool IsLaidOutSkinButton(const SkinControl& c) { return c.laidOut; }
constexpr bool IsPaletteSkinButton(const SkinControl& c) { return c.paletteRepaint; }

inline constexpr size_t kOrdinaryButtonCount = CountSkinControls(IsOrdinarySkinButton);
static_assert(kOrdinaryButtonCount + kSpecialButtonCount == kSkinControls.size());
static_assert(CountSkinControls([](const SkinControl& c) { return c.special == SpecialButton::kGo; }) == 1);
