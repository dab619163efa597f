// The four fill methods by dispatch id, with and without the WQX defaults.
#include "combo_test_util.h"

#include "fw/handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <vector>

namespace {

using namespace combotest;
using fw::Variant;

const bool registered = (RegisterForTests(), true);

std::vector<std::string> Items(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(::SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> Numbers() {
    std::vector<std::string> n;
    for (int i = 4; i <= 24; ++i) n.push_back(std::to_string(i));
    return n;
}

const std::vector<std::string> kSizeNames{"Largest", "Larger", "Medium", "Smaller", "Smallest"};
const std::vector<std::string> kColours{"Black",  "Maroon", "Green", "Olive",  "Navy", "Purple",  "Teal", "Gray",
                                        "Silver", "Red",    "Lime",  "Yellow", "Blue", "Fuschia", "Aqua", "White"};

struct FillCase {
    const char* what;
    bool sort;
    DISPID method;
    std::vector<Variant> args;
    bool result;
    std::string selected;  // "" for none
    std::vector<std::string> items;
};

Variant CallWith(const Container& c, DISPID id, const std::vector<Variant>& args) {
    if (args.size() == 1) return c.Call(id, {args[0]});
    return c.Call(id, {args[0], args[1]});
}

TEST(ComboFill, TableOfSizeAndColourFills) {
    std::vector<std::string> sorted = kColours;
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
    const FillCase cases[] = {
        {"size names, no default", false, kAddFontSizes, {Variant(false), Variant("")}, true, "", kSizeNames},
        {"size names, lower-case default",
         false,
         kAddFontSizes,
         {Variant(false), Variant("medium")},
         true,
         "Medium",
         kSizeNames},
        {"size names, unknown default", false, kAddFontSizes, {Variant(false), Variant("Huge")}, false, "", kSizeNames},
        {"numbers, no default", false, kAddFontSizes, {Variant(true), Variant("")}, true, "", Numbers()},
        {"numbers, default 12", false, kAddFontSizes, {Variant(true), Variant("12")}, true, "12", Numbers()},
        {"colours, empty default", false, kAddFontColors, {Variant("")}, true, "Black", kColours},
        {"colours, valid default any case", false, kAddFontColors, {Variant("red")}, true, "Red", kColours},
        {"colours, unknown default", false, kAddFontColors, {Variant("Pink")}, false, "Black", kColours},
        {"colours sorted", true, kAddFontColors, {Variant("")}, true, "Aqua", sorted},
        {"colours sorted, valid default", true, kAddFontColors, {Variant("Teal")}, true, "Teal", sorted},
    };
    for (const FillCase& k : cases) {
        SCOPED_TRACE(k.what);
        Container c;
        fw::AxSetup setup;
        if (k.sort)
            setup.beforeActivate = [](IUnknown* control) {
                return fw::DispatchDriver(fw::ComPtr<IUnknown>(control).As<IDispatch>()).Put(kSort, Variant(true));
            };
        ASSERT_EQ(c.Create(setup), S_OK);
        const Variant result = CallWith(c, k.method, k.args);
        EXPECT_EQ(result.vt(), VT_BOOL);
        EXPECT_EQ(result.ToBool(), k.result);
        EXPECT_EQ(c.Text(kGetText), k.selected);
        EXPECT_EQ(Items(c.Combo()), k.items);
    }
}

TEST(ComboFill, ASecondFillAppendsAnotherCopy) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kAddFontColors, {""});
    c.Call(kAddFontSizes, {false, ""});
    std::vector<std::string> both = kColours;
    both.insert(both.end(), kSizeNames.begin(), kSizeNames.end());
    EXPECT_EQ(Items(c.Combo()), both);
    c.Call(kAddFontColors, {"White"});
    EXPECT_EQ(c.Long(kCount), 16 + 5 + 16);
    EXPECT_EQ(::SendMessageA(c.Combo(), CB_GETCURSEL, 0, 0), 15) << "the first White";
}

TEST(ComboFill, TunesAreAddedOneByOneAndTheFirstIsSelected) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    EXPECT_EQ(c.Call(kAddTunes, {"Chimes.WAV"}).vt(), VT_I2);
    EXPECT_EQ(c.Long(kAddTunes, {"Chimes.WAV"}), 0);
    EXPECT_EQ(c.Long(kAddTunes, {"Canyon.mid"}), 0);
    EXPECT_EQ(Items(c.Combo()), (std::vector<std::string>{"Chimes.WAV", "Chimes.WAV", "Canyon.mid"}));
    EXPECT_EQ(::SendMessageA(c.Combo(), CB_GETCURSEL, 0, 0), 0);
}

int CALLBACK CollectName(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM p) {
    reinterpret_cast<std::vector<std::string>*>(p)->push_back(lf->lfFaceName);
    return 1;
}

// Every family as the system reports it, repeats included.
std::vector<std::string> InstalledFamilies() {
    std::vector<std::string> names;
    fw::WindowDc dc(nullptr);
    ::EnumFontFamiliesA(dc.get(), nullptr, CollectName, reinterpret_cast<LPARAM>(&names));
    return names;
}

