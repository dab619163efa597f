#include "FolderUtil.h"
#include "ProgramFolder.h"
#include "ErrorCodes.h"

#include "fw/file.h"
#include "testsupport/folder_link.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

using testsupport::TempProgramFolder;

std::vector<std::string> Relative(const std::vector<std::string>& paths, const std::string& base) {
    std::vector<std::string> out;
    for (const auto& p : paths) out.push_back(p.substr(base.size() + 1));
    return out;
}

TEST(FolderUtil, ProgramFolderIsTheRunningProgramsFolder) {
    std::string folder;
    ASSERT_EQ(CFolderUtil::GetProgramFolder(&folder), kErrNone);
    EXPECT_EQ(folder, testsupport::TestBinaryFolder());
    CFolderUtil util;
    EXPECT_EQ(util.LinksFolder(), folder + "\\Links");
}

// GetModuleFileNameA fills a short buffer and returns its size: the buffer
// must grow until the whole name fits, never give a cut name's folder.
TEST(FolderUtil, TheProgramNameBufferGrowsToTheWholeName) {
    for (const size_t length : {size_t{20}, size_t{MAX_PATH - 1}, size_t{MAX_PATH}, size_t{700}, size_t{32767}}) {
        const std::string folder = "C:\\" + std::string(length - 13, 'd');
        const std::string name = folder + "\\Vessa.exe";
        ASSERT_EQ(name.size(), length);
        int reads = 0;
        std::string out = "stale";
        const ErrorCode rc = ProgramFolderFrom(
            [&](char* buffer, DWORD size) -> DWORD {
                ++reads;
                const size_t copied = std::min<size_t>(name.size(), size);
                std::memcpy(buffer, name.data(), copied);
                return static_cast<DWORD>(copied);
            },
            &out);
        EXPECT_EQ(rc, kErrNone) << length;
        EXPECT_EQ(out, folder) << length;
        EXPECT_EQ(reads > 1, name.size() >= MAX_PATH) << length;
    }
    std::string out = "stale";
    EXPECT_EQ(ProgramFolderFrom([](char*, DWORD size) { return size; }, &out), kErrAppPath) << "never whole";
    EXPECT_EQ(out, "");
    EXPECT_EQ(ProgramFolderFrom([](char*, DWORD) -> DWORD { return 0; }, &out), kErrAppPath);
}

TEST(FolderUtil, MakeUniqueNameTakesTheSmallestFreeNumber) {
    struct Case {
        std::vector<const char*> files;
        const char* expected;
    } cases[] = {
        {{}, "0.vsl"},
        {{"0.vsl", "1.vsl", "3.vsl"}, "2.vsl"},
        {{"0.VSL"}, "1.vsl"},
        {{"0.vsl", "1.Vsl"}, "2.vsl"},  // "1.Vsl" is the same file as "1.vsl"
        {{"1.vsl", "2.vsl"}, "0.vsl"},
        {{"0.vslx", "0.vs", "0.vsg"}, "0.vsl"},  // foreign extensions are not links
        {{"0.vsl", "1.vsl", "2.vsl", "3.vsl", "4.vsl", "5.vsl", "6.vsl", "7.vsl", "8.vsl", "9.vsl", "10.vsl"},
         "11.vsl"},
    };
    for (const auto& c : cases) {
        TempProgramFolder dir;
        dir.MakeFolder("Links");
        for (const char* f : c.files) dir.WriteFile(std::string("Links\\") + f, "x");
        CFolderUtil util(dir.Path());
        std::string name;
        EXPECT_EQ(util.MakeUniqueName(util.LinksFolder(), &name), kErrNone);
        EXPECT_EQ(name, c.expected) << "files: " << c.files.size();
    }
    TempProgramFolder empty;
    CFolderUtil util(empty.Path());
    std::string name;
    EXPECT_EQ(util.MakeUniqueName(util.LinksFolder(), &name), kErrNone) << "missing Links folder";
    EXPECT_EQ(name, "0.vsl");
}

