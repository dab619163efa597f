// The manager's start switches and the rule for a hidden start.
#include "StartSwitches.h"

#include <gtest/gtest.h>

TEST(StartSwitches, TheTextAfterTheProgramNameGivesThePathAndTheShowFlag) {
    struct Case {
        const char* arguments;
        const char* path;
        bool showAtStart;
    };
    const Case cases[] = {
        {"", "", true},
        {"\"-s C:\\V\\Links\\1.vsl\"", "C:\\V\\Links\\1.vsl", false},
        {"\"-S C:\\V\\Links\\1.vsl\"", "C:\\V\\Links\\1.vsl", false},
        {"\"-s C:\\V\\Links\\1.vsl", "C:\\V\\Links\\1.vsl", false},  // no closing quote: nothing dropped
        {"\"-s ", "", false},                                        // too short for a path
        {"\"-s", "", false},
        {"\"-s \"", "", false},
        {"-o ", "", false},
        {"-O ", "", false},
        {"-o", "", true},  // no blank: not the switch
        {"-ox", "", true},
        {"-s C:\\x.vsl", "", true},  // the path switch needs its quote
        {"something else", "", true},
    };
    for (const Case& c : cases) {
        const StartSwitches s = ParseStartSwitches(c.arguments);
        EXPECT_EQ(s.startPath, c.path) << c.arguments;
        EXPECT_EQ(s.showAtStart, c.showAtStart) << c.arguments;
    }
}

TEST(StartSwitches, EmbeddingAndAutomationFlagsMarkAStartByCom) {
    EXPECT_TRUE(IsRegistrationStart("-Embedding"));
    EXPECT_TRUE(IsRegistrationStart("/embedding"));
    EXPECT_TRUE(IsRegistrationStart("/Automation"));
    EXPECT_TRUE(IsRegistrationStart("-o  /Automation"));
    EXPECT_FALSE(IsRegistrationStart("Embedding"));
    EXPECT_FALSE(IsRegistrationStart("\"-s C:\\a -Embedding\""));
    EXPECT_FALSE(IsRegistrationStart("-Embeddings"));
    EXPECT_FALSE(IsRegistrationStart(""));
}

TEST(StartSwitches, OnlyAManagerWithItsIconStartsHidden) {
    EXPECT_TRUE(StartsHidden(true, true, true));
    EXPECT_FALSE(StartsHidden(true, true, false)) << "hidden without an icon could not be reached";
    EXPECT_FALSE(StartsHidden(true, false, true));
    EXPECT_FALSE(StartsHidden(false, true, true));
}
