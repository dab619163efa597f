// The favorites reader over real folders: a Favorites tree in a temporary
// folder, the real link store of a temporary program folder, a real window
// receiving the progress messages.
#include "FavoritesReader.h"

#include "AppConstants.h"
#include "ErrorCodes.h"
#include "LinkStore.h"
#include "favorites_fixture.h"

#include "fw/file.h"
#include "fw/handles.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using favtest::LoadLink;
using favtest::ShortcutText;
using favtest::WriteFileBytes;
using testsupport::TempProgramFolder;

// A window that records every progress message it is sent.
class ProgressRecorder {
public:
    ProgressRecorder() {
        WNDCLASSA cls{};
        cls.lpfnWndProc = Proc;
        cls.hInstance = ::GetModuleHandleA(nullptr);
        cls.lpszClassName = "FavoritesProgressRecorder";
        ::RegisterClassA(&cls);
        wnd_ = ::CreateWindowA(cls.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
        ::SetWindowLongPtrA(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ProgressRecorder() { ::DestroyWindow(wnd_); }
    HWND hwnd() const { return wnd_; }
    std::vector<std::pair<std::string, std::string>> reports;  // folder text, title

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == kMsgImportingLink) {
            auto* self = reinterpret_cast<ProgressRecorder*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
            self->reports.emplace_back(reinterpret_cast<const char*>(wParam), reinterpret_cast<const char*>(lParam));
            return 1;
        }
        return ::DefWindowProcA(wnd, msg, wParam, lParam);
    }
    HWND wnd_;
};

class Reader : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempProgramFolder favoritesRoot;  // a Favorites folder of any name
    ProgressRecorder progress;
    int waits = 0;

    std::string Fav(const std::string& relative) const { return favoritesRoot / relative; }

    CFavoritesReader MakeReader() {
        CFavoritesReader reader(progress.hwnd(), program.Path());
        reader.SetWait([this](DWORD ms) {
            EXPECT_EQ(ms, 50u);
            ++waits;
        });
        return reader;
    }

    void SaveTemplate(const CURLObject& record) const {
        CURLEntry entry("", AppConstants::kDefaultTemplateFile);
        entry.kind = CURLEntry::kTemplate;
        program.MakeFolder("Templates");
        ASSERT_EQ(CLinkStore(program.Path()).SaveURLObject(entry, record), kErrNone);
    }
};

