// The control in a container: the framework's ActiveX host, dispatch driver
// and event sink, and Wine's own control host window.
#include "combo_test_util.h"

#include "fw/com.h"
#include "fw/event_sink.h"
#include "testsupport/box_answerer.h"
#include "testsupport/pump.h"

#include <ocidl.h>
#include <olectl.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

namespace {

using namespace combotest;
using fw::Variant;

const bool registered = (RegisterForTests(), true);

std::wstring Wide(const char* s) {
    return fw::ToWide(s);
}

HRESULT CanUnloadNow() {
    HMODULE ocx = ::GetModuleHandleA("ZYLCOMBO.OCX");
    if (!ocx) return E_FAIL;
    auto fn = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(::GetProcAddress(ocx, "DllCanUnloadNow"));
    return fn ? fn() : E_FAIL;
}

TEST(ComboIdentity, TypeInformationClassInfoPagesAndUserType) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    IDispatch* disp = c.disp().get();
    UINT count = 0;
    ASSERT_EQ(disp->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    fw::ComPtr<ITypeInfo> info;
    ASSERT_EQ(disp->GetTypeInfo(0, 0, info.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_TRUE(attr->guid == kDispIid);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    info->ReleaseTypeAttr(attr);

    // The method's spelling in the type library differs; names match without regard to case.
    for (const char* name : {"IsComboForWQX", "IsComboForwqx"}) {
        EXPECT_EQ(c.disp().IdOf(Wide(name)), std::optional<DISPID>(7)) << name;
    }
    EXPECT_EQ(c.disp().IdOf(L"GetColorRefForName"), std::optional<DISPID>(13));
    EXPECT_EQ(c.disp().IdOf(L"NoSuchMember"), std::nullopt);

    auto classInfo = c.ax().ControlAs<IProvideClassInfo2>();
    ASSERT_TRUE(classInfo);
    fw::ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(classInfo->GetClassInfo(coclass.put()), S_OK);
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_TRUE(attr->guid == kControlClsid);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    coclass->ReleaseTypeAttr(attr);
    GUID events{};
    ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_TRUE(events == kEventsIid);

    auto pages = c.ax().ControlAs<ISpecifyPropertyPages>();
    ASSERT_TRUE(pages);
    CAUUID ids{};
    ASSERT_EQ(pages->GetPages(&ids), S_OK);
    ASSERT_EQ(ids.cElems, 1u);
    EXPECT_TRUE(ids.pElems[0] == kPageClsid);
    ::CoTaskMemFree(ids.pElems);

    auto object = c.ax().ControlAs<IOleObject>();
    LPOLESTR userType = nullptr;
    ASSERT_EQ(object->GetUserType(USERCLASSTYPE_FULL, &userType), S_OK);
    EXPECT_EQ(fw::ToAnsi(userType), "ZylCombo Control");
    ::CoTaskMemFree(userType);
    DWORD misc = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    EXPECT_EQ(misc, 0x20191u);
}

TEST(ComboIdentity, TheLibraryCanUnloadOnlyWhenNothingIsAlive) {
    auto c = std::make_unique<Container>();
    ASSERT_EQ(c->Create(), S_OK);
    EXPECT_EQ(CanUnloadNow(), S_FALSE) << "a control is alive";
    fw::ComPtr<IClassFactory> factory;
    ASSERT_EQ(::CoGetClassObject(kControlClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put_void()),
              S_OK);
    c.reset();
    EXPECT_EQ(CanUnloadNow(), S_OK) << "released; a class object alone keeps nothing";
    factory->LockServer(TRUE);
    EXPECT_EQ(CanUnloadNow(), S_FALSE) << "locked";
    factory->LockServer(FALSE);
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

LONG ComboStyle(HWND combo) {
    return ::GetWindowLongA(combo, GWL_STYLE) & 0xFFFF;
}

// The style the control's combo box is created with (the box itself later
// hands WS_VSCROLL to its list).
LONG createdStyle = 0;
LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char name[64] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
        if (std::string(name) == "fwAx.COMBOBOX") createdStyle = create->style;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ComboWindow, StyleAndSortReadWhenTheWindowIsMade) {
    const struct {
        const char* what;
        std::optional<Variant> sort;  // put between creating and activating
        LONG bits;
    } cases[] = {
        {"default", std::nullopt, 0x213},
        {"sort on", Variant(true), 0x313},
        {"sort as a nonzero number", Variant(5L), 0x313},
        {"sort off", Variant(false), 0x213},
    };
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(hook);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        createdStyle = 0;
        Container c;
        fw::AxSetup setup;
        if (k.sort) {
            Variant value = *k.sort;
            setup.beforeActivate = [value](IUnknown* control) {
                return fw::DispatchDriver(fw::ComPtr<IUnknown>(control).As<IDispatch>()).Put(kSort, value);
            };
        }
        ASSERT_EQ(c.Create(setup), S_OK);
        ASSERT_TRUE(c.Combo());
        EXPECT_EQ(ComboStyle(c.Combo()), k.bits);
        EXPECT_EQ(createdStyle, static_cast<LONG>(0x50200000 | k.bits)) << std::hex << createdStyle;
    }
    ::UnhookWindowsHookEx(hook);
    // Put after the window exists, Sort waits for the next window.
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    ASSERT_EQ(c.disp().Put(kSort, Variant(true)), S_OK);
    EXPECT_EQ(ComboStyle(c.Combo()), 0x213);
    EXPECT_TRUE(c.disp().Get(kSort).value.ToBool());
    c.Call(kAddFontColors, {""});
    EXPECT_EQ(c.Text(kGetTextForIndex, {0}), "Black") << "unsorted: the table's order";

    // Deactivated and activated again, the control makes its window anew: sorted now.
    ASSERT_EQ(c.ax().ControlAs<IOleInPlaceObject>()->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(c.ax().IsInPlaceActive());
    RECT rc = c.ax().rect();
    ASSERT_EQ(c.ax().ControlAs<IOleObject>()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, c.ax().Site().get(), 0,
                                                     c.hwnd(), &rc),
              S_OK);
    ASSERT_TRUE(c.Combo());
    EXPECT_EQ(ComboStyle(c.Combo()), 0x313);
    c.Call(kAddFontColors, {""});
    EXPECT_EQ(c.Text(kGetTextForIndex, {0}), "Aqua");
}

TEST(ComboWindow, SortPersistsAndReloadsIntoTheNextWindow) {
    fw::ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
    {
        Container c;
        ASSERT_EQ(c.Create(), S_OK);
        ASSERT_EQ(c.disp().Put(kSort, Variant(true)), S_OK);
        auto persist = c.ax().ControlAs<IPersistStreamInit>();
        EXPECT_EQ(persist->IsDirty(), S_OK);
        ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
        EXPECT_EQ(persist->IsDirty(), S_FALSE);
    }
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    Container c;
    fw::AxSetup setup;
    setup.initialData = stream;
    ASSERT_EQ(c.Create(setup), S_OK);
    EXPECT_EQ(ComboStyle(c.Combo()), 0x313);
    c.Call(kAddFontColors, {""});
    EXPECT_EQ(c.Text(kGetTextForIndex, {0}), "Aqua") << "sorted";
}

TEST(ComboMembers, TableOfTextCountSelectionAndColourCases) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    EXPECT_EQ(c.Text(kGetText), "") << "empty list";
    EXPECT_EQ(c.Call(kCount).vt(), VT_I2);
    EXPECT_EQ(c.Long(kCount), 0);
    EXPECT_TRUE(c.Bool(kAddFontColors, {""}));

    const struct {
        DISPID id;
        std::vector<Variant> args;
        Variant expected;
    } cases[] = {
        {kCount, {}, Variant(16)},
        {kGetText, {}, Variant("Black")},
        {kGetTextForIndex, {Variant(15)}, Variant("White")},
        {kGetTextForIndex, {Variant(16)}, Variant("")},
        {kGetTextForIndex, {Variant(-1)}, Variant("")},
        {kSetCurSel, {Variant(3)}, Variant()},
        {kGetText, {}, Variant("Olive")},
        {kSetCurSel, {Variant(-1)}, Variant()},
        {kGetText, {}, Variant("")},
        {kGetColorRefName, {Variant(0xC0C0C0L)}, Variant("Silver")},
        {kGetColorRefName, {Variant(0xC0C0C1L)}, Variant("")},
        {kGetColorRefName, {Variant(0L)}, Variant("Black")},
        {kGetColorRefName, {Variant(0xFF00FFL)}, Variant("Fuschia")},
        {kGetColorRefName, {Variant(-1L)}, Variant("")},
        {kGetColorRefForName, {Variant("Silver")}, Variant(0xC0C0C0L)},
        {kGetColorRefForName, {Variant("silver")}, Variant(0L)},
        {kGetColorRefForName, {Variant("Fuchsia")}, Variant(0L)},
        {kGetColorRefForName, {Variant("Fuschia")}, Variant(0xFF00FFL)},
        {kGetColorRefForName, {Variant("Navy")}, Variant(0x800000L)},
        {kGetColorRefForName, {Variant("")}, Variant(0L)},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "dispid " << k.id << " case " << (&k - cases));
        fw::DispResult r;
        switch (k.args.size()) {
            case 0:
                r = c.disp().Call(k.id);
                break;
            default:
                r = c.disp().Call(k.id, {k.args[0]});
                break;
        }
        ASSERT_EQ(r.hr, S_OK);
        if (k.expected.IsEmpty()) {
            EXPECT_TRUE(r.value.IsEmpty());
        } else if (k.expected.vt() == VT_BSTR) {
            EXPECT_EQ(r.value.vt(), VT_BSTR);
            EXPECT_EQ(r.value.ToString(), k.expected.ToString());
        } else {
            EXPECT_EQ(r.value.vt(), k.id == kCount ? VT_I2 : VT_I4);
            EXPECT_EQ(r.value.ToLong(), k.expected.ToLong());
        }
    }
    EXPECT_EQ(::SendMessageA(c.Combo(), CB_GETCURSEL, 0, 0), CB_ERR) << "SetCurSel(-1) leaves no selection";
    // Enable and disable.
    c.Call(kEnableControl, {false});
    EXPECT_FALSE(::IsWindowEnabled(c.Combo()));
    c.Call(kEnableControl, {true});
    EXPECT_TRUE(::IsWindowEnabled(c.Combo()));
}

