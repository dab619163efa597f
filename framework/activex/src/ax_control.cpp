// The control's identity, its answers to the container, its type
// information, events and property pages.
#include "fw/ax_control.h"
#include "fw/guard.h"

#include <cstring>

namespace fw {

AxControl::AxControl(AxControlInfo info)
    : info_(std::move(info)), events_(this, info_.eventsIid), propNotify_(this, IID_IPropertyNotifySink) {
    dispatch_.AddProperty(
        DISPID_BACKCOLOR, [this](Variant* r) { return *r = Variant(static_cast<long>(backColor_)), S_OK; },
        [this](const Variant& v) {
            backColor_ = static_cast<OLE_COLOR>(v.ToLong());
            SetModified(DISPID_BACKCOLOR);
            if (wnd_) ::InvalidateRect(wnd_, nullptr, TRUE);
            return S_OK;
        });
    dispatch_.AddProperty(
        DISPID_FORECOLOR, [this](Variant* r) { return *r = Variant(static_cast<long>(foreColor_)), S_OK; },
        [this](const Variant& v) {
            foreColor_ = static_cast<OLE_COLOR>(v.ToLong());
            SetModified(DISPID_FORECOLOR);
            if (wnd_) ::InvalidateRect(wnd_, nullptr, TRUE);
            return S_OK;
        });
    dispatch_.AddMethod(DISPID_REFRESH, [this](const DispArgs&, Variant*) {
        if (wnd_) {
            ::InvalidateRect(wnd_, nullptr, TRUE);
            ::UpdateWindow(wnd_);
        }
        return S_OK;
    });
    dispatch_.AddMethod(DISPID_ABOUTBOX, [this](const DispArgs&, Variant*) {
        OnAboutBox();
        return S_OK;
    });
}

AxControl::~AxControl() {
    DestroyWindows();
    events_.Clear();
    propNotify_.Clear();
}

void* AxControl::QueryExtra(REFIID iid) {
    if (iid == IID_IOleWindow) return static_cast<IOleInPlaceObject*>(this);
    if (iid == IID_IViewObject) return static_cast<IViewObject2*>(this);
    if (iid == IID_IPersist) return static_cast<IPersistStreamInit*>(this);
    if (iid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo2*>(this);
    if (iid == info_.dispIid) return static_cast<IDispatch*>(this);
    return nullptr;
}

// ---- IOleObject ----

STDMETHODIMP AxControl::SetClientSite(IOleClientSite* site) {
    clientSite_ = site;
    return S_OK;
}

STDMETHODIMP AxControl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    return clientSite_.CopyTo(site);
}

STDMETHODIMP AxControl::Close(DWORD saveOption) {
    InPlaceDeactivate();
    if (modified_ && clientSite_ && (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE))
        clientSite_->SaveObject();
    return S_OK;
}

STDMETHODIMP AxControl::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP AxControl::GetClipboardData(DWORD, IDataObject** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP AxControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
    return ComGuard([&]() -> HRESULT {
        switch (verb) {
            case OLEIVERB_INPLACEACTIVATE:
            case OLEIVERB_SHOW:
                return InPlaceActivate(site, false);
            case OLEIVERB_PRIMARY:
            case OLEIVERB_UIACTIVATE:
                return InPlaceActivate(site, true);
            case OLEIVERB_HIDE:
                UIDeactivate();
                if (reflector_) ::ShowWindow(reflector_, SW_HIDE);
                return S_OK;
            case OLEIVERB_PROPERTIES:
                return ShowPropertyFrame();
            case OLEIVERB_OPEN:
            case OLEIVERB_DISCARDUNDOSTATE:
                return E_NOTIMPL;
            default:
                return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
        }
    });
}

STDMETHODIMP AxControl::EnumVerbs(IEnumOLEVERB** out) {
    if (!out) return E_POINTER;
    return ::OleRegEnumVerbs(info_.clsid, out);
}

STDMETHODIMP AxControl::GetUserClassID(CLSID* clsid) {
    return GetClassID(clsid);
}

STDMETHODIMP AxControl::GetUserType(DWORD form, LPOLESTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ComGuard([&]() -> HRESULT {
        const std::wstring name = ToWide(ComModule::Get().LoadString(info_.userTypeId));
        if (name.empty()) return ::OleRegGetUserType(info_.clsid, form, out);
        const size_t bytes = (name.size() + 1) * sizeof(wchar_t);
        *out = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
        if (!*out) return E_OUTOFMEMORY;
        std::memcpy(*out, name.c_str(), bytes);
        return S_OK;
    });
}

STDMETHODIMP AxControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    extent_ = *size;
    return S_OK;
}

STDMETHODIMP AxControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP AxControl::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!adviseHolder_ && FAILED(::CreateOleAdviseHolder(adviseHolder_.put()))) return E_OUTOFMEMORY;
    return adviseHolder_->Advise(sink, cookie);
}

STDMETHODIMP AxControl::Unadvise(DWORD cookie) {
    return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP AxControl::EnumAdvise(IEnumSTATDATA** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(out) : E_FAIL;
}

STDMETHODIMP AxControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = info_.miscStatus;
    return S_OK;
}

// ---- IOleControl ----

