#include "ErrorCodes.h"
#include "LinkStore.h"

#include "fw/file.h"
#include "fw/handles.h"
#include "link_test_util.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ctime>

using linktest::ToHex;
using testsupport::TempProgramFolder;

namespace {

// Every entry of a folder but "." and "..", sorted.
std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    fw::FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find.get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

using Names = std::vector<std::string>;

CURLObject Titled(const std::string& title) {
    CURLObject record;
    record.link.title = title;
    return record;
}

TEST(LinkStore, MissingFileGivesADefaultRecord) {
    TempProgramFolder dir;
    CLinkStore store(dir.Path());
    std::unique_ptr<CURLObject> record;
    EXPECT_EQ(store.LoadURLObject(CURLEntry("", "7.vsl"), &record), kErrOpenResourceFile);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->link.address, "http://");
    EXPECT_EQ(record->skinName, "vessa");
}

TEST(LinkStore, SaveAndLoadAllKinds) {
    TempProgramFolder dir;
    dir.MakeFolder("Links\\News");
    CLinkStore store(dir.Path());
    EXPECT_EQ(store.ProgramFolder(), dir.Path());
    EXPECT_EQ(store.LinksFolder(), dir / "Links");

    CURLEntry link("News", "4.vsl");
    CURLEntry tmpl("", "Other.vst");
    tmpl.kind = CURLEntry::kTemplate;
    EXPECT_EQ(store.EntryPath(link), dir / "Links\\News\\4.vsl");
    EXPECT_EQ(store.EntryPath(tmpl), dir / "Templates\\Other.vst");

    for (const auto& entry : {link, tmpl}) {
        CURLObject record = Titled("T " + entry.name);
        record.link.stamp2 = 12345;
        ASSERT_EQ(store.SaveURLObject(entry, record), kErrNone) << entry.name;
        EXPECT_EQ(dir.ReadFile(store.EntryPath(entry).substr(dir.Path().size() + 1)), fw::StoreObject(record));
        std::unique_ptr<CURLObject> back;
        ASSERT_EQ(store.LoadURLObject(entry, &back), kErrNone) << entry.name;
        EXPECT_FALSE(back->DiffersFrom(record));
        EXPECT_EQ(back->link.stamp2, 12345);
    }
    EXPECT_EQ(FolderEntries(dir / "Links\\News"), Names{"4.vsl"});
    EXPECT_EQ(FolderEntries(dir / "Templates"), Names{"Other.vst"});
}

TEST(LinkStore, SaveCreatesOnlyTheLastFolderLevel) {
    TempProgramFolder dir;
    CLinkStore store(dir.Path());
    // Links\A missing: A\B is not created and nothing is written.
    EXPECT_EQ(store.SaveURLObject(CURLEntry("A\\B", "0.vsl"), CURLObject()), kErrWriteFile);
    EXPECT_FALSE(dir.Exists("Links\\A"));
    // Links missing but the program folder there: Links is made.
    EXPECT_EQ(store.SaveURLObject(CURLEntry("", "0.vsl"), CURLObject()), kErrNone);
    EXPECT_TRUE(dir.Exists("Links\\0.vsl"));
    EXPECT_EQ(store.SaveURLObject(CURLEntry("A", "0.vsl"), CURLObject()), kErrNone);
    EXPECT_EQ(store.SaveURLObject(CURLEntry("A\\B", "0.vsl"), CURLObject()), kErrNone);
    EXPECT_TRUE(dir.Exists("Links\\A\\B\\0.vsl"));
}

// A program folder in dir whose file `tail` (e.g. "\Links\0.vsl") makes a path
// that fits the ANSI calls' MAX_PATH while the save's temporary name beside it
// does not: the save then fails before it touches the file.
std::string CrampedProgramFolder(const TempProgramFolder& dir, const std::string& tail) {
    const std::string base = dir / "";
    const std::string prog = base + std::string(MAX_PATH - 7 - tail.size() - base.size(), 'p');
    ::CreateDirectoryA(prog.c_str(), nullptr);
    return prog;
}

