// The container against a fake control that records what it is asked.
#include "fw/activex.h"
#include "fw/com_object.h"

#include "ax_test_util.h"
#include "fake_control.h"
#include "testsupport/debug_output.h"

#include <idispids.h>
#include <mshtmdid.h>
#include <olectl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

// {A3C1F0E2-5D4B-4E6F-8A9B-1C2D3E4F5A6B}
constexpr CLSID kFakeClsid = {0xa3c1f0e2, 0x5d4b, 0x4e6f, {0x8a, 0x9b, 0x1c, 0x2d, 0x3e, 0x4f, 0x5a, 0x6b}};
// {A3C1F0E2-5D4B-4E6F-8A9B-1C2D3E4F5A6C}, never registered
constexpr CLSID kMissingClsid = {0xa3c1f0e2, 0x5d4b, 0x4e6f, {0x8a, 0x9b, 0x1c, 0x2d, 0x3e, 0x4f, 0x5a, 0x6c}};

using Calls = std::vector<std::string>;
const Calls kTeardown{"InPlaceDeactivate", "Close", "SetClientSite(null)"};

bool EqualRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Calls Tail(const Calls& calls, size_t n) { return Calls(calls.end() - std::min(n, calls.size()), calls.end()); }

bool Has(const Calls& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

class FakeControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open());
        auto factory = fw::MakeCom<fw::ClassFactory>([this]() -> fw::ComPtr<IUnknown> {
            auto control = fw::MakeCom<fakes::FakeControl>(&log, misc);
            return control.As<IUnknown>();
        });
        ASSERT_EQ(reg.Register(kFakeClsid, factory.get(), CLSCTX_INPROC_SERVER), S_OK);
    }

    MSG Key(HWND wnd, WPARAM key) { return MSG{wnd, WM_KEYDOWN, key, 0, 0, {}}; }

    fw::OleApartment ole;  // first in, last out
    axtest::HostWindow host;
    fakes::ControlLog log;
    DWORD misc = 0;
    fw::ClassObjectRegistration reg;
};

TEST_F(FakeControlTest, CreateFollowsTheSiteProtocolAndTeardownUndoesIt) {
    const struct {
        DWORD misc;
        Calls expected;
    } cases[] = {
        {0, {"InitNew", "SetClientSite", "SetHostNames", "SetExtent", "DoVerb(-5)"}},
        {OLEMISC_SETCLIENTSITEFIRST, {"SetClientSite", "InitNew", "SetHostNames", "SetExtent", "DoVerb(-5)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.misc);
        log = {};
        misc = c.misc;
        HWND controlWnd = nullptr;
        {
            fw::AxHost ax;
            ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{20, 30, 220, 130}), S_OK);
            EXPECT_EQ(log.calls, c.expected);
            EXPECT_EQ(log.userModeAnswer, 1) << "the control sees user mode through the ambient IDispatch";
            EXPECT_TRUE(ax.IsInPlaceActive());
            controlWnd = ax.ControlWindow();
            ASSERT_NE(controlWnd, nullptr);
            EXPECT_EQ(::GetParent(controlWnd), host.hwnd());
            EXPECT_TRUE(EqualRect(axtest::RectInParent(controlWnd), RECT{20, 30, 220, 130}));
            EXPECT_TRUE(::IsWindowVisible(controlWnd));
        }
        EXPECT_EQ(Tail(log.calls, 3), kTeardown);
        EXPECT_TRUE(log.destroyed) << "the host let go of every reference";
        EXPECT_FALSE(::IsWindow(controlWnd));
    }
}

TEST_F(FakeControlTest, SetRectAndShowMoveTheControlWindow) {
    fw::AxHost ax;
    ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{0, 0, 100, 100}, false), S_OK);
    HWND wnd = ax.ControlWindow();
    EXPECT_FALSE(::IsWindowVisible(wnd)) << "created hidden";
    for (const RECT& r : {RECT{5, 6, 305, 206}, RECT{0, 0, 1, 1}, RECT{40, 50, 640, 480}}) {
        ASSERT_EQ(ax.SetRect(r), S_OK);
        EXPECT_TRUE(EqualRect(axtest::RectInParent(wnd), r));
        EXPECT_TRUE(EqualRect(ax.rect(), r));
    }
    ax.Show(true);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    ax.Show(false);
    EXPECT_FALSE(::IsWindowVisible(wnd));
}

