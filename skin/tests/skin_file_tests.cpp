#include "SkinFile.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "fixture_skins.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TempProgramFolder;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

SkinPaths WriteSkin(const TempProgramFolder& program, const std::string& name, const std::string& ini) {
    program.MakeFolder("Skins\\" + name);
    program.WriteFile("Skins\\" + name + "\\Data.ini", ini);
    return MakeSkinPaths(program.Path(), name);
}

TEST(SkinPaths, BuiltInAndFolderSkins) {
    const SkinPaths builtIn = MakeSkinPaths("C:\\Apps", "VeSSa");
    EXPECT_TRUE(builtIn.builtIn);
    EXPECT_EQ(builtIn.name, "vessa");
    EXPECT_EQ(builtIn.reference, "vessa");
    EXPECT_EQ(builtIn.folder, "C:\\Apps\\Skins");

    const SkinPaths blue = MakeSkinPaths("C:\\Apps", "Blue Steel");
    EXPECT_FALSE(blue.builtIn);
    EXPECT_EQ(blue.name, "Blue Steel");
    EXPECT_EQ(blue.folder, "C:\\Apps\\Skins\\Blue Steel");
    EXPECT_EQ(blue.reference, "C:\\Apps\\Skins\\Blue Steel\\Data.ini");
}

TEST(SkinPaths, NamesThatCouldLeaveTheSkinsFolderAreTheBuiltInSkin) {
    for (const char* name : {"..", "..\\..\\Windows", "a\\..\\..\\b", "sub\\dir", "sub/dir", "C:", "C:\\Evil",
                             "\\\\server\\share", "x..y", ".", "", "a*", "new\nline"}) {
        EXPECT_FALSE(IsSafeSkinName(name)) << name;
        const SkinPaths paths = MakeSkinPaths("C:\\Apps", name);
        EXPECT_TRUE(paths.builtIn) << name;
        EXPECT_EQ(paths.reference, "vessa") << name;
        EXPECT_EQ(paths.name, "vessa") << name;
    }
    for (const char* name : {"Blue", "my skin", "skin.v2", "Ünïcode"}) EXPECT_TRUE(IsSafeSkinName(name)) << name;
}

TEST(SkinPaths, ATraversingNameReadsAndWritesNothingOutsideSkins) {
    TempProgramFolder program;
    program.MakeFolder("Evil");
    const std::string ini = "[BACKGROUND]\r\nWIDTH=10\r\nHEIGHT=10\r\n";
    program.WriteFile("Evil\\Data.ini", ini);
    const SkinPaths paths = MakeSkinPaths(program.Path(), "..\\Evil");
    const CSkinFile skin(paths);
    RECT size;
    EXPECT_FALSE(skin.ReadSkinSize(&size));
    EXPECT_FALSE(skin.WriteSkinSize(640, 480));
    EXPECT_EQ(program.ReadFile("Evil\\Data.ini"), ini);
}

TEST(SkinFile, BuiltInSkinTakesItsConstants) {
    const CSkinFile skin(MakeSkinPaths("C:\\Apps", "VESSA"));
    ASSERT_TRUE(skin.IsBuiltIn());
    EXPECT_EQ(skin.TransparentColor(), RGB(255, 0, 0));
    RECT rect;
    EXPECT_FALSE(skin.ReadSkinSize(&rect));
    EXPECT_EQ(skin.ReadViewer(&rect), kErrNone);
    EXPECT_TRUE(SameRect(rect, RECT{66, 18, 741, 434}));
    EXPECT_EQ(skin.ReadTitleBar(&rect), kErrNone);
    EXPECT_TRUE(SameRect(rect, RECT{0, 0, 0, 0}));
    EXPECT_EQ(skin.ButtonLineCount(), 9);
    EXPECT_EQ(skin.ButtonLine(1), "BUTTON_PRINT,53,506,23,22,Print,NULL,NULL,1");
    EXPECT_EQ(skin.ButtonLine(9), "BUTTON_WORKOFFLINE,718,506,18,22,Work Offline,NULL,NULL,1");
    EXPECT_EQ(skin.ButtonLine(10), "");
    EXPECT_EQ(skin.SpecialLine(SpecialButton::kMenu), "758,55,18,18,Menu,NULL,NULL,1");
    EXPECT_EQ(skin.SpecialLine(SpecialButton::kGo), "Go,NULL,NULL");
    EXPECT_FALSE(skin.WriteSkinSize(800, 600));
}

