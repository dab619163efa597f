// Member lines, group names and the enable table, without a window.
#include "LinkTreeRules.h"
#include "resource.h"

#include <gtest/gtest.h>

TEST(TreeRules, OnlyPlainLinesBelowLinksAreMembers) {
    struct Case {
        const char* line;
        bool ok;
        const char* group;
        const char* name;
    };
    const Case cases[] = {
        {"Links\\0.vsl", true, "", "0.vsl"},
        {"Links\\Travel\\Europe\\3.vsl", true, "Travel\\Europe", "3.vsl"},
        {"links\\1.vsl", true, "", "1.vsl"},
        {"Links\\", false, "", ""},
        {"Links", false, "", ""},
        {"\\Links\\0.vsl", false, "", ""},
        {"C:\\Links\\0.vsl", false, "", ""},
        {"Links\\..\\Groups\\a.vsg", false, "", ""},
        {"Links\\.\\0.vsl", false, "", ""},
        {"Links\\a\\\\0.vsl", false, "", ""},
        {"Links\\C:0.vsl", false, "", ""},
        {"Links/0.vsl", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        CURLEntry entry;
        EXPECT_EQ(ParseMemberLine(c.line, &entry), c.ok) << c.line;
        if (!c.ok) continue;
        EXPECT_EQ(entry.group, c.group) << c.line;
        EXPECT_EQ(entry.name, c.name) << c.line;
        EXPECT_EQ(MemberLineOf(entry),
                  std::string("Links\\") + (entry.group.empty() ? "" : entry.group + "\\") + c.name);
    }
}

TEST(TreeRules, AGroupNameLosesOnlyItsFinalExtension) {
    EXPECT_EQ(GroupNameOf("Weekend.vsg"), "Weekend");
    EXPECT_EQ(GroupNameOf("a.vsg.vsg"), "a.vsg");
    EXPECT_EQ(GroupNameOf("b.VSG"), "b");
    EXPECT_EQ(GroupNameOf("c.vsgx"), "c.vsgx");
}

TEST(TreeRules, TheEnableTable) {
    using namespace TreeKind;
    auto on = [](UINT id, int kind, bool editing = false, bool children = false) {
        TreeCommandState s;
        s.hasItem = true;
        s.kind = kind;
        s.editing = editing;
        s.hasChildren = children;
        return TreeCommandEnabled(id, s);
    };
    EXPECT_TRUE(on(ID_LAUNCH, kLink));
    EXPECT_TRUE(on(ID_LAUNCH, kMember));
    EXPECT_FALSE(on(ID_LAUNCH, kGroup));
    EXPECT_TRUE(on(ID_LAUNCH, kGroup, false, true));
    EXPECT_FALSE(on(ID_LAUNCH, kTemplate)) << "the template is never launched";
    EXPECT_FALSE(on(ID_LAUNCH, kCutLink));
    EXPECT_FALSE(on(ID_LAUNCH, kLink, true));
    EXPECT_TRUE(on(ID_DELETE_FOLDER, kFolder));
    EXPECT_FALSE(on(ID_DELETE_FOLDER, kFolder, true)) << "not while a label is edited";
    EXPECT_TRUE(on(ID_EDIT_DELETE, kGroup));
    EXPECT_FALSE(on(ID_EDIT_DELETE, kTemplate));
    EXPECT_TRUE(on(ID_ADD_FOLDER, kGroupsRoot));
    EXPECT_FALSE(on(ID_ADD_LINK, kGroupsRoot));
    TreeCommandState none;
    EXPECT_FALSE(TreeCommandEnabled(ID_ADD_LINK, none)) << "nothing without a current item";
    TreeCommandState copy;
    copy.hasItem = true;
    copy.kind = kGroup;
    copy.copyPending = true;
    copy.sourceKind = kLink;
    EXPECT_TRUE(TreeCommandEnabled(ID_EDIT_PASTE, copy));
    copy.copyPending = false;
    EXPECT_FALSE(TreeCommandEnabled(ID_EDIT_PASTE, copy));
}