TEST_F(FakeControlTest, KeyboardMessagesGoToTheActiveControl) {
    fw::AxHost ax;
    ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{0, 0, 100, 100}), S_OK);
    MSG mouse{ax.ControlWindow(), WM_MOUSEMOVE, 0, 0, 0, {}};
    EXPECT_FALSE(ax.TranslateAccelerator(&mouse));
    EXPECT_FALSE(Has(log.calls, "TranslateAccelerator")) << "only keys are offered";

    MSG f5 = Key(ax.ControlWindow(), VK_F5), other = Key(ax.ControlWindow(), 'A');
    EXPECT_TRUE(ax.TranslateAccelerator(&f5));
    EXPECT_FALSE(ax.TranslateAccelerator(&other));

    // The same through the message-loop helper, for a window inside the control's.
    HWND inner = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, ax.ControlWindow(), nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    MSG toInner = Key(inner, VK_F5);
    EXPECT_TRUE(fw::PreTranslateAxMessage(&toInner));

    ASSERT_EQ(ax.UIActivate(), S_OK);
    EXPECT_EQ(log.calls.back(), "DoVerb(-4)");
    EXPECT_TRUE(ax.TranslateAccelerator(&f5));
    EXPECT_EQ(log.calls.back(), "TranslateAccelerator(active)") << "the active object the frame was given";
    ax.Destroy();
    EXPECT_EQ(Tail(log.calls, 4), (Calls{"UIDeactivate", "InPlaceDeactivate", "Close", "SetClientSite(null)"}));
    EXPECT_FALSE(ax.TranslateAccelerator(&f5));
    EXPECT_FALSE(fw::PreTranslateAxMessage(&f5)) << "a torn-down control gets no keys";
}

struct DialogRun {
    fw::AxHost ax;
    INT_PTR ended = 0;
};

INT_PTR CALLBACK KeyDialogProc(HWND dlg, UINT msg, WPARAM, LPARAM lParam) {
    auto* run = reinterpret_cast<DialogRun*>(::GetWindowLongPtrA(dlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        run = reinterpret_cast<DialogRun*>(lParam);
        if (FAILED(run->ax.Create(kFakeClsid, dlg, RECT{0, 0, 50, 50}))) ::EndDialog(dlg, -2);
        ::PostMessageA(run->ax.ControlWindow(), WM_KEYDOWN, VK_F5, 0);
        ::PostMessageA(dlg, WM_APP, 0, 0);
        return TRUE;
    }
    if (msg == WM_APP && run) {
        run->ax.Destroy();
        ::EndDialog(dlg, 7);
        return TRUE;
    }
    return FALSE;
}

// A modal dialog's own loop around the fake control, which it sends F5; 7 when it ended as planned.
INT_PTR RunKeyDialog(HWND owner) {
    struct alignas(4) Template {
        DLGTEMPLATE dlg;
        WORD menu, windowClass, title;
    } tpl{};
    tpl.dlg.style = WS_POPUP | DS_NOIDLEMSG;
    tpl.dlg.cx = 100;
    tpl.dlg.cy = 60;
    DialogRun run;
    return ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), &tpl.dlg, owner, KeyDialogProc,
                                     reinterpret_cast<LPARAM>(&run));
}

TEST_F(FakeControlTest, KeyboardFilterReachesTheControlFromAModalDialogLoop) {
    for (bool filtered : {true, false}) {
        SCOPED_TRACE(filtered);
        log = {};
        std::optional<fw::AxKeyboardFilter> filter;
        if (filtered) {
            filter.emplace();
            ASSERT_TRUE(*filter);
        }
        EXPECT_EQ(RunKeyDialog(host.hwnd()), 7);
        EXPECT_EQ(Has(log.calls, "TranslateAccelerator"), filtered);
        EXPECT_TRUE(log.destroyed);
    }
}

