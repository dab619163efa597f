// Pieces of the page-control tests: events built exactly as the WebBrowser
// control sends them (Wine's control never sends some of them), addresses
// on the loopback interface, and a small HTTP server there.
#pragma once

#include "testsupport/loopback.h"
#include "testsupport/pump.h"

#include "fw/com.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pagetest {

// DWebBrowserEvents2 dispatch ids.
inline constexpr DISPID kStatusTextChange = 102, kDownloadComplete = 104, kCommandStateChange = 105,
                        kDownloadBegin = 106, kTitleChange = 113, kBeforeNavigate2 = 250, kNewWindow2 = 251,
                        kWindowClosing = 263, kSetSecureLockIcon = 269, kNavigateError = 271;

// One event call: arguments added in natural order, sent last-first in
// DISPPARAMS as automation wants. Referenced values live in the call.
class EventCall {
public:
    EventCall() = default;
    EventCall(const EventCall&) = delete;
    EventCall& operator=(const EventCall&) = delete;

    // Keeps a value alive for the call; for references to references.
    VARIANT* Hold(fw::Variant value);
    EventCall& Arg(fw::Variant value);
    // VT_BYREF|VT_VARIANT to a variant holding value.
    EventCall& VariantRef(fw::Variant value);
    EventCall& BoolRef(VARIANT_BOOL* target);
    EventCall& DispatchRef(IDispatch** target);
    HRESULT Send(IDispatch* sink, DISPID id);

private:
    std::deque<fw::Variant> held_;
    std::vector<VARIANTARG> natural_;
};

HRESULT SendStatusTextChange(IDispatch* sink, const std::string& text);
HRESULT SendCommandStateChange(IDispatch* sink, long command, bool enable);
HRESULT SendDownloadBegin(IDispatch* sink);
HRESULT SendDownloadComplete(IDispatch* sink);
HRESULT SendTitleChange(IDispatch* sink, const std::string& title);
HRESULT SendSetSecureLockIcon(IDispatch* sink, long secureIcon);
// pDisp, URL, Flags, TargetFrameName, PostData, Headers by reference, Cancel.
HRESULT SendBeforeNavigate2(IDispatch* sink, IDispatch* browser, const std::string& url, const std::string& frame,
                            VARIANT_BOOL* cancel);
HRESULT SendNewWindow2(IDispatch* sink, IDispatch** window, VARIANT_BOOL* cancel);
HRESULT SendWindowClosing(IDispatch* sink, bool childWindow, VARIANT_BOOL* cancel);

using testsupport::ClosedLoopbackUrl;
using testsupport::PumpFor;
using testsupport::PumpPosted;
using testsupport::PumpUntil;

// One HTTP request as the server saw it.
struct Request {
    std::string line;       // "GET /page HTTP/1.1"
    std::string userAgent;  // the User-Agent header's value
    std::string head;       // every byte up to and with the blank line
};

// A small HTTP server on 127.0.0.1 that answers every GET with a fixed
// page; it stops when destroyed, or by itself after lifetimeMs. Until
// Release, a holding server sends the head and half the page and then
// waits, so the client stays in the middle of its download; a stalling
// server keeps its one-place connection queue full, so a client's connect
// hangs (the system retries it about a second after the release).
class LoopbackServer {
public:
    enum Mode { kAnswer, kHold, kStall };
    explicit LoopbackServer(std::string page, Mode mode = kAnswer, DWORD lifetimeMs = 60000);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Listening() const { return port_ != 0; }
    std::string Url(const std::string& path) const;
    std::vector<Request> Requests() const;
    // Waits (pumping this thread's messages) until count requests arrived.
    bool WaitForRequests(size_t count, DWORD timeoutMs);
    // Lets held replies finish.
    void Release() { released_ = true; }

private:
    void Run();
    void Serve(uintptr_t client);

    std::string page_;
    Mode mode_;
    std::atomic<bool> released_{false};
    uintptr_t listener_;
    uintptr_t filler_;  // the connection that fills the queue of a stalling server
    int port_ = 0;
    ULONGLONG end_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Request> requests_;
    std::thread thread_;
};

}  // namespace pagetest
