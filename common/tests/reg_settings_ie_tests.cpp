#include "ErrorCodes.h"
#include "RegSettings.h"
#include "testsupport/reg_test_util.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace regtest;

const std::string kScripts = "Software\\Microsoft\\Internet Explorer\\International\\Scripts\\3";
const std::string kMain = "Software\\Microsoft\\Internet Explorer\\Main";
const std::string kSettings = "Software\\Microsoft\\Internet Explorer\\Settings";
const std::string kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Internet Explorer's keys exist in the prefix: each test starts without
// them and leaves them as it found them.
class IEValues : public ::testing::Test {
protected:
    SavedKey scripts_{HKEY_CURRENT_USER, kScripts};
    SavedKey main_{HKEY_CURRENT_USER, kMain};
    SavedKey settingsKey_{HKEY_CURRENT_USER, kSettings};
    SavedKey typed_{HKEY_CURRENT_USER, kTyped};
    CRegSettings settings_;
};

using GetText = std::function<int(CRegSettings&, std::string*)>;
using SetText = std::function<int(CRegSettings&, const std::string&)>;

struct PageText {
    const char* name;
    GetText get;
    SetText set;
    std::string key;
    bool setterCreatesKey;
    size_t limit;
    const char* sample;
};

const PageText kPageTexts[] = {
    {"IEPropFontName", [](CRegSettings& s, std::string* v) { return s.GetIEFontName(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetIEFontName(v); }, kScripts, true, 127, "Times New Roman"},
    {"Use_DlgBox_Colors", [](CRegSettings& s, std::string* v) { return s.GetUseDlgBoxColors(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetUseDlgBoxColors(v); }, kMain, true, 31, "yes"},
    {"Background Color", [](CRegSettings& s, std::string* v) { return s.GetBackgroundColor(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetBackgroundColor(v); }, kSettings, false, 127,
     "192,192,192"},
    {"Text Color", [](CRegSettings& s, std::string* v) { return s.GetTextColor(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetTextColor(v); }, kSettings, false, 127, "0,0,0"},
    {"Anchor Color Hover", [](CRegSettings& s, std::string* v) { return s.GetAnchorColorHover(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetAnchorColorHover(v); }, kSettings, true, 127, "255,0,0"},
    {"Use Anchor Hover Color", [](CRegSettings& s, std::string* v) { return s.GetUseAnchorHoverColor(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetUseAnchorHoverColor(v); }, kSettings, true, 127, "no"},
    {"Anchor Color Visited", [](CRegSettings& s, std::string* v) { return s.GetAnchorColorVisited(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetAnchorColorVisited(v); }, kSettings, false, 127,
     "128,0,128"},
    {"Anchor Color", [](CRegSettings& s, std::string* v) { return s.GetAnchorColor(v); },
     [](CRegSettings& s, const std::string& v) { return s.SetAnchorColor(v); }, kSettings, false, 127, "0,0,255"},
};

TEST_F(IEValues, PageSettersCreateOnlyTheirOwnKeys) {
    for (const auto& c : kPageTexts) {
        fw::DeleteKeyTree(HKEY_CURRENT_USER, c.key);
        EXPECT_EQ(c.set(settings_, c.sample), c.setterCreatesKey ? kErrNone : kErrSettingsWrite) << c.name;
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, c.key), c.setterCreatesKey) << c.name;
        std::string out = "previous";
        EXPECT_EQ(c.get(settings_, &out), c.setterCreatesKey ? kErrNone : kErrSettingsRead) << c.name;
        EXPECT_EQ(out, c.setterCreatesKey ? c.sample : "previous") << c.name;
    }
}

TEST_F(IEValues, PageTextsRoundTripAsStringsWithinTheirLimits) {
    for (const auto& c : kPageTexts) {
        MakeKey(HKEY_CURRENT_USER, c.key);
        std::string out = "previous";
        EXPECT_EQ(c.get(settings_, &out), kErrSettingsRead) << c.name << ": value missing";
        EXPECT_EQ(out, "previous") << c.name;

        EXPECT_EQ(c.set(settings_, c.sample), kErrNone) << c.name;
        EXPECT_EQ(StoredString(HKEY_CURRENT_USER, c.key, c.name), c.sample) << c.name << " is a REG_SZ";

        const std::string longest(c.limit, 'x');
        EXPECT_EQ(c.set(settings_, longest), kErrNone) << c.name;
        EXPECT_EQ(c.get(settings_, &out), kErrNone) << c.name;
        EXPECT_EQ(out, longest) << c.name;
        EXPECT_EQ(c.set(settings_, longest + "x"), kErrSettingsWrite) << c.name << ": refused";
        EXPECT_EQ(StoredString(HKEY_CURRENT_USER, c.key, c.name), longest) << c.name << ": left as it was";

        PutString(HKEY_CURRENT_USER, c.key, c.name, longest + "x");
        out = "previous";
        EXPECT_EQ(c.get(settings_, &out), kErrSettingsRead) << c.name << ": too long to read";
        EXPECT_EQ(out, "previous") << c.name;
        PutDword(HKEY_CURRENT_USER, c.key, c.name, 1);
        EXPECT_EQ(c.get(settings_, &out), kErrSettingsRead) << c.name << ": not a text";
    }
}

TEST(ColorText, RedGreenBlueInDecimal) {
    struct Case {
        COLORREF color;
        const char* text;
    } cases[] = {
        {0x00FF0000, "0,0,255"},       {0x00000000, "0,0,0"},   {RGB(192, 192, 192), "192,192,192"},
        {RGB(1, 20, 255), "1,20,255"}, {0xFF0000FF, "255,0,0"},  // the high byte is no colour
    };
    for (const auto& c : cases) EXPECT_EQ(ColorToString(c.color), c.text) << std::hex << c.color;
}

TEST_F(IEValues, FontSizeIsFourBinaryBytes) {
    int size = -7;
    EXPECT_EQ(settings_.GetIEFontSize(&size), kErrSettingsRead);
    EXPECT_EQ(settings_.GetIEFontSizeByte(&size), kErrSettingsRead);
    EXPECT_EQ(size, -7);

    EXPECT_EQ(settings_.SetIEFontSize(3), kErrNone) << "creates the Scripts key";
    fw::RegKey key = fw::OpenKey(HKEY_CURRENT_USER, kScripts, KEY_READ);
    ASSERT_TRUE(key);
    const auto bytes = fw::ReadBinary(key.get(), "IEFontSize");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, (std::vector<uint8_t>{3, 0, 0, 0}));
    EXPECT_EQ(settings_.GetIEFontSize(&size), kErrNone);
    EXPECT_EQ(size, 3);

    struct Case {
        std::vector<uint8_t> stored;
        DWORD type;
        int code;
        int whole;
        int lowByte;
    } cases[] = {
        {{0x02, 0x01, 0, 0}, REG_BINARY, kErrNone, 0x102, 2}, {{0xFF, 0xFF, 0xFF, 0xFF}, REG_BINARY, kErrNone, -1, 255},
        {{2, 0, 0}, REG_BINARY, kErrSettingsRead, 0, 0},      {{2, 0, 0, 0, 0}, REG_BINARY, kErrSettingsRead, 0, 0},
        {{2, 0, 0, 0}, REG_DWORD, kErrSettingsRead, 0, 0},
    };
    for (const auto& c : cases) {
        PutValue(HKEY_CURRENT_USER, kScripts, "IEFontSize", c.type, c.stored.data(), c.stored.size());
        int whole = -7;
        int low = -7;
        EXPECT_EQ(settings_.GetIEFontSize(&whole), c.code) << c.stored.size();
        EXPECT_EQ(settings_.GetIEFontSizeByte(&low), c.code) << c.stored.size();
        EXPECT_EQ(whole, c.code == kErrNone ? c.whole : -7);
        EXPECT_EQ(low, c.code == kErrNone ? c.lowByte : -7);
    }
}

TEST_F(IEValues, StartPageAndFavoritesPathHaveTheirLimits) {
    std::string out = "previous";
    EXPECT_EQ(settings_.GetStartPage(&out), kErrSettingsRead);
    EXPECT_EQ(out, "previous");
    PutString(HKEY_CURRENT_USER, kMain, "Start Page", std::string(255, 'p'));
    EXPECT_EQ(settings_.GetStartPage(&out), kErrNone);
    EXPECT_EQ(out, std::string(255, 'p'));
    PutString(HKEY_CURRENT_USER, kMain, "Start Page", std::string(256, 'p'));
    EXPECT_EQ(settings_.GetStartPage(&out), kErrSettingsRead);

    SavedKey folders(HKEY_CURRENT_USER, kShellFolders);
    EXPECT_EQ(settings_.GetFavoritesPath(&out), kErrSettingsRead);
    PutString(HKEY_CURRENT_USER, kShellFolders, "Favorites", "C:\\users\\me\\Favorites");
    EXPECT_EQ(settings_.GetFavoritesPath(&out), kErrNone);
    EXPECT_EQ(out, "C:\\users\\me\\Favorites");
    PutString(HKEY_CURRENT_USER, kShellFolders, "Favorites", std::string(1023, 'f'));
    EXPECT_EQ(settings_.GetFavoritesPath(&out), kErrNone);
    EXPECT_EQ(out.size(), 1023u);
    PutString(HKEY_CURRENT_USER, kShellFolders, "Favorites", std::string(1024, 'f'));
    EXPECT_EQ(settings_.GetFavoritesPath(&out), kErrSettingsRead);
}

TEST_F(IEValues, TypedAddressesAreReadInNumberOrderUpToTheFirstGap) {
    std::vector<std::string> list = {"kept"};
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrSettingsRead) << "no key";
    EXPECT_EQ(list, (std::vector<std::string>{"kept"}));
    MakeKey(HKEY_CURRENT_USER, kTyped);
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrNone) << "empty key";
    EXPECT_EQ(list, (std::vector<std::string>{"kept"}));

    // Created out of order, so enumeration order differs from number order.
    for (const char* n : {"url10", "url3", "url1", "url2", "url5"})
        PutString(HKEY_CURRENT_USER, kTyped, n, std::string("http://") + n + "/");
    list.clear();
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrNone);
    EXPECT_EQ(list, (std::vector<std::string>{"http://url1/", "http://url2/", "http://url3/"}));

    // An unreadable entry is skipped, not taken as the end.
    PutDword(HKEY_CURRENT_USER, kTyped, "url2", 2);
    PutString(HKEY_CURRENT_USER, kTyped, "url4", std::string(256, 'u'));
    list.clear();
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrNone);
    EXPECT_EQ(list, (std::vector<std::string>{"http://url1/", "http://url3/", "http://url5/"}));
}