TEST_F(Reader, MirrorsTheTreeAndStoresEachShortcutFromTheTemplate) {
    SaveTemplate(favtest::DistinctTemplate());
    favoritesRoot.MakeFolder("News");
    favoritesRoot.MakeFolder("News\\Daily");
    favoritesRoot.MakeFolder("Empty");
    favoritesRoot.MakeFolder("Empty\\Deeper");
    WriteFileBytes(Fav("a.url"), ShortcutText("http://a.example/", "\r\n"));
    WriteFileBytes(Fav("News\\Daily\\b.url"), ShortcutText("http://b.example/", "\n"));
    WriteFileBytes(Fav("News\\notes.txt"), "URL=http://not-a-shortcut/\r\n");
    WriteFileBytes(Fav("News\\broken.url"), "[InternetShortcut]\r\nIconIndex=0\r\n");
    // Access times after the files' last change, so that reading them keeps
    // the stamps.
    favtest::SetFileTimes(Fav("a.url"), 1000000000, 2000000000);
    favtest::SetFileTimes(Fav("News\\Daily\\b.url"), 1200000000, 2100000000);
    const auto aTimes = favtest::FileTimes(Fav("a.url"));
    const auto bTimes = favtest::FileTimes(Fav("News\\Daily\\b.url"));
    ASSERT_EQ(aTimes.second, 2000000000);
    // A shortcut another program holds open without sharing cannot be read.
    WriteFileBytes(Fav("locked.url"), ShortcutText("http://locked.example/"));
    fw::FileHandle lock(::CreateFileA(Fav("locked.url").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);

    CFavoritesReader reader = MakeReader();
    int count = -1;
    ASSERT_EQ(reader.CountLinks(favoritesRoot.Path(), &count), kErrNone);
    EXPECT_EQ(count, 4) << "a, b, broken and locked: every .url file";

    int walkedCount = -1;
    ASSERT_EQ(reader.ImportFavorites(favoritesRoot.Path(), [&](int n) { walkedCount = n; }), kErrNone);
    EXPECT_EQ(walkedCount, 4);

    const auto a = LoadLink(program.Path(), "", "0.vsl");
    const auto b = LoadLink(program.Path(), "News\\Daily", "0.vsl");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->link.title, "a");
    EXPECT_EQ(a->link.address, "http://a.example/");
    EXPECT_EQ(a->link.stamp2, aTimes.first);
    EXPECT_EQ(a->link.stamp3, 2000000000);
    EXPECT_EQ(b->link.title, "b");
    EXPECT_EQ(b->link.address, "http://b.example/");
    EXPECT_EQ(b->link.stamp2, bTimes.first);
    EXPECT_EQ(b->link.stamp3, 2100000000);
    EXPECT_FALSE(program.Exists("Links\\1.vsl")) << "broken and locked shortcuts are skipped";
    EXPECT_FALSE(program.Exists("Links\\News\\0.vsl"));
    EXPECT_TRUE(fw::FolderExists(program / "Links\\Empty\\Deeper")) << "empty folders are mirrored too";

    // Everything but title, address and stamps 2 and 3 is the template's.
    for (const CURLObject* link : {a.get(), b.get()}) {
        CURLObject expected = favtest::DistinctTemplate();
        expected.link.title = link->link.title;
        expected.link.address = link->link.address;
        expected.link.stamp2 = link->link.stamp2;
        expected.link.stamp3 = link->link.stamp3;
        EXPECT_FALSE(link->DiffersFrom(expected)) << link->link.title;
        EXPECT_EQ(link->link.stamp1, 1111);
        EXPECT_EQ(link->options.option2, expected.options.option2);
    }

    const std::vector<std::pair<std::string, std::string>> reports = {{"Links", "a"}, {"Daily", "b"}};
    EXPECT_EQ(progress.reports, reports);
    EXPECT_EQ(waits, 2) << "fewer than 100 shortcuts: one wait per stored link";
}

TEST_F(Reader, PacesOnlyBelowAHundredShortcuts) {
    for (const int total : {99, 150}) {
        TempProgramFolder store;
        TempProgramFolder favorites;
        for (int i = 0; i < total; ++i) {
            // Appended: GCC 12 warns falsely on a literal plus to_string.
            std::string name = "s";
            name += std::to_string(i);
            name += ".url";
            std::string url = "http://x/";
            url += std::to_string(i);
            WriteFileBytes(favorites / name, ShortcutText(url));
        }
        waits = 0;
        CFavoritesReader reader(nullptr, store.Path());
        reader.SetWait([this](DWORD) { ++waits; });
        ASSERT_EQ(reader.ImportFavorites(favorites.Path()), kErrNone);
        EXPECT_EQ(waits, total < 100 ? total : 0) << total;
        std::string last = "Links\\";
        last += std::to_string(total - 1);
        last += ".vsl";
        EXPECT_TRUE(store.Exists(last)) << total;
    }
}

