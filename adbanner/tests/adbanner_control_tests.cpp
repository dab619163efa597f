// The stand-in banner control registered through regsvr32 and hosted by the
// framework's container, as the browser hosts it.
#include "banner_test_util.h"

#include "adbanner/AdBannerData.h"

#include "fw/activex.h"
#include "fw/com.h"
#include "fw/com_registration.h"
#include "fw/registry.h"
#include "fw/window.h"
#include "testsupport/pump.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using bannertest::RegSvr32;

fw::ComPtr<IStream> StreamOf(const std::vector<uint8_t>& bytes) {
    fw::ComPtr<IStream> stream;
    ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

class Container : public fw::Window {
public:
    Container() {
        RegisterClass("bannerTestHost", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        Window::Create("bannerTestHost", "banner container", WS_POPUP | WS_CLIPCHILDREN, 0, 20, 20, 520, 120, nullptr);
        ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    }
    ~Container() override { ax.Destroy(); }
    fw::AxHost ax;
};

class BannerControl : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(RegSvr32(false), 0u) << "the library registers itself"; }
    static void TearDownTestSuite() { RegSvr32(true); }
    void SetUp() override { ::SetEnvironmentVariableA("ADBANNER_STANDIN_LOG", (dir / "banner.log").c_str()); }
    void TearDown() override { ::SetEnvironmentVariableA("ADBANNER_STANDIN_LOG", nullptr); }
    std::string Log() const { return dir.Exists("banner.log") ? dir.ReadFile("banner.log") : std::string(); }

    fw::OleApartment ole;
    testsupport::TempProgramFolder dir;
};

TEST_F(BannerControl, TakesItsInitialDataAndPaintsItsFace) {
    Container c;
    fw::AxSetup setup;
    setup.initialData = StreamOf(adbanner::Encode({12383, 1588, u"Vessa", u"mo4vx"}));
    ASSERT_EQ(c.ax.Create(adbanner::kClassId, c.hwnd(), RECT{10, 10, 478, 70}, setup), S_OK);
    EXPECT_EQ(Log(), "load|extent=12383x1588|product=Vessa|key=mo4vx\r\n");

    HWND face = c.ax.ControlWindow();
    ASSERT_TRUE(face);
    const RECT r = fw::ScreenRectOf(face);
    EXPECT_EQ(r.right - r.left, 468);
    EXPECT_EQ(r.bottom - r.top, 60);
    ::RedrawWindow(face, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    fw::WindowDc dc(face);
    EXPECT_EQ(::GetPixel(dc.get(), 3, 3), RGB(255, 244, 200)) << "the placeholder's face";
    EXPECT_EQ(::GetPixel(dc.get(), 0, 0), RGB(120, 90, 20)) << "its frame";
    // The product name is written across the middle: some pixels there are the text's colour.
    int text = 0;
    for (int x = 100; x < 368; ++x)
        for (int y = 22; y < 38; ++y) text += ::GetPixel(dc.get(), x, y) != RGB(255, 244, 200);
    EXPECT_GT(text, 20);
}

TEST_F(BannerControl, SavesWhatItLoadedWithItsExtent) {
    Container c;
    fw::AxSetup setup;
    setup.initialData = StreamOf(adbanner::Encode({12383, 1588, u"Vessa", u"mo4vx"}));
    ASSERT_EQ(c.ax.Create(adbanner::kClassId, c.hwnd(), RECT{0, 0, 468, 60}, setup), S_OK);
    auto persist = c.ax.ControlAs<IPersistStreamInit>();
    ASSERT_TRUE(persist);
    fw::ComPtr<IStream> saved;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, saved.put()), S_OK);
    ASSERT_EQ(persist->Save(saved.get(), TRUE), S_OK);
    HGLOBAL memory = nullptr;
    ASSERT_EQ(::GetHGlobalFromStream(saved.get(), &memory), S_OK);
    STATSTG stat{};
    saved->Stat(&stat, STATFLAG_NONAME);
    const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(memory));
    const auto back = adbanner::Decode(bytes, static_cast<size_t>(stat.cbSize.QuadPart));
    ::GlobalUnlock(memory);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->productName, u"Vessa");
    EXPECT_EQ(back->applicationKey, u"mo4vx");
    // The host set the extent of its 468 x 60 place (96 dpi under Wine).
    EXPECT_EQ(back->extentX, 12383);
    EXPECT_EQ(back->extentY, 1588);
}

TEST_F(BannerControl, WithoutInitialDataItStartsNewAndADamagedStreamIsRefused) {
    {
        Container c;
        ASSERT_EQ(c.ax.Create(adbanner::kClassId, c.hwnd(), RECT{0, 0, 468, 60}), S_OK);
    }
    Container c;
    fw::AxSetup setup;
    std::vector<uint8_t> bytes = adbanner::Encode({12383, 1588, u"Vessa", u"mo4vx"});
    bytes.resize(bytes.size() - 3);
    setup.initialData = StreamOf(bytes);
    EXPECT_TRUE(FAILED(c.ax.Create(adbanner::kClassId, c.hwnd(), RECT{0, 0, 468, 60}, setup)));
    EXPECT_FALSE(c.ax.IsCreated());
    EXPECT_EQ(Log(), "initnew\r\nload|refused\r\n");
}

TEST(BannerRegistration, RegistersTheVendorsClassIdAndUnregisters) {
    const std::string key = "Software\\Classes\\CLSID\\" + std::string(adbanner::kClassIdText);
    ASSERT_EQ(RegSvr32(false), 0u);
    fw::RegKey server = fw::OpenKey(HKEY_LOCAL_MACHINE, key + "\\InprocServer32", KEY_READ);
    ASSERT_TRUE(server);
    const auto path = fw::ReadString(server.get(), nullptr);
    ASSERT_TRUE(path);
    EXPECT_NE(path->find("ADBANNER.OCX"), std::string::npos) << *path;
    server.reset();
    ASSERT_EQ(RegSvr32(true), 0u);
    EXPECT_FALSE(fw::OpenKey(HKEY_LOCAL_MACHINE, key, KEY_READ));
}

}  // namespace
