// The uninstaller's tokens, options and plain names. No platform needed.
#include "TwCommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Tokens(std::string_view text) {
    CmdTokenizer tokens;
    tokens.Init(text);
    std::vector<std::string> out;
    while (auto token = tokens.NextToken()) out.push_back(*token);
    tokens.Release();
    return out;
}

TEST(CmdTokenizer, SplitsAtBlanksOutsideQuotes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens(""), V{});
    EXPECT_EQ(Tokens("  \t "), V{});
    EXPECT_EQ(Tokens("a  b\tc"), (V{"a", "b", "c"}));
    EXPECT_EQ(Tokens("-appname \"Ves sa\" x"), (V{"-appname", "Ves sa", "x"}));
    EXPECT_EQ(Tokens("ab\"c d\"e"), (V{"abc de"}));
    EXPECT_EQ(Tokens("\"\" x"), (V{"", "x"})) << "an empty quoted token is a token";
    EXPECT_EQ(Tokens("\"open to the end"), (V{"open to the end"}));
}

TEST(CmdTokenizer, ALongTokenIsConsumedWholeAndMarked) {
    CmdTokenizer tokens;
    tokens.Init(std::string(300, 'x') + " next");
    bool overLong = false;
    auto first = tokens.NextToken(&overLong);
    ASSERT_TRUE(first);
    EXPECT_TRUE(overLong);
    EXPECT_EQ(first->size(), CmdTokenizer::kMaxToken);
    EXPECT_EQ(tokens.NextToken(&overLong), "next");
    EXPECT_FALSE(overLong);
    tokens.Init(std::string(259, 'y'));
    EXPECT_EQ(tokens.NextToken(&overLong)->size(), 259u);
    EXPECT_FALSE(overLong);
}

TEST(TwOptions, Table) {
    struct Case {
        const char* line;
        const char* name;  // null: no name set
        bool valid;
        bool noGui;
    };
    const Case cases[] = {
        {"", nullptr, false, false},
        {"-appname Vessa", "Vessa", true, false},
        {"-APPNAME Vessa -NOERRORGUI", "Vessa", true, true},
        {"-appnameX \"Ves sa\"", "Ves sa", true, false},
        {"-noerrorgui -appname", nullptr, false, true},
        {"-appname -noerrorgui", "-noerrorgui", true, false},
        {"-appname A -appname B", "B", true, false},
        {"-appname A -appname", "A", true, false},
        {"-dontask -appname A -noerrorguiX", "A", true, true},
        {"-appname ..", "..", false, false},
        {"-appname \"\"", "", false, false},
    };
    for (const Case& c : cases) {
        const TwOptions o = ReadOptions(c.line);
        EXPECT_EQ(o.appName.has_value(), c.name != nullptr) << c.line;
        if (c.name && o.appName) {
            EXPECT_EQ(*o.appName, c.name) << c.line;
        }
        EXPECT_EQ(o.appNameValid, c.valid) << c.line;
        EXPECT_EQ(o.noErrorGui, c.noGui) << c.line;
    }
    EXPECT_TRUE(ReadOptions("-DONTASK").dontAsk);
    EXPECT_FALSE(ReadOptions("-appname " + std::string(300, 'a')).appNameValid) << "over-long";
    EXPECT_FALSE(ReadOptions("-appname" + std::string(300, 'a') + " Vessa").appName) << "an over-long option";
}

TEST(IsPlainName, Table) {
    for (const char* good : {"Vessa", "Ves sa", "-noerrorgui", "a.b", "CONSOLE", "COM", "COM10", "x~y", "\xE9t\xE9"})
        EXPECT_TRUE(IsPlainName(good)) << good;
    for (const char* bad : {"",    ".",       "..",  "a\\b",  "a/b",  "C:",       "a*",     "a?",     "\"a\"",
                            "a<b", "a>b",     "a|b", " a",    "a ",   "a.",       "a\tb",   "a\x7f",  "CON",
                            "con", "nul.txt", "Aux", "PRN.x", "COM1", "lpt9.log", "CONIN$", "conout$"})
        EXPECT_FALSE(IsPlainName(bad)) << bad;
    EXPECT_TRUE(IsPlainName(std::string(259, 'a')));
    EXPECT_FALSE(IsPlainName(std::string(260, 'a')));
}

}  // namespace
