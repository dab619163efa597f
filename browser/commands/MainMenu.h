// The main menu the MENU button opens, built afresh for every press from
// the state of that moment, and the ids of its commands.
#pragma once

#include "fw/handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace menuid {
inline constexpr UINT kNewWindow = 31000, kNewMessage = 31001, kNewContact = 31002, kSaveAs = 31003, kOpen = 31004,
                      kPageSetup = 31005, kImportFavorites = 31006, kProperties = 31007, kCut = 31008, kCopy = 31009,
                      kPaste = 31010, kSelectAll = 31011, kSource = 31012, kFind = 31013, kLargest = 31014,
                      kLarger = 31015, kMedium = 31016, kSmaller = 31017, kSmallest = 31018, kPrint = 31026,
                      kWorkOffline = 31027, kInternetOptions = 31028, kClose = 31029, kContents = 31030,
                      kQuickStart = 31031, kPlaceholder = 31032, kSetDefaultSkin = 31035, kMakeDefaultBrowser = 31036,
                      kCheckDefaultBrowser = 31037, kAbout = 31040, kMoreSkins = 31041, kResetSkinSize = 31042;
// Skin item i of the skin list.
inline constexpr UINT kFirstSkin = 50000;
}  // namespace menuid

// The menu resource whose first popup the main menu fills.
inline constexpr UINT kMainMenuResource = 135;

struct MainMenuState {
    bool backEnabled = false;
    bool forwardEnabled = false;
    bool offline = false;
    int textSizeIndex = 2;  // 4 largest .. 0 smallest; another value marks none
    bool defaultBrowser = false;
    bool checkDefaultBrowser = true;
    std::vector<std::string> skins;  // the skin list: "Vessa", then the skin folders
    std::string currentSkin;
};

// The skin list: "Vessa", then every folder directly inside the program
// folder's Skins folder (full paths), in the order the system lists them.
std::vector<std::string> ListSkinFolders(const std::string& programFolder);

// The skin name of a skin list entry: the text after its last backslash.
std::string SkinNameOf(const std::string& entry);

// The loaded menu resource with every popup and item in its first popup;
// null when the resource is missing. Destroying it destroys them all.
fw::Menu BuildMainMenu(const MainMenuState& state);
