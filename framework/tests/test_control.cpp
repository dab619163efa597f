#include "test_control.h"

#include "test_control_res.h"

namespace testctl {

constexpr GUID Id(unsigned char last) {
    return {0x5b1d7e30u + last, 0x8c2a, 0x4f10, {0x9e, 0x61, 0x3a, 0x7c, 0x0d, 0x2b, 0x4e, 0x50}};
}
const GUID kLibId = Id(0);
const IID kDispIid = Id(1);
const IID kEventsIid = Id(2);
const CLSID kClsid = Id(3);
const CLSID kPageClsid = Id(4);

namespace {
fw::AxControlInfo Info() {
    fw::AxControlInfo info{
        kClsid,       kLibId,   1,         0, kDispIid, kEventsIid, IDS_TEST_CONTROL, OLEMISC_SETCLIENTSITEFIRST,
        {kPageClsid}, "BUTTON", 0x00010000};
    return info;
}
}  // namespace

TestControl::TestControl() : AxControl(Info()) {
    auto& d = dispatch();
    d.AddProperty(
        kValue, [this](fw::Variant* r) { return *r = fw::Variant(static_cast<long>(value_)), S_OK; },
        [this](const fw::Variant& v) {
            value_ = v.ToLong();
            SetModified(kValue);
            return S_OK;
        });
    d.AddProperty(
        kFlag, [this](fw::Variant* r) { return *r = fw::Variant(flag_ != FALSE), S_OK; },
        [this](const fw::Variant& v) {
            flag_ = v.ToBool() ? TRUE : FALSE;
            SetModified(kFlag);
            return S_OK;
        });
    d.AddMethod(kAdd, [](const fw::DispArgs& a, fw::Variant* r) {
        if (r) *r = fw::Variant(a.Long(0) + a.Long(1));
        return S_OK;
    });
    d.AddMethod(kEcho, [](const fw::DispArgs& a, fw::Variant* r) {
        if (r) *r = fw::Variant(a.String(0) + "!");
        return S_OK;
    });
    d.AddMethod(kClicks, [this](const fw::DispArgs&, fw::Variant* r) {
        if (r) *r = fw::Variant(static_cast<int>(clicks_));
        return S_OK;
    });
}

void TestControl::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.style |= BS_OWNERDRAW;
}

LRESULT TestControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == fw::kReflectedCommand && HIWORD(wParam) == BN_CLICKED) {
        ++clicks_;
        FireEvent(kClicked, {fw::Variant(static_cast<long>(clicks_))});
        return 0;
    }
    if (msg == fw::kReflectedDrawItem) {
        ++drawn;
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return TRUE;
    }
    return AxControl::HandleMessage(msg, wParam, lParam);
}

void TestControl::DoPropExchange(fw::PropExchange& px) {
    AxControl::DoPropExchange(px);
    px.Long("Value", value_, 7);
    px.Bool("Flag", flag_, FALSE);
}

TestPage::TestPage() : PropertyPage(IDD_TEST_PAGE, IDS_TEST_PAGE_TITLE) {}

Registration::Registration() {
    auto control = fw::MakeModuleClassFactory([] { return fw::MakeCom<TestControl>().As<IUnknown>(); });
    auto page = fw::MakeModuleClassFactory([] { return fw::MakeCom<TestPage>().As<IUnknown>(); });
    ::CoRegisterClassObject(kClsid, control.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &control_);
    ::CoRegisterClassObject(kPageClsid, page.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &page_);
}

Registration::~Registration() {
    if (control_) ::CoRevokeClassObject(control_);
    if (page_) ::CoRevokeClassObject(page_);
}

}  // namespace testctl
