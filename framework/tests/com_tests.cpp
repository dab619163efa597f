#include "fw/com.h"
#include "fw/com_object.h"

#include "ax_test_util.h"

#include <gtest/gtest.h>

namespace {

// {6E0C2B51-3B7A-4C55-9A8B-0F1E2D3C4B5A}
constexpr CLSID kTestClsid = {0x6e0c2b51, 0x3b7a, 0x4c55, {0x9a, 0x8b, 0x0f, 0x1e, 0x2d, 0x3c, 0x4b, 0x5a}};

int g_liveObjects = 0;

// A plain COM object that counts its live instances.
class Counted final : public fw::ComObject<IPersist> {
public:
    Counted() { ++g_liveObjects; }
    ~Counted() override { --g_liveObjects; }
    STDMETHODIMP GetClassID(CLSID* id) override {
        *id = kTestClsid;
        return S_OK;
    }
};

TEST(ComPtr, CountsReferencesThroughCopyMoveAndReset) {
    g_liveObjects = 0;
    {
        fw::ComPtr<Counted> a = fw::MakeCom<Counted>();
        ASSERT_TRUE(a);
        EXPECT_EQ(axtest::RefCount(a.get()), 1u);
        fw::ComPtr<Counted> b = a;
        EXPECT_EQ(axtest::RefCount(a.get()), 2u);
        fw::ComPtr<Counted> c = std::move(b);
        EXPECT_FALSE(b);
        EXPECT_EQ(axtest::RefCount(a.get()), 2u);
        c = a;  // same object: no change
        EXPECT_EQ(axtest::RefCount(a.get()), 2u);
        c = c;
        EXPECT_EQ(axtest::RefCount(a.get()), 2u);
        c.reset();
        EXPECT_EQ(axtest::RefCount(a.get()), 1u);

        IPersist* raw = nullptr;
        ASSERT_EQ(a.CopyTo(&raw), S_OK);
        EXPECT_EQ(axtest::RefCount(a.get()), 2u);
        auto adopted = fw::ComPtr<IPersist>::Attach(raw);  // takes the reference CopyTo gave
        EXPECT_EQ(axtest::RefCount(a.get()), 2u);
        adopted = nullptr;
        EXPECT_EQ(axtest::RefCount(a.get()), 1u);
        EXPECT_EQ(g_liveObjects, 1);
    }
    EXPECT_EQ(g_liveObjects, 0);
}

TEST(ComPtr, QueryInterfaceAndIdentity) {
    fw::ComPtr<Counted> obj = fw::MakeCom<Counted>();
    fw::ComPtr<IUnknown> unk = obj.As<IUnknown>();
    fw::ComPtr<IPersist> persist = unk.As<IPersist>();
    ASSERT_TRUE(unk);
    ASSERT_TRUE(persist);
    EXPECT_FALSE(unk.As<IDispatch>()) << "an interface the object lacks gives an empty pointer";
    EXPECT_TRUE(fw::SameObject(persist.get(), unk.get()));
    fw::ComPtr<Counted> other = fw::MakeCom<Counted>();
    EXPECT_FALSE(fw::SameObject(other.get(), unk.get()));
    EXPECT_EQ(axtest::RefCount(obj.get()), 3u);
    persist.put();  // releases what it held
    EXPECT_EQ(axtest::RefCount(obj.get()), 2u);
}

TEST(Bstr, AnsiRoundTripNullAndEmbeddedNul) {
    fw::Bstr text = fw::Bstr::FromAnsi("about:blank");
    EXPECT_EQ(text.length(), 11u);
    EXPECT_EQ(text.view(), L"about:blank");
    EXPECT_EQ(text.ToAnsi(), "about:blank");
    fw::Bstr none;
    EXPECT_EQ(none.length(), 0u);
    EXPECT_EQ(none.ToAnsi(), "");
    fw::Bstr nul(std::wstring_view(L"a\0b", 3));
    EXPECT_EQ(nul.length(), 3u);
    fw::Bstr copy = nul.Copy();
    EXPECT_NE(copy.get(), nul.get());
    EXPECT_EQ(copy.view(), nul.view());
    fw::Bstr moved = std::move(copy);
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_EQ(moved.length(), 3u);
}

TEST(Variant, ConversionsFollowAutomationRules) {
    EXPECT_EQ(fw::Variant(42).AsString(), "42");
    EXPECT_EQ(fw::Variant("17").AsLong(), 17);
    EXPECT_EQ(fw::Variant("abc").AsLong(), std::nullopt);
    EXPECT_EQ(fw::Variant(true).AsLong(), -1) << "VARIANT_TRUE is -1";
    EXPECT_EQ(fw::Variant(0).AsBool(), false);
    EXPECT_EQ(fw::Variant(L"wide").AsString(), "wide");
    EXPECT_EQ(fw::Variant().AsString(), "") << "empty converts to the empty string";
    EXPECT_EQ(fw::Variant().AsLong(), 0);
    EXPECT_EQ(fw::Variant::Missing().AsString(), std::nullopt) << "a missing argument is no value";
    EXPECT_EQ(fw::Variant::Missing().ToLong(-7), -7);
}

TEST(Variant, ReadsThroughReferences) {
    VARIANT_BOOL flag = VARIANT_TRUE;
    EXPECT_EQ(fw::Variant::ByRef(&flag).AsBool(), true);
    long number = 31;
    EXPECT_EQ(fw::Variant::ByRef(&number).AsString(), "31");
    fw::Variant inner(false);
    EXPECT_EQ(fw::Variant::ByRef(inner.get()).AsBool(), false);
    EXPECT_EQ(fw::Variant::ByRef(inner.get()).vt(), VT_BYREF | VT_VARIANT);
    flag = VARIANT_FALSE;
    EXPECT_EQ(fw::Variant::ByRef(&flag).AsBool(), false) << "the reference is read when converted, not when made";
}

TEST(Variant, CopiesAreDeepAndMovesTransfer) {
    fw::Variant a("text");
    fw::Variant b = a;
    ASSERT_EQ(b.vt(), VT_BSTR);
    EXPECT_NE(a.get()->bstrVal, b.get()->bstrVal);
    EXPECT_EQ(b.ToString(), "text");
    fw::Variant c = std::move(a);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(c.ToString(), "text");

    VARIANT raw;
    c.Detach(&raw);
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_EQ(raw.vt, VT_BSTR);
    fw::Variant back = fw::Variant::Attach(raw);
    EXPECT_EQ(raw.vt, VT_EMPTY);
    EXPECT_EQ(back.ToString(), "text");
}

TEST(Variant, HoldsDispatchReferences) {
    fw::ComPtr<Counted> obj = fw::MakeCom<Counted>();
    {
        fw::Variant v(static_cast<IUnknown*>(static_cast<IPersist*>(obj.get())));
        EXPECT_EQ(axtest::RefCount(obj.get()), 2u);
        EXPECT_FALSE(v.AsDispatch()) << "the object has no IDispatch";
        fw::Variant copy = v;
        EXPECT_EQ(axtest::RefCount(obj.get()), 3u);
    }
    EXPECT_EQ(axtest::RefCount(obj.get()), 1u);
}

TEST(OleApartment, NestedGuardsBalance) {
    fw::OleApartment outer;
    ASSERT_TRUE(outer);
    {
        fw::OleApartment inner;
        EXPECT_EQ(inner.result(), S_FALSE);
    }
    // Still initialised after the inner guard: OLE calls keep working.
    fw::ComPtr<IUnknown> unk;
    EXPECT_EQ(::CreateBindCtx(0, reinterpret_cast<IBindCtx**>(unk.put())), S_OK);
}

TEST(ClassFactory, CreatesRefusesAggregationAndCountsLocks) {
    g_liveObjects = 0;
    fw::ComPtr<fw::ClassFactory> factory = fw::MakeClassFactory<Counted>();
    fw::ComPtr<IPersist> persist;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPersist, persist.put_void()), S_OK);
    EXPECT_EQ(g_liveObjects, 1);
    EXPECT_EQ(axtest::RefCount(persist.get()), 1u);

    fw::ComPtr<IUnknown> outer = persist.As<IUnknown>();
    void* out = reinterpret_cast<void*>(0xdeadbeef);
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(g_liveObjects, 1) << "an object made for a missing interface is not leaked";

    const LONG before = fw::ServerLocks::Count();
    factory->LockServer(TRUE);
    EXPECT_EQ(fw::ServerLocks::Count(), before + 1);
    factory->LockServer(FALSE);
    EXPECT_EQ(fw::ServerLocks::Count(), before);
}