TEST(FolderUtil, ListFilesKeepsOnlyTheRealExtensionInListingOrder) {
    TempProgramFolder dir;
    for (const char* f : {"2.vsl", "10.vsl", "1.VSL", "a.vslx", "b.vsg", "c.vs"}) dir.WriteFile(f, "x");
    dir.MakeFolder("d.vsl");  // a folder is no link file
    CFolderUtil util(dir.Path());
    std::vector<std::string> files;
    ASSERT_EQ(util.ListFiles(dir.Path(), "vsl", &files), kErrNone);
    std::vector<std::string> upper = files;
    for (auto& f : upper) std::transform(f.begin(), f.end(), f.begin(), ::toupper);
    // Listings come sorted by upper-cased name: "10.vsl" before "2.vsl".
    EXPECT_EQ(upper, (std::vector<std::string>{"1.VSL", "10.VSL", "2.VSL"}));

    files.clear();
    EXPECT_EQ(util.ListFiles(dir.Path(), "vst", &files), kErrNoFile);
    EXPECT_EQ(util.ListFiles(dir / "missing", "vsl", &files), kErrNoFile);
    EXPECT_TRUE(files.empty());
}

TEST(FolderUtil, WalkFindsEveryFolderDepthFirst) {
    TempProgramFolder dir;
    for (const char* f : {"Links\\A\\B\\C", "Links\\A\\E", "Links\\Hidden", "Links\\ReadOnly", "Links\\Z"})
        dir.MakeFolder(f);
    dir.WriteFile("Links\\A\\file.vsl", "x");
    ::SetFileAttributesA((dir / "Links\\Hidden").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA((dir / "Links\\ReadOnly").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);

    CFolderUtil util(dir.Path());
    std::vector<std::string> list;
    ASSERT_EQ(util.ListSubfolders(util.LinksFolder(), &list), kErrNone);
    EXPECT_EQ(Relative(list, util.LinksFolder()),
              (std::vector<std::string>{"A", "A\\B", "A\\B\\C", "A\\E", "Hidden", "ReadOnly", "Z"}));

    list.clear();
    EXPECT_EQ(util.ListSubfolders(dir / "missing", &list), kErrSetDirectory);
    EXPECT_TRUE(list.empty());
    ::SetFileAttributesA((dir / "Links\\ReadOnly").c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FolderUtil, CreatePathMakesEveryMissingLevel) {
    TempProgramFolder dir;
    CFolderUtil util(dir.Path());
    EXPECT_EQ(util.CreatePath(util.LinksFolder(), "A\\B"), kErrNone);
    EXPECT_TRUE(fw::FolderExists(dir / "Links\\A\\B"));
    EXPECT_EQ(util.CreatePath(util.LinksFolder(), "A\\B"), kErrNone) << "all exist already";
    EXPECT_EQ(util.CreatePath(util.LinksFolder() + "\\", "C"), kErrNone) << "base ending in a backslash";
    EXPECT_TRUE(fw::FolderExists(dir / "Links\\C"));

    dir.WriteFile("Links\\blocker", "a file where a folder should be");
    EXPECT_EQ(util.CreatePath(util.LinksFolder(), "blocker\\X"), kErrAddFolder);
}

TEST(FolderUtil, DeleteLinkTreeRemovesItWholeAndKeepsForeignFiles) {
    TempProgramFolder dir;
    for (const char* f : {"Links\\0.vsl", "Links\\A\\0.vsl", "Links\\A\\B\\0.vsl", "Links\\A\\B\\1.VSL",
                          "Links\\Keep\\0.vsl", "Links\\Keep\\notes.txt"}) {
        dir.MakeFolder(fw::FolderOf(f));
        dir.WriteFile(f, "x");
    }
    CFolderUtil util(dir.Path());
    // Even the current directory inside the tree must not keep a folder alive.
    ASSERT_TRUE(::SetCurrentDirectoryA((dir / "Links\\A\\B").c_str()));
    EXPECT_EQ(util.DeleteFolderTree(dir.Path(), "Links\\A", 4), kErrNone);
    EXPECT_FALSE(dir.Exists("Links\\A"));
    EXPECT_TRUE(dir.Exists("Links\\0.vsl"));

    EXPECT_EQ(util.DeleteFolderTree(dir.Path(), "Links", 3), kErrNone);
    EXPECT_TRUE(fw::FolderExists(dir / "Links")) << "the Links root stays";
    EXPECT_FALSE(dir.Exists("Links\\0.vsl"));
    EXPECT_FALSE(dir.Exists("Links\\Keep\\0.vsl"));
    EXPECT_TRUE(dir.Exists("Links\\Keep\\notes.txt")) << "a folder holding other files stays";
}

TEST(FolderUtil, DeleteGroups) {
    TempProgramFolder dir;
    dir.MakeFolder("Groups");
    for (const char* f : {"Groups\\Work.vsg", "Groups\\Home.vsg", "Groups\\readme.txt"}) dir.WriteFile(f, "x");
    dir.WriteFile("Groups.vsg", "not a group");
    CFolderUtil util(dir.Path());

    EXPECT_EQ(util.DeleteFolderTree(dir.Path(), "Groups\\Work", 6), kErrNone);
    EXPECT_FALSE(dir.Exists("Groups\\Work.vsg"));
    EXPECT_TRUE(dir.Exists("Groups\\Home.vsg"));

    EXPECT_EQ(util.DeleteFolderTree(dir.Path(), "Groups", 6), kErrNone);
    EXPECT_FALSE(dir.Exists("Groups\\Home.vsg"));
    EXPECT_TRUE(fw::FolderExists(dir / "Groups"));
    EXPECT_TRUE(dir.Exists("Groups\\readme.txt"));
    EXPECT_TRUE(dir.Exists("Groups.vsg")) << "nothing outside the Groups folder is touched";
}

// A program folder "Prog" beside a folder "Outside" that no deletion may reach.
struct BesideOutside {
    TempProgramFolder dir;
    std::string prog = dir / "Prog";
    CFolderUtil util{prog};
    BesideOutside() {
        for (const char* f : {"Prog\\Links\\0.vsl", "Prog\\Links\\A\\0.vsl", "Outside\\0.vsl", "Outside\\Sub\\1.vsl",
                              "Prog\\Groups\\Work.vsg", "Outside.vsg"}) {
            dir.MakeFolder(fw::FolderOf(f));
            dir.WriteFile(f, "x");
        }
    }
    bool OutsideWhole() const {
        return dir.Exists("Outside\\0.vsl") && dir.Exists("Outside\\Sub\\1.vsl") && dir.Exists("Outside.vsg");
    }
};

TEST(FolderUtil, DeleteRefusesAPathThatIsAbsoluteOrClimbs) {
    BesideOutside f;
    const std::string absolute = f.dir / "Outside";
    const std::string forward = absolute.substr(2);  // "\..." from the drive's root
    struct Case {
        std::string relative;
        int kind;
    } cases[] = {
        {absolute, 4},           {forward, 4},          {"..\\Outside", 4},  {"Links\\..\\..\\Outside", 4},
        {"Links/../../Outside", 4}, {"..", 4},          {"Links\\A\\..", 4}, {"Groups\\..\\..\\Outside", 6},
        {"C:Outside", 4},        {"\\\\server\\share", 4}, {"/Outside", 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f.util.DeleteFolderTree(f.prog, c.relative, c.kind), kErrDeleteFolder) << c.relative;
        EXPECT_TRUE(f.OutsideWhole()) << c.relative;
        EXPECT_TRUE(f.dir.Exists("Prog\\Links\\A\\0.vsl")) << c.relative << ": nothing is touched";
    }
    // Names that only look alike stay allowed.
    EXPECT_TRUE(CFolderUtil::IsContainedRelative("Links\\..A\\b..\\...\\x"));
    EXPECT_EQ(f.util.DeleteFolderTree(f.prog, "Links\\A", 4), kErrNone);
    EXPECT_FALSE(f.dir.Exists("Prog\\Links\\A"));
}

TEST(FolderUtil, AWalkRefusesAFolderNamedWithAClimb) {
    BesideOutside f;
    std::vector<std::string> list;
    EXPECT_EQ(f.util.ListSubfolders(f.prog + "\\Links\\..\\..\\Outside", &list), kErrSetDirectory);
    EXPECT_TRUE(list.empty());
}

// A junction or folder link inside the tree is listed, never entered, and a
// deletion never reaches what it points to.
// The test support's clean-up of a scratch folder: a link inside it, or the
// folder itself a link, goes without what it points to.
TEST(TestSupportRemoveTree, RemovesAFolderLinkWithoutEnteringIt) {
    BesideOutside f;
    const std::string inside = f.prog + "\\Links\\Linked";
    ASSERT_TRUE(testsupport::MakeFolderLink(inside, f.dir / "Outside"));
    const std::string top = f.dir / "TopLink";
    ASSERT_TRUE(testsupport::MakeFolderLink(top, f.dir / "Outside"));
    testsupport::RemoveTree(f.prog);
    EXPECT_TRUE(f.OutsideWhole()) << "a link inside the tree";
    EXPECT_EQ(::GetFileAttributesA(inside.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(f.dir.Exists("Prog"));
    testsupport::RemoveTree(top);
    EXPECT_TRUE(f.OutsideWhole()) << "the link as the tree's root";
    EXPECT_EQ(::GetFileAttributesA(top.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FolderUtil, AFolderLinkIsNeverFollowed) {
    BesideOutside f;
    const std::string link = f.prog + "\\Links\\Linked";
    ASSERT_TRUE(testsupport::MakeFolderLink(link, f.dir / "Outside"));
    struct RemoveLink {
        std::string path;
        ~RemoveLink() { testsupport::RemoveFolderLink(path); }
    } cleanup{link};

    std::vector<std::string> list;
    ASSERT_EQ(f.util.ListSubfolders(f.prog + "\\Links", &list), kErrNone);
    std::sort(list.begin(), list.end());
    EXPECT_EQ(Relative(list, f.prog), (std::vector<std::string>{"Links\\A", "Links\\Linked"}));

    EXPECT_EQ(f.util.DeleteFolderTree(f.prog, "Links\\Linked", 4), kErrNone);
    EXPECT_TRUE(f.OutsideWhole()) << "the link as the tree's root";
    EXPECT_EQ(f.util.DeleteFolderTree(f.prog, "Links", 3), kErrNone);
    EXPECT_TRUE(f.OutsideWhole()) << "the link inside the tree";
    EXPECT_FALSE(f.dir.Exists("Prog\\Links\\A")) << "the rest of the tree goes";
    // Windows removes the link itself; Wine cannot remove a Unix link through
    // Win32, so there it stays, still a link.
    const DWORD attrs = ::GetFileAttributesA(link.c_str());
    EXPECT_TRUE(attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_REPARSE_POINT));
}

TEST(FolderUtil, MakeRelativePath) {
    CFolderUtil util("C:\\Apps");
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\Apps\\Links\\A\\3.vsl", "A\\3.vsl"},
        {"C:\\Apps\\Links", ""},
        {"C:\\Apps\\Templates\\Default.vst", "Templates\\Default.vst"},
        {"C:\\Apps\\Groups\\Work.vsg", "Groups\\Work.vsg"},
        {"c:\\apps\\links\\1.vsl", "1.vsl"},
        {"C:\\Apps\\LinksOld\\1.vsl", "LinksOld\\1.vsl"},
        {"D:\\Other\\x.vsl", "D:\\Other\\x.vsl"},
    };
    for (const auto& c : cases) {
        std::string out;
        util.MakeRelativePath(c.path, &out);
        EXPECT_EQ(out, c.expected) << c.path;
    }
}

}  // namespace
