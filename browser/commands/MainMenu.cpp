#include "MainMenu.h"

#include "AppConstants.h"

#include "fw/handles.h"

namespace {

using namespace menuid;

struct Item {
    UINT id;  // 0: a separator
    const char* text;
};

// A new popup with the items; its handle goes with the menu it is appended to.
HMENU MakePopup(std::initializer_list<Item> items) {
    HMENU popup = ::CreatePopupMenu();
    if (!popup) return nullptr;
    for (const Item& item : items) {
        if (item.id == 0)
            ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(popup, MF_STRING, item.id, item.text);
    }
    return popup;
}

void AppendPopup(HMENU menu, HMENU popup, const char* text) {
    if (!popup) return;
    if (!::AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), text)) ::DestroyMenu(popup);
}

void Check(HMENU menu, UINT id, bool checked) {
    ::CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

HMENU MakeFilePopup() {
    HMENU file = MakePopup({});
    AppendPopup(file,
                MakePopup({{kNewWindow, "New &Window"}, {kNewMessage, "New &Message"}, {kNewContact, "New &Contact"}}),
                "&New");
    for (const Item& item : {Item{kOpen, "&Open"}, Item{kSaveAs, "Save &As"}, Item{kPageSetup, "Page Set&up"},
                             Item{kProperties, "P&roperties"}})
        ::AppendMenuA(file, MF_STRING, item.id, item.text);
    return file;
}

HMENU MakeSkinsPopup(const MainMenuState& state) {
    HMENU skins = MakePopup({{kSetDefaultSkin, "Set this as &Default Skin"},
                             {kResetSkinSize, "&Reset to Original Skin Size"},
                             {kMoreSkins, "&Download More Skins"},
                             {0, nullptr}});
    if (!skins) return nullptr;
    for (size_t i = 0; i < state.skins.size(); ++i) {
        const std::string name = SkinNameOf(state.skins[i]);
        const bool current = ::lstrcmpiA(name.c_str(), state.currentSkin.c_str()) == 0;
        ::AppendMenuA(skins, MF_STRING | (current ? MF_CHECKED : 0), kFirstSkin + static_cast<UINT>(i), name.c_str());
    }
    return skins;
}

HMENU MakeOptionsPopup(const MainMenuState& state) {
    const std::string product = AppConstants::kProductName;
    HMENU options = MakePopup({});
    if (!options) return nullptr;
    if (state.defaultBrowser)
        ::AppendMenuA(options, MF_STRING | MF_GRAYED, kMakeDefaultBrowser,
                      (product + " is the default browser").c_str());
    else
        ::AppendMenuA(options, MF_STRING, kMakeDefaultBrowser, ("&Set " + product + " as default browser").c_str());
    ::AppendMenuA(options, MF_STRING | (state.checkDefaultBrowser ? MF_CHECKED : 0), kCheckDefaultBrowser,
                  ("&Check to see if " + product + " is the default browser").c_str());
    return options;
}

}  // namespace

std::vector<std::string> ListSkinFolders(const std::string& programFolder) {
    std::vector<std::string> skins{AppConstants::kProductName};
    const std::string folder = programFolder + AppConstants::kSkinsFolder;
    WIN32_FIND_DATAA found{};
    fw::FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return skins;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        skins.push_back(folder + "\\" + name);
    } while (::FindNextFileA(find.get(), &found));
    return skins;
}

std::string SkinNameOf(const std::string& entry) {
    const size_t slash = entry.find_last_of('\\');
    return slash == std::string::npos ? entry : entry.substr(slash + 1);
}

fw::Menu BuildMainMenu(const MainMenuState& state) {
    fw::Menu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kMainMenuResource)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return fw::Menu();
    ::DeleteMenu(popup, kPlaceholder, MF_BYCOMMAND);

    AppendPopup(popup, MakeFilePopup(), "&File");
    AppendPopup(popup,
                MakePopup({{kCut, "Cu&t"},
                           {kCopy, "&Copy"},
                           {kPaste, "&Paste"},
                           {0, nullptr},
                           {kSelectAll, "Select &All"},
                           {kSource, "Sour&ce"},
                           {kFind, "&Find"}}),
                "&Edit");
    HMENU text = MakePopup({{kLargest, "Lar&gest"},
                            {kLarger, "&Larger"},
                            {kMedium, "&Medium"},
                            {kSmaller, "&Smaller"},
                            {kSmallest, "Sm&allest"}});
    AppendPopup(popup, text, "Te&xt Size");
    HMENU navigate = MakePopup(
        {{1035, "&Back"}, {1036, "&Forward"}, {1032, "&Home"}, {0, nullptr}, {1034, "Sto&p"}, {1033, "&Refresh"}});
    if (navigate) {
        if (!state.backEnabled) ::EnableMenuItem(navigate, 1035, MF_BYCOMMAND | MF_GRAYED);
        if (!state.forwardEnabled) ::EnableMenuItem(navigate, 1036, MF_BYCOMMAND | MF_GRAYED);
    }
    AppendPopup(popup, navigate, "&Navigate");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendPopup(popup, MakeSkinsPopup(state), "&Skins");
    AppendPopup(popup, MakeOptionsPopup(state), "Browser &Options");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendPopup(
        popup,
        MakePopup(
            {{kContents, "&Contents"}, {kQuickStart, "&Quick Start Guide"}, {0, nullptr}, {kAbout, "&About Vessa"}}),
        "&Help");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    for (const Item& item :
         {Item{kPrint, "&Print"}, Item{kWorkOffline, "&Work Offline"}, Item{kInternetOptions, "Internet &Options"},
          Item{kImportFavorites, "&Import IE Favorites"}, Item{0, nullptr}, Item{kClose, "&Close"}}) {
        if (item.id == 0)
            ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(popup, MF_STRING, item.id, item.text);
    }
    Check(popup, kWorkOffline, state.offline);
    if (text && state.textSizeIndex >= 0 && state.textSizeIndex <= 4)
        Check(text, kLargest + static_cast<UINT>(4 - state.textSizeIndex), true);
    return menu;
}