TEST(LinkStore, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    TempProgramFolder dir;
    // The old record is saved where there is room, and put in place whole.
    ASSERT_EQ(CLinkStore(dir.Path()).SaveURLObject(CURLEntry("", "0.vsl"), Titled("old")), kErrNone);
    const std::string old = dir.ReadFile("Links\\0.vsl");
    const std::string prog = CrampedProgramFolder(dir, "\\Links\\0.vsl");
    ::CreateDirectoryA((prog + "\\Links").c_str(), nullptr);
    ASSERT_TRUE(fw::WriteWholeFile(prog + "\\Links\\0.vsl", old));
    CLinkStore store(prog);
    EXPECT_EQ(store.SaveURLObject(CURLEntry("", "0.vsl"), Titled("new")), kErrWriteFile);
    std::string now;
    ASSERT_TRUE(fw::ReadWholeFile(prog + "\\Links\\0.vsl", now));
    EXPECT_EQ(ToHex(now), ToHex(old));
    EXPECT_EQ(FolderEntries(prog + "\\Links"), (Names{"0.vsl"}));

    std::string title;
    EXPECT_EQ(store.GetLinkTitle("", "0.vsl", &title), kErrNone);
    EXPECT_EQ(title, "old");
}

TEST(LinkStore, AddCreatesEveryMissingFolder) {
    TempProgramFolder dir;
    CLinkStore store(dir.Path());
    std::string name;
    ASSERT_EQ(store.AddURLObject("A\\B", Titled("deep"), &name), kErrNone);
    EXPECT_EQ(name, "0.vsl");
    EXPECT_EQ(FolderEntries(dir / "Links\\A\\B"), Names{"0.vsl"});
    std::string title;
    EXPECT_EQ(store.GetLinkTitle("A\\B", "0.vsl", &title), kErrNone);
    EXPECT_EQ(title, "deep");

    ASSERT_EQ(store.AddURLObject("", Titled("top"), &name), kErrNone);
    EXPECT_EQ(name, "0.vsl");
    EXPECT_EQ(FolderEntries(dir / "Links"), (Names{"0.vsl", "A"}));
}

TEST(LinkStore, AddTakesTheFirstFreeNumber) {
    TempProgramFolder dir;
    dir.MakeFolder("Links");
    CLinkStore store(dir.Path());
    std::string name;
    for (const char* expected : {"0.vsl", "1.vsl", "2.vsl"}) {
        ASSERT_EQ(store.AddURLObject("", Titled(expected), &name), kErrNone);
        EXPECT_EQ(name, expected);
    }
    EXPECT_EQ(store.DeleteURLObject(CURLEntry("", "1.vsl")), kErrNone);
    ASSERT_EQ(store.AddURLObject("", Titled("again"), &name), kErrNone);
    EXPECT_EQ(name, "1.vsl");
    ASSERT_EQ(store.AddURLObject("", Titled("next"), &name), kErrNone);
    EXPECT_EQ(name, "3.vsl");
    EXPECT_EQ(FolderEntries(dir / "Links"), (Names{"0.vsl", "1.vsl", "2.vsl", "3.vsl"}));
    std::string title;
    EXPECT_EQ(store.GetLinkTitle("", "1.vsl", &title), kErrNone);
    EXPECT_EQ(title, "again");
}

TEST(LinkStore, AddNeverReplacesAnItemThatTookItsNumber) {
    TempProgramFolder dir;
    // The number looks free to the file list but is taken when the file lands,
    // as when another program adds a link at the same moment.
    dir.MakeFolder("Links\\0.vsl");
    CLinkStore store(dir.Path());
    std::string name;
    ASSERT_EQ(store.AddURLObject("", Titled("mine"), &name), kErrNone);
    EXPECT_EQ(name, "1.vsl");
    EXPECT_TRUE(fw::FolderExists(dir / "Links\\0.vsl"));
    EXPECT_EQ(FolderEntries(dir / "Links"), (Names{"0.vsl", "1.vsl"}));
}

TEST(LinkStore, AddReportsAFailedWriteAndLeavesNothing) {
    TempProgramFolder dir;
    // The program folder is gone: a name is found (there are no files) but
    // neither the folders nor the file can be made.
    CLinkStore store(dir / "gone");
    std::string name = "unchanged";
    EXPECT_EQ(store.AddURLObject("A", Titled("lost"), &name), kErrWriteFile);
    EXPECT_EQ(store.AddURLObject("", Titled("lost"), &name), kErrWriteFile);
    EXPECT_EQ(name, "unchanged");
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());

    // A file where the group's folder should be ends the add at the file list.
    dir.MakeFolder("Links");
    dir.WriteFile("Links\\A", "not a folder");
    CLinkStore here(dir.Path());
    EXPECT_NE(here.AddURLObject("A", Titled("lost"), &name), kErrNone);
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(FolderEntries(dir / "Links"), Names{"A"});
    EXPECT_EQ(dir.ReadFile("Links\\A"), "not a folder");
}

