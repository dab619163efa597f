#include "fw/dispatch.h"
#include "fw/dispatch_object.h"
#include "fw/event_sink.h"

#include "ax_test_util.h"

#include <exdisp.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// Builds DISPPARAMS from arguments given in natural order, stored last-first
// as a caller of Invoke does. The variants stay owned by the caller.
struct Params {
    std::vector<VARIANTARG> reversed;
    DISPPARAMS dp{};
    explicit Params(std::vector<VARIANTARG> natural) : reversed(natural.rbegin(), natural.rend()) {
        dp.rgvarg = reversed.data();
        dp.cArgs = static_cast<UINT>(reversed.size());
    }
};

VARIANTARG Ref(VARIANT* v) { return *fw::Variant::ByRef(v).get(); }
VARIANTARG Ref(VARIANT_BOOL* b) { return *fw::Variant::ByRef(b).get(); }
VARIANTARG Ref(IDispatch** d) { return *fw::Variant::ByRef(d).get(); }
VARIANTARG Ref(long* l) { return *fw::Variant::ByRef(l).get(); }

// A VARIANT_BOOL followed by a guard: writing the flag as a 32-bit int or a
// VARIANT would overwrite the guard.
struct GuardedFlag {
    VARIANT_BOOL flag = VARIANT_FALSE;
    USHORT guard = 0x5a5a;
};

// A dispatch object standing for a page's window object.
class Page final : public fw::DispatchObject {};

TEST(DispArgs, BeforeNavigate2ShapedArguments) {
    fw::ComPtr<Page> page = fw::MakeCom<Page>();
    fw::Variant url("http://127.0.0.1/a"), flags(0x40), frame, post, headers(L"X: 1");
    GuardedFlag cancel;
    fw::Variant pageArg(static_cast<IDispatch*>(page.get()));
    Params p({*pageArg.get(), Ref(url.get()), Ref(flags.get()), Ref(frame.get()), Ref(post.get()),
              Ref(headers.get()), Ref(&cancel.flag)});
    const fw::DispArgs args(&p.dp);

    ASSERT_EQ(args.Count(), 7u);
    EXPECT_EQ(args.Raw(7), nullptr);
    EXPECT_TRUE(fw::SameObject(args.Dispatch(0).get(), page.get()));
    EXPECT_EQ(args.String(1), "http://127.0.0.1/a");
    EXPECT_EQ(args.Long(2), 0x40);
    EXPECT_EQ(args.String(3), "") << "an empty target frame is a whole-window navigation";
    EXPECT_EQ(args.String(5), "X: 1");
    EXPECT_FALSE(args.Bool(6));
    EXPECT_TRUE(args.IsReference(6));
    EXPECT_FALSE(args.IsReference(0));

    ASSERT_TRUE(args.SetBool(6, true));
    EXPECT_EQ(cancel.flag, VARIANT_TRUE);
    EXPECT_EQ(cancel.guard, 0x5a5a) << "the flag is written as a VARIANT_BOOL, nothing wider";
    EXPECT_TRUE(args.Bool(6));
    EXPECT_EQ(url.ToString(), "http://127.0.0.1/a") << "reading leaves the caller's variants alone";
}

TEST(DispArgs, SetBoolWritesThroughTheRealType) {
    // Direct VT_BYREF|VT_BOOL.
    {
        GuardedFlag f;
        Params p({Ref(&f.flag)});
        EXPECT_TRUE(fw::DispArgs(&p.dp).SetBool(0, true));
        EXPECT_EQ(f.flag, VARIANT_TRUE);
        EXPECT_EQ(f.guard, 0x5a5a);
        EXPECT_TRUE(fw::DispArgs(&p.dp).SetBool(0, false));
        EXPECT_EQ(f.flag, VARIANT_FALSE);
    }
    // VT_BYREF|VT_VARIANT wrapping a VT_BOOL, a string, or nothing: becomes VT_BOOL.
    for (fw::Variant held : {fw::Variant(false), fw::Variant("text"), fw::Variant()}) {
        Params p({Ref(held.get())});
        EXPECT_TRUE(fw::DispArgs(&p.dp).SetBool(0, true));
        EXPECT_EQ(held.vt(), VT_BOOL);
        EXPECT_EQ(held.get()->boolVal, VARIANT_TRUE);
    }
    // VT_BYREF|VT_VARIANT wrapping a VT_BYREF|VT_BOOL: written through to the flag.
    {
        GuardedFlag f;
        fw::Variant inner = fw::Variant::ByRef(&f.flag);
        Params p({Ref(inner.get())});
        EXPECT_TRUE(fw::DispArgs(&p.dp).SetBool(0, true));
        EXPECT_EQ(inner.vt(), VT_BYREF | VT_BOOL) << "the reference itself is kept";
        EXPECT_EQ(f.flag, VARIANT_TRUE);
        EXPECT_EQ(f.guard, 0x5a5a);
    }
    // Refused: by value (no caller would see it), a reference of another type, a null reference.
    {
        fw::Variant byValue(false);
        long number = 5;
        fw::Variant wrongRef = fw::Variant::ByRef(&number);
        VARIANT nullRef;
        nullRef.vt = VT_BYREF | VT_BOOL;
        nullRef.pboolVal = nullptr;
        Params p({*byValue.get(), *wrongRef.get(), nullRef});
        const fw::DispArgs args(&p.dp);
        EXPECT_FALSE(args.SetBool(0, true));
        EXPECT_EQ(byValue.get()->boolVal, VARIANT_FALSE);
        EXPECT_FALSE(args.SetBool(1, true));
        EXPECT_EQ(number, 5);
        EXPECT_FALSE(args.SetBool(2, true));
        EXPECT_FALSE(args.SetBool(3, true)) << "out of range";
    }
}

