#include "HyperLink.h"

#include "fw/handles.h"
#include "fw/msgbox.h"
#include "fw/window.h"
#include "testsupport/box_answerer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(HyperLink, AddressRule) {
    struct Case {
        int type;
        const char* target;
        const char* subject;
        const char* address;
    } cases[] = {
        {CHyperLink::kMail, "me@host.com", "", "mailto:me@host.com"},
        {CHyperLink::kMail, "me@host.com", "Hello", "mailto:me@host.com?subject=Hello"},
        {CHyperLink::kMail, "MAILTO:me@host.com", "", "MAILTO:me@host.com"},
        {CHyperLink::kMail, "MailTo:me@host.com", "Hi", "MailTo:me@host.com?subject=Hi"},
        {CHyperLink::kWeb, "www.host.com", "", "http://www.host.com"},
        {CHyperLink::kWeb, "HTTP://www.host.com", "", "HTTP://www.host.com"},
        {CHyperLink::kWeb, "https://secure.host.com", "", "http://https://secure.host.com"},
        {CHyperLink::kUnchanged, "C:\\Help\\index.htm", "", "C:\\Help\\index.htm"},
        {CHyperLink::kNone, "www.host.com", "", ""},
        {3, "www.host.com", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHyperLink::BuildAddress(c.type, c.target, c.subject), c.address) << c.type << " " << c.target;
}

// A parent that counts the static's click notifications.
class Parent : public fw::Window {
public:
    int clicks = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) ++clicks;
        return Default(msg, wParam, lParam);
    }
};

class RecordingLink : public CHyperLink {
public:
    std::vector<std::string> opened;
    bool succeed = true;

protected:
    bool OpenAddress(const std::string& address) override {
        opened.push_back(address);
        return succeed;
    }
};

struct LinkFixture {
    Parent parent;
    HWND staticWnd = nullptr;

    LinkFixture() {
        fw::Window::RegisterClass("HyperLinkTestParent");
        parent.Create("HyperLinkTestParent", "p", WS_POPUP, 0, 0, 0, 200, 100, nullptr);
        staticWnd = ::CreateWindowExA(0, "STATIC", "link", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 5, 5, 100, 20,
                                      parent.hwnd(), reinterpret_cast<HMENU>(10), nullptr, nullptr);
    }
    void Click() const {
        ::SendMessageA(staticWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        ::SendMessageA(staticWnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
};

TEST(HyperLink, ClickOpensTheAddressAndPassesOnOnlyOnSuccess) {
    LinkFixture f;
    RecordingLink link;
    ASSERT_TRUE(link.Subclass(f.staticWnd));

    // Another type: no address, default processing only.
    link.SetLink(3, "x", "", 0);
    f.Click();
    EXPECT_TRUE(link.opened.empty());
    const int baseline = f.parent.clicks;
    EXPECT_GE(baseline, 1) << "a static with SS_NOTIFY reports clicks";

    link.SetLink(CHyperLink::kNone, "www.host.com", "", 0);
    f.Click();
    EXPECT_TRUE(link.opened.empty());
    EXPECT_EQ(f.parent.clicks, baseline) << "type 0 does nothing, not even the default processing";

    link.SetLink(CHyperLink::kWeb, "www.host.com", "", 0);
    f.Click();
    EXPECT_EQ(link.opened, (std::vector<std::string>{"http://www.host.com"}));
    EXPECT_EQ(f.parent.clicks, 2 * baseline);
}

TEST(HyperLink, FailedOpenShowsTheBoxAndNothingElse) {
    fw::SetProgramName("Vessa");
    LinkFixture f;
    CHyperLink link;  // the real shell
    ASSERT_TRUE(link.Subclass(f.staticWnd));
    testsupport::BoxAnswerer answerer;

    link.SetLink(CHyperLink::kUnchanged, "Z:\\no\\such\\page.htm", "", 0);
    f.Click();
    ASSERT_TRUE(answerer.WaitForBoxes(1));
    EXPECT_EQ(answerer.Boxes()[0].caption, "Vessa");
    EXPECT_EQ(answerer.Boxes()[0].text, "We are unable to locate your default browser.");
    EXPECT_EQ(f.parent.clicks, 0);
    EXPECT_EQ(link.Type(), CHyperLink::kUnchanged) << "the fields stay as they were";
}

TEST(HyperLink, OneUnderlinedFontPerControl) {
    LinkFixture f;
    CHyperLink link;
    ASSERT_TRUE(link.Subclass(f.staticWnd));
    fw::WindowDc dc(f.staticWnd);
    link.CreateLinkFont(dc.get(), 8);
    const HFONT first = reinterpret_cast<HFONT>(::SendMessageA(f.staticWnd, WM_GETFONT, 0, 0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(::GetTextColor(dc.get()), 0xFF0000u);
    LOGFONTA lf{};
    ASSERT_TRUE(::GetObjectA(first, sizeof(lf), &lf));
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");

    // Every paint repeats the call: the font is not made again.
    for (int i = 0; i < 50; ++i) link.CreateLinkFont(dc.get(), 8);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(f.staticWnd, WM_GETFONT, 0, 0)), first);

    EXPECT_EQ(link.CtlColorForward(dc.get(), f.parent.hwnd(), 0x123456), 0u);
    EXPECT_EQ(link.CtlColorForward(dc.get(), f.staticWnd, 0x00FF00), 0xFF0000u);
    EXPECT_EQ(::GetTextColor(dc.get()), 0x00FF00u);
}

// A 32-bit top-down DIB section with direct pixel access.
struct Surface {
    fw::MemoryDc dc{::CreateCompatibleDC(nullptr)};
    fw::Bitmap bitmap;
    uint32_t* bits = nullptr;
    int width;
    HGDIOBJ old = nullptr;

    Surface(int w, int h, uint32_t fill) : width(w) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* raw = nullptr;
        bitmap.reset(::CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
        bits = static_cast<uint32_t*>(raw);
        for (int i = 0; i < w * h; ++i) bits[i] = fill;
        old = ::SelectObject(dc.get(), bitmap.get());
    }
    HBITMAP Release() {
        ::SelectObject(dc.get(), old);
        return bitmap.release();
    }
    uint32_t At(int x, int y) const {
        ::GdiFlush();
        return bits[y * width + x] & 0xFFFFFF;
    }
};

TEST(TransparentBitmap, TransparentPixelsLeaveTheBackground) {
    constexpr uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF, kBlue = 0x0000FF;  // DIB order 0xRRGGBB
    Surface target(20, 20, kRed);
    Surface image(4, 4, kBlue);
    for (auto [x, y] : {std::pair{0, 0}, {3, 0}, {0, 3}, {3, 3}}) image.bits[y * 4 + x] = kWhite;
    ::GdiFlush();

    CTransparentBitmap bmp(image.Release());
    bmp.DrawTransparentBitmap(target.dc.get(), 5, 5, RGB(255, 255, 255));

    EXPECT_EQ(target.At(5, 5), kRed) << "white corner is transparent";
    EXPECT_EQ(target.At(8, 8), kRed);
    EXPECT_EQ(target.At(6, 5), kBlue);
    EXPECT_EQ(target.At(7, 7), kBlue);
    EXPECT_EQ(target.At(4, 4), kRed) << "outside the bitmap";
    EXPECT_EQ(target.At(9, 6), kRed);
}

}  // namespace
