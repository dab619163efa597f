#include "SkinFormat.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "SkinResources.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(SkinFormat, NextTokenCutsAtCommasAndTrimsOnlyTheRest) {
    struct Case {
        const char* line;
        const char* token;
        const char* rest;
    } cases[] = {
        {"a,b,c", "a", "b,c"},
        {"a", "a", "a"},  // no comma: the line stays, so the last token repeats
        {"", "", ""},
        {"BUTTON_BACK ,1", "BUTTON_BACK ", "1"},  // blanks before a comma stay in the token
        {"x,  \t y , ", "x", "y ,"},
        {",b", "", "b"},
        {"a,", "a", ""},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(NextToken(line), c.token) << c.line;
        EXPECT_EQ(line, c.rest) << c.line;
    }
    std::string longLine = std::string(300, 'x') + ",y";
    EXPECT_EQ(NextToken(longLine), std::string(255, 'x'));
    EXPECT_EQ(longLine, "y");
}

TEST(SkinFormat, NumbersReadLikeAtoiButSaturate) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"12", 12},       {"12ab", 12},       {"-7", -7},          {"+3", 3},      {" 5", 5},
        {"abc", 0},       {"", 0},            {"2147483647", INT_MAX}, {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(TokenToInt(c.text), c.value) << c.text;
}

TEST(SkinFormat, RectanglesClampAndStayInWindowRange) {
    struct Case {
        const char* line;
        bool clamp;
        const char* rect;
    } cases[] = {
        {"10,20,30,40", true, "10,20,40,60"},
        {"5,5,0,0", true, "5,5,5,5"},
        {"-3,-3,0,0", true, "0,0,18,18"},
        {"-5,-5,10,10", true, "0,0,5,5"},  // right and bottom from the unclamped corner
        {"-10,-10,5,5", false, "-10,-10,-5,-5"},
        {"7", true, "7,7,14,14"},  // one token stands for all four
        {"1,2", false, "1,2,3,4"},
        {"abc,1,2,3", false, "0,1,2,4"},
        {"99999999999,0,99999999999,1", false, "32767,0,32767,1"},
        {"-99999999999,-99999999999,-99999999999,5", false, "-32768,-32768,-32768,-32763"},
        {"30000,30000,30000,30000", false, "30000,30000,32767,32767"},
        {"-99999999999,-1,5,99999999999", true, "0,0,18,32766"},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(Rect(ParseRect(line, c.clamp)), c.rect) << c.line << (c.clamp ? " clamped" : "");
    }
}

TEST(SkinFormat, ColoursTakeTheLowEightBitsOfEachComponent) {
    struct Case {
        const char* line;
        COLORREF colour;
    } cases[] = {
        {"255,0,0", RGB(255, 0, 0)},       {"1,2,3", RGB(1, 2, 3)},    {"256,0,300", RGB(0, 0, 44)},
        {"-1,0,0", RGB(255, 0, 0)},        {"", RGB(0, 0, 0)},         {"9", RGB(9, 9, 9)},
        {"99999999999,0,0", RGB(255, 0, 0)}, {" 10 , 20 , 30 ", RGB(10, 20, 30)},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(ParseColor(line), c.colour) << c.line;
    }
}