TEST(DispArgs, SetDispatchHandsOutAReferenceAndReleasesTheOldOne) {
    fw::ComPtr<Page> window = fw::MakeCom<Page>();
    fw::ComPtr<Page> old = fw::MakeCom<Page>();
    IDispatch* newWindow = nullptr;  // NewWindow2's ppDisp: an [in, out] IDispatch**
    GuardedFlag cancel;
    Params p({Ref(&newWindow), Ref(&cancel.flag)});
    const fw::DispArgs args(&p.dp);

    ASSERT_TRUE(args.SetDispatch(0, window.get()));
    EXPECT_EQ(newWindow, static_cast<IDispatch*>(window.get()));
    EXPECT_EQ(axtest::RefCount(window.get()), 2u) << "the caller receives its own reference";
    EXPECT_FALSE(cancel.flag);

    newWindow->Release();
    newWindow = old.get();
    old->AddRef();  // the caller's in-value
    ASSERT_TRUE(args.SetDispatch(0, window.get()));
    EXPECT_EQ(axtest::RefCount(old.get()), 1u) << "the in-value was released";
    newWindow->Release();

    fw::Variant held("x");
    Params viaVariant({Ref(held.get())});
    ASSERT_TRUE(fw::DispArgs(&viaVariant.dp).SetDispatch(0, window.get()));
    EXPECT_EQ(held.vt(), VT_DISPATCH);
    EXPECT_TRUE(fw::SameObject(held.AsDispatch().get(), window.get()));

    fw::Variant byValue(static_cast<IDispatch*>(old.get()));
    Params p2({*byValue.get()});
    EXPECT_FALSE(fw::DispArgs(&p2.dp).SetDispatch(0, window.get()));
}

TEST(DispArgs, ReadersFollowReferencesAndNamedArgumentsAreApart) {
    long number = 12;
    VARIANT_BOOL flag = VARIANT_TRUE;
    fw::Variant flagRef = fw::Variant::ByRef(&flag);
    fw::Variant value(L"named");
    Params p({Ref(&number), Ref(flagRef.get())});
    // A named argument sits before the positional ones in rgvarg.
    std::vector<VARIANTARG> all{*value.get(), p.reversed[0], p.reversed[1]};
    DISPID namedId = DISPID_PROPERTYPUT;
    DISPPARAMS dp{all.data(), &namedId, 3, 1};
    const fw::DispArgs args(&dp);
    EXPECT_EQ(args.Count(), 2u);
    EXPECT_EQ(args.Long(0), 12);
    EXPECT_EQ(args.String(0), "12");
    EXPECT_TRUE(args.Bool(1)) << "a reference to a reference to a VARIANT_BOOL";
    ASSERT_NE(args.Named(DISPID_PROPERTYPUT), nullptr);
    EXPECT_EQ(fw::Variant(*args.Named(DISPID_PROPERTYPUT)).ToString(), "named");
    EXPECT_EQ(args.Named(5), nullptr);
    ASSERT_TRUE(args.SetLong(0, 99));
    EXPECT_EQ(number, 99);
}

