#include "StringUtil.h"
#include "WindowsVersion.h"
#include "RegSettings.h"
#include "ErrorCodes.h"

#include "fw/file.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(StringUtil, IntToStringAndBack) {
    EXPECT_EQ(IntToString(-5), "-5");
    EXPECT_EQ(IntToString(0), "0");
    EXPECT_EQ(IntToString(INT_MIN), "-2147483648");

    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"12ab", 12}, {"", 0}, {"ab", 0}, {"-7x", -7}, {"  42", 42}, {"+3", 3},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(StringToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(StringUtil, PathPrefixNeedsWholeComponent) {
    EXPECT_TRUE(PathStartsWith("C:\\App\\Links\\A", "c:\\app\\links"));
    EXPECT_TRUE(PathStartsWith("C:\\App\\Links", "C:\\App\\Links"));
    EXPECT_FALSE(PathStartsWith("C:\\App\\LinksX", "C:\\App\\Links"));
    EXPECT_EQ(JoinPath("C:\\", "a"), "C:\\a");
    EXPECT_EQ(JoinPath("C:\\x", "a"), "C:\\x\\a");
}

TEST(WindowsVersion, LaterNtVersionsGetACodeAndName) {
    int code = 0;
    std::string name;
    ASSERT_EQ(GetWindowsVersion(&code, &name), 1);
    // Wine reports NT 6.1 unless a manifest says otherwise.
    EXPECT_EQ(code, kWinNT6);
    EXPECT_EQ(name, "Windows NT 6.1");
    EXPECT_TRUE(IsNtFamily(code));
}

TEST(RegSettings, SystemRootIsTheWindowsFolder) {
    std::string root;
    ASSERT_EQ(CRegSettings().GetSystemRoot(&root), kErrNone);
    EXPECT_FALSE(root.empty());
    EXPECT_TRUE(fw::FolderExists(root)) << root;
    EXPECT_TRUE(fw::FileExists(root + "\\system32\\kernel32.dll") || fw::FolderExists(root + "\\system32")) << root;
}

}  // namespace