STDMETHODIMP AxControl::GetControlInfo(CONTROLINFO* ci) {
    if (!ci) return E_POINTER;
    if (ci->cb < sizeof(CONTROLINFO)) return E_INVALIDARG;
    ci->hAccel = nullptr;
    ci->cAccel = 0;
    ci->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP AxControl::FreezeEvents(BOOL freeze) {
    if (freeze)
        ++frozen_;
    else if (frozen_ > 0)
        --frozen_;
    return S_OK;
}

// ---- class information, pages, connection points ----

STDMETHODIMP AxControl::GetClassInfo(ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<ITypeLib> lib = TypeLib();
    if (!lib) return TYPE_E_CANTLOADLIBRARY;
    return lib->GetTypeInfoOfGuid(info_.clsid, out);
}

STDMETHODIMP AxControl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = info_.eventsIid;
    return S_OK;
}

STDMETHODIMP AxControl::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    if (info_.pages.empty()) return S_OK;
    pages->pElems = static_cast<GUID*>(::CoTaskMemAlloc(info_.pages.size() * sizeof(GUID)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    for (size_t i = 0; i < info_.pages.size(); ++i) pages->pElems[i] = info_.pages[i];
    pages->cElems = static_cast<ULONG>(info_.pages.size());
    return S_OK;
}

STDMETHODIMP AxControl::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ComGuard([&] {
        ComPtr<IEnumConnectionPoints> e = MakeConnectionPointEnum({&events_, &propNotify_});
        if (!e) return E_OUTOFMEMORY;
        *out = e.release();
        return S_OK;
    });
}

STDMETHODIMP AxControl::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ConnectionPoint* point = iid == events_.iid() ? &events_ : iid == propNotify_.iid() ? &propNotify_ : nullptr;
    if (!point) return CONNECT_E_NOCONNECTION;
    *out = point;
    point->AddRef();
    return S_OK;
}

void AxControl::SetModified(DISPID changed) {
    modified_ = true;
    propNotify_.FireChanged(changed);
}

void AxControl::FireEvent(DISPID id, std::initializer_list<Variant> args) {
    if (frozen_ > 0) return;
    // A sink may release the container's last reference while it handles the event.
    ComPtr<IUnknown> keep(static_cast<IOleObject*>(this));
    events_.FireDispatch(id, args);
}

HWND AxControl::DialogOwner() const {
    if (wnd_) return ::GetAncestor(wnd_, GA_ROOT);
    HWND site = nullptr;
    if (inPlaceSite_) inPlaceSite_->GetWindow(&site);
    return site ? ::GetAncestor(site, GA_ROOT) : ::GetActiveWindow();
}

HRESULT AxControl::ShowPropertyFrame() {
    return ComGuard([&] { return OpenPropertyFrame(); });
}

HRESULT AxControl::OpenPropertyFrame() {
    if (auto controlSite = clientSite_.As<IOleControlSite>()) {
        if (SUCCEEDED(controlSite->ShowPropertyFrame())) return S_OK;
    }
    CAUUID pages{};
    HRESULT hr = GetPages(&pages);
    if (FAILED(hr)) return hr;
    IUnknown* self = static_cast<IOleObject*>(this);
    const std::wstring caption = ToWide(ComModule::Get().LoadString(info_.userTypeId));
    hr = ::OleCreatePropertyFrame(DialogOwner(), 0, 0, caption.c_str(), 1, &self, pages.cElems, pages.pElems,
                                  LOCALE_USER_DEFAULT, 0, nullptr);
    ::CoTaskMemFree(pages.pElems);
    return hr;
}

// ---- IDispatch through the type library ----

ComPtr<ITypeLib> AxControl::TypeLib(LCID lcid) {
    ComPtr<ITypeLib> lib;
    if (SUCCEEDED(::LoadRegTypeLib(info_.libid, info_.libMajor, info_.libMinor, lcid, lib.put()))) return lib;
    // Not registered (a host that creates us from the file): the library in our own resources.
    const std::wstring path = ToWide(ComModule::Get().Path());
    if (SUCCEEDED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put()))) return lib;
    return nullptr;
}

HRESULT AxControl::EnsureTypeInfo() {
    return typeInfoLoaded_ ? S_OK : ComGuard([&] { return LoadTypeInfo(); });
}

HRESULT AxControl::LoadTypeInfo() {
    ComPtr<ITypeLib> lib = TypeLib();
    if (!lib) return TYPE_E_CANTLOADLIBRARY;
    ComPtr<ITypeInfo> typeInfo;
    HRESULT hr = lib->GetTypeInfoOfGuid(info_.dispIid, typeInfo.put());
    if (FAILED(hr)) return hr;
    hr = dispatch_.Load(typeInfo);
    typeInfoLoaded_ = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP AxControl::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    if (FAILED(EnsureTypeInfo())) return S_OK;
    return dispatch_.GetTypeInfoCount(count);
}

STDMETHODIMP AxControl::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const HRESULT hr = EnsureTypeInfo();
    if (FAILED(hr)) return hr;
    return dispatch_.GetTypeInfo(index, out);
}

STDMETHODIMP AxControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    const HRESULT hr = EnsureTypeInfo();
    if (FAILED(hr)) return hr;
    return dispatch_.GetIDsOfNames(iid, names, count, ids);
}

STDMETHODIMP AxControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* excep, UINT* argErr) {
    const HRESULT hr = EnsureTypeInfo();
    if (FAILED(hr)) return hr;
    // A member may release the caller's last reference.
    ComPtr<IUnknown> keep(static_cast<IOleObject*>(this));
    return dispatch_.Invoke(id, iid, flags, params, result, excep, argErr);
}

}  // namespace fw
