// The real Vessa.exe, started from a temporary program folder under Wine.
#include "browser_test_util.h"

#include "ErrorCodes.h"
#include "LinkStore.h"
#include "RegSettings.h"
#include "SkinRegion.h"

#include "fw/file.h"
#include "fw/handles.h"
#include "testsupport/box_answerer.h"

#include <gtest/gtest.h>

namespace {

using browsertest::InstallSkin;
using testsupport::TempProgramFolder;

using testsupport::TextOf;

// One browser process with an exact command line, its boxes answered.
class RunningBrowser : public browsertest::BrowserProgram {
public:
    RunningBrowser(const TempProgramFolder& dir, const std::string& arguments) : BrowserProgram(dir, arguments) {
        if (!started()) return;
        answerer_ = std::make_unique<testsupport::BoxAnswerer>(id());
        if (!WaitForWindow()) ADD_FAILURE() << "the browser window did not appear";
    }

    HWND Window() const { return window(); }

    // The skin's CLOSE button; true when the program ended with code 0.
    bool Close() { return window() && RunningProgram::Close() == 0; }

    // Waits for the program's end; true when it ended with code 0.
    bool WaitForExit(DWORD ms) {
        DWORD code = 1;
        return RunningProgram::WaitForExit(ms, &code) && code == 0;
    }

    std::vector<testsupport::SeenBox> Boxes() const {
        return answerer_ ? answerer_->Boxes() : std::vector<testsupport::SeenBox>{};
    }

private:
    std::unique_ptr<testsupport::BoxAnswerer> answerer_;
};

DWORD BrowserID() {
    DWORD id = 0;
    CRegSettings().GetBrowserID(&id);
    return id;
}

struct ProgramFixture : browsertest::BrowserFolder {
    ProgramFixture() { dir.MakeFolder("Links"); }
    std::string AddLink(const RECT& rect, const std::string& skin, const std::string& address) const {
        CURLObject record;
        record.link.windowRect = URLRect{rect.left, rect.top, rect.right, rect.bottom};
        record.link.address = address;
        record.skinName = skin;
        std::string name;
        EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject("", record, &name), kErrNone);
        return dir / ("Links\\" + name);
    }
};

TEST(BrowserProgram, LinkFileStartUsesItsRectangleAndSkinAndSavesOnClose) {
    ProgramFixture f;
    const std::string ini = InstallSkin(f.dir, "vessa-folder", "good");
    f.dir.WriteFile("Err.log", "ErrID: 61     FuncName: earlier run\r\n");
    const RECT rect{30, 40, 30 + 760, 40 + 540};
    const std::string link = f.AddLink(rect, "good", "http://127.0.0.1:1/link");

    RunningBrowser browser(f.dir, "-f " + link);
    ASSERT_TRUE(browser.Window());
    EXPECT_EQ(f.dir.ReadFile("Err.log"), "") << "every start recreates the log empty";
    RECT shown{};
    ::GetWindowRect(browser.Window(), &shown);
    EXPECT_TRUE(::EqualRect(&shown, &rect))
        << shown.left << "," << shown.top << "," << shown.right << "," << shown.bottom;
    EXPECT_EQ(TextOf(browser.Window()), "http://127.0.0.1:1/link");
    EXPECT_EQ(BrowserID(), 1u);

    ASSERT_TRUE(browser.Close());
    RECT saved{};
    ASSERT_EQ(CRegSettings().LoadWindowRect("Vessa", &saved), kErrNone);
    EXPECT_TRUE(::EqualRect(&saved, &rect));
    EXPECT_EQ(::GetPrivateProfileIntA("BACKGROUND", "WIDTH", 0, ini.c_str()), 760);
    EXPECT_EQ(::GetPrivateProfileIntA("BACKGROUND", "HEIGHT", 0, ini.c_str()), 540);
    EXPECT_TRUE(browser.Boxes().empty());
}

