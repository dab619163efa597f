// The links menu built on real menu handles from small fixture folders.
#include "LinksMenu.h"

#include "ErrorCodes.h"
#include "LinkStore.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::TempProgramFolder;

struct Fixture {
    std::vector<std::pair<const char*, const char*>> links;  // path below Links, title
    std::vector<const char*> folders;                        // extra empty folders below Links
    std::vector<const char*> groups;                         // group file names below Groups
};

void WriteLink(const TempProgramFolder& dir, const std::string& relative, const std::string& title) {
    CURLObject record;
    record.link.title = title;
    const size_t cut = relative.rfind('\\');
    const std::string group = cut == std::string::npos ? "" : relative.substr(0, cut);
    if (!group.empty()) dir.MakeFolder("Links\\" + group);
    CURLEntry entry(group, cut == std::string::npos ? relative : relative.substr(cut + 1));
    ASSERT_EQ(CLinkStore(dir.Path()).SaveURLObject(entry, record), kErrNone) << relative;
}

void Install(const TempProgramFolder& dir, const Fixture& f) {
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
    for (const char* folder : f.folders) dir.MakeFolder(std::string("Links\\") + folder);
    for (const auto& [path, title] : f.links) WriteLink(dir, path, title);
    for (const char* group : f.groups) dir.WriteFile(std::string("Groups\\") + group, "");
}

// One line per item, popups' items indented: "[News]", "B #50001", "---",
// "(empty) #10000 grayed". Owner-drawn texts come from the item data.
void Dump(HMENU menu, int indent, std::string* out) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_DATA;
        ASSERT_TRUE(::GetMenuItemInfoA(menu, i, TRUE, &info));
        *out += std::string(indent * 2, ' ');
        if (info.fType & MFT_SEPARATOR) {
            *out += "---\n";
            continue;
        }
        std::string text;
        if (info.fType & MFT_OWNERDRAW) {
            const auto* data = reinterpret_cast<const CMenuItemData*>(info.dwItemData);
            ASSERT_NE(data, nullptr);
            text = data->text;
            EXPECT_EQ(data->folder, info.hSubMenu != nullptr) << text;
        } else {
            char buffer[64] = {};
            ::GetMenuStringA(menu, i, buffer, sizeof(buffer), MF_BYPOSITION);
            text = buffer;
        }
        if (info.hSubMenu) {
            *out += "[" + text + "]\n";
            Dump(info.hSubMenu, indent + 1, out);
            continue;
        }
        *out += text + " #" + std::to_string(info.wID);
        if (info.fState & MFS_GRAYED) *out += " grayed";
        *out += "\n";
    }
}

struct Built {
    std::string menu;
    std::vector<std::string> paths;  // relative to the program folder
    int lastLinkId = 0;
    int nextId = 0;
};

Built Build(const TempProgramFolder& dir, CLinksMenu& builder) {
    Built b;
    COwnerDrawMenu root;
    root.CreatePopup();
    MenuList created;
    std::vector<std::string> paths;
    EXPECT_EQ(builder.BuildLinksMenu(&root, &paths, &created, &b.nextId), kErrNone);
    b.lastLinkId = b.nextId;
    EXPECT_EQ(builder.BuildGroupsMenu(&root, &paths, &b.nextId), kErrNone);
    Dump(root.handle(), 0, &b.menu);
    for (const auto& p : paths) b.paths.push_back(p.substr(dir.Path().size() + 1));
    for (const auto& menu : created) EXPECT_FALSE(menu->OwnsHandle());
    return b;
}

Built Build(const TempProgramFolder& dir) {
    CLinksMenu builder(dir.Path(), nullptr, nullptr, nullptr);
    return Build(dir, builder);
}

