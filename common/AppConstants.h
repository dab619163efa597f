// Names shared by both programs: files, folders, extensions, registry root,
// and the built-in skin's default lines and placement records.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

namespace AppConstants {

inline constexpr char kErrLogFile[] = "Err.log";
inline constexpr char kBrowserExe[] = "Vessa.exe";
inline constexpr char kProductName[] = "Vessa";
inline constexpr char kSkinsFolder[] = "\\Skins";
inline constexpr char kAssociationIcon[] = "Vessa.ico,0";
inline constexpr char kSkinDataFile[] = "\\Data.ini";
inline constexpr char kDefaultSkin[] = "vessa";
inline constexpr char kDefaultSkinDescription[] = "This is the Default Skin.";
inline constexpr char kManagerTitle[] = "Vessa Manager";
inline constexpr char kRegistryRoot[] = "SOFTWARE\\Corvane Global\\Vessa";
inline constexpr char kManagerExe[] = "VessaMgr.exe";
// The box when a launch finds no browser beside the program.
inline constexpr char kBrowserMissingText[] =
    "Failed to open Vessa.exe. Please ensure that Vessa.exe is located in the same directory as this Vessa "
    "Manager program";
inline constexpr char kLinkExt[] = "vsl";
inline constexpr char kGroupExt[] = "vsg";
inline constexpr char kTemplateExt[] = "vst";
inline constexpr char kLinksSub[] = "\\Links";
inline constexpr char kGroupsSub[] = "\\Groups";
inline constexpr char kLinks[] = "Links";
inline constexpr char kGroups[] = "Groups";
inline constexpr char kTemplates[] = "Templates";
inline constexpr char kDefaultTemplateTitle[] = "Default Template";
inline constexpr char kDefaultTemplateFile[] = "Default.vst";
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kSkinsPage[] = "http://www.corvaneglobal.com/vessa/skins.html";
inline constexpr char kHomePage[] = "http://www.corvaneglobal.com";
inline constexpr char kSupportMail[] = "support@corvaneglobal.com";

// The built-in skin's BUTTONS lines.
inline constexpr std::array<const char*, 9> kDefaultButtonLines = {
    "BUTTON_PRINT,53,506,23,22,Print,NULL,NULL,1",
    "BUTTON_HOME,93,506,27,22,Home,NULL,NULL,1",
    "BUTTON_STOP,286,536,26,21,Stop,NULL,NULL,1",
    "BUTTON_BACK,326,536,26,21,Back,NULL,NULL,1",
    "BUTTON_FORWARD,423,536,24,21,Forward,NULL,NULL,1",
    "BUTTON_REFRESH,466,536,27,21,Refresh,NULL,NULL,1",
    "BUTTON_EDITSOURCE,633,506,26,22,Edit Source,NULL,NULL,1",
    "BUTTON_INVOKEMANAGER,672,506,26,22,Vessa Manager,NULL,NULL,1",
    "BUTTON_WORKOFFLINE,718,506,18,22,Work Offline,NULL,NULL,1",
};

// The built-in skin's SPECIAL items.
inline constexpr char kDefaultFavoritesLine[] = "136,506,25,22,Favorites,NULL,NULL,1";
inline constexpr char kDefaultMenuLine[] = "758,55,18,18,Menu,NULL,NULL,1";
inline constexpr char kDefaultMinimizeLine[] = "758,3,18,18,Minimize,NULL,NULL,1";
inline constexpr char kDefaultCloseLine[] = "758,28,18,18,Close,NULL,NULL,1";
inline constexpr char kDefaultAnimatorLine[] = "239,459,311,44,NULL,7,7,1";
inline constexpr char kDefaultGoLine[] = "Go,NULL,NULL";

struct BannerAreaRecord {
    const char* name;
    uint32_t reserved;
    RECT area;
};

struct ViewerAreaRecord {
    const char* pageName;
    RECT area;
    uint32_t reserved[4];
};

inline constexpr BannerAreaRecord BannerArea = {"Vessa", 0, {0, 0, 468, 60}};
inline constexpr ViewerAreaRecord DefaultViewerArea = {"default1.html", {66, 18, 741, 434}, {0, 0, 0, 0}};

}  // namespace AppConstants
