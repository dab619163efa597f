#include "fw/event_sink.h"
#include "fw/guard.h"

#include "fw/com_object.h"

#include <ocidl.h>

#include <map>

namespace fw {

class EventSink::Object final : public ComObject<IDispatch> {
public:
    explicit Object(const IID& events) : events_(events) {}

    void Set(DISPID id, Handler handler) {
        if (handler)
            handlers_[id] = std::move(handler);
        else
            handlers_.erase(id);
    }
    void Clear() noexcept { handlers_.clear(); }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (result) ::VariantInit(result);
        auto it = handlers_.find(id);
        if (it == handlers_.end()) return S_OK;  // an event nobody listens to
        // The handler may disconnect or destroy the owner, so both the
        // object and the handler are kept alive for the call.
        ComPtr<Object> self(this);
        return ComGuard(
            [&] {
                Handler handler = it->second;
                DISPPARAMS none{};
                handler(DispArgs(params ? params : &none));
                return S_OK;
            },
            [](HRESULT) { return DISP_E_EXCEPTION; });
    }

protected:
    void* QueryExtra(REFIID iid) override {
        return iid == events_ ? static_cast<IDispatch*>(this) : nullptr;
    }

private:
    IID events_;
    std::map<DISPID, Handler> handlers_;
};

EventSink::EventSink(const IID& events) : events_(events), obj_(MakeCom<Object>(events)) {}

EventSink::~EventSink() {
    Disconnect();
    if (obj_) obj_->Clear();
}

EventSink& EventSink::On(DISPID id, Handler handler) {
    if (obj_) obj_->Set(id, std::move(handler));
    return *this;
}

HRESULT EventSink::Connect(IUnknown* source) {
    Disconnect();
    if (!obj_) return E_OUTOFMEMORY;
    if (!source) return E_POINTER;
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.put_void());
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(events_, point.put());
    if (FAILED(hr)) return hr;
    DWORD cookie = 0;
    hr = point->Advise(static_cast<IDispatch*>(obj_.get()), &cookie);
    if (FAILED(hr)) return hr;
    point_ = std::move(point);
    cookie_ = cookie;
    return S_OK;
}

void EventSink::Disconnect() noexcept {
    if (point_ && cookie_) point_->Unadvise(cookie_);
    point_.reset();
    cookie_ = 0;
}

IDispatch* EventSink::dispatch() const noexcept { return obj_.get(); }

}  // namespace fw