TEST(LinksMenu, FixtureFoldersGiveTheirCascade) {
    struct Case {
        const char* name;
        Fixture fixture;
        const char* menu;
        std::vector<const char*> paths;
        int lastLinkId;
    } cases[] = {
        {"empty store", {}, "(empty) #10000 grayed\n---\n(empty) #10000 grayed\n", {}, 50000},
        {"a folder's links come before the top level's, groups after",
         {{{"0.vsl", "A"}, {"News\\0.vsl", "B"}}, {}, {"Work.vsg", "Home.vsg"}},
         "[News]\n  B #50001\nA #50002\n---\nHome #50003\nWork #50004\n",
         {"Links\\News\\0.vsl", "Links\\0.vsl", "Groups\\Home.vsg", "Groups\\Work.vsg"},
         50002},
        {"a folder of folders has no (empty); an empty folder has",
         {{{"T\\S\\0.vsl", "x"}}, {"E"}, {}},
         "[E]\n  (empty) #10000 grayed\n[T]\n  [S]\n    x #50001\n---\n(empty) #10000 grayed\n",
         {"Links\\T\\S\\0.vsl"},
         50001},
        {"sub-folders come deepest-walked first, then the folder's own links",
         {{{"T\\0.vsl", "t"}, {"T\\A\\0.vsl", "a"}, {"T\\B\\0.vsl", "b"}, {"T\\B\\1.vsl", "b2"}}, {}, {}},
         "[T]\n  [B]\n    b #50001\n    b2 #50002\n  [A]\n    a #50003\n  t #50004\n---\n(empty) #10000 grayed\n",
         {"Links\\T\\B\\0.vsl", "Links\\T\\B\\1.vsl", "Links\\T\\A\\0.vsl", "Links\\T\\0.vsl"},
         50004},
        {"one name in two branches stays under its own parent",
         {{{"T\\A\\X\\0.vsl", "ax"}, {"T\\B\\X\\0.vsl", "bx"}, {"T\\A\\0.vsl", "a"}}, {}, {}},
         "[T]\n  [B]\n    [X]\n      bx #50001\n  [A]\n    [X]\n      ax #50002\n    a #50003\n---\n"
         "(empty) #10000 grayed\n",
         {"Links\\T\\B\\X\\0.vsl", "Links\\T\\A\\X\\0.vsl", "Links\\T\\A\\0.vsl"},
         50003},
        {"each folder holds only its own sub-folders",
         {{{"T\\A\\X\\0.vsl", "ax"}, {"T\\B\\Y\\0.vsl", "by"}}, {}, {}},
         "[T]\n  [B]\n    [Y]\n      by #50001\n  [A]\n    [X]\n      ax #50002\n---\n(empty) #10000 grayed\n",
         {"Links\\T\\B\\Y\\0.vsl", "Links\\T\\A\\X\\0.vsl"},
         50002},
        {"an unreadable link shows with an empty text, an ampersand as it stands",
         {{{"1.vsl", "Q&A"}}, {}, {"G.x.vsg"}},
         " #50001\nQ&A #50002\n---\nG.x #50003\n",
         {"Links\\0.vsl", "Links\\1.vsl", "Groups\\G.x.vsg"},
         50002},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramFolder dir;
        Install(dir, c.fixture);
        if (std::string(c.name).rfind("an unreadable", 0) == 0) dir.WriteFile("Links\\0.vsl", "damaged");
        const Built b = Build(dir);
        EXPECT_EQ(b.menu, c.menu);
        EXPECT_EQ(b.paths, std::vector<std::string>(c.paths.begin(), c.paths.end()));
        EXPECT_EQ(b.lastLinkId, c.lastLinkId);
        EXPECT_EQ(b.nextId, 50000 + static_cast<int>(c.paths.size()));
    }
}

TEST(LinksMenu, MissingFoldersGiveTheEmptyItems) {
    TempProgramFolder dir;  // neither Links nor Groups
    EXPECT_EQ(Build(dir).menu, "(empty) #10000 grayed\n---\n(empty) #10000 grayed\n");
}

