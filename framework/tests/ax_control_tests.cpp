// The control side of ActiveX with a small test control hosted by the
// framework's own container.
#include "fw/activex.h"
#include "fw/com_module.h"
#include "fw/com_registration.h"
#include "fw/event_sink.h"
#include "fw/property_page.h"
#include "fw/registry.h"

#include "ax_test_util.h"
#include "test_control.h"
#include "test_control_res.h"
#include "testsupport/box_answerer.h"

#include <ocidl.h>
#include <olectl.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using fw::Variant;

// A property bag in memory.
class MemoryBag final : public fw::ComObject<IPropertyBag> {
public:
    std::map<std::wstring, Variant> values;
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        auto it = values.find(name);
        if (it == values.end()) return E_INVALIDARG;
        const VARTYPE wanted = value->vt;
        ::VariantInit(value);
        return ::VariantChangeType(value, it->second.get(), 0, wanted == VT_EMPTY ? it->second.vt() : wanted);
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
        values[name] = Variant(*value);
        return S_OK;
    }
};

// Records the property changes a control reports.
class ChangeSink final : public fw::ComObject<IPropertyNotifySink> {
public:
    std::vector<DISPID> changed;
    STDMETHODIMP OnChanged(DISPID id) override {
        changed.push_back(id);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
};

class AxControlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Open()); }

    HRESULT Create(fw::AxHost& ax, const fw::AxSetup& setup = {}) {
        return ax.Create(testctl::kClsid, host.hwnd(), RECT{10, 10, 110, 40}, setup);
    }
    static HWND Button(fw::AxHost& ax) { return ::GetWindow(ax.ControlWindow(), GW_CHILD); }

    fw::OleApartment ole;
    axtest::HostWindow host;
    testctl::Registration reg;
};

TEST_F(AxControlTest, PropertiesPersistToAStreamAndReload) {
    fw::ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    ULARGE_INTEGER max{};
    {
        fw::AxHost ax;
        ASSERT_EQ(Create(ax), S_OK);
        fw::DispatchDriver d(ax.Dispatch());
        EXPECT_EQ(d.Get(testctl::kValue).value.ToLong(), 7) << "the default after InitNew";
        auto persist = ax.ControlAs<IPersistStreamInit>();
        EXPECT_EQ(persist->IsDirty(), S_FALSE);
        ASSERT_EQ(d.Put(testctl::kValue, Variant(-42)), S_OK);
        ASSERT_EQ(d.Put(testctl::kFlag, Variant(true)), S_OK);
        ASSERT_EQ(d.Put(DISPID_BACKCOLOR, Variant(0x123456L)), S_OK);
        EXPECT_EQ(persist->IsDirty(), S_OK);
        ASSERT_EQ(persist->GetSizeMax(&max), S_OK);
        ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
        EXPECT_EQ(persist->IsDirty(), S_FALSE);
    }
    ULARGE_INTEGER end{};
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_CUR, &end);
    EXPECT_EQ(end.QuadPart, max.QuadPart) << "GetSizeMax measures what Save writes";
    EXPECT_EQ(end.QuadPart, 4u * 7) << "version, extent, two colours, two properties";

    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    fw::AxHost ax;
    fw::AxSetup setup;
    setup.initialData = stream;
    ASSERT_EQ(Create(ax, setup), S_OK);
    fw::DispatchDriver d(ax.Dispatch());
    EXPECT_EQ(d.Get(testctl::kValue).value.ToLong(), -42);
    EXPECT_TRUE(d.Get(testctl::kFlag).value.ToBool());
    EXPECT_EQ(d.Get(DISPID_BACKCOLOR).value.ToLong(), 0x123456L);
    EXPECT_EQ(ax.ControlAs<IPersistStreamInit>()->IsDirty(), S_FALSE) << "freshly loaded";

    // InitNew puts the defaults back.
    ASSERT_EQ(ax.ControlAs<IPersistStreamInit>()->InitNew(), S_OK);
    EXPECT_EQ(d.Get(testctl::kValue).value.ToLong(), 7);
    EXPECT_FALSE(d.Get(testctl::kFlag).value.ToBool());
}

