#include "fw/connection_point.h"
#include "fw/guard.h"

#include "fw/com_object.h"

#include <olectl.h>

#include <algorithm>

namespace fw {

namespace {

class PointEnum final : public ComObject<IEnumConnectionPoints> {
public:
    PointEnum(std::vector<ComPtr<IConnectionPoint>> points, size_t pos) : points_(std::move(points)), pos_(pos) {}

    STDMETHODIMP Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG got = 0;
        while (got < count && pos_ < points_.size()) points_[pos_++].CopyTo(&out[got++]);
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        pos_ = std::min<size_t>(points_.size(), pos_ + count);
        return pos_ < points_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumConnectionPoints** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        ComPtr<PointEnum> copy = MakeCom<PointEnum>(points_, pos_);
        if (!copy) return E_OUTOFMEMORY;
        *out = copy.release();
        return S_OK;
    }

private:
    std::vector<ComPtr<IConnectionPoint>> points_;
    size_t pos_;
};

}  // namespace

ComPtr<IEnumConnectionPoints> MakeConnectionPointEnum(std::vector<ComPtr<IConnectionPoint>> points) {
    ComPtr<PointEnum> e = MakeCom<PointEnum>(std::move(points), 0);
    return e ? ComPtr<IEnumConnectionPoints>(e.get()) : nullptr;
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = owner_;
    owner_->AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IUnknown> typed;
    if (FAILED(sink->QueryInterface(iid_, typed.put_void()))) return CONNECT_E_CANNOTCONNECT;
    const HRESULT added = ComGuard(
        [&] {
            sinks_.emplace_back(next_, std::move(typed));
            return S_OK;
        },
        [](HRESULT) { return E_OUTOFMEMORY; });
    if (FAILED(added)) return added;
    *cookie = next_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const auto& s) { return s.first == cookie; });
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    // Released after it leaves the list: its Release may call back into us.
    ComPtr<IUnknown> gone = std::move(it->second);
    sinks_.erase(it);
    return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Snapshot() const noexcept {
    return GuardBoundary(
        "a COM method", [] { return std::string(__PRETTY_FUNCTION__); },
        [](bool) { return std::vector<ComPtr<IUnknown>>{}; },  // no sink is called rather than an exception let loose
        [&] {
            // A sink may unadvise (or advise another) while it is called.
            std::vector<ComPtr<IUnknown>> sinks;
            sinks.reserve(sinks_.size());
            for (const auto& s : sinks_) sinks.push_back(s.second);
            return sinks;
        });
}

void ConnectionPoint::FireDispatch(DISPID id, std::initializer_list<Variant> args) const {
    std::vector<VARIANT> raw;
    raw.reserve(args.size());
    for (auto it = args.end(); it != args.begin();) raw.push_back(*(--it)->get());  // borrowed, last first
    DISPPARAMS params{raw.empty() ? nullptr : raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
    for (const ComPtr<IUnknown>& sink : Snapshot()) {
        auto disp = sink.As<IDispatch>();
        if (!disp) continue;
        Variant result;
        disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.put(), nullptr, nullptr);
    }
}

void ConnectionPoint::FireChanged(DISPID id) const {
    for (const ComPtr<IUnknown>& sink : Snapshot())
        if (auto notify = sink.As<IPropertyNotifySink>()) notify->OnChanged(id);
}

}  // namespace fw