TEST(LinksMenu, EveryFolderSitsUnderItsOwnParentHoweverMany) {
    TempProgramFolder dir;
    dir.MakeFolder("Links");
    dir.MakeFolder("Links\\T");
    constexpr int kFolders = 230;
    for (int i = 0; i < kFolders; ++i) {
        std::string folder = "Links\\T\\F";  // appended: GCC 12 warns falsely on a literal plus to_string
        folder += std::to_string(1000 + i);
        dir.MakeFolder(folder);
    }
    WriteLink(dir, "T\\F1229\\0.vsl", "last");
    WriteLink(dir, "0.vsl", "top");

    CLinksMenu builder(dir.Path(), nullptr, nullptr, nullptr);
    COwnerDrawMenu root;
    root.CreatePopup();
    MenuList created;
    std::vector<std::string> paths;
    int nextId = 0;
    builder.BuildLinksMenu(&root, &paths, &created, &nextId);
    ASSERT_EQ(::GetMenuItemCount(root.handle()), 2) << "one popup T and the top-level link";
    HMENU t = ::GetSubMenu(root.handle(), 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(::GetMenuItemCount(t), kFolders);
    EXPECT_EQ(created.size(), static_cast<size_t>(kFolders + 1));
    // Nested folders come in reverse walk order: the last one walked is first.
    HMENU last = ::GetSubMenu(t, 0);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(::GetMenuItemID(last, 0), 50001u);
    EXPECT_EQ(paths.front(), dir / "Links\\T\\F1229\\0.vsl");
}

TEST(LinksMenu, NoItemTakesAnIdBeyondWhatACommandCarries) {
    TempProgramFolder dir;
    dir.MakeFolder("Links");
    dir.MakeFolder("Groups");
    for (const char* g : {"A.vsg", "B.vsg", "C.vsg"}) dir.WriteFile(std::string("Groups\\") + g, "");
    for (const char* l : {"0.vsl", "1.vsl"}) WriteLink(dir, l, l);
    CLinksMenu builder(dir.Path(), nullptr, nullptr, nullptr);

    COwnerDrawMenu root;
    root.CreatePopup();
    std::vector<std::string> paths;
    int nextId = kLastLinkItemId - 1;
    builder.AppendLinkItems("", &root, &paths, &nextId);
    builder.BuildGroupsMenu(&root, &paths, &nextId);
    EXPECT_EQ(nextId, kLastLinkItemId);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], dir / "Links\\0.vsl");
    std::string menu;
    Dump(root.handle(), 0, &menu);
    EXPECT_EQ(menu, "0.vsl #65535\n---\n") << "a full count adds nothing, not even (empty)";
}

TEST(LinksMenu, EachBuildFreesTheLastBuildsItemData) {
    TempProgramFolder dir;
    Install(dir, {{{"0.vsl", "A"}, {"News\\0.vsl", "B"}}, {}, {"Home.vsg"}});
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    CLinksMenu builder(dir.Path(), icon, icon, icon);
    Build(dir, builder);
    const size_t once = builder.ItemDataCount();
    EXPECT_EQ(once, 4u) << "News, B, A, Home";
    Build(dir, builder);
    Build(dir, builder);
    EXPECT_EQ(builder.ItemDataCount(), once);
}

TEST(LinksMenu, ItemsCarryTheBuildersIcons) {
    TempProgramFolder dir;
    Install(dir, {{{"News\\0.vsl", "B"}}, {}, {"Home.vsg"}});
    HICON link = ::LoadIcon(nullptr, IDI_APPLICATION), folder = ::LoadIcon(nullptr, IDI_WARNING),
          group = ::LoadIcon(nullptr, IDI_INFORMATION);
    CLinksMenu builder(dir.Path(), link, folder, group);
    COwnerDrawMenu root;
    root.CreatePopup();
    MenuList created;
    std::vector<std::string> paths;
    int nextId = 0;
    builder.BuildLinksMenu(&root, &paths, &created, &nextId);
    builder.BuildGroupsMenu(&root, &paths, &nextId);
    auto dataOf = [](HMENU menu, int pos) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        ::GetMenuItemInfoA(menu, pos, TRUE, &info);
        return reinterpret_cast<const CMenuItemData*>(info.dwItemData);
    };
    const struct {
        const CMenuItemData* data;
        HICON icon;
    } expected[] = {{dataOf(root.handle(), 0), folder},
                    {dataOf(::GetSubMenu(root.handle(), 0), 0), link},
                    {dataOf(root.handle(), 2), group}};
    for (const auto& e : expected) {
        ASSERT_NE(e.data, nullptr);
        EXPECT_EQ(e.data->smallIcon, e.icon) << e.data->text;
        EXPECT_EQ(e.data->largeIcon, e.icon) << e.data->text;
    }
    EXPECT_FALSE(created.front()->LargeIcons());
}

}  // namespace
