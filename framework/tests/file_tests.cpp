#include "fw/file.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using testsupport::TempProgramFolder;

TEST(SplitLines, TableOfLineEnds) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"x\ry\r\n", {"x\ry"}},  // a lone CR is text
    };
    for (const auto& c : cases) EXPECT_EQ(fw::SplitLines(c.text), c.lines) << c.text;
}

TEST(TextFile, WritesCrLfAndReadsBack) {
    TempProgramFolder dir;
    const std::string path = dir / "t.txt";
    ASSERT_TRUE(fw::WriteTextLines(path, {"one", "two words", ""}));
    EXPECT_EQ(dir.ReadFile("t.txt"), "one\r\ntwo words\r\n\r\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(fw::ReadTextLines(path, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two words", ""}));
    EXPECT_FALSE(fw::ReadTextLines(dir / "missing.txt", lines));
}

TEST(WriteFileAtomic, ReplacesWholeAndLeavesNoTemporary) {
    TempProgramFolder dir;
    dir.WriteFile("a.bin", "old contents");
    ASSERT_TRUE(fw::WriteFileAtomic(dir / "a.bin", std::string("new\0bytes", 9)));
    EXPECT_EQ(dir.ReadFile("a.bin"), std::string("new\0bytes", 9));
    EXPECT_FALSE(dir.Exists("a.bin.~tmp"));
}

TEST(WriteFileAtomic, FailureKeepsOldFile) {
    TempProgramFolder dir;
    dir.WriteFile("keep.bin", "precious");
    // A folder in the temporary file's place makes the write fail.
    dir.MakeFolder("keep.bin.~tmp");
    EXPECT_FALSE(fw::WriteFileAtomic(dir / "keep.bin", "replacement"));
    EXPECT_EQ(dir.ReadFile("keep.bin"), "precious");

    // A missing folder fails without leaving anything.
    EXPECT_FALSE(fw::WriteFileAtomic(dir / "nofolder\\x.bin", "data"));
    EXPECT_FALSE(dir.Exists("nofolder"));
}

TEST(FolderOf, CutsBeforeLastSeparator) {
    EXPECT_EQ(fw::FolderOf("C:\\Apps\\Vessa.exe"), "C:\\Apps");
    EXPECT_EQ(fw::FolderOf("Vessa.exe"), "");
}

TEST(ReadFileBytes, ABoundedReadRefusesALargerFile) {
    TempProgramFolder dir;
    dir.WriteFile("ten.bin", "0123456789");
    std::string bytes = "stale";
    EXPECT_EQ(fw::ReadFileBytes(dir / "ten.bin", &bytes, 10), fw::ReadResult::kOk);
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_EQ(fw::ReadFileBytes(dir / "ten.bin", &bytes, 9), fw::ReadResult::kReadError);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(fw::ReadFileBytes(dir / "none.bin", &bytes, 10), fw::ReadResult::kCannotOpen);
    dir.WriteFile("empty.bin", "");
    EXPECT_EQ(fw::ReadFileBytes(dir / "empty.bin", &bytes, 0), fw::ReadResult::kOk);
    EXPECT_TRUE(bytes.empty());
}

}  // namespace
