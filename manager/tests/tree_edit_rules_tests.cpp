// The editing rules without a window: proposed names, typed names, the
// duplicate test and how group lines follow renames and deletes.
#include "tree/TreeEditRules.h"

#include <gtest/gtest.h>

using namespace TreeEdit;

TEST(TreeEditRules, ANewFolderTakesTheFirstFreeNumberWithoutRegardToCase) {
    struct Case {
        std::vector<std::string> taken;
        const char* proposed;
    };
    const Case cases[] = {
        {{}, "New Folder"},
        {{"Other"}, "New Folder"},
        {{"New Folder"}, "New Folder1"},
        {{"New Folder", "new folder1"}, "New Folder2"},
        {{"NEW FOLDER", "New Folder2"}, "New Folder1"},
        {{"New Folder1"}, "New Folder"},
    };
    for (const Case& c : cases) EXPECT_EQ(ProposeFolderName(c.taken), c.proposed) << c.taken.size();
}

TEST(TreeEditRules, OnlyPlainNamesBecomeFoldersOrGroups) {
    struct Case {
        std::string name;
        NameCheck check;
    };
    const Case cases[] = {
        {"Travel", NameCheck::kOk},
        {"My links 2", NameCheck::kOk},
        {"a.b", NameCheck::kOk},
        {" leading", NameCheck::kOk},
        {"CONSOLE", NameCheck::kOk},
        {"COM", NameCheck::kOk},
        {"", NameCheck::kEmpty},
        {".", NameCheck::kRefused},
        {"..", NameCheck::kRefused},
        {"..\\..\\Windows", NameCheck::kRefused},
        {"a\\b", NameCheck::kRefused},
        {"a/b", NameCheck::kRefused},
        {"C:x", NameCheck::kRefused},
        {"wild*", NameCheck::kRefused},
        {"what?", NameCheck::kRefused},
        {"say \"hi\"", NameCheck::kRefused},
        {"<a>", NameCheck::kRefused},
        {"a|b", NameCheck::kRefused},
        {std::string("tab\there"), NameCheck::kRefused},
        {"trailing.", NameCheck::kRefused},
        {"trailing ", NameCheck::kRefused},
        {"CON", NameCheck::kRefused},
        {"nul", NameCheck::kRefused},
        {"Aux.txt", NameCheck::kRefused},
        {"com1", NameCheck::kRefused},
        {"LPT9.vsg", NameCheck::kRefused},
        {"prn .x", NameCheck::kRefused},
        {std::string(kMaxNameLength, 'a'), NameCheck::kOk},
        {std::string(kMaxNameLength + 1, 'a'), NameCheck::kRefused},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckFolderName(c.name), c.check) << "[" << c.name << "]";
    EXPECT_TRUE(FitsPathLimit("C:\\Vessa\\Links\\" + std::string(200, 'a')));
    EXPECT_FALSE(FitsPathLimit("C:\\Vessa\\Links\\" + std::string(240, 'a')));
}

TEST(TreeEditRules, ARenameClashesWithAnySiblingButTheSameExactText) {
    const std::vector<std::string> siblings{"abc", "Work", "\xE9t\xE9", "a^"};
    struct Case {
        const char* oldText;
        const char* newText;
        bool duplicate;
    };
    const Case cases[] = {
        {"abc", "ABC", true},  // the item finds itself
        {"abc", "abc", false}, {"abc", "work", true}, {"abc", "Play", false}, {"New Folder", "New Folder", false},
        // As the file system: "ÉTÉ" is "été", "a" U+02C6 is not "a^".
        {"x", "\xC9T\xC9", true}, {"x", "a\x88", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDuplicateName(siblings, c.oldText, c.newText), c.duplicate) << c.oldText << " " << c.newText;
}

TEST(TreeEditRules, GroupLinesFollowARenamedLinkOrFolder) {
    struct Case {
        const char* rule;
        std::vector<std::string> lines;
        const char* from;
        const char* to;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"link",
         {"Links\\3.vsl", "links\\3.VSL", "Links\\4.vsl"},
         "Links\\3.vsl",
         "Links\\A\\0.vsl",
         {"Links\\A\\0.vsl", "Links\\A\\0.vsl", "Links\\4.vsl"}},
        {"link", {"Links\\30.vsl"}, "Links\\3.vsl", "Links\\9.vsl", {"Links\\30.vsl"}},
        {"folder",
         {"Links\\Travel\\1.vsl", "links\\travel\\Europe\\4.vsl", "Links\\Travelling\\2.vsl", "Links\\Travel",
          "Links\\Travel\\notes.txt", "Links\\1.vsl"},
         "Links\\Travel",
         "Links\\Trips",
         {"Links\\Trips\\1.vsl", "Links\\Trips\\Europe\\4.vsl", "Links\\Travelling\\2.vsl", "Links\\Travel",
          "Links\\Travel\\notes.txt", "Links\\1.vsl"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = c.lines;
        const bool changed = std::string(c.rule) == "link" ? RewriteLinkLines(lines, c.from, c.to)
                                                           : RewriteFolderLines(lines, c.from, c.to);
        EXPECT_EQ(lines, c.after) << c.rule << " " << c.from;
        EXPECT_EQ(changed, lines != c.lines) << c.rule << " " << c.from;
    }
}

TEST(TreeEditRules, DeletesRemoveTheLinesOfTheLinkOrEverythingBelowTheFolder) {
    std::vector<std::string> lines{"Links\\3.vsl", "LINKS\\3.vsl", "Links\\A\\3.vsl", "Links\\33.vsl"};
    EXPECT_TRUE(RemoveLinkLines(lines, "Links\\3.vsl"));
    EXPECT_EQ(lines, (std::vector<std::string>{"Links\\A\\3.vsl", "Links\\33.vsl"}));
    EXPECT_FALSE(RemoveLinkLines(lines, "Links\\3.vsl"));

    lines = {"Links\\A\\1.vsl", "links\\a\\B\\2.vsl", "Links\\AB\\3.vsl", "Links\\A", "Links\\A\\"};
    EXPECT_TRUE(RemoveFolderLines(lines, "Links\\A"));
    EXPECT_EQ(lines, (std::vector<std::string>{"Links\\AB\\3.vsl", "Links\\A", "Links\\A\\"}));
    EXPECT_TRUE(LiesBelow("Links\\A\\x", "Links\\A"));
    EXPECT_FALSE(LiesBelow("Links\\AB\\x", "Links\\A"));
    EXPECT_TRUE(NamesLink("links\\0.VSL", "Links\\0.vsl"));
}
