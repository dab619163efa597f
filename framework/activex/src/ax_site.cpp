// The COM side of the control site: what the control asks of its container.
#include "ax_site.h"
#include "fw/guard.h"

#include "fw/handles.h"

#include <cmath>

namespace fw::detail {

void* AxFrame::QueryExtra(REFIID iid) {
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow) return static_cast<IOleInPlaceFrame*>(this);
    return nullptr;
}

STDMETHODIMP AxFrame::GetWindow(HWND* wnd) {
    if (!wnd) return E_POINTER;
    *wnd = container_ ? ::GetAncestor(container_, GA_ROOT) : nullptr;
    return *wnd ? S_OK : E_FAIL;
}

void* AxSite::QueryExtra(REFIID iid) {
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) return static_cast<IOleInPlaceSiteEx*>(this);
    return nullptr;
}

STDMETHODIMP AxSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP AxSite::GetContainer(IOleContainer** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP AxSite::GetWindow(HWND* wnd) {
    if (!wnd) return E_POINTER;
    *wnd = container_;
    return container_ ? S_OK : E_FAIL;
}

STDMETHODIMP AxSite::OnInPlaceActivate() {
    if (!control_) return E_UNEXPECTED;
    return control_->QueryInterface(IID_IOleInPlaceObject, inPlace_.put_void());
}

STDMETHODIMP AxSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD) {
    if (noRedraw) *noRedraw = FALSE;
    return OnInPlaceActivate();
}

STDMETHODIMP AxSite::OnUIActivate() {
    uiActive_ = true;
    return S_OK;
}

STDMETHODIMP AxSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                      LPOLEINPLACEFRAMEINFO info) {
    if (frame) *frame = nullptr;
    if (doc) *doc = nullptr;  // the frame is the document window too
    if (!frame || !pos || !clip || !info) return E_POINTER;
    if (!container_ || !frame_) return E_UNEXPECTED;
    frame_.CopyTo(frame);
    *pos = rect_;
    *clip = rect_;
    // info->cb is the caller's: it tells which version of the structure it has.
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(container_, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP AxSite::OnUIDeactivate(BOOL) {
    uiActive_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    return S_OK;
}

STDMETHODIMP AxSite::OnInPlaceDeactivate() {
    uiActive_ = false;
    inPlace_.reset();
    return S_OK;
}

STDMETHODIMP AxSite::OnPosRectChange(LPCRECT pos) {
    if (!pos) return E_POINTER;
    return SetRect(*pos);
}

STDMETHODIMP AxSite::GetExtendedControl(IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP AxSite::TransformCoords(POINTL* himetric, POINTF* cont, DWORD flags) {
    if (!himetric || !cont) return E_POINTER;
    WindowDc screen(nullptr);
    const float dpiX = static_cast<float>(screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96);
    const float dpiY = static_cast<float>(screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96);
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        cont->x = static_cast<float>(himetric->x) * dpiX / 2540.0f;
        cont->y = static_cast<float>(himetric->y) * dpiY / 2540.0f;
    } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        himetric->x = std::lround(cont->x * 2540.0f / dpiX);
        himetric->y = std::lround(cont->y * 2540.0f / dpiY);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

STDMETHODIMP AxSite::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP AxSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP AxSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP AxSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
    if (result) ::VariantInit(result);
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    Variant value;
    bool answered = false;
    const HRESULT asked = ComGuard(
        [&] {
            // A copy: the handler may replace itself.
            if (ambient_) {
                const AmbientHandler handler = ambient_;
                answered = handler(id, value);
            }
            return S_OK;
        },
        [](HRESULT) { return DISP_E_EXCEPTION; });
    if (FAILED(asked)) return asked;
    if (!answered) answered = DefaultAmbient(id, value);
    if (!answered) return DISP_E_MEMBERNOTFOUND;
    value.Detach(result);
    return S_OK;
}

bool AxSite::DefaultAmbient(DISPID id, Variant& value) const {
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_AUTOCLIP:
        value = Variant(true);
        return true;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_MESSAGEREFLECT:  // the control's own window gets its notifications
        value = Variant(false);
        return true;
    case DISPID_AMBIENT_LOCALEID:
        value = Variant(static_cast<long>(::GetUserDefaultLCID()));
        return true;
    case DISPID_AMBIENT_BACKCOLOR:
        value = Variant(static_cast<long>(::GetSysColor(COLOR_WINDOW)));
        return true;
    case DISPID_AMBIENT_FORECOLOR:
        value = Variant(static_cast<long>(::GetSysColor(COLOR_WINDOWTEXT)));
        return true;
    default:
        return false;
    }
}

}  // namespace fw::detail
