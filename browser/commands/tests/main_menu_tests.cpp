// The main menu as built for a state: every popup and item, their grays and
// checks, and the skin list it is built from.
#include "commands_test_util.h"

#include "MainMenu.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <wininet.h>

namespace commandtest {
namespace {

using namespace menuid;

std::vector<std::string> Dump(const MainMenuState& state) {
    fw::Menu menu = BuildMainMenu(state);
    if (!menu) return {"<no menu>"};
    return DumpMenu(::GetSubMenu(menu.get(), 0));
}

TEST(MainMenu, HoldsEveryPopupAndItemInItsOrder) {
    MainMenuState state;
    state.skins = {"Vessa", "C:\\prog\\Skins\\Blue"};
    state.currentSkin = "vessa";
    const std::vector<std::string> expected = {
        "&File>",
        " &New>",
        "  New &Window 31000",
        "  New &Message 31001",
        "  New &Contact 31002",
        " &Open 31004",
        " Save &As 31003",
        " Page Set&up 31005",
        " P&roperties 31007",
        "&Edit>",
        " Cu&t 31008",
        " &Copy 31009",
        " &Paste 31010",
        " -",
        " Select &All 31011",
        " Sour&ce 31012",
        " &Find 31013",
        "Te&xt Size>",
        " Lar&gest 31014",
        " &Larger 31015",
        " &Medium 31016 [check]",
        " &Smaller 31017",
        " Sm&allest 31018",
        "&Navigate>",
        " &Back 1035 [gray]",
        " &Forward 1036 [gray]",
        " &Home 1032",
        " -",
        " Sto&p 1034",
        " &Refresh 1033",
        "-",
        "&Skins>",
        " Set this as &Default Skin 31035",
        " &Reset to Original Skin Size 31042",
        " &Download More Skins 31041",
        " -",
        " Vessa 50000 [check]",
        " Blue 50001",
        "Browser &Options>",
        " &Set Vessa as default browser 31036",
        " &Check to see if Vessa is the default browser 31037 [check]",
        "-",
        "&Help>",
        " &Contents 31030",
        " &Quick Start Guide 31031",
        " -",
        " &About Vessa 31040",
        "-",
        "&Print 31026",
        "&Work Offline 31027",
        "Internet &Options 31028",
        "&Import IE Favorites 31006",
        "-",
        "&Close 31029",
    };
    EXPECT_EQ(Dump(state), expected);
}

TEST(MainMenu, GraysAndChecksFollowTheState) {
    struct Case {
        const char* name;
        MainMenuState state;
        std::vector<std::pair<UINT, int>> items;  // id, MF_GRAYED | MF_CHECKED
    };
    auto with = [](auto change) {
        MainMenuState s;
        s.skins = {"Vessa", "C:\\p\\Skins\\Blue", "C:\\p\\Skins\\Red"};
        s.currentSkin = "vessa";
        change(s);
        return s;
    };
    const Case cases[] = {
        {"nothing possible",
         with([](MainMenuState&) {}),
         {{1035, MF_GRAYED},
          {1036, MF_GRAYED},
          {kWorkOffline, 0},
          {kMedium, MF_CHECKED},
          {kMakeDefaultBrowser, 0},
          {kCheckDefaultBrowser, MF_CHECKED}}},
        {"back only", with([](MainMenuState& s) { s.backEnabled = true; }), {{1035, 0}, {1036, MF_GRAYED}}},
        {"forward only", with([](MainMenuState& s) { s.forwardEnabled = true; }), {{1035, MF_GRAYED}, {1036, 0}}},
        {"offline", with([](MainMenuState& s) { s.offline = true; }), {{kWorkOffline, MF_CHECKED}}},
        {"largest",
         with([](MainMenuState& s) { s.textSizeIndex = 4; }),
         {{kLargest, MF_CHECKED}, {kMedium, 0}, {kSmallest, 0}}},
        {"smallest", with([](MainMenuState& s) { s.textSizeIndex = 0; }), {{kSmallest, MF_CHECKED}, {kLargest, 0}}},
        {"index out of range",
         with([](MainMenuState& s) { s.textSizeIndex = 7; }),
         {{kLargest, 0}, {kLarger, 0}, {kMedium, 0}, {kSmaller, 0}, {kSmallest, 0}}},
        {"negative index", with([](MainMenuState& s) { s.textSizeIndex = -1; }), {{kSmallest, 0}, {kLargest, 0}}},
        {"default browser",
         with([](MainMenuState& s) { s.defaultBrowser = true; }),
         {{kMakeDefaultBrowser, MF_GRAYED}}},
        {"no check", with([](MainMenuState& s) { s.checkDefaultBrowser = false; }), {{kCheckDefaultBrowser, 0}}},
        {"skin in another case",
         with([](MainMenuState& s) { s.currentSkin = "RED"; }),
         {{kFirstSkin, 0}, {kFirstSkin + 1, 0}, {kFirstSkin + 2, MF_CHECKED}}},
        {"built-in skin",
         with([](MainMenuState&) {}),
         {{kFirstSkin, MF_CHECKED}, {kFirstSkin + 1, 0}, {kFirstSkin + 2, 0}, {kFirstSkin + 3, -1}}},
    };
    for (const Case& c : cases) {
        fw::Menu menu = BuildMainMenu(c.state);
        ASSERT_TRUE(menu) << c.name;
        for (const auto& [id, state] : c.items) EXPECT_EQ(ItemState(menu.get(), id), state) << c.name << " " << id;
    }
}

TEST(MainMenu, DefaultBrowserItemSaysSoWhenItIs) {
    MainMenuState state;
    state.defaultBrowser = true;
    state.skins = {"Vessa"};
    fw::Menu menu = BuildMainMenu(state);
    ASSERT_TRUE(menu);
    const std::vector<std::string> expected = {
        "Vessa is the default browser 31036 [gray]",
        "&Check to see if Vessa is the default browser 31037 [check]",
    };
    EXPECT_EQ(DumpPopup(::GetSubMenu(menu.get(), 0), "Browser &Options"), expected);
}

TEST(MainMenu, DestroyingTheMenuDestroysEveryPopup) {
    MainMenuState state;
    state.skins = {"Vessa"};
    fw::Menu menu = BuildMainMenu(state);
    ASSERT_TRUE(menu);
    std::vector<HMENU> popups;
    std::vector<HMENU> pending{::GetSubMenu(menu.get(), 0)};
    while (!pending.empty()) {
        HMENU m = pending.back();
        pending.pop_back();
        popups.push_back(m);
        for (int i = 0; i < ::GetMenuItemCount(m); ++i)
            if (HMENU sub = ::GetSubMenu(m, i)) pending.push_back(sub);
    }
    EXPECT_EQ(popups.size(), 9u) << "the first popup, File with New, Edit, Text Size, Navigate, Skins, Options, Help";
    menu.reset();
    for (HMENU m : popups) EXPECT_FALSE(::IsMenu(m));
}

TEST(SkinList, HoldsVessaThenTheFoldersDirectlyInSkins) {
    testsupport::TempProgramFolder dir;
    EXPECT_EQ(ListSkinFolders(dir.Path()), std::vector<std::string>{"Vessa"}) << "no Skins folder";
    dir.MakeFolder("Skins");
    EXPECT_EQ(ListSkinFolders(dir.Path()), std::vector<std::string>{"Vessa"}) << "an empty Skins folder";
    dir.MakeFolder("Skins\\Blue");
    dir.MakeFolder("Skins\\Blue\\Nested");
    dir.MakeFolder("Skins\\Red");
    dir.WriteFile("Skins\\Green", "a file, not a skin");
    const std::vector<std::string> expected = {"Vessa", dir / "Skins\\Blue", dir / "Skins\\Red"};
    EXPECT_EQ(ListSkinFolders(dir.Path()), expected) << "a nested folder is no skin of its own";
}

TEST(SkinList, ItemNamesAreTheTextAfterTheLastBackslash) {
    EXPECT_EQ(SkinNameOf("Vessa"), "Vessa");
    EXPECT_EQ(SkinNameOf("C:\\p\\Skins\\Blue"), "Blue");
    EXPECT_EQ(SkinNameOf("C:\\p\\Skins\\"), "");
}

TEST(ClientCommand, AQuotedProgramKeepsItsQuotesAndTheRestIsItsParameters) {
    struct Case {
        const char* command;
        const char* program;
        const char* parameters;
    };
    const Case cases[] = {
        {"\"C:\\Mail\\mail.exe\" /compose \"%1\"", "\"C:\\Mail\\mail.exe\"", " /compose \"%1\""},
        {"\"C:\\Mail\\mail.exe\"", "\"C:\\Mail\\mail.exe\"", ""},
        {"C:\\Mail\\mail.exe /compose", "C:\\Mail\\mail.exe /compose", ""},
        {"\"C:\\Mail\\mail.exe /compose", "\"C:\\Mail\\mail.exe /compose", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const ClientCommand split = SplitClientCommand(c.command);
        EXPECT_EQ(split.program, c.program) << c.command;
        EXPECT_EQ(split.parameters, c.parameters) << c.command;
    }
}

TEST(ConnectedState, OnlyAReadableConnectedStateIsOnline) {
    FakeConnectedState connected(INTERNET_STATE_CONNECTED);
    EXPECT_FALSE(IsOffline(connected));
    FakeConnectedState byUser(INTERNET_STATE_DISCONNECTED_BY_USER);
    EXPECT_TRUE(IsOffline(byUser));
    FakeConnectedState mixed(INTERNET_STATE_CONNECTED | INTERNET_STATE_BUSY);
    EXPECT_TRUE(IsOffline(mixed)) << "exactly connected, nothing more";
    FakeConnectedState unreadable(INTERNET_STATE_CONNECTED, false);
    EXPECT_TRUE(IsOffline(unreadable));
}

}  // namespace
}  // namespace commandtest