TEST(DispArgs, StringArgumentTakesStringsOnly) {
    fw::Variant text("C:\\Vessa\\Links\\1.vsl"), number(5), empty, nullText, holder("held");
    nullText.put()->vt = VT_BSTR;  // a null BSTR
    nullText.get()->bstrVal = nullptr;
    fw::Variant disp(static_cast<IDispatch*>(nullptr));
    VARIANT null;
    ::VariantInit(&null);
    null.vt = VT_NULL;
    BSTR byRefText = ::SysAllocString(L"by reference");
    VARIANT byRef;
    ::VariantInit(&byRef);
    byRef.vt = VT_BYREF | VT_BSTR;
    byRef.pbstrVal = &byRefText;
    const struct {
        const char* what;
        VARIANTARG arg;
        HRESULT hr;
        const char* value;
    } cases[] = {
        {"a string", *text.get(), S_OK, "C:\\Vessa\\Links\\1.vsl"},
        {"a null string", *nullText.get(), S_OK, ""},
        {"a string by reference", byRef, S_OK, "by reference"},
        {"a variant holding a string", Ref(holder.get()), S_OK, "held"},
        {"a number", *number.get(), DISP_E_TYPEMISMATCH, nullptr},
        {"nothing", *empty.get(), DISP_E_TYPEMISMATCH, nullptr},
        {"null", null, DISP_E_TYPEMISMATCH, nullptr},
        {"an object", *disp.get(), DISP_E_TYPEMISMATCH, nullptr},
        {"a variant holding a number", Ref(number.get()), DISP_E_TYPEMISMATCH, nullptr},
    };
    for (const auto& c : cases) {
        Params p({c.arg});
        std::string out = "untouched";
        EXPECT_EQ(fw::DispArgs(&p.dp).StringArgument(0, &out), c.hr) << c.what;
        EXPECT_EQ(out, c.value ? c.value : "untouched") << c.what;
    }
    Params none({});
    std::string out;
    EXPECT_EQ(fw::DispArgs(&none.dp).StringArgument(0, &out), DISP_E_BADPARAMCOUNT);
    ::SysFreeString(byRefText);
}

// The manager's automation object, in small.
class Document final : public fw::DispatchObject {
public:
    std::vector<std::string> calls;
    Document() : DispatchObject({kDocumentIid}) {
        AddMethod(1, L"SetFocusOnLinkItem", 1, [this](const fw::DispArgs& a, fw::Variant*) {
            calls.push_back("focus " + a.String(0));
            return S_OK;
        });
        AddMethod(2, L"ShowManager", 0, [this](const fw::DispArgs&, fw::Variant*) {
            calls.push_back("show");
            return S_OK;
        });
        AddMethod(3, L"RefreshNimbTree", 0, [this](const fw::DispArgs&, fw::Variant*) {
            calls.push_back("refresh");
            return S_OK;
        });
        AddMethod(10, L"Join", 3, [](const fw::DispArgs& a, fw::Variant* result) {
            if (result) *result = fw::Variant(a.String(0) + a.String(1) + a.String(2));
            return S_OK;
        });
        AddMethod(11, L"Out", 1, [](const fw::DispArgs& a, fw::Variant*) {
            return a.SetLong(0, 7) ? S_OK : DISP_E_TYPEMISMATCH;
        });
        AddMethod(12, L"Fail", 0, [](const fw::DispArgs&, fw::Variant*) -> HRESULT {
            throw std::runtime_error("member failure");
        });
    }
    // {0E7C3B44-8F12-4B0B-A36E-2B1F0C9D8E71}
    static constexpr IID kDocumentIid = {0x0e7c3b44, 0x8f12, 0x4b0b, {0xa3, 0x6e, 0x2b, 0x1f, 0x0c, 0x9d, 0x8e, 0x71}};
};

TEST(DispatchObject, DriverCallsMembersByIdAndName) {
    fw::ComPtr<Document> doc = fw::MakeCom<Document>();
    fw::DispatchDriver driver(doc.As<IDispatch>());
    EXPECT_EQ(driver.IdOf(L"setfocusonlinkitem"), 1) << "names compare without regard to case";
    EXPECT_EQ(driver.IdOf(L"RefreshNimbTree"), 3);
    EXPECT_EQ(driver.IdOf(L"Nothing"), std::nullopt);

    EXPECT_EQ(driver.Call(3).hr, S_OK);
    EXPECT_EQ(driver.Call(1, {"C:\\Vessa\\Links\\1.vsl"}).hr, S_OK);
    EXPECT_EQ(driver.Call(2).hr, S_OK);
    EXPECT_EQ(doc->calls, (std::vector<std::string>{"refresh", "focus C:\\Vessa\\Links\\1.vsl", "show"}));

    fw::DispResult joined = driver.Call(10, {"a", 2, L"c"});
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined.value.ToString(), "a2c") << "arguments arrive in natural order";
    EXPECT_EQ(driver.Get(10, {"x", "y", "z"}).value.ToString(), "xyz") << "a method is also a property get";

    long out = 0;
    EXPECT_EQ(driver.Call(11, {fw::Variant::ByRef(&out)}).hr, S_OK);
    EXPECT_EQ(out, 7);
}