// A control whose key handling throws: the keyboard hook stops the exception,
// leaves its trace line, and the dialog's loop goes on to its end.
TEST_F(FakeControlTest, AnExceptionStoppedAtTheKeyboardHookLeavesALine) {
    log.throwOnKey = true;
    testsupport::DebugOutputRecorder output;
    fw::AxKeyboardFilter filter;
    ASSERT_TRUE(filter);
    EXPECT_EQ(RunKeyDialog(host.hwnd()), 7) << "the loop went on after the exception";
    EXPECT_TRUE(Has(log.calls, "TranslateAccelerator"));
    const std::string line = output.LineWith(
        {"exception stopped at a hook", "AxKeyboardFilter", "window class Static", "0x0100", "accelerator failure"});
    EXPECT_FALSE(line.empty()) << ::testing::PrintToString(output.Lines());
}

TEST_F(FakeControlTest, TeardownReleasesTheSiteAndAllowsReuse) {
    fw::AxHost ax;
    fw::ComPtr<IOleClientSite> site = ax.Site();
    const ULONG baseline = axtest::RefCount(site.get());
    ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{0, 0, 50, 50}), S_OK);
    EXPECT_GT(axtest::RefCount(site.get()), baseline) << "the control holds the site";
    EXPECT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{0, 0, 50, 50}), E_UNEXPECTED) << "one control per host";
    ax.Destroy();
    ax.Destroy();
    EXPECT_TRUE(log.destroyed);
    EXPECT_EQ(axtest::RefCount(site.get()), baseline);
    EXPECT_FALSE(ax.IsCreated());
    EXPECT_EQ(ax.ControlWindow(), nullptr);

    log = {};
    ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{0, 0, 50, 50}), S_OK);
    EXPECT_TRUE(ax.IsInPlaceActive());
}

TEST_F(FakeControlTest, ContainerWindowDestroyedFirst) {
    fw::AxHost ax;
    ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{0, 0, 50, 50}), S_OK);
    ASSERT_TRUE(host.Destroy());
    ax.Destroy();
    EXPECT_EQ(Tail(log.calls, 3), kTeardown);
    EXPECT_TRUE(log.destroyed);
}

TEST_F(FakeControlTest, RefusesWhatItCannotHost) {
    fw::AxHost ax;
    EXPECT_EQ(ax.Create(kMissingClsid, host.hwnd(), RECT{0, 0, 50, 50}), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(ax.Create(kFakeClsid, nullptr, RECT{0, 0, 50, 50}), E_INVALIDARG);
    fw::ComPtr<fw::ClassFactory> notAControl = fw::MakeCom<fw::ClassFactory>(nullptr);
    EXPECT_EQ(ax.Attach(static_cast<IClassFactory*>(notAControl.get()), host.hwnd(), RECT{}), E_NOINTERFACE);
    EXPECT_FALSE(ax.IsCreated());
    EXPECT_TRUE(log.destroyed) << "the control made for the bad window was released";
}

HRESULT AskAmbient(IDispatch* site, DISPID id, fw::Variant* out, WORD flags = DISPATCH_PROPERTYGET) {
    DISPPARAMS none{};
    return site->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &none, out->put(), nullptr, nullptr);
}

TEST_F(FakeControlTest, AmbientPropertiesComeFromTheHandlerThenTheDefaults) {
    int asked = 0;
    fw::ComPtr<IDispatch> site;
    {
        fw::AxHost ax;
        ax.SetAmbientHandler([&](DISPID id, fw::Variant& value) {
            ++asked;
            if (id == DISPID_AMBIENT_USERAGENT) {
                value = fw::Variant(L"Mozilla/4.0 (compatible; Test)");
                return true;
            }
            if (id == DISPID_AMBIENT_DLCONTROL) throw std::runtime_error("handler failure");
            return false;
        });
        ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{0, 0, 50, 50}), S_OK);
        site = ax.AmbientDispatch();

        fw::Variant first, second;
        ASSERT_EQ(AskAmbient(site.get(), DISPID_AMBIENT_USERAGENT, &first), S_OK);
        ASSERT_EQ(AskAmbient(site.get(), DISPID_AMBIENT_USERAGENT, &second), S_OK);
        ASSERT_EQ(first.vt(), VT_BSTR);
        EXPECT_EQ(first.ToString(), "Mozilla/4.0 (compatible; Test)");
        EXPECT_NE(first.get()->bstrVal, second.get()->bstrVal) << "each answer is the caller's own string";

        fw::Variant v;
        EXPECT_EQ(AskAmbient(site.get(), DISPID_AMBIENT_USERMODE, &v), S_OK);
        EXPECT_EQ(v.vt(), VT_BOOL);
        EXPECT_TRUE(v.ToBool());
        EXPECT_EQ(AskAmbient(site.get(), DISPID_AMBIENT_SILENT, &v), DISP_E_MEMBERNOTFOUND);
        EXPECT_TRUE(v.IsEmpty());
        EXPECT_EQ(AskAmbient(site.get(), DISPID_AMBIENT_DLCONTROL, &v), DISP_E_EXCEPTION);
        EXPECT_EQ(AskAmbient(site.get(), DISPID_AMBIENT_USERAGENT, &v, DISPATCH_METHOD), DISP_E_MEMBERNOTFOUND);

        EXPECT_EQ(ax.AmbientPropertyChanged(DISPID_AMBIENT_USERAGENT), S_OK);
        EXPECT_EQ(log.calls.back(), "OnAmbientPropertyChange(-5513)");
    }
    // A site kept past its host answers without reaching the owner's handler.
    const int before = asked;
    fw::Variant late;
    EXPECT_EQ(AskAmbient(site.get(), DISPID_AMBIENT_USERAGENT, &late), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(asked, before);
}