TEST(ComboFill, FontsAreEachFamilyOnceAndTheDefaultIsSelectedByName) {
    const std::vector<std::string> reported = InstalledFamilies();
    const std::set<std::string> families(reported.begin(), reported.end());
    ASSERT_FALSE(families.empty());
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    const std::string some = *families.rbegin();
    std::string lower = some;
    for (char& ch : lower) ch = static_cast<char>(::tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(c.Bool(kAddFonts, {lower}));
    EXPECT_EQ(c.Text(kGetText), some);
    const std::vector<std::string> items = Items(c.Combo());
    EXPECT_EQ(std::set<std::string>(items.begin(), items.end()), families);
    EXPECT_EQ(items.size(), families.size()) << "each family once, though " << reported.size() << " were reported";

    Container other;
    ASSERT_EQ(other.Create(), S_OK);
    EXPECT_FALSE(other.Bool(kAddFonts, {"No Such Font Family"}));
    EXPECT_EQ(other.Text(kGetText), "");
    EXPECT_EQ(other.Long(kCount), static_cast<long>(families.size())) << "the list stays";
}

// "PEXARD.INI" in the Windows folder for one test, removed after.
class DefaultsFile {
public:
    explicit DefaultsFile(const std::string& body) {
        char folder[MAX_PATH] = {};
        ::GetWindowsDirectoryA(folder, MAX_PATH);
        path_ = std::string(folder) + "\\PEXARD.INI";
        std::ofstream(path_, std::ios::binary) << body;
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, "PEXARD.INI");  // no cached copy
    }
    ~DefaultsFile() {
        ::DeleteFileA(path_.c_str());
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, "PEXARD.INI");
    }
    static bool Present() {
        char folder[MAX_PATH] = {};
        ::GetWindowsDirectoryA(folder, MAX_PATH);
        return ::GetFileAttributesA((std::string(folder) + "\\PEXARD.INI").c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    std::string path_;
};

TEST(ComboFillWqx, WithoutTheDefaultsFileTheKeysDefaultsApply) {
    ASSERT_FALSE(DefaultsFile::Present());
    const std::vector<std::string> reported = InstalledFamilies();
    const bool hasArial = std::find(reported.begin(), reported.end(), "Arial") != reported.end();
    const struct {
        DISPID method;
        std::vector<Variant> args;
        bool result;
        std::string selected;
    } cases[] = {
        {kAddFontColors, {Variant("")}, true, "Navy"},
        {kAddFontColors, {Variant("Red")}, true, "Red"},  // the host's default comes after
        {kAddFontColors, {Variant("Pink")}, false, "Navy"},
        {kAddFontSizes, {Variant(true), Variant("")}, true, "10"},
        {kAddFontSizes, {Variant(false), Variant("")}, true, ""},  // names: no WQX default
        {kAddFonts, {Variant("")}, hasArial, hasArial ? "Arial" : ""},
        {kAddFonts, {Variant(reported.front())}, hasArial, hasArial ? "Arial" : ""},  // the host's name is not used
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "dispid " << k.method << " case " << (&k - cases));
        Container c;
        ASSERT_EQ(c.Create(), S_OK);
        c.Call(kIsComboForWQX, {true});
        const Variant result = CallWith(c, k.method, k.args);
        EXPECT_EQ(result.ToBool(), k.result);
        EXPECT_EQ(c.Text(kGetText), k.selected);
    }
}

TEST(ComboFillWqx, TheDefaultsFileChoosesTheSelection) {
    const std::string font = InstalledFamilies().back();
    DefaultsFile file("[DEFAULT FONTS]\r\nFONTNAME=" + font + "\r\nFONTSIZE=30\r\nFONTCOLOR=teal\r\n");
    const struct {
        DISPID method;
        std::vector<Variant> args;
        bool result;
        std::string selected;
    } cases[] = {
        {kAddFontColors, {Variant("")}, true, "Teal"},
        {kAddFonts, {Variant("")}, true, font},
        // A size outside 4 to 24 ends the fill at once as done, the host's twelve untried.
        {kAddFontSizes, {Variant(true), Variant("12")}, true, ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "dispid " << k.method);
        Container c;
        ASSERT_EQ(c.Create(), S_OK);
        c.Call(kIsComboForWQX, {true});
        EXPECT_EQ(CallWith(c, k.method, k.args).ToBool(), k.result);
        EXPECT_EQ(c.Text(kGetText), k.selected);
    }
    // Without the flag the file plays no part.
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    EXPECT_TRUE(c.Bool(kAddFontColors, {""}));
    EXPECT_EQ(c.Text(kGetText), "Black");
}

TEST(ComboFillWqx, AnUnknownColourInTheDefaultsFileFailsAndKeepsTheFirst) {
    DefaultsFile file("[DEFAULT FONTS]\r\nFONTCOLOR=Pink\r\nFONTSIZE=14\r\n");
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kIsComboForWQX, {true});
    EXPECT_FALSE(c.Bool(kAddFontColors, {""}));
    EXPECT_EQ(c.Text(kGetText), "Black");
    EXPECT_TRUE(c.Bool(kAddFontSizes, {true, ""}));
    EXPECT_EQ(c.Text(kGetText), "14");
}

}  // namespace