TEST(DispatchObject, RefusesWhatItCannotServe) {
    fw::ComPtr<Document> doc = fw::MakeCom<Document>();
    fw::DispatchDriver driver(doc.As<IDispatch>());
    EXPECT_EQ(driver.Call(1).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(driver.Call(2, {1}).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(driver.Call(99).hr, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(driver.Put(1, "x"), DISP_E_MEMBERNOTFOUND) << "members are methods only";
    const fw::DispResult failed = driver.Call(12);
    EXPECT_TRUE(FAILED(failed.hr)) << "an exception stops at the object";
    EXPECT_TRUE(failed.value.IsEmpty());
    EXPECT_TRUE(doc->calls.empty());

    fw::ComPtr<IDispatch> viaIid;
    EXPECT_EQ(doc->QueryInterface(Document::kDocumentIid, viaIid.put_void()), S_OK);
    fw::DispatchDriver none;
    EXPECT_EQ(none.Call(1, {"x"}).hr, E_POINTER);
}

// Invokes an event on a sink object the way a source does.
HRESULT Fire(IDispatch* sink, DISPID id, Params& p) {
    return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &p.dp, nullptr, nullptr, nullptr);
}

TEST(EventSink, DeliversByDispatchIdAndCancelsThroughTheFlag) {
    fw::EventSink sink(DIID_DWebBrowserEvents2);
    std::vector<std::string> seen;
    sink.On(250, [&](const fw::DispArgs& a) {
        seen.push_back(a.String(1));
        if (a.String(1).find("blocked") != std::string::npos) a.SetBool(6, true);
    });
    sink.On(102, [&](const fw::DispArgs& a) { seen.push_back("status " + a.String(0)); });

    fw::ComPtr<IDispatch> asEvents;
    EXPECT_EQ(sink.dispatch()->QueryInterface(DIID_DWebBrowserEvents2, asEvents.put_void()), S_OK);

    for (const char* url : {"http://ok/", "http://blocked/"}) {
        fw::Variant u(url), flags(0), frame, post, headers;
        GuardedFlag cancel;
        Params p({VARIANTARG{}, Ref(u.get()), Ref(flags.get()), Ref(frame.get()), Ref(post.get()),
                  Ref(headers.get()), Ref(&cancel.flag)});
        EXPECT_EQ(Fire(asEvents.get(), 250, p), S_OK);
        EXPECT_EQ(cancel.flag, std::string(url) == "http://blocked/" ? VARIANT_TRUE : VARIANT_FALSE) << url;
        EXPECT_EQ(cancel.guard, 0x5a5a);
    }
    fw::Variant text("Done");
    Params status({*text.get()});
    EXPECT_EQ(Fire(asEvents.get(), 102, status), S_OK);
    Params none(std::vector<VARIANTARG>{});
    EXPECT_EQ(Fire(asEvents.get(), 259, none), S_OK) << "an event without a handler is accepted";
    EXPECT_EQ(seen, (std::vector<std::string>{"http://ok/", "http://blocked/", "status Done"}));
}

TEST(EventSink, FailingHandlersAndLateEventsStayInside) {
    auto sink = std::make_unique<fw::EventSink>(DIID_DWebBrowserEvents2);
    int calls = 0;
    sink->On(104, [&](const fw::DispArgs&) {
        ++calls;
        throw std::runtime_error("handler failure");
    });
    sink->On(106, [&](const fw::DispArgs&) {
        ++calls;
        sink.reset();  // the owner goes away inside its own handler
    });
    fw::ComPtr<IDispatch> held = sink->dispatch();  // as a source that never unadvises
    Params none(std::vector<VARIANTARG>{});
    EXPECT_EQ(Fire(held.get(), 104, none), DISP_E_EXCEPTION);
    EXPECT_EQ(Fire(held.get(), 106, none), S_OK);
    EXPECT_EQ(sink, nullptr);
    EXPECT_EQ(Fire(held.get(), 104, none), S_OK) << "a late event reaches no handler";
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(axtest::RefCount(held.get()), 1u) << "only the source's reference is left";
}

TEST(EventSink, ConnectNeedsAConnectionPointContainer) {
    fw::EventSink sink(DIID_DWebBrowserEvents2);
    fw::ComPtr<Page> notASource = fw::MakeCom<Page>();
    EXPECT_EQ(sink.Connect(static_cast<IDispatch*>(notASource.get())), E_NOINTERFACE);
    EXPECT_EQ(sink.Connect(nullptr), E_POINTER);
    EXPECT_FALSE(sink.connected());
}

}  // namespace