TEST(ClassObjectRegistration, CoCreateInstanceFindsTheFactoryUntilRevoked) {
    fw::OleApartment ole;
    g_liveObjects = 0;
    {
        fw::ClassObjectRegistration reg;
        ASSERT_EQ(reg.Register(kTestClsid, fw::MakeClassFactory<Counted>().get(), CLSCTX_INPROC_SERVER), S_OK);
        fw::ComPtr<IPersist> persist;
        ASSERT_EQ(::CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPersist, persist.put_void()),
                  S_OK);
        CLSID got{};
        persist->GetClassID(&got);
        EXPECT_TRUE(got == kTestClsid);
    }
    EXPECT_EQ(g_liveObjects, 0);
    fw::ComPtr<IUnknown> none;
    EXPECT_TRUE(FAILED(::CoCreateInstance(kTestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, none.put_void())));
}

TEST(ActiveObjectRegistration, RunningObjectTableHoldsTheObjectUntilRevoked) {
    fw::OleApartment ole;
    fw::ComPtr<Counted> obj = fw::MakeCom<Counted>();
    IUnknown* unk = static_cast<IPersist*>(obj.get());
    {
        fw::ActiveObjectRegistration reg;
        ASSERT_EQ(reg.Register(unk, kTestClsid), S_OK);
        EXPECT_TRUE(reg.registered());
        EXPECT_GT(axtest::RefCount(unk), 1u) << "a strong registration holds the object";
        fw::ComPtr<IUnknown> found = fw::GetActiveObjectOf(kTestClsid);
        ASSERT_TRUE(found);
        EXPECT_TRUE(fw::SameObject(found.get(), unk));
    }
    EXPECT_FALSE(fw::GetActiveObjectOf(kTestClsid));
    EXPECT_EQ(axtest::RefCount(unk), 1u) << "revoking lets go of the object";
}

}  // namespace