TEST(LinkStore, DeleteAndTitles) {
    TempProgramFolder dir;
    CLinkStore store(dir.Path());
    EXPECT_EQ(store.DeleteURLObject(CURLEntry("", "0.vsl")), kErrDeleteLink);
    ASSERT_EQ(store.AddURLObject("G", Titled("Named"), nullptr), kErrNone);

    std::string title = "before";
    EXPECT_EQ(store.GetLinkTitle("G", "5.vsl", &title), kErrOpenResourceFile);
    EXPECT_EQ(title, "before");
    dir.WriteFile("Links\\G\\6.vsl", "damaged");
    EXPECT_EQ(store.GetLinkTitle("G", "6.vsl", &title), kErrWriteFile);
    EXPECT_EQ(title, "before");
    EXPECT_EQ(store.GetLinkTitle("G", "0.vsl", &title), kErrNone);
    EXPECT_EQ(title, "Named");

    EXPECT_EQ(store.DeleteURLObject(CURLEntry("G", "0.vsl")), kErrNone);
    EXPECT_FALSE(dir.Exists("Links\\G\\0.vsl"));
    EXPECT_TRUE(dir.Exists("Links\\G"));
}

TEST(LinkStore, GroupListsAreCrLfLines) {
    TempProgramFolder dir;
    dir.MakeFolder("Groups");
    CLinkStore store(dir.Path());
    const std::string path = dir / "Groups\\Work.vsg";
    ASSERT_EQ(store.WriteList(path, {"Links\\1.vsl", "Links\\A\\0.vsl"}), kErrNone);
    EXPECT_EQ(dir.ReadFile("Groups\\Work.vsg"), "Links\\1.vsl\r\nLinks\\A\\0.vsl\r\n");

    std::vector<std::string> lines{"kept"};  // the list is not emptied first
    ASSERT_EQ(store.ReadList(path, &lines), kErrNone);
    EXPECT_EQ(lines, (Names{"kept", "Links\\1.vsl", "Links\\A\\0.vsl"}));

    // A new group is an empty file.
    ASSERT_EQ(store.WriteList(dir / "Groups\\Empty.vsg", {}), kErrNone);
    EXPECT_EQ(dir.ReadFile("Groups\\Empty.vsg"), "");
    lines.clear();
    EXPECT_EQ(store.ReadList(dir / "Groups\\Empty.vsg", &lines), kErrNone);
    EXPECT_TRUE(lines.empty());

    EXPECT_EQ(store.ReadList(dir / "Groups\\Missing.vsg", &lines), kErrWriteFile);
    EXPECT_EQ(store.WriteList(dir / "NoFolder\\X.vsg", {"Links\\1.vsl"}), kErrWriteFile);
    EXPECT_FALSE(dir.Exists("NoFolder"));
}

TEST(LinkStore, AGroupListDropsEmptyLines) {
    TempProgramFolder dir;
    dir.MakeFolder("Groups");
    // An empty line would name the Links folder itself: a group must never launch that.
    dir.WriteFile("Groups\\Gaps.vsg", "\r\nLinks\\1.vsl\r\n\r\n\nLinks\\A\\0.vsl\r\n\r\n");
    CLinkStore store(dir.Path());
    std::vector<std::string> lines;
    ASSERT_EQ(store.ReadList(dir / "Groups\\Gaps.vsg", &lines), kErrNone);
    EXPECT_EQ(lines, (Names{"Links\\1.vsl", "Links\\A\\0.vsl"}));
}