TEST_F(AxControlTest, AShortStreamFailsToLoadAndLeavesTheRestAtDefaults) {
    fw::ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    const uint32_t words[] = {0x00010000, 2540, 635, 0, 0, 99};  // Flag missing
    stream->Write(words, sizeof(words), nullptr);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    fw::ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(
        ::CoCreateInstance(testctl::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStreamInit, persist.put_void()),
        S_OK);
    EXPECT_EQ(persist->Load(stream.get()), STG_E_READFAULT);
    fw::DispatchDriver d(persist.As<IDispatch>());
    EXPECT_EQ(d.Get(testctl::kValue).value.ToLong(), 99) << "what was there is read";
    EXPECT_FALSE(d.Get(testctl::kFlag).value.ToBool());
}

TEST_F(AxControlTest, PropertiesPersistToAPropertyBagByName) {
    auto bag = fw::MakeCom<MemoryBag>();
    {
        fw::ComPtr<IPersistPropertyBag> persist;
        ASSERT_EQ(::CoCreateInstance(testctl::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistPropertyBag,
                                     persist.put_void()),
                  S_OK);
        ASSERT_EQ(persist->InitNew(), S_OK);
        fw::DispatchDriver d(persist.As<IDispatch>());
        d.Put(testctl::kValue, Variant(12345));
        d.Put(testctl::kFlag, Variant(true));
        ASSERT_EQ(persist->Save(bag.get(), TRUE, TRUE), S_OK);
    }
    EXPECT_EQ(bag->values.at(L"Value").ToLong(), 12345);
    EXPECT_EQ(bag->values.at(L"Flag").vt(), VT_BOOL);
    EXPECT_EQ(bag->values.at(L"_Version").ToLong(), 0x00010000);

    bag->values.erase(L"Flag");             // a missing property keeps its default
    bag->values[L"Value"] = Variant("77");  // and a text converts
    fw::ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(
        ::CoCreateInstance(testctl::kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistPropertyBag, persist.put_void()),
        S_OK);
    ASSERT_EQ(persist->Load(bag.get(), nullptr), S_OK);
    fw::DispatchDriver d(persist.As<IDispatch>());
    EXPECT_EQ(d.Get(testctl::kValue).value.ToLong(), 77);
    EXPECT_FALSE(d.Get(testctl::kFlag).value.ToBool());
}

TEST_F(AxControlTest, EventsReachASinkThroughTheReflectorAndNotWhileFrozen) {
    fw::AxHost ax;
    ASSERT_EQ(Create(ax), S_OK);
    std::vector<long> clicks;
    fw::EventSink sink(testctl::kEventsIid);
    sink.On(testctl::kClicked, [&](const fw::DispArgs& a) { clicks.push_back(a.Long(0)); });
    ASSERT_EQ(sink.Connect(ax.Control().get()), S_OK);

    HWND button = Button(ax);
    ASSERT_TRUE(button);
    EXPECT_EQ(::GetParent(button), ax.ControlWindow()) << "the button sits in its reflector";
    ::SendMessageA(button, BM_CLICK, 0, 0);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, (std::vector<long>{1, 2}));

    auto control = ax.ControlAs<IOleControl>();
    control->FreezeEvents(TRUE);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    control->FreezeEvents(FALSE);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, (std::vector<long>{1, 2, 4}));
    EXPECT_EQ(fw::DispatchDriver(ax.Dispatch()).Call(testctl::kClicks).value.ToLong(), 4);

    sink.Disconnect();
    ::SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks.size(), 3u) << "an unadvised sink hears nothing";
}

TEST_F(AxControlTest, PropertyChangesReachANotifySink) {
    fw::AxHost ax;
    ASSERT_EQ(Create(ax), S_OK);
    auto container = ax.ControlAs<IConnectionPointContainer>();
    fw::ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, point.put()), S_OK);
    auto sink = fw::MakeCom<ChangeSink>();
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(static_cast<IPropertyNotifySink*>(sink.get()), &cookie), S_OK);
    fw::DispatchDriver d(ax.Dispatch());
    d.Put(testctl::kValue, Variant(1));
    d.Put(testctl::kFlag, Variant(true));
    EXPECT_EQ(sink->changed, (std::vector<DISPID>{testctl::kValue, testctl::kFlag}));
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);

    // Both points are listed.
    fw::ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
    std::vector<IID> iids;
    for (IConnectionPoint* p = nullptr; points->Next(1, &p, nullptr) == S_OK; p->Release()) {
        IID iid{};
        p->GetConnectionInterface(&iid);
        iids.push_back(iid);
    }
    EXPECT_EQ(iids, (std::vector<IID>{testctl::kEventsIid, IID_IPropertyNotifySink}));
}

