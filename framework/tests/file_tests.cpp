#include "fw/file.h"
#include "fw/handles.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

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

// A path of exactly `length` characters in dir: its own name fits the ANSI
// calls' MAX_PATH, the temporary file's longer name beside it does not.
std::string PathOfLength(const TempProgramFolder& dir, size_t length) {
    std::string path = dir / "";
    path += std::string(length - path.size() - 4, 'k') + ".bin";
    return path;
}

TEST(WriteFileAtomic, FailureKeepsOldFile) {
    TempProgramFolder dir;
    // A temporary file that cannot be made fails the write.
    const std::string path = PathOfLength(dir, MAX_PATH - 7);
    ASSERT_TRUE(fw::WriteWholeFile(path, "precious"));
    EXPECT_FALSE(fw::WriteFileAtomic(path, "replacement"));
    std::string kept;
    ASSERT_TRUE(fw::ReadWholeFile(path, kept));
    EXPECT_EQ(kept, "precious");

    // A missing folder fails without leaving anything.
    EXPECT_FALSE(fw::WriteFileAtomic(dir / "nofolder\\x.bin", "data"));
    EXPECT_FALSE(dir.Exists("nofolder"));
}

// Two writers saving one file at once each succeed, and the file is always
// one of them whole.
TEST(WriteFileAtomic, TwoWritersAtOnceEachSucceedAndTheFileStaysWhole) {
    TempProgramFolder dir;
    const std::string path = dir / "shared.vsl";
    const std::string first(40000, 'a');
    const std::string second(50000, 'b');
    ASSERT_TRUE(fw::WriteFileAtomic(path, first));
    std::atomic<int> failures{0};
    std::atomic<bool> go{false};
    auto writer = [&](const std::string& bytes) {
        while (!go) std::this_thread::yield();
        for (int i = 0; i < 60; ++i)
            if (!fw::WriteFileAtomic(path, bytes)) ++failures;
    };
    std::thread a(writer, std::cref(first));
    std::thread b(writer, std::cref(second));
    go = true;
    int torn = 0;
    for (int i = 0; i < 60; ++i) {
        std::string seen;
        if (fw::ReadWholeFile(path, seen) && seen != first && seen != second) ++torn;
    }
    a.join();
    b.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(torn, 0) << "a reader never sees a mixed or partial file";
    std::string last;
    ASSERT_TRUE(fw::ReadWholeFile(path, last));
    EXPECT_TRUE(last == first || last == second);
    WIN32_FIND_DATAA data;
    int entries = 0;
    fw::FindHandle find(::FindFirstFileA((dir / "*").c_str(), &data));
    if (find)
        do entries += data.cFileName[0] != '.';
        while (::FindNextFileA(find.get(), &data));
    EXPECT_EQ(entries, 1) << "no temporary file stays behind";
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