TEST(LinkStore, FailedGroupWriteKeepsTheOldList) {
    TempProgramFolder dir;
    const std::string prog = CrampedProgramFolder(dir, "\\Groups\\Work.vsg");
    ::CreateDirectoryA((prog + "\\Groups").c_str(), nullptr);
    CLinkStore store(prog);
    const std::string path = prog + "\\Groups\\Work.vsg";
    ASSERT_TRUE(fw::WriteWholeFile(path, "Links\\1.vsl\r\n"));
    EXPECT_EQ(store.WriteList(path, {"Links\\2.vsl"}), kErrWriteFile);
    std::string kept;
    ASSERT_TRUE(fw::ReadWholeFile(path, kept));
    EXPECT_EQ(kept, "Links\\1.vsl\r\n");
    EXPECT_EQ(FolderEntries(prog + "\\Groups"), (Names{"Work.vsg"}));
}

TEST(LinkStore, DefaultTemplate) {
    TempProgramFolder dir;
    CLinkStore store(dir.Path());
    const std::int64_t before = std::time(nullptr);
    ASSERT_EQ(store.CreateDefaultTemplate(), kErrNone);
    std::string bytes = dir.ReadFile("Templates\\Default.vst");
    ASSERT_EQ(bytes.size(), 150u);

    // The default record with the 16-character title; stamps masked.
    std::string expected = linktest::GoldenDefaultRecord(0);
    expected.replace(32, 1, std::string("\x10") + "Default Template");
    const std::size_t at = linktest::StampOffset(17, 8, 1);
    fw::ArchiveReader stamps(std::string_view(bytes).substr(at, 12));
    for (int i = 0; i < 3; ++i) EXPECT_GE(stamps.ReadTime(), before);
    bytes.replace(at, 12, std::string(12, '\0'));
    EXPECT_EQ(ToHex(bytes), ToHex(expected));

    CURLEntry entry("", "Default.vst");
    entry.kind = CURLEntry::kTemplate;
    std::unique_ptr<CURLObject> record;
    ASSERT_EQ(store.LoadURLObject(entry, &record), kErrNone);
    EXPECT_EQ(record->link.title, "Default Template");

    // No program folder to hold Templates: the failure is reported.
    CLinkStore nowhere(dir / "missing");
    EXPECT_EQ(nowhere.CreateDefaultTemplate(), kErrWriteFile);
}

TEST(LinkStore, SplitLinkPath) {
    TempProgramFolder dir;
    CLinkStore store(dir.Path());
    struct Case {
        std::string path;
        int rc;
        const char* group;
        const char* name;
    } cases[] = {
        {dir / "Links\\5.vsl", kErrNone, "", "5.vsl"},
        {dir / "Links\\News\\Daily\\2.vsl", kErrNone, "News\\Daily", "2.vsl"},
        {dir / "links\\A\\1.vsl", kErrNone, "A", "1.vsl"},  // names compare without regard to case
        {dir / "Links", kErrInvalidPath, "g", "n"},
        {dir / "Links\\", kErrInvalidPath, "g", "n"},
        {dir / "Links\\A\\", kErrInvalidPath, "g", "n"},
        {dir / "LinksX\\1.vsl", kErrInvalidPath, "g", "n"},
        {dir / "Groups\\1.vsl", kErrInvalidPath, "g", "n"},
        {dir / "Links\\..\\..\\Windows\\1.vsl", kErrInvalidPath, "g", "n"},
        {dir / "Links\\A\\..\\1.vsl", kErrInvalidPath, "g", "n"},
        {dir / "Links\\A\\\\1.vsl", kErrInvalidPath, "g", "n"},
        {dir / "Links\\1.vsl:hidden", kErrInvalidPath, "g", "n"},  // a stream of the file
        {dir / "Links\\A:s\\1.vsl", kErrInvalidPath, "g", "n"},
        {dir / "Links\\C:\\1.vsl", kErrInvalidPath, "g", "n"},
        {"C:\\Elsewhere\\Links\\1.vsl", kErrInvalidPath, "g", "n"},
        {"", kErrInvalidPath, "g", "n"},
    };
    for (const auto& c : cases) {
        CURLEntry entry("g", "n");
        entry.kind = CURLEntry::kGroup;
        EXPECT_EQ(store.SplitLinkPath(c.path, &entry), c.rc) << c.path;
        EXPECT_EQ(entry.group, c.group) << c.path;
        EXPECT_EQ(entry.name, c.name) << c.path;
        EXPECT_EQ(entry.kind, CURLEntry::kGroup) << "the kind stays";
    }
}

}  // namespace