TEST_F(Reader, AMissingOrDamagedTemplateIsWrittenAnewAndUsed) {
    WriteFileBytes(Fav("a.url"), ShortcutText("http://a.example/"));
    for (const bool damaged : {false, true}) {
        if (damaged) {
            program.MakeFolder("Templates");
            program.WriteFile("Templates\\Default.vst", "damaged");
        }
        testsupport::RemoveTree(program / "Links");
        CFavoritesReader reader = MakeReader();
        ASSERT_EQ(reader.ImportFavorites(favoritesRoot.Path()), kErrNone) << damaged;

        std::unique_ptr<CURLObject> written;
        CURLEntry entry("", AppConstants::kDefaultTemplateFile);
        entry.kind = CURLEntry::kTemplate;
        ASSERT_EQ(CLinkStore(program.Path()).LoadURLObject(entry, &written), kErrNone) << damaged;
        EXPECT_EQ(written->link.title, "Default Template");

        const auto a = LoadLink(program.Path(), "", "0.vsl");
        ASSERT_TRUE(a) << damaged;
        CURLObject expected = *written;
        expected.link.title = "a";
        expected.link.address = "http://a.example/";
        EXPECT_FALSE(a->DiffersFrom(expected)) << damaged;
        EXPECT_EQ(a->link.stamp1, written->link.stamp1) << "the written template's own record";
    }
}

TEST_F(Reader, AFolderThatCannotBeWalkedWritesNothing) {
    CFavoritesReader reader = MakeReader();
    bool walked = false;
    EXPECT_NE(reader.ImportFavorites(Fav("missing"), [&](int) { walked = true; }), kErrNone);
    EXPECT_NE(reader.ImportFavorites("", [&](int) { walked = true; }), kErrNone);
    EXPECT_FALSE(walked) << "nothing is cleared for a folder that was not read";
    EXPECT_FALSE(program.Exists("Links"));
    EXPECT_FALSE(program.Exists("Templates"));
    int count = 7;
    EXPECT_NE(reader.CountLinks(Fav("missing"), &count), kErrNone);
    EXPECT_EQ(count, 7);
}

TEST_F(Reader, ALinkThatCannotBeWrittenFailsTheImport) {
    // A file named Links: no link folder can be made.
    program.WriteFile("Links", "not a folder");
    favoritesRoot.MakeFolder("News");
    WriteFileBytes(Fav("a.url"), ShortcutText("http://a.example/"));
    WriteFileBytes(Fav("News\\b.url"), ShortcutText("http://b.example/"));
    CFavoritesReader reader = MakeReader();
    EXPECT_EQ(reader.ImportFavorites(favoritesRoot.Path()), kErrWriteFile);
    EXPECT_TRUE(progress.reports.empty()) << "no link was stored, none reported";
}

TEST_F(Reader, HostileShortcutsAreSkippedOrCut) {
    // An address line past the read bound, an over-long address, a file that
    // is only a line end, and a huge file whose address comes first.
    WriteFileBytes(Fav("late.url"), "[InternetShortcut]\r\n" + std::string(70000, ';') + "\r\nURL=http://late/\r\n");
    WriteFileBytes(Fav("long.url"), "[InternetShortcut]\r\nURL=http://x/" + std::string(5000, 'x') + "\r\n");
    WriteFileBytes(Fav("bare.url"), "\n");
    WriteFileBytes(Fav("huge.url"), ShortcutText("http://huge/") + std::string(200000, 'z'));
    CFavoritesReader reader = MakeReader();
    ASSERT_EQ(reader.ImportFavorites(favoritesRoot.Path()), kErrNone);
    const std::vector<std::pair<std::string, std::string>> reports = {{"Links", "huge"}};
    EXPECT_EQ(progress.reports, reports);
    const auto huge = LoadLink(program.Path(), "", "0.vsl");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->link.address, "http://huge/");
}

TEST_F(Reader, ReadURLFileLeavesTheRecordAsItWasOnFailure) {
    WriteFileBytes(Fav("none.url"), "[InternetShortcut]\r\n");
    CFavoritesReader reader = MakeReader();
    CURLObject record = favtest::DistinctTemplate();
    EXPECT_EQ(reader.ReadURLFile(Fav("none.url"), &record), kErrNoUrl);
    EXPECT_EQ(reader.ReadURLFile(Fav("absent.url"), &record), kErrOpenResourceFile);
    EXPECT_FALSE(record.DiffersFrom(favtest::DistinctTemplate()));
    EXPECT_EQ(record.link.stamp2, 2222);
}

}  // namespace
