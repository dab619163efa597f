// Receives a control's events: an IDispatch connected to the source's
// connection point for one event interface, delivering each Invoke to the
// handler registered for its dispatch id.
//
//   fw::EventSink sink(DIID_DWebBrowserEvents2);
//   sink.On(250, [&](const fw::DispArgs& a) { if (block(a.String(1))) a.SetBool(6, true); });
//   sink.Connect(host.Control().get());
//
// The sink's COM object may outlive this owner (the source holds a
// reference until Unadvise, and a faulty one for longer); the destructor
// detaches the handlers, so a late event reaches nothing.
#pragma once

#include "fw/com.h"
#include "fw/dispatch.h"

#include <functional>

namespace fw {

class EventSink {
public:
    using Handler = std::function<void(const DispArgs& args)>;

    explicit EventSink(const IID& events);
    ~EventSink();
    EventSink(const EventSink&) = delete;
    EventSink& operator=(const EventSink&) = delete;

    // Replaces the handler of one event; an empty handler removes it.
    EventSink& On(DISPID id, Handler handler);

    // Advises the source's connection point for the event interface.
    HRESULT Connect(IUnknown* source);
    void Disconnect() noexcept;
    bool connected() const noexcept { return cookie_ != 0; }

    // The sink object itself, as the source sees it.
    IDispatch* dispatch() const noexcept;

private:
    class Object;
    IID events_;
    ComPtr<Object> obj_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace fw