TEST_F(AxControlTest, DispatchCoercesThroughTheTypeLibrary) {
    fw::AxHost ax;
    ASSERT_EQ(Create(ax), S_OK);
    fw::DispatchDriver d(ax.Dispatch());
    EXPECT_EQ(d.IdOf(L"add"), std::optional<DISPID>(testctl::kAdd)) << "names ignore case";
    EXPECT_EQ(d.IdOf(L"BackColor"), std::optional<DISPID>(DISPID_BACKCOLOR));

    fw::DispResult sum = d.Call(testctl::kAdd, {"2", 3.0});
    EXPECT_EQ(sum.hr, S_OK);
    EXPECT_EQ(sum.value.vt(), VT_I4);
    EXPECT_EQ(sum.value.ToLong(), 5) << "a text and a double arrive as longs";
    fw::DispResult clicks = d.Call(testctl::kClicks);
    EXPECT_EQ(clicks.value.vt(), VT_I2) << "the declared result type";
    fw::DispResult echo = d.Call(testctl::kEcho, {42});
    EXPECT_EQ(echo.value.ToString(), "42!");

    EXPECT_EQ(d.Call(testctl::kAdd, {1}).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(d.Call(999).hr, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(d.Call(DISPID_ABOUTBOX).hr, DISP_E_MEMBERNOTFOUND) << "not in this control's interface";
    EXPECT_EQ(d.Put(testctl::kAdd, Variant(1)), DISP_E_MEMBERNOTFOUND);

    // A text that is no number: the mismatch names the argument (last-first index).
    Variant args[2] = {Variant(1), Variant("x")};  // b, a
    DISPPARAMS params{reinterpret_cast<VARIANT*>(args), nullptr, 2, 0};
    UINT argErr = 99;
    Variant result;
    EXPECT_EQ(
        ax.Dispatch()->Invoke(testctl::kAdd, IID_NULL, 0, DISPATCH_METHOD, &params, result.put(), nullptr, &argErr),
        DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u);
    EXPECT_EQ(d.Call(DISPID_REFRESH).hr, S_OK) << "a stock method";
}

TEST_F(AxControlTest, TheHostsStepRunsBetweenLoadingAndActivation) {
    bool sawWindow = true;
    long valueSeen = 0;
    fw::AxHost ax;
    fw::AxSetup setup;
    setup.beforeActivate = [&](IUnknown* control) {
        fw::ComPtr<IOleWindow> window = fw::ComPtr<IUnknown>(control).As<IOleWindow>();
        HWND wnd = nullptr;
        sawWindow = window && SUCCEEDED(window->GetWindow(&wnd)) && wnd;
        fw::DispatchDriver d(fw::ComPtr<IUnknown>(control).As<IDispatch>());
        valueSeen = d.Get(testctl::kValue).value.ToLong();
        return d.Put(testctl::kValue, Variant(5));
    };
    ASSERT_EQ(Create(ax, setup), S_OK);
    EXPECT_FALSE(sawWindow) << "no window yet";
    EXPECT_EQ(valueSeen, 7) << "its state already set up";
    EXPECT_EQ(fw::DispatchDriver(ax.Dispatch()).Get(testctl::kValue).value.ToLong(), 5);

    // A failing step stops the creation; nothing is left behind.
    const LONG before = fw::ComModule::Get().Objects();
    fw::AxHost refused;
    fw::AxSetup failing;
    failing.beforeActivate = [](IUnknown*) { return E_ABORT; };
    EXPECT_EQ(Create(refused, failing), E_ABORT);
    EXPECT_FALSE(refused.IsCreated());
    EXPECT_EQ(fw::ComModule::Get().Objects(), before);
    EXPECT_EQ(::FindWindowExA(host.hwnd(), nullptr, "fwAxReflector", nullptr), ax.ControlWindow())
        << "only the first control's reflector";
}

TEST_F(AxControlTest, TheModuleCountsLiveObjectsAndLocks) {
    fw::ComModule& module = fw::ComModule::Get();
    ASSERT_EQ(module.CanUnloadNow(), S_OK);
    {
        fw::AxHost ax;
        ASSERT_EQ(Create(ax), S_OK);
        EXPECT_EQ(module.Objects(), 1);
        EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
    fw::ComPtr<IClassFactory> factory = fw::MakeModuleClassFactory([] { return nullptr; });
    factory->LockServer(TRUE);
    EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
    void* none = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &none), E_OUTOFMEMORY);
}

TEST_F(AxControlTest, ThePropertyPageIsAChildDialogOfItsTemplate) {
    fw::ComPtr<IPropertyPage> page;
    ASSERT_EQ(
        ::CoCreateInstance(testctl::kPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.put_void()),
        S_OK);
    PROPPAGEINFO info{};
    info.cb = sizeof(info);
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(fw::ToAnsi(info.pszTitle), "Test Page");
    ::CoTaskMemFree(info.pszTitle);

    const RECT at{5, 6, 5 + info.size.cx, 6 + info.size.cy};
    ASSERT_EQ(page->Activate(host.hwnd(), &at, TRUE), S_OK);
    HWND dialog = ::GetWindow(host.hwnd(), GW_CHILD);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(::GetDlgItem(dialog, IDC_PAGE_TEXT));
    // The size the frame was told is the size the dialog manager gives the template.
    RECT units{0, 0, 200, 80};
    ::MapDialogRect(dialog, &units);
    EXPECT_EQ(info.size.cx, units.right);
    EXPECT_EQ(info.size.cy, units.bottom);
    EXPECT_EQ(page->Show(SW_SHOW), S_OK);
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_FALSE(::IsWindow(dialog));
}

TEST_F(AxControlTest, ThePropertiesVerbOpensThePageInAFrame) {
    fw::AxHost ax;
    ASSERT_EQ(Create(ax), S_OK);
    testsupport::BoxAnswerer answerer;
    answerer.Plan(IDOK);
    auto object = ax.ControlAs<IOleObject>();
    RECT rc = ax.rect();
    EXPECT_EQ(object->DoVerb(OLEIVERB_PROPERTIES, nullptr, ax.Site().get(), 0, host.hwnd(), &rc), S_OK);
    const auto boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "A page of the test control") << "the page's own text is in the frame";
    EXPECT_EQ(boxes[0].pressed, IDOK);
}

