// The source side of connection points: one point per outgoing interface,
// living as long as the object that contains it (its counts are the
// owner's), with the sinks it was advised of, and calls to all of them.
#pragma once

#include "fw/com.h"

#include <ocidl.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace fw {

class ConnectionPoint final : public IConnectionPoint {
public:
    // owner: the container that holds this point as a member.
    ConnectionPoint(IConnectionPointContainer* owner, const IID& iid) noexcept : owner_(owner), iid_(iid) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    const IID& iid() const noexcept { return iid_; }
    size_t SinkCount() const noexcept { return sinks_.size(); }
    // Every sink goes (the owner's teardown).
    void Clear() noexcept { sinks_.clear(); }

    // Calls IDispatch::Invoke on every sink; args in natural order.
    void FireDispatch(DISPID id, std::initializer_list<Variant> args = {}) const;
    // IPropertyNotifySink::OnChanged on every sink.
    void FireChanged(DISPID id) const;

    // IUnknown: the owner's counts.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }
    // IConnectionPoint
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

private:
    std::vector<ComPtr<IUnknown>> Snapshot() const noexcept;

    IConnectionPointContainer* owner_;
    IID iid_;
    std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks_;
    DWORD next_ = 1;
};

// An enumerator over a container's points (each AddRef'd as it is handed out).
ComPtr<IEnumConnectionPoints> MakeConnectionPointEnum(std::vector<ComPtr<IConnectionPoint>> points);

}  // namespace fw
