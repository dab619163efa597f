// The control's persistent state: one property exchange for streams,
// property bags and the defaults.
#include "fw/ax_control.h"
#include "fw/guard.h"

namespace fw {

void AxControl::DoPropExchange(PropExchange& px) {
    uint32_t version = info_.persistVersion;
    px.Version(version, info_.persistVersion);
    int32_t cx = extent_.cx, cy = extent_.cy;
    px.Long("_ExtentX", cx, 2540);
    px.Long("_ExtentY", cy, 635);
    if (cx > 0 && cy > 0) extent_ = {cx, cy};
    uint32_t back = backColor_, fore = foreColor_;
    px.ULong("BackColor", back, 0x80000000 | COLOR_WINDOW);
    px.ULong("ForeColor", fore, 0x80000000 | COLOR_WINDOWTEXT);
    backColor_ = back;
    foreColor_ = fore;
}

HRESULT AxControl::Exchange(PropExchange& px) {
    const HRESULT exchanged = ComGuard(
        [&] {
            DoPropExchange(px);
            return S_OK;
        },
        [](HRESULT) { return E_UNEXPECTED; });
    if (FAILED(exchanged)) return exchanged;
    if (SUCCEEDED(px.result()) && px.IsLoading()) {
        modified_ = false;
        if (wnd_) ::InvalidateRect(wnd_, nullptr, TRUE);
    }
    return px.result();
}

STDMETHODIMP AxControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = info_.clsid;
    return S_OK;
}

STDMETHODIMP AxControl::InitNew() {
    PropExchange px = PropExchange::ForReset();
    return Exchange(px);
}

STDMETHODIMP AxControl::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    PropExchange px = PropExchange::ForStream(stream, PropExchange::Mode::Load);
    return Exchange(px);
}

STDMETHODIMP AxControl::Save(LPSTREAM stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    PropExchange px = PropExchange::ForStream(stream, PropExchange::Mode::Save);
    const HRESULT hr = Exchange(px);
    if (SUCCEEDED(hr) && clearDirty) modified_ = false;
    return hr;
}

STDMETHODIMP AxControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    // What a save writes, measured on a stream in memory.
    ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return E_OUTOFMEMORY;
    const bool dirty = modified_;
    PropExchange px = PropExchange::ForStream(stream.get(), PropExchange::Mode::Save);
    const HRESULT hr = Exchange(px);
    modified_ = dirty;
    if (FAILED(hr)) return hr;
    LARGE_INTEGER zero{};
    return stream->Seek(zero, STREAM_SEEK_CUR, size);
}

STDMETHODIMP AxControl::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    PropExchange px = PropExchange::ForBag(bag, PropExchange::Mode::Load, log);
    return Exchange(px);
}

STDMETHODIMP AxControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    PropExchange px = PropExchange::ForBag(bag, PropExchange::Mode::Save);
    const HRESULT hr = Exchange(px);
    if (SUCCEEDED(hr) && clearDirty) modified_ = false;
    return hr;
}

}  // namespace fw