TEST(ComRegistration, ControlClassEntriesAreWrittenAndRemovedTwice) {
    // {5B1D7E3F-8C2A-4F10-9E61-3A7C0D2B4E50}: registered by this test only.
    const CLSID clsid = {0x5b1d7e3f, 0x8c2a, 0x4f10, {0x9e, 0x61, 0x3a, 0x7c, 0x0d, 0x2b, 0x4e, 0x50}};
    fw::ControlClassInfo info{clsid, "FwTest.Control.1", IDS_TEST_CONTROL, 1, 0x20191, testctl::kLibId, 1, 0,
                              true,  "Apartment"};
    const std::string key = "Software\\Classes\\CLSID\\" + fw::GuidText(clsid);
    ASSERT_EQ(fw::RegisterControlClass(info), S_OK);
    auto read = [&](const std::string& sub, const char* name = nullptr) {
        fw::RegKey k = fw::OpenKey(HKEY_LOCAL_MACHINE, key + sub, KEY_READ);
        return k ? fw::ReadString(k.get(), name) : std::nullopt;
    };
    EXPECT_EQ(read(""), "Test Control");
    EXPECT_EQ(read("\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(read("\\Insertable"), "");
    EXPECT_EQ(read("\\MiscStatus\\1"), "131473");
    DWORD misc = 0;
    EXPECT_EQ(::OleRegGetMiscStatus(clsid, DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, 0x20191u);
    EXPECT_EQ(read("\\ProgID"), "FwTest.Control.1");

    EXPECT_EQ(fw::UnregisterControlClass(info), S_OK);
    EXPECT_FALSE(read(""));
    EXPECT_FALSE(fw::OpenKey(HKEY_CLASSES_ROOT, "FwTest.Control.1", KEY_READ));
    EXPECT_EQ(fw::UnregisterControlClass(info), S_OK) << "already gone";
}

}  // namespace