TEST(BrowserProgram, MissingOrUnsafeSkinsGiveTheBuiltInSkinAndAreNeverWritten) {
    ProgramFixture f;
    // A Data.ini outside Skins that an unsafe name would reach.
    f.dir.MakeFolder("evil");
    f.dir.WriteFile("evil\\Data.ini", "[BACKGROUND]\r\nBITMAP=x.bmp\r\n");
    const RECT rect{10, 10, 10 + 796, 10 + 568};
    struct Case {
        const char* skin;
        bool told;  // a skin that should exist but cannot be loaded is reported
    } cases[] = {{"nosuch", true}, {"..\\evil", false}, {"C:\\evil", false}};
    for (const auto& c : cases) {
        const DWORD before = BrowserID();
        RunningBrowser browser(f.dir, "-f " + f.AddLink(rect, c.skin, "http://127.0.0.1:1/x"));
        ASSERT_TRUE(browser.Window()) << c.skin;
        EXPECT_EQ(BrowserID(), before + 1) << "one raise per start";
        ASSERT_TRUE(browser.Close()) << c.skin;
        const auto boxes = browser.Boxes();
        ASSERT_EQ(boxes.size(), c.told ? 1u : 0u) << c.skin;
        if (c.told) {
            EXPECT_EQ(boxes[0].text.rfind("Error in loading customized background bitmap from\n", 0), 0u)
                << boxes[0].text;
        }
    }
    EXPECT_EQ(f.dir.ReadFile("evil\\Data.ini"), "[BACKGROUND]\r\nBITMAP=x.bmp\r\n");
    EXPECT_FALSE(f.dir.Exists("Skins\\nosuch"));
}

TEST(BrowserProgram, WindowRegionIsTheSkinsShape) {
    ProgramFixture f;
    RunningBrowser browser(f.dir, "http://127.0.0.1:1/shape");
    ASSERT_TRUE(browser.Window());
    RECT shown{};
    ::GetWindowRect(browser.Window(), &shown);
    ASSERT_EQ(shown.right - shown.left, 796);
    ASSERT_EQ(shown.bottom - shown.top, 568);

    fw::Region region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(browser.Window(), region.get()), ERROR);
    fw::Bitmap background(static_cast<HBITMAP>(
        ::LoadImageA(nullptr, (testsupport::TestBinaryFolder() + "\\browser_fixtures\\background.bmp").c_str(),
                     IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    CPixels32 pixels;
    ASSERT_TRUE(pixels.Load(background.get()));
    const TransparentRange transparent = MakeTransparentRange(RGB(255, 0, 0), RGB(8, 8, 8));
    int inside = 0, outside = 0;
    for (int y = 1; y < 568; y += 13) {
        for (int x = 1; x < 796; x += 11) {
            const bool opaque = !transparent.Contains(pixels.Row(y)[x]);
            EXPECT_EQ(::PtInRegion(region.get(), x, y) != FALSE, opaque) << x << "," << y;
            (opaque ? inside : outside)++;
        }
    }
    EXPECT_GT(inside, 100);
    EXPECT_GT(outside, 10) << "the built-in skin is shaped";
}

TEST(BrowserProgram, CloseRequestOnlyStopsThePageAndAltF4SavesAndEnds) {
    ProgramFixture f;
    RunningBrowser browser(f.dir, "http://127.0.0.1:1/close");
    ASSERT_TRUE(browser.Window());
    ::SetWindowPos(browser.Window(), nullptr, 20, 25, 700, 520, SWP_NOZORDER | SWP_NOACTIVATE);

    // The taskbar's Close: the browser stays open and saves nothing.
    ::PostMessageA(browser.Window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(browser.WaitForExit(1500));
    EXPECT_TRUE(::IsWindowVisible(browser.Window()));
    RECT saved{};
    EXPECT_NE(CRegSettings().LoadWindowRect("Vessa", &saved), kErrNone);

    // Alt+F4 passes the keyboard filter: save, then end.
    ::PostMessageA(browser.Window(), WM_SYSKEYDOWN, VK_F4, 0x20000001);
    ASSERT_TRUE(browser.WaitForExit(20000));
    ASSERT_EQ(CRegSettings().LoadWindowRect("Vessa", &saved), kErrNone);
    const RECT expected{20, 25, 720, 545};
    EXPECT_TRUE(::EqualRect(&saved, &expected))
        << saved.left << "," << saved.top << "," << saved.right << "," << saved.bottom;
}

TEST(BrowserProgram, AddressOnTheCommandLineWithAndWithoutQuotes) {
    ProgramFixture f;
    struct Case {
        const char* arguments;
        const char* address;
    } cases[] = {
        {"\"http://127.0.0.1:1/a b\"", "http://127.0.0.1:1/a b"},
        {"http://127.0.0.1:1/plain", "http://127.0.0.1:1/plain"},
    };
    for (const auto& c : cases) {
        RunningBrowser browser(f.dir, c.arguments);
        ASSERT_TRUE(browser.Window());
        EXPECT_EQ(TextOf(browser.Window()), c.address);
        EXPECT_EQ(TextOf(::GetDlgItem(browser.Window(), IDC_ADDRESS)), c.address);
        ASSERT_TRUE(browser.Close());
    }
}

}  // namespace