TEST(ComboMembers, LongTextsComeBackWholeAndCountStaysInTheShortRange) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    const std::string longName(3000, 'w');
    EXPECT_EQ(c.Long(kAddTunes, {longName + ".wav"}), 0);
    EXPECT_EQ(c.Text(kGetText), longName + ".wav");
    EXPECT_EQ(c.Text(kGetTextForIndex, {0}), longName + ".wav");

    // More items than a short counts.
    for (int i = 0; i < 33000; ++i) ::SendMessageA(c.Combo(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x"));
    ASSERT_GT(::SendMessageA(c.Combo(), CB_GETCOUNT, 0, 0), SHRT_MAX);
    EXPECT_EQ(c.Long(kCount), SHRT_MAX);
}

TEST(ComboMembers, BeforeTheWindowMethodsAnswerEmptyAndAddNothing) {
    fw::ComPtr<IDispatch> disp;
    ASSERT_EQ(::CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, disp.put_void()), S_OK);
    fw::DispatchDriver d(disp);
    const struct {
        DISPID id;
        std::vector<Variant> args;
        Variant expected;
    } cases[] = {
        {kAddFontColors, {Variant("")}, Variant(false)},
        {kAddFontColors, {Variant("Red")}, Variant(false)},
        {kAddFontSizes, {Variant(true), Variant("")}, Variant(false)},
        {kAddFontSizes, {Variant(false), Variant("")}, Variant(false)},
        {kAddFonts, {Variant("")}, Variant(false)},
        {kAddTunes, {Variant("a.wav")}, Variant(1)},  // the failed selection's answer
        {kGetText, {}, Variant("")},
        {kGetTextForIndex, {Variant(0)}, Variant("")},
        {kCount, {}, Variant(0)},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "dispid " << k.id);
        fw::DispResult r = k.args.empty()       ? d.Call(k.id)
                           : k.args.size() == 1 ? d.Call(k.id, {k.args[0]})
                                                : d.Call(k.id, {k.args[0], k.args[1]});
        ASSERT_EQ(r.hr, S_OK);
        if (k.expected.vt() == VT_BSTR)
            EXPECT_EQ(r.value.ToString("?"), k.expected.ToString());
        else if (k.expected.vt() == VT_BOOL)
            EXPECT_EQ(r.value.ToBool(true), k.expected.ToBool());
        else
            EXPECT_EQ(r.value.ToLong(-9), k.expected.ToLong());
    }
    EXPECT_EQ(d.Call(kSetCurSel, {Variant(0)}).hr, S_OK);
    EXPECT_EQ(d.Call(kEnableControl, {Variant(false)}).hr, S_OK);

    // Activated later, the control has an empty list.
    Container c;
    ASSERT_EQ(c.ax().Attach(disp.get(), c.hwnd(), RECT{10, 10, 210, 210}), S_OK);
    d.Release();
    disp.reset();
    EXPECT_EQ(::SendMessageA(c.Combo(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(::IsWindowEnabled(c.Combo()));
}

TEST(ComboEvents, AClickDropsTheListDownAndClosingItFiresCloseUp) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    c.Call(kAddFontColors, {""});
    std::vector<DISPID> fired;
    fw::EventSink sink(kEventsIid);
    sink.On(kDropDown, [&](const fw::DispArgs&) {
        fired.push_back(kDropDown);
        EXPECT_TRUE(::SendMessageA(c.Combo(), CB_GETDROPPEDSTATE, 0, 0)) << "the list opens first";
    });
    sink.On(kCloseUp, [&](const fw::DispArgs&) { fired.push_back(kCloseUp); });
    ASSERT_EQ(sink.Connect(c.ax().Control().get()), S_OK);

    ::SendMessageA(c.Combo(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(fired, std::vector<DISPID>{kDropDown});
    ::SendMessageA(c.Combo(), CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(fired, (std::vector<DISPID>{kDropDown, kCloseUp}));
    EXPECT_FALSE(::SendMessageA(c.Combo(), CB_GETDROPPEDSTATE, 0, 0));
}

TEST(ComboAbout, AboutBoxShowsItsDialogAnsweredByOk) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    testsupport::BoxAnswerer answerer;
    answerer.Plan(IDOK);
    EXPECT_EQ(c.disp().Call(kAboutBox).hr, S_OK);
    const auto boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "About ZylCombo Control");
    EXPECT_EQ(boxes[0].text, "ZylCombo Control, Version 2.0");
    EXPECT_EQ(boxes[0].pressed, IDOK);
}

TEST(ComboPage, ThePropertiesVerbOpensTheGeneralPage) {
    Container c;
    ASSERT_EQ(c.Create(), S_OK);
    fw::ComPtr<IPropertyPage> page;
    ASSERT_EQ(::CoCreateInstance(kPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.put_void()), S_OK);
    PROPPAGEINFO info{};
    info.cb = sizeof(info);
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(fw::ToAnsi(info.pszTitle), "General");
    ::CoTaskMemFree(info.pszTitle);
    EXPECT_GT(info.size.cx, 250) << "250 x 62 dialog units";
    EXPECT_GT(info.size.cy, 62);
    page.reset();

    testsupport::BoxAnswerer answerer;
    answerer.Plan(IDOK);
    auto object = c.ax().ControlAs<IOleObject>();
    RECT rc = c.ax().rect();
    EXPECT_EQ(object->DoVerb(OLEIVERB_PROPERTIES, nullptr, c.ax().Site().get(), 0, c.hwnd(), &rc), S_OK);
    const auto boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "This control has no properties to set here.");
    EXPECT_EQ(boxes[0].pressed, IDOK);
}

// Wine's ATL control host window creates the control from its title.
TEST(ComboInAtlHost, WinesControlHostWindowHostsTheControl) {
    HMODULE atl = ::LoadLibraryA("atl.dll");
    ASSERT_TRUE(atl);
    auto init = reinterpret_cast<BOOL(WINAPI*)()>(::GetProcAddress(atl, "AtlAxWinInit"));
    auto getControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(::GetProcAddress(atl, "AtlAxGetControl"));
    ASSERT_TRUE(init && getControl);
    ASSERT_TRUE(init());
    Container host;
    HWND wnd = ::CreateWindowExA(0, "AtlAxWin", "ZYLCOMBO.ZylComboCtrl.1", WS_CHILD | WS_VISIBLE, 10, 10, 200, 150,
                                 host.hwnd(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(wnd);
    fw::ComPtr<IUnknown> unk;
    ASSERT_EQ(getControl(wnd, unk.put()), S_OK);
    fw::DispatchDriver d(unk.As<IDispatch>());
    ASSERT_TRUE(d);
    EXPECT_TRUE(d.Call(kAddFontColors, {"Red"}).value.ToBool());
    EXPECT_EQ(d.Call(kCount).value.ToLong(), 16);
    EXPECT_EQ(d.Call(kGetText).value.ToString(), "Red");

    // The control's window sits in its reflector inside the host window.
    HWND reflector = ::FindWindowExA(wnd, nullptr, "fwAxReflector", nullptr);
    ASSERT_TRUE(reflector);
    HWND combo = ::GetWindow(reflector, GW_CHILD);
    ASSERT_TRUE(combo);
    // Its face is drawn through the reflected WM_DRAWITEM: the red swatch.
    ::RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = ::GetDC(combo);
    RECT item{};
    ::SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    ::GetClientRect(combo, &item);
    const COLORREF pixel = ::GetPixel(dc, 3 + 10, 3 + 5);
    ::ReleaseDC(combo, dc);
    EXPECT_EQ(pixel, RGB(255, 0, 0)) << std::hex << pixel;
    d.Release();
    unk.reset();
    ::DestroyWindow(wnd);
}

}  // namespace