TEST_F(FakeControlTest, AxWindowHoldsTheControlAndFollowsItsSize) {
    fw::AxWindow ax;
    ASSERT_EQ(ax.Create(kFakeClsid, host.hwnd(), RECT{10, 10, 210, 110}, 1000), S_OK);
    EXPECT_EQ(::GetDlgItem(host.hwnd(), 1000), ax.hwnd());
    HWND control = ax.host().ControlWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(::GetParent(control), ax.hwnd());
    EXPECT_TRUE(EqualRect(axtest::RectInParent(control), RECT{0, 0, 200, 100}));

    ::MoveWindow(ax.hwnd(), 0, 0, 300, 150, TRUE);
    EXPECT_TRUE(EqualRect(axtest::RectInParent(control), RECT{0, 0, 300, 150}));

    ::SetFocus(ax.hwnd());
    EXPECT_TRUE(Has(log.calls, "DoVerb(-4)")) << "focus given to the holder activates the control";

    MSG toControl = Key(control, VK_F5), toHost = Key(host.hwnd(), VK_F5), toHolder = Key(ax.hwnd(), VK_F5);
    EXPECT_TRUE(fw::PreTranslateAxMessage(&toControl));
    EXPECT_FALSE(fw::PreTranslateAxMessage(&toHost)) << "keys outside the control stay with the host";
    EXPECT_FALSE(fw::PreTranslateAxMessage(&toHolder));

    ASSERT_TRUE(host.Destroy());
    EXPECT_EQ(ax.hwnd(), nullptr);
    EXPECT_TRUE(Has(log.calls, "Close"));
    EXPECT_TRUE(log.destroyed) << "destroying the dialog takes the control down";
}

TEST_F(FakeControlTest, AxWindowTakesThePlaceOfAPlaceholder) {
    HWND placeholder = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 15, 25, 100, 50, host.hwnd(),
                                         reinterpret_cast<HMENU>(1000), ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(placeholder, nullptr);
    fw::AxWindow missing;
    EXPECT_TRUE(FAILED(missing.CreateInPlaceOf(host.hwnd(), 1000, kMissingClsid)));
    EXPECT_EQ(::GetDlgItem(host.hwnd(), 1000), placeholder) << "a failed creation keeps the placeholder";

    fw::AxWindow ax;
    ASSERT_EQ(ax.CreateInPlaceOf(host.hwnd(), 1000, kFakeClsid), S_OK);
    EXPECT_FALSE(::IsWindow(placeholder));
    EXPECT_EQ(::GetDlgItem(host.hwnd(), 1000), ax.hwnd());
    EXPECT_TRUE(EqualRect(axtest::RectInParent(ax.hwnd()), RECT{15, 25, 115, 75}));
    EXPECT_TRUE(::IsWindowVisible(ax.hwnd()));
    EXPECT_EQ(ax.CreateInPlaceOf(host.hwnd(), 1001, kFakeClsid), E_UNEXPECTED);
}

}  // namespace
