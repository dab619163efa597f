#include "AppConstants.h"
#include "ErrorCodes.h"
#include "RegSettings.h"
#include "testsupport/reg_test_util.h"

#include "testsupport/registry_scratch.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace regtest;

const std::string kRoot = AppConstants::kRegistryRoot;
const std::string kApp = kRoot + "\\App Settings";
constexpr DWORD kSentinel = 0xdeadbeef;
const std::string kPrimitives = "Software\\VessaTests\\RegSettings";

// The whole maker key is ours: cleared before and after every test.
class OwnValues : public ::testing::Test {
protected:
    testsupport::ScratchKey scratch_{HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global"};
    testsupport::ScratchKey primitives_{HKEY_CURRENT_USER, kPrimitives};
    CRegSettings settings_;
};

TEST_F(OwnValues, DwordReadsTakeOnlyFourByteDwords) {
    const BYTE four[4] = {7, 0, 0, 0};
    const unsigned long long eight = 7;
    struct Case {
        const char* what;
        DWORD type;
        const void* data;
        size_t size;
        int code;
    } cases[] = {
        {"dword", REG_DWORD, four, 4, kErrNone},
        {"binary of 4 bytes", REG_BINARY, four, 4, kErrSettingsRead},
        {"dword of 2 bytes", REG_DWORD, four, 2, kErrSettingsRead},
        {"qword", REG_QWORD, &eight, 8, kErrSettingsRead},
        {"string", REG_SZ, "7", 2, kErrSettingsRead},
    };
    for (const auto& c : cases) {
        PutValue(HKEY_CURRENT_USER, kPrimitives, "v", c.type, c.data, c.size);
        DWORD out = kSentinel;
        EXPECT_EQ(CRegSettings::QueryDwordValue(HKEY_CURRENT_USER, kPrimitives, "v", &out), c.code) << c.what;
        EXPECT_EQ(out, c.code == kErrNone ? 7u : kSentinel) << c.what;
    }
    DWORD out = kSentinel;
    EXPECT_EQ(CRegSettings::QueryDwordValue(HKEY_CURRENT_USER, kPrimitives + "\\Missing", "v", &out), kErrSettingsRead);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kPrimitives + "\\Missing")) << "a getter creates no key";
}

TEST_F(OwnValues, StringReadsAreTerminatedAtTheStoredSize) {
    const std::string max(255, 'a');
    struct Case {
        const char* what;
        DWORD type;
        std::string bytes;  // stored as given, no terminator added
        int code;
        std::string text;
    } cases[] = {
        {"terminated", REG_SZ, std::string("abc", 4), kErrNone, "abc"},
        {"without terminator", REG_SZ, "hello", kErrNone, "hello"},
        {"junk after terminator", REG_SZ, std::string("ab\0cd", 5), kErrNone, "ab"},
        {"255 characters", REG_SZ, max, kErrNone, max},
        {"256 characters", REG_SZ, max + "b", kErrSettingsRead, ""},
        {"binary", REG_BINARY, "abc", kErrSettingsRead, ""},
        {"dword", REG_DWORD, std::string("\1\0\0\0", 4), kErrSettingsRead, ""},
    };
    for (const auto& c : cases) {
        PutValue(HKEY_CURRENT_USER, kPrimitives, "s", c.type, c.bytes.data(), c.bytes.size());
        std::string out = "previous";
        EXPECT_EQ(CRegSettings::QueryStringValue(HKEY_CURRENT_USER, kPrimitives, "s", &out), c.code) << c.what;
        EXPECT_EQ(out, c.text) << c.what << ": emptied first, filled only on success";
    }
}

TEST_F(OwnValues, GenericWritesCreateKeysRefuseLongTextsAndDeleteValues) {
    const std::string key = kPrimitives + "\\A\\B";
    EXPECT_EQ(CRegSettings::SetDwordValue(HKEY_CURRENT_USER, key, "d", 5), kErrNone);
    EXPECT_EQ(StoredDword(HKEY_CURRENT_USER, key, "d"), 5u);

    EXPECT_EQ(CRegSettings::SetStringValue(HKEY_CURRENT_USER, key + "\\C", "s", std::string(256, 'x')),
              kErrSettingsWrite);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\C")) << "a refused text creates nothing";
    EXPECT_EQ(CRegSettings::SetStringValue(HKEY_CURRENT_USER, key, "s", std::string(255, 'x')), kErrNone);
    EXPECT_EQ(CRegSettings::SetStringValue(HKEY_CURRENT_USER, key, "", "default"), kErrNone);
    std::string text;
    EXPECT_EQ(CRegSettings::QueryStringValue(HKEY_CURRENT_USER, key, "s", &text), kErrNone);
    EXPECT_EQ(text, std::string(255, 'x'));
    EXPECT_EQ(CRegSettings::QueryDefaultString(HKEY_CURRENT_USER, key, &text), kErrNone);
    EXPECT_EQ(text, "default");

    EXPECT_EQ(CRegSettings::DeleteValue(HKEY_CURRENT_USER, key, "s"), kErrNone);
    EXPECT_FALSE(ValuePresent(HKEY_CURRENT_USER, key, "s"));
    EXPECT_EQ(CRegSettings::DeleteValue(HKEY_CURRENT_USER, key, "s"), kErrSettingsWrite);
    EXPECT_EQ(CRegSettings::DeleteValue(HKEY_CURRENT_USER, key + "\\Missing", "s"), kErrSettingsRead);
}