TEST(SkinFormat, ButtonLinesGiveNameRectangleTooltipPathsAndFlag) {
    const SkinButtonLine line = ParseButtonLine("BUTTON_back,10,20,30,40,Back,NULL,NULL,1", "C:\\P\\Skins\\Blue");
    EXPECT_EQ(line.name, "BUTTON_back");
    EXPECT_EQ(Rect(line.rect), "10,20,40,60");
    EXPECT_EQ(line.tooltip, "Back");
    EXPECT_EQ(line.bitmap1, "NULL");
    EXPECT_EQ(line.bitmap2, "NULL");
    EXPECT_EQ(line.flag, 1);
    const SkinControl* info = FindOrdinaryButton(line.name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->controlId, 1035);
    EXPECT_EQ(info->defaultBitmap, IDB_SKIN_BACK);

    const SkinButtonLine files = ParseButtonLine("BUTTON_STOP,1,2,3,4,Stop,stop.bmp,null,0", "C:\\S");
    EXPECT_EQ(files.bitmap1, "C:\\S\\stop.bmp");
    EXPECT_EQ(files.bitmap2, "NULL");
    EXPECT_EQ(files.flag, 0);

    EXPECT_EQ(FindOrdinaryButton("BUTTON_BACK "), nullptr);
    EXPECT_EQ(FindOrdinaryButton("BUTTON_FAVORITES"), nullptr);  // only its SPECIAL line drives it
    EXPECT_EQ(FindOrdinaryButton("button_skinlibrary")->controlId, 1037);
}

TEST(SkinFormat, ShortLinesRepeatTheirLastToken) {
    const SkinGoLine go = ParseGoLine("Go,go.bmp", "C:\\S");
    EXPECT_EQ(go.tooltip, "Go");
    EXPECT_EQ(go.bitmap1, "C:\\S\\go.bmp");
    EXPECT_EQ(go.bitmap2, "C:\\S\\go.bmp");

    const SkinButtonLine special = ParseSpecialButtonLine("5,5,0,0", "C:\\S");
    EXPECT_EQ(Rect(special.rect), "5,5,5,5");
    EXPECT_EQ(special.tooltip, "0");
}

TEST(SkinFormat, BuiltInSpecialLinesParseToTheirPlaces) {
    const std::string folder = "C:\\P\\Skins";
    const SkinButtonLine favorites = ParseSpecialButtonLine(AppConstants::kDefaultFavoritesLine, folder);
    EXPECT_EQ(Rect(favorites.rect), "136,506,161,528");
    EXPECT_EQ(favorites.tooltip, "Favorites");
    const SkinAnimatorLine animator = ParseAnimatorLine(AppConstants::kDefaultAnimatorLine, folder);
    EXPECT_EQ(Rect(animator.rect), "239,459,550,503");
    EXPECT_EQ(animator.bitmap, "NULL");
    EXPECT_EQ(animator.frames, 7);
    EXPECT_EQ(animator.framesPerSecond, 7);
    EXPECT_EQ(animator.flag, 1);
    const SkinGoLine go = ParseGoLine(AppConstants::kDefaultGoLine, folder);
    EXPECT_EQ(go.tooltip, "Go");
    EXPECT_EQ(go.bitmap1, "NULL");
}

TEST(SkinFormat, SpecialButtonTableOrderAndCodes) {
    const char* keys[] = {"FAVORITES", "MENU", "MINIMIZE", "CLOSE", "ANIMATOR", "GO"};
    const int codes[] = {kErrSkinFavoritesButton, kErrSkinMenuButton, kErrSkinMinimizeButton,
                         kErrSkinCloseButton,     kErrSkinAnimator,   kErrSkinGoButton};
    for (size_t i = 0; i < kSpecialButtonCount; ++i) {
        const SkinControl& info = GetSpecialButtonInfo(static_cast<SpecialButton>(i));
        EXPECT_STREQ(info.specialKey, keys[i]);
        EXPECT_EQ(std::string(info.name), std::string("BUTTON_") + keys[i]);
        EXPECT_EQ(info.missingCode, codes[i]);
        EXPECT_EQ(info.missingCode, 60 - static_cast<int>(i));
    }
    EXPECT_EQ(GetSpecialButtonInfo(SpecialButton::kAnimator).defaultBitmap, IDB_SKIN_ANIMATOR);
    EXPECT_EQ(GetSpecialButtonInfo(SpecialButton::kGo).controlId, 1008);
}

}  // namespace