TEST(SkinFile, TheFixtureFolderReproducesTheBuiltInSkin) {
    TempProgramFolder program;
    const CSkinFile folder(skintest::InstallFixtureSkin(program, "vessa-folder", "Copy"));
    const CSkinFile builtIn(MakeSkinPaths(program.Path(), "vessa"));
    ASSERT_FALSE(folder.IsBuiltIn());
    EXPECT_EQ(folder.BackgroundBitmap(), "background.bmp");
    EXPECT_EQ(folder.TransparentColor(), builtIn.TransparentColor());
    for (size_t i = 0; i < kSpecialButtonCount; ++i) {
        const auto which = static_cast<SpecialButton>(i);
        EXPECT_EQ(folder.SpecialLine(which), builtIn.SpecialLine(which)) << i;
    }
    ASSERT_EQ(folder.ButtonLineCount(), builtIn.ButtonLineCount());
    for (int i = 1; i <= builtIn.ButtonLineCount(); ++i) EXPECT_EQ(folder.ButtonLine(i), builtIn.ButtonLine(i)) << i;
    RECT a, b;
    EXPECT_EQ(folder.ReadViewer(&a), kErrNone);
    builtIn.ReadViewer(&b);
    EXPECT_TRUE(SameRect(a, b));
    EXPECT_EQ(folder.ReadTitleBar(&a), kErrNone);
    builtIn.ReadTitleBar(&b);
    EXPECT_TRUE(SameRect(a, b));
}

TEST(SkinFile, BrokenFixturesGiveTheirCodes) {
    TempProgramFolder program;
    const CSkinFile noClose(skintest::InstallFixtureSkin(program, "no-close", "NoClose"));
    EXPECT_EQ(noClose.SpecialLine(SpecialButton::kClose), "");
    EXPECT_EQ(GetSpecialButtonInfo(SpecialButton::kClose).missingCode, kErrSkinCloseButton);
    EXPECT_NE(noClose.SpecialLine(SpecialButton::kMinimize), "");

    RECT rect;
    const CSkinFile narrow(skintest::InstallFixtureSkin(program, "narrow-viewer", "Narrow"));
    EXPECT_EQ(narrow.ReadViewer(&rect), kErrSkinViewer);

    const CSkinFile huge(skintest::InstallFixtureSkin(program, "huge-count", "Huge"));
    EXPECT_EQ(huge.ButtonLineCount(), kMaxSkinButtonLines);
    EXPECT_EQ(huge.ReadTitleBar(&rect), kErrSkinTitlebar);
    EXPECT_EQ(huge.ReadViewer(&rect), kErrSkinViewer);

    const CSkinFile odd(skintest::InstallFixtureSkin(program, "odd-numbers", "Odd"));
    EXPECT_EQ(odd.TransparentColor(), RGB(0, 0, 44));
    EXPECT_FALSE(odd.ReadSkinSize(&rect));
    EXPECT_EQ(odd.ButtonLineCount(), 0);
    EXPECT_EQ(odd.ReadTitleBar(&rect), kErrNone);
    EXPECT_TRUE(SameRect(rect, RECT{kSkinCoordMin, -10, kSkinCoordMin + 5, kSkinCoordMax - 10}));
    EXPECT_EQ(odd.ReadViewer(&rect), kErrNone);
    EXPECT_TRUE(SameRect(rect, RECT{0, 0, kSkinCoordMax - 5, 5}));
}

TEST(SkinFile, ViewerWidthAndMissingPlacements) {
    TempProgramFolder program;
    struct Case {
        const char* viewer;
        int code;
    } cases[] = {{"0,0,469,300", kErrSkinViewer}, {"0,0,470,300", kErrNone}, {"", kErrSkinViewer},
                 {"-100,0,560,300", kErrSkinViewer},  // clamped to 0, 0, 460, 300 first
                 {"-100,0,570,300", kErrNone}};
    for (const auto& c : cases) {
        const CSkinFile skin(WriteSkin(program, "S", std::string("[WEB]\r\nVIEWER=") + c.viewer + "\r\n"));
        RECT rect{};
        EXPECT_EQ(skin.ReadViewer(&rect), c.code) << c.viewer;
    }
    const CSkinFile skin(WriteSkin(program, "T", "[SPECIAL]\r\nTITLEBAR=-10,-10,5,5\r\n"));
    RECT rect{};
    ASSERT_EQ(skin.ReadTitleBar(&rect), kErrNone);
    EXPECT_TRUE(SameRect(rect, RECT{-10, -10, -5, -5}));
}

