#include "WebBrowser2.h"

#include "fw/dispatch.h"

namespace {

fw::DispatchDriver DriverOf(const fw::AxWindow& window) {
    return fw::DispatchDriver(window.host().Dispatch());
}

fw::Variant Optional(VARIANT* value) {
    return value ? fw::Variant::ByRef(value) : fw::Variant::Missing();
}

}  // namespace

const CLSID CWebBrowser2::kClassId = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

HRESULT CWebBrowser2::Create(HWND parent, const RECT& rect, UINT id) {
    return fw::AxWindow::Create(kClassId, parent, rect, id);
}

HRESULT CWebBrowser2::CreateInPlaceOf(HWND dialog, int id) {
    return fw::AxWindow::CreateInPlaceOf(dialog, id, kClassId);
}

HRESULT CWebBrowser2::GoBack() {
    return Observed(DriverOf(*this).Call(kGoBack).hr, kGoBack);
}

HRESULT CWebBrowser2::GoForward() {
    return Observed(DriverOf(*this).Call(kGoForward).hr, kGoForward);
}

HRESULT CWebBrowser2::GoHome() {
    return Observed(DriverOf(*this).Call(kGoHome).hr, kGoHome);
}

HRESULT CWebBrowser2::Navigate(const std::string& address) {
    return Observed(DriverOf(*this).Call(kNavigate, {address}).hr, kNavigate);
}

HRESULT CWebBrowser2::Refresh() {
    return Observed(DriverOf(*this).Call(kRefresh).hr, kRefresh);
}

HRESULT CWebBrowser2::Stop() {
    return Observed(DriverOf(*this).Call(kStop).hr, kStop);
}

fw::ComPtr<IDispatch> CWebBrowser2::GetApplication() const {
    return DriverOf(*this).Get(kApplication).value.AsDispatch();
}

fw::ComPtr<IDispatch> CWebBrowser2::GetDocument() const {
    fw::DispResult result = DriverOf(*this).Get(kDocument);
    Observed(result.hr, kDocument);
    return result.value.AsDispatch();
}

std::string CWebBrowser2::GetLocationName() const {
    return DriverOf(*this).Get(kLocationName).value.ToString();
}

std::string CWebBrowser2::GetLocationURL() const {
    return DriverOf(*this).Get(kLocationURL).value.ToString();
}

HRESULT CWebBrowser2::ExecWB(long command, long option, VARIANT* input, VARIANT* output) {
    return Observed(DriverOf(*this).Call(kExecWB, {command, option, Optional(input), Optional(output)}).hr, kExecWB,
                    command, option);
}

bool CWebBrowser2::GetOffline() const {
    return DriverOf(*this).Get(kOffline).value.ToBool();
}

HRESULT CWebBrowser2::PutOffline(bool offline) {
    return Observed(DriverOf(*this).Put(kOffline, offline), kOffline);
}

HRESULT CWebBrowser2::Observed(HRESULT hr, DISPID id, long command, long option) const {
    if (observer_) observer_(Call{id, command, option, hr});
    return hr;
}