// Which getters create their key when it is missing, and what they answer.
TEST_F(OwnValues, GettersOnAnEmptyMachine) {
    using Get = std::function<int(CRegSettings&, DWORD*)>;
    struct Case {
        const char* what;
        Get get;
        std::string key;
        bool createsKey;
        int code;
        DWORD out;
    } cases[] = {
        {"GetBrowserID", [](CRegSettings& s, DWORD* v) { return s.GetBrowserID(v); }, kApp, true, kErrNone, 0},
        {"GetImportDone", [](CRegSettings& s, DWORD* v) { return s.GetImportDone(v); }, kRoot + "\\ImportInfo", true,
         kErrSettingsRead, kSentinel},
        {"GetHideProgram", [](CRegSettings& s, DWORD* v) { return s.GetHideProgram(v); }, kRoot + "\\Options", true,
         kErrSettingsRead, kSentinel},
        {"GetFirstRun", [](CRegSettings& s, DWORD* v) { return s.GetFirstRun(v); }, kRoot + "\\Options", false,
         kErrNone, 1},
        {"LoadToolBarSize", [](CRegSettings& s, DWORD* v) { return s.LoadToolBarSize(v); }, kApp, false,
         kErrSettingsRead, kSentinel},
        {"GetCheckDefaultBrowser", [](CRegSettings& s, DWORD* v) { return s.GetCheckDefaultBrowser(v); },
         kApp + "\\Vessa", false, kErrSettingsRead, kSentinel},
        {"GetHitSent",
         [](CRegSettings& s, DWORD* v) {
             *v = s.GetHitSent();
             return 0;
         },
         kApp, false, kErrNone, 0},
    };
    for (const auto& c : cases) {
        testsupport::ScratchKey clean(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane Global");
        CRegSettings settings;
        DWORD out = kSentinel;
        EXPECT_EQ(c.get(settings, &out), c.code) << c.what;
        EXPECT_EQ(out, c.out) << c.what;
        EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, c.key), c.createsKey) << c.what;
    }
    std::string skin = "previous";
    EXPECT_EQ(settings_.GetDefaultSkin(&skin), kErrSettingsRead);
    EXPECT_EQ(skin, "previous");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRoot + "\\Skins"));
}

TEST_F(OwnValues, BrowserIdStartsAtZeroAndCounts) {
    DWORD id = kSentinel;
    EXPECT_EQ(settings_.GetBrowserID(&id), kErrNone);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(StoredDword(HKEY_LOCAL_MACHINE, kApp, "BrowserID"), 0u) << "created on disk";
    id = kSentinel;
    EXPECT_EQ(settings_.GetBrowserID(&id), kErrNone);
    EXPECT_EQ(id, 0u);

    EXPECT_EQ(settings_.SetBrowserID(41), kErrNone);
    EXPECT_EQ(settings_.GetBrowserID(&id), kErrNone);
    EXPECT_EQ(id, 41u);

    // A counter of the wrong type is no counter: it starts again at 0.
    PutString(HKEY_LOCAL_MACHINE, kApp, "BrowserID", "41");
    id = kSentinel;
    EXPECT_EQ(settings_.GetBrowserID(&id), kErrNone);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(StoredDword(HKEY_LOCAL_MACHINE, kApp, "BrowserID"), 0u);
}