TEST(SkinFile, SkinSizeNeedsBothSidesWithinRange) {
    TempProgramFolder program;
    struct Case {
        const char* width;
        const char* height;
        bool given;
    } cases[] = {{"800", "600", true},    {"800", "", false},    {"", "600", false},   {"0", "600", false},
                 {"1", "1", true},        {"16384", "16384", true}, {"16385", "600", false}, {"800", "-600", false},
                 {"abc", "600", false},   {"99999999999", "600", false}};
    for (const auto& c : cases) {
        std::string ini = "[BACKGROUND]\r\n";
        if (*c.width) ini += std::string("WIDTH=") + c.width + "\r\n";
        if (*c.height) ini += std::string("HEIGHT=") + c.height + "\r\n";
        const CSkinFile skin(WriteSkin(program, "S", ini));
        RECT rect{1, 1, 1, 1};
        EXPECT_EQ(skin.ReadSkinSize(&rect), c.given) << c.width << " x " << c.height;
        if (c.given) {
            EXPECT_TRUE(SameRect(rect, RECT{0, 0, atoi(c.width), atoi(c.height)}));
        } else {
            EXPECT_TRUE(SameRect(rect, RECT{0, 0, 0, 0}));
        }
    }
}

TEST(SkinFile, ButtonLinesSkipMissingKeys) {
    TempProgramFolder program;
    const CSkinFile skin(WriteSkin(program, "S",
                                   "[BUTTONS]\r\nNUMBEROFBUTTONS=3\r\n[BUTTONINFO]\r\n"
                                   "1=BUTTON_BACK,1,1,1,1,Back,NULL,NULL,1\r\n3=BUTTON_HOME,2,2,2,2,Home,NULL,NULL,1\r\n"));
    ASSERT_EQ(skin.ButtonLineCount(), 3);
    EXPECT_NE(skin.ButtonLine(1), "");
    EXPECT_EQ(skin.ButtonLine(2), "");
    EXPECT_NE(skin.ButtonLine(3), "");
    EXPECT_EQ(CSkinFile(WriteSkin(program, "E", "[BUTTONS]\r\n")).ButtonLineCount(), 0);
}

TEST(SkinFile, LongValuesAreCutAndMissingFilesReadEmpty) {
    TempProgramFolder program;
    const std::string longValue(3000, 'a');
    const CSkinFile skin(WriteSkin(program, "S", "[SPECIAL]\r\nGO=" + longValue + "\r\n"));
    EXPECT_EQ(skin.SpecialLine(SpecialButton::kGo), longValue.substr(0, 2047));

    const CSkinFile missing(MakeSkinPaths(program.Path(), "None"));
    EXPECT_EQ(missing.BackgroundBitmap(), "");
    EXPECT_EQ(missing.TransparentColor(), RGB(0, 0, 0));
    RECT rect;
    EXPECT_EQ(missing.ReadViewer(&rect), kErrSkinViewer);
}

TEST(SkinFile, SkinSizeIsWrittenBack) {
    TempProgramFolder program;
    const CSkinFile skin(skintest::InstallFixtureSkin(program, "vessa-folder", "Copy"));
    RECT rect;
    EXPECT_FALSE(skin.ReadSkinSize(&rect));
    ASSERT_TRUE(skin.WriteSkinSize(900, 650));
    ASSERT_TRUE(skin.ReadSkinSize(&rect));
    EXPECT_TRUE(SameRect(rect, RECT{0, 0, 900, 650}));
    EXPECT_EQ(skin.SpecialLine(SpecialButton::kClose), "758,28,18,18,Close,NULL,NULL,1");  // the rest is kept
}

TEST(SkinFile, CommentsDescribeTheSkin) {
    TempProgramFolder program;
    EXPECT_EQ(CSkinFile(MakeSkinPaths(program.Path(), "vessa")).Comments(), "This is the Default Skin.");
    EXPECT_EQ(CSkinFile(WriteSkin(program, "None", "[BACKGROUND]\r\n")).Comments(), "No Comments");
    EXPECT_EQ(CSkinFile(WriteSkin(program, "Empty", "[GENERAL]\r\nCOMMENTS=\r\n")).Comments(), "");
    EXPECT_EQ(CSkinFile(WriteSkin(program, "Told", "[GENERAL]\r\nCOMMENTS=Blue, with round corners\r\n")).Comments(),
              "Blue, with round corners");
}

}  // namespace
