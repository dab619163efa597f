// The shortcut text reader, the title and the folder mapping, by tables.
#include "FavoritesFormat.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>

namespace {

using favorites::kMaxAddressChars;

// A literal with its NULs.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

struct ParseCase {
    const char* what;
    std::string text;
    bool complete;
    bool found;
    std::string address;
};

TEST(ShortcutText, TheFirstUrlLineOfTheShortcutSection) {
    const std::string longUrl = "http://a/" + std::string(kMaxAddressChars - 9, 'x');
    const ParseCase cases[] = {
        {"CR LF", "[InternetShortcut]\r\nURL=http://a/\r\nIconIndex=0\r\n", true, true, "http://a/"},
        {"LF, more lines after", "[InternetShortcut]\nURL=http://a/\nIconIndex=0\n", true, true, "http://a/"},
        {"LF, URL last", "[InternetShortcut]\nURL=http://a/\n", true, true, "http://a/"},
        {"last line without an end", "[InternetShortcut]\r\nURL=http://a/", true, true, "http://a/"},
        {"CR alone ends a line", "[InternetShortcut]\rURL=http://a/\rX=1", true, true, "http://a/"},
        {"BASEURL never matches",
         "[DEFAULT]\r\nBASEURL=http://base/\r\n[InternetShortcut]\r\nURL=http://a/\r\n", true, true, "http://a/"},
        {"BASEURL inside the section",
         "[InternetShortcut]\r\nBASEURL=http://base/\r\nURL=http://a/\r\n", true, true, "http://a/"},
        {"the first URL line wins", "[InternetShortcut]\r\nURL=http://a/\r\nURL=http://b/\r\n", true, true,
         "http://a/"},
        {"URL= in another section", "[Other]\r\nURL=http://x/\r\n[InternetShortcut]\r\nURL=http://a/\r\n", true,
         true, "http://a/"},
        {"section and key in any case", "[internetshortcut]\r\nurl=http://a/\r\n", true, true, "http://a/"},
        {"blanks around", "  [ InternetShortcut ]  \r\nURL=  http://a/ \t\r\n", true, true, "http://a/"},
        {"ends at a NUL", Bytes("[InternetShortcut]\r\nURL=http://a/\0tail\r\n"), true, true,
         "http://a/"},
        {"longest address", "[InternetShortcut]\r\nURL=" + longUrl + "\r\n", true, true, longUrl},
        {"no section", "URL=http://a/\r\n", true, false, ""},
        {"no URL line", "[InternetShortcut]\r\nIconIndex=0\r\n", true, false, ""},
        {"empty address", "[InternetShortcut]\r\nURL=\r\nURL=http://b/\r\n", true, false, ""},
        {"address too long", "[InternetShortcut]\r\nURL=" + longUrl + "y\r\n", true, false, ""},
        {"cut by the read bound", "[InternetShortcut]\r\nURL=http://a/", false, false, ""},
        {"URL= not at a line start", "[InternetShortcut]\r\nX URL=http://a/\r\n", true, false, ""},
        {"NUL before the line", Bytes("[InternetShortcut]\r\n\0URL=http://a/\r\n"), true, false, ""},
        {"empty", "", true, false, ""},
    };
    for (const ParseCase& c : cases) {
        std::string address = "unchanged";
        EXPECT_EQ(favorites::ParseShortcutText(c.text, c.complete, &address), c.found) << c.what;
        EXPECT_EQ(address, c.found ? c.address : "unchanged") << c.what;
    }
}

// The read bound is 64 KiB: a URL line ending at its last byte counts, one
// past it or cut by it does not.
TEST(ShortcutText, AFileIsReadUpTo64KiB) {
    ASSERT_EQ(favorites::kMaxShortcutBytes, 64u * 1024);
    const std::string head = "[InternetShortcut]\r\n";
    const std::string line = "URL=http://a/\r\n";
    const auto padded = [&](std::size_t lineEnd) {
        return head + std::string(lineEnd - head.size() - line.size() - 2, ';') + "\r\n" + line;
    };
    struct Case {
        const char* what;
        std::string bytes;
        bool found;
    };
    const Case cases[] = {
        {"the line ends at the bound", padded(64 * 1024), true},
        {"the line ends at the bound, more after", padded(64 * 1024) + "X", true},
        {"the line cut by the bound", padded(64 * 1024 + 2) + "X", false},
        {"the line begins past the bound", padded(64 * 1024 + line.size()) + "X", false},
    };
    for (const Case& c : cases) {
        std::string address;
        // The reader hands over at most one byte past the bound.
        const std::string_view read(c.bytes.data(), std::min(c.bytes.size(), favorites::kMaxShortcutBytes + 1));
        EXPECT_EQ(favorites::ParseShortcutFile(read, &address), c.found) << c.what;
        if (c.found) {
            EXPECT_EQ(address, "http://a/") << c.what;
        }
    }
}

TEST(ShortcutText, TitleIsTheNameWithoutFolderAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Fav\\a.url", "a"},          {"C:\\Fav\\News\\Daily News.URL", "Daily News"},
        {"a.b.url", "a.b"},               {"C:/Fav/x.Url", "x"},
        {"C:\\Fav\\noext", "noext"},      {"C:\\Fav\\a.url.txt", "a.url.txt"},
        {"C:\\Fav\\.url", ""},            {"C:\\Fav\\url", "url"},
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(favorites::ShortcutTitle(path), title) << path;
}

struct MapCase {
    const char* root;
    const char* folder;
    bool mapped;
    const char* relative;
};

TEST(FavoritesFolders, MirroredRelativeToTheChosenFolder) {
    const MapCase cases[] = {
        {"C:\\Users\\u\\Favorites", "C:\\Users\\u\\Favorites", true, ""},
        {"C:\\Users\\u\\Favorites", "C:\\Users\\u\\Favorites\\News", true, "News"},
        {"C:\\Users\\u\\Favorites", "C:\\Users\\u\\Favorites\\News\\Daily", true, "News\\Daily"},
        // Any name of the chosen folder: no "\Favorites" is looked for.
        {"D:\\My Links", "D:\\My Links\\News", true, "News"},
        {"D:\\Favorites\\Favorites", "D:\\Favorites\\Favorites\\A", true, "A"},
        {"D:\\Fav\\", "D:\\Fav\\A", true, "A"},
        {"D:\\", "D:\\\\A", true, "A"},
        {"d:\\fav", "D:\\Fav\\A", true, "A"},
        {"D:\\Fav", "D:\\FavX\\A", false, ""},
        {"D:\\Fav", "D:\\Other\\A", false, ""},
        // Names that would not land in a folder of their own inside Links.
        {"D:\\Fav", "D:\\Fav\\..", false, ""},
        {"D:\\Fav", "D:\\Fav\\.", false, ""},
        {"D:\\Fav", "D:\\Fav\\...", false, ""},
        {"D:\\Fav", "D:\\Fav\\A\\..\\..\\..\\Windows", false, ""},
        {"D:\\Fav", "D:\\Fav\\. .", false, ""},
        {"D:\\Fav", "D:\\Fav\\News.", false, ""},
        {"D:\\Fav", "D:\\Fav\\News ", false, ""},
        {"D:\\Fav", "D:\\Fav\\C:", false, ""},
        {"D:\\Fav", "D:\\Fav\\a:stream", false, ""},
        {"D:\\Fav", "D:\\Fav\\A\\\\B", false, ""},
        {"D:\\Fav", "D:\\Fav\\a\x01z", false, ""},
        {"D:\\Fav", "D:\\Fav\\a?b", false, ""},
        {"D:\\Fav", "D:\\Fav\\CON", false, ""},
        {"D:\\Fav", "D:\\Fav\\nul.txt", false, ""},
        {"D:\\Fav", "D:\\Fav\\A\\com1", false, ""},
        {"D:\\Fav", "D:\\Fav\\LPT9", false, ""},
        {"D:\\Fav", "D:\\Fav\\COM10", true, "COM10"},
        {"D:\\Fav", "D:\\Fav\\Console", true, "Console"},
        {"D:\\Fav", "D:\\Fav\\.hidden", true, ".hidden"},
        {"D:\\Fav", "D:\\Fav\\a..b", true, "a..b"},
    };
    for (const MapCase& c : cases) {
        std::string relative = "unchanged";
        EXPECT_EQ(favorites::MapFavoritesFolder(c.root, c.folder, &relative), c.mapped) << c.folder;
        EXPECT_EQ(relative, c.mapped ? c.relative : "unchanged") << c.folder;
    }
}

TEST(FavoritesFolders, ProgressNamesTheLastFolder) {
    EXPECT_EQ(favorites::ProgressFolderText(""), "Links");
    EXPECT_EQ(favorites::ProgressFolderText("News"), "News");
    EXPECT_EQ(favorites::ProgressFolderText("News\\Daily"), "Daily");
}

}  // namespace