TEST_F(IEValues, WritingTheHistoryRemovesTheEntriesAboveIt) {
    EXPECT_EQ(settings_.SetTypedURLs({"a", "b"}), kErrNone) << "creates the key";
    std::vector<std::string> list;
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrNone);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b"}));

    for (int n = 1; n <= 5; ++n) PutString(HKEY_CURRENT_USER, kTyped, "url" + std::to_string(n), "old");
    PutString(HKEY_CURRENT_USER, kTyped, "URL12", "old");
    PutString(HKEY_CURRENT_USER, kTyped, "url07", "foreign");
    PutString(HKEY_CURRENT_USER, kTyped, "other", "foreign");
    EXPECT_EQ(settings_.SetTypedURLs({"x", "y", "z"}), kErrNone);
    for (const char* gone : {"url4", "url5", "url12"})
        EXPECT_FALSE(ValuePresent(HKEY_CURRENT_USER, kTyped, gone)) << gone;
    for (const char* kept : {"url07", "other"}) EXPECT_TRUE(ValuePresent(HKEY_CURRENT_USER, kTyped, kept)) << kept;
    list.clear();
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrNone);
    EXPECT_EQ(list, (std::vector<std::string>{"x", "y", "z"}));

    // An address the reader could not take back refuses the whole list.
    EXPECT_EQ(settings_.SetTypedURLs({"new", std::string(256, 'u')}), kErrSettingsWrite);
    list.clear();
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrNone);
    EXPECT_EQ(list, (std::vector<std::string>{"x", "y", "z"}));

    EXPECT_EQ(settings_.SetTypedURLs({}), kErrNone);
    list.clear();
    EXPECT_EQ(settings_.GetTypedURLs(&list), kErrNone);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(ValuePresent(HKEY_CURRENT_USER, kTyped, "url1"));
}

}  // namespace