namespace {

// The names a skin may use, with the control each drives and its default picture.
TEST(SkinFormat, ButtonTableTiesNamesToControlsAndPictures) {
    struct Row {
        const char* name;
        int controlId;
        int bitmap;
    } ordinary[] = {
        {"BUTTON_BACK", 1035, 140},       {"BUTTON_FORWARD", 1036, 141},     {"BUTTON_STOP", 1034, 142},
        {"BUTTON_REFRESH", 1033, 144},    {"BUTTON_HOME", 1032, 143},        {"BUTTON_CUT", 1031, 147},
        {"BUTTON_COPY", 1030, 147},       {"BUTTON_PASTE", 1029, 147},       {"BUTTON_PRINT", 1027, 146},
        {"BUTTON_EDITSOURCE", 1026, 191}, {"BUTTON_WORKOFFLINE", 1025, 192}, {"BUTTON_INVOKEMANAGER", 1038, 190},
        {"BUTTON_SKINLIBRARY", 1037, 147},
    };
    for (const Row& r : ordinary) {
        const SkinControl* c = FindOrdinaryButton(r.name);
        ASSERT_NE(c, nullptr) << r.name;
        EXPECT_EQ(c->controlId, r.controlId) << r.name;
        EXPECT_EQ(c->defaultBitmap, r.bitmap) << r.name;
        EXPECT_EQ(FindSkinControl(r.controlId), c) << r.name;
    }
    EXPECT_EQ(kOrdinaryButtonCount, std::size(ordinary));
    const Row special[] = {{"FAVORITES", 1028, 145}, {"MENU", 1004, 150},     {"MINIMIZE", 1017, 149},
                           {"CLOSE", 1014, 148},     {"ANIMATOR", 1051, 182}, {"GO", 1008, 151}};
    for (size_t i = 0; i < std::size(special); ++i) {
        const SkinControl& c = GetSpecialButtonInfo(static_cast<SpecialButton>(i));
        EXPECT_STREQ(c.specialKey, special[i].name);
        EXPECT_EQ(c.controlId, special[i].controlId) << special[i].name;
        EXPECT_EQ(c.defaultBitmap, special[i].bitmap) << special[i].name;
        EXPECT_EQ(FindOrdinaryButton(c.name), nullptr) << "a special line alone drives " << c.name;
    }
    // The layout places every button but GO; MENU and SKINLIBRARY keep out of palette repaints.
    EXPECT_FALSE(FindSkinControl(1008)->laidOut);
    EXPECT_EQ(CountSkinControls(IsLaidOutSkinButton), kSkinControls.size() - 1);
    EXPECT_FALSE(FindSkinControl(1004)->paletteRepaint);
    EXPECT_FALSE(FindSkinControl(1037)->paletteRepaint);
    EXPECT_EQ(CountSkinControls(IsPaletteSkinButton), kSkinControls.size() - 2);
}

}  // namespace

namespace {

TEST(SkinFormat, BitmapNamesStayInsideTheSkinFolder) {
    const std::string folder = "C:\\P\\Skins\\Blue";
    for (const char* name : {"back.bmp", "sub\\back.bmp", "sub/back.bmp", "x..y.bmp", ".hidden.bmp", "a b.bmp"}) {
        EXPECT_TRUE(IsSafeSkinBitmapName(name)) << name;
        EXPECT_EQ(SkinBitmapPath(name, folder), folder + "\\" + name) << name;
    }
    for (const char* name : {"..\\x.bmp", "../x.bmp", "a\\..\\..\\x.bmp", "..", "...\\x.bmp", ". .\\x.bmp",
                             ".. \\x.bmp", "C:\\x.bmp", "C:x.bmp", "\\x.bmp", "/x.bmp", "\\\\host\\share\\x.bmp",
                             "x.bmp:stream", ""}) {
        EXPECT_FALSE(IsSafeSkinBitmapName(name)) << name;
        EXPECT_EQ(SkinBitmapPath(name, folder), kRefusedSkinBitmap) << name;
    }
    EXPECT_EQ(SkinBitmapPath("null", folder), "NULL");
}

}  // namespace
