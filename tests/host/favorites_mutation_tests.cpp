// Mutation tests of the shortcut reader and the folder mapping: damaged
// shortcut texts give no address or one that lies in the text on one line
// within its bounds; damaged folder names map only to plain names inside Links.
#include "FavoritesFormat.h"
#include "mutator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(FavoritesMutation, DamagedShortcutsGiveABoundedAddressFromTheText) {
    const std::string valid =
        "[DEFAULT]\r\nBASEURL=http://base.example/\r\n[InternetShortcut]\r\nURL=http://a.example/page\r\n"
        "IconIndex=0\r\n";
    hosttest::Mutator mutator(20261210);
    int found = 0;
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string text = mutator.Mutate(valid);
        std::string address;
        if (!favorites::ParseShortcutText(text, i % 2 == 0, &address)) continue;
        ++found;
        ASSERT_FALSE(address.empty()) << i;
        ASSERT_LE(address.size(), favorites::kMaxAddressChars) << i;
        ASSERT_EQ(address.find_first_of(std::string("\r\n\0", 3)), std::string::npos) << i;
        ASSERT_NE(text.find(address), std::string::npos) << i;
    }
    EXPECT_GT(found, 0);
}

TEST(FavoritesMutation, DamagedFolderNamesNeverLeaveLinks) {
    const std::string root = "C:\\Users\\u\\Favorites";
    const std::string valid = root + "\\News\\Daily";
    hosttest::Mutator mutator(7);
    for (int i = 0; i < hosttest::kMutationsPerReader; ++i) {
        const std::string folder = mutator.Mutate(valid);
        std::string relative;
        if (!favorites::MapFavoritesFolder(root, folder, &relative)) continue;
        size_t start = 0;
        while (start <= relative.size() && !relative.empty()) {
            const size_t end = std::min(relative.find('\\', start), relative.size());
            const std::string name = relative.substr(start, end - start);
            ASSERT_FALSE(name.empty()) << i;
            ASSERT_NE(name.back(), '.') << i;
            ASSERT_NE(name.back(), ' ') << i;
            ASSERT_EQ(name.find_first_of(std::string(":/\0", 3)), std::string::npos) << i;
            start = end + 1;
        }
    }
}

}  // namespace