// Every DWORD pair writes its own value name in its own key, as REG_DWORD.
TEST_F(OwnValues, DwordSettersAndGettersMeetOnTheStoredValue) {
    using Get = std::function<int(CRegSettings&, DWORD*)>;
    using Set = std::function<int(CRegSettings&, DWORD)>;
    struct Case {
        const char* what;
        Get get;
        Set set;
        std::string key;
        const char* name;
    } cases[] = {
        {"ToolBar Size", [](CRegSettings& s, DWORD* v) { return s.LoadToolBarSize(v); },
         [](CRegSettings& s, DWORD v) { return s.SaveToolBarSize(v); }, kApp, "ToolBar Size"},
        {"BrowserID", [](CRegSettings& s, DWORD* v) { return s.GetBrowserID(v); },
         [](CRegSettings& s, DWORD v) { return s.SetBrowserID(v); }, kApp, "BrowserID"},
        {"CheckDefaultBrowser", [](CRegSettings& s, DWORD* v) { return s.GetCheckDefaultBrowser(v); },
         [](CRegSettings& s, DWORD v) { return s.SetCheckDefaultBrowser(v); }, kApp + "\\Vessa", "CheckDefaultBrowser"},
        {"ImportDone", [](CRegSettings& s, DWORD* v) { return s.GetImportDone(v); },
         [](CRegSettings& s, DWORD v) { return s.SetImportDone(v); }, kRoot + "\\ImportInfo", "ImportDone"},
        {"Hide Program", [](CRegSettings& s, DWORD* v) { return s.GetHideProgram(v); },
         [](CRegSettings& s, DWORD v) { return s.SetHideProgram(v); }, kRoot + "\\Options", "Hide Program"},
        {"Hide ToolTray", [](CRegSettings& s, DWORD* v) { return s.GetHideToolTray(v); },
         [](CRegSettings& s, DWORD v) { return s.SetHideToolTray(v); }, kRoot + "\\Options", "Hide ToolTray"},
        {"Hide Normal DeleteDlg", [](CRegSettings& s, DWORD* v) { return s.GetHideNormalDeleteDlg(v); },
         [](CRegSettings& s, DWORD v) { return s.SetHideNormalDeleteDlg(v); }, kRoot + "\\Options",
         "Hide Normal DeleteDlg"},
        {"Hide Group Item DeleteDlg", [](CRegSettings& s, DWORD* v) { return s.GetHideGroupItemDeleteDlg(v); },
         [](CRegSettings& s, DWORD v) { return s.SetHideGroupItemDeleteDlg(v); }, kRoot + "\\Options",
         "Hide Group Item DeleteDlg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.set(settings_, 0x80000001u), kErrNone) << c.what;
        EXPECT_EQ(StoredDword(HKEY_LOCAL_MACHINE, c.key, c.name), 0x80000001u) << c.what;
        DWORD out = kSentinel;
        EXPECT_EQ(c.get(settings_, &out), kErrNone) << c.what;
        EXPECT_EQ(out, 0x80000001u) << c.what;
        PutString(HKEY_LOCAL_MACHINE, c.key, c.name, "1");
        if (std::string(c.name) != "BrowserID") {
            out = kSentinel;
            EXPECT_EQ(c.get(settings_, &out), kErrSettingsRead) << c.what << ": a text is not a DWORD";
            EXPECT_EQ(out, kSentinel) << c.what;
        }
    }
}

TEST_F(OwnValues, HitSentAndFirstRun) {
    EXPECT_EQ(settings_.GetHitSent(), 0u);
    EXPECT_EQ(settings_.SetHitSent(), kErrNone);
    EXPECT_EQ(settings_.GetHitSent(), 1u);
    EXPECT_EQ(StoredDword(HKEY_LOCAL_MACHINE, kApp, "Access"), 1u);

    DWORD first = kSentinel;
    EXPECT_EQ(settings_.GetFirstRun(&first), kErrNone);
    EXPECT_EQ(first, 1u) << "no Options key: the first run";
    MakeKey(HKEY_LOCAL_MACHINE, kRoot + "\\Options");
    first = kSentinel;
    EXPECT_EQ(settings_.GetFirstRun(&first), kErrSettingsRead) << "key without the value";
    EXPECT_EQ(first, kSentinel);
    EXPECT_EQ(settings_.ClearFirstRun(), kErrNone);
    EXPECT_EQ(settings_.GetFirstRun(&first), kErrNone);
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(StoredDword(HKEY_LOCAL_MACHINE, kRoot + "\\Options", "First Run"), 0u);
}

TEST_F(OwnValues, WindowRectsAreKeptPerProgramAndLoadStopsAtTheFirstGap) {
    const RECT saved = {-8, 20, 1290, 700};
    EXPECT_EQ(settings_.SaveWindowRect("Vessa", saved), kErrNone);
    EXPECT_EQ(StoredDword(HKEY_LOCAL_MACHINE, kApp + "\\Vessa", "Program Left"), static_cast<DWORD>(-8));
    EXPECT_EQ(StoredDword(HKEY_LOCAL_MACHINE, kApp + "\\Vessa", "Program Bottom"), 700u);

    RECT rect = {1, 2, 3, 4};
    EXPECT_EQ(settings_.LoadWindowRect("Vessa Manager", &rect), kErrSettingsRead);
    EXPECT_TRUE(rect.left == 1 && rect.top == 2 && rect.right == 3 && rect.bottom == 4);
    EXPECT_EQ(settings_.LoadWindowRect("Vessa", &rect), kErrNone);
    EXPECT_TRUE(rect.left == -8 && rect.top == 20 && rect.right == 1290 && rect.bottom == 700);

    // Left and Top are read before the missing Right stops the load.
    PutDword(HKEY_LOCAL_MACHINE, kApp + "\\Vessa Manager", "Program Left", 5);
    PutDword(HKEY_LOCAL_MACHINE, kApp + "\\Vessa Manager", "Program Top", 6);
    PutDword(HKEY_LOCAL_MACHINE, kApp + "\\Vessa Manager", "Program Bottom", 9);
    rect = {1, 2, 3, 4};
    EXPECT_EQ(settings_.LoadWindowRect("Vessa Manager", &rect), kErrSettingsRead);
    EXPECT_TRUE(rect.left == 5 && rect.top == 6 && rect.right == 3 && rect.bottom == 4)
        << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
}

TEST_F(OwnValues, DefaultSkinHoldsAtMost127Characters) {
    const std::string longest(127, 's');
    EXPECT_EQ(settings_.SetDefaultSkin(longest), kErrNone);
    std::string skin;
    EXPECT_EQ(settings_.GetDefaultSkin(&skin), kErrNone);
    EXPECT_EQ(skin, longest);
    EXPECT_EQ(settings_.SetDefaultSkin(longest + "s"), kErrSettingsWrite);
    EXPECT_EQ(StoredString(HKEY_LOCAL_MACHINE, kRoot + "\\Skins", "Default Skin"), longest) << "left as it was";

    PutString(HKEY_LOCAL_MACHINE, kRoot + "\\Skins", "Default Skin", longest + "s");
    skin = "previous";
    EXPECT_EQ(settings_.GetDefaultSkin(&skin), kErrSettingsRead);
    EXPECT_EQ(skin, "previous");
}

TEST(RunAtStartup, AddTestAndRemove) {
    SavedKey run(HKEY_LOCAL_MACHINE, AppConstants::kRunKey);
    struct Case {
        std::string folder;
        std::string value;
    } cases[] = {
        {"C:\\Apps", "C:\\Apps\\VessaMgr.exe"},
        {"C:\\Program Files\\Vessa", "\"C:\\Program Files\\Vessa\\VessaMgr.exe\""},
    };
    for (const auto& c : cases) {
        CRegSettings settings(c.folder);
        bool on = true;
        EXPECT_EQ(settings.IsRunAtStartup(&on), kErrNone);
        EXPECT_FALSE(on);
        EXPECT_EQ(settings.RemoveRunAtStartup(), kErrSettingsRead) << "no Run key yet";

        EXPECT_EQ(settings.AddRunAtStartup(), kErrNone);
        EXPECT_EQ(StoredString(HKEY_LOCAL_MACHINE, AppConstants::kRunKey, "Vessa Manager"), c.value);
        EXPECT_EQ(settings.IsRunAtStartup(&on), kErrNone);
        EXPECT_TRUE(on);

        EXPECT_EQ(settings.RemoveRunAtStartup(), kErrNone);
        EXPECT_EQ(settings.IsRunAtStartup(&on), kErrNone);
        EXPECT_FALSE(on);
        EXPECT_EQ(settings.RemoveRunAtStartup(), kErrSettingsWrite) << "nothing left to remove";
        fw::DeleteKeyTree(HKEY_LOCAL_MACHINE, AppConstants::kRunKey);
    }

    // A path the reader could not read back is not written.
    CRegSettings deep("C:\\" + std::string(250, 'd'));
    EXPECT_EQ(deep.AddRunAtStartup(), kErrSettingsWrite);
    bool on = true;
    EXPECT_EQ(deep.IsRunAtStartup(&on), kErrNone);
    EXPECT_FALSE(on);

    // By default the running program's folder.
    CRegSettings running;
    const std::string path = testsupport::TestBinaryFolder() + "\\VessaMgr.exe";
    EXPECT_EQ(running.RunAtStartupCommand(), path.find(' ') == std::string::npos ? path : "\"" + path + "\"");
}

}  // namespace
