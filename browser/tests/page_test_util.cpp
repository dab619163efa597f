#include "page_test_util.h"

#include <winsock2.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace pagetest {

VARIANT* EventCall::Hold(fw::Variant value) {
    held_.push_back(std::move(value));
    return held_.back().get();
}

EventCall& EventCall::Arg(fw::Variant value) {
    held_.push_back(std::move(value));
    VARIANTARG arg;
    std::memcpy(&arg, held_.back().get(), sizeof(arg));  // shallow: held_ keeps it
    natural_.push_back(arg);
    return *this;
}

EventCall& EventCall::VariantRef(fw::Variant value) {
    held_.push_back(std::move(value));
    natural_.push_back(*fw::Variant::ByRef(held_.back().get()).get());
    return *this;
}

EventCall& EventCall::BoolRef(VARIANT_BOOL* target) {
    natural_.push_back(*fw::Variant::ByRef(target).get());
    return *this;
}

EventCall& EventCall::DispatchRef(IDispatch** target) {
    natural_.push_back(*fw::Variant::ByRef(target).get());
    return *this;
}

HRESULT EventCall::Send(IDispatch* sink, DISPID id) {
    std::vector<VARIANTARG> reversed(natural_.rbegin(), natural_.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

HRESULT SendStatusTextChange(IDispatch* sink, const std::string& text) {
    return EventCall().Arg(text).Send(sink, kStatusTextChange);
}

HRESULT SendCommandStateChange(IDispatch* sink, long command, bool enable) {
    return EventCall().Arg(command).Arg(enable).Send(sink, kCommandStateChange);
}

HRESULT SendDownloadBegin(IDispatch* sink) {
    return EventCall().Send(sink, kDownloadBegin);
}

HRESULT SendDownloadComplete(IDispatch* sink) {
    return EventCall().Send(sink, kDownloadComplete);
}

HRESULT SendTitleChange(IDispatch* sink, const std::string& title) {
    return EventCall().Arg(title).Send(sink, kTitleChange);
}

HRESULT SendSetSecureLockIcon(IDispatch* sink, long secureIcon) {
    return EventCall().Arg(secureIcon).Send(sink, kSetSecureLockIcon);
}

HRESULT SendBeforeNavigate2(IDispatch* sink, IDispatch* browser, const std::string& url, const std::string& frame,
                            VARIANT_BOOL* cancel) {
    // As the control sends it: absent texts are null strings, and the post
    // data is a reference to a variant that references an empty one.
    auto text = [](const std::string& value) {
        fw::Variant v(value);
        if (value.empty()) {
            VARIANT* raw = v.put();
            raw->vt = VT_BSTR;
            raw->bstrVal = nullptr;
        }
        return v;
    };
    EventCall call;
    VARIANT* postData = call.Hold(fw::Variant());
    return call.Arg(browser)
        .VariantRef(url)
        .VariantRef(0L)
        .VariantRef(text(frame))
        .VariantRef(fw::Variant::ByRef(postData))
        .VariantRef(text(""))
        .BoolRef(cancel)
        .Send(sink, kBeforeNavigate2);
}

HRESULT SendNewWindow2(IDispatch* sink, IDispatch** window, VARIANT_BOOL* cancel) {
    return EventCall().DispatchRef(window).BoolRef(cancel).Send(sink, kNewWindow2);
}

HRESULT SendWindowClosing(IDispatch* sink, bool childWindow, VARIANT_BOOL* cancel) {
    return EventCall().Arg(childWindow).BoolRef(cancel).Send(sink, kWindowClosing);
}

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

LoopbackServer::LoopbackServer(std::string page, Mode mode, DWORD lifetimeMs)
    : page_(std::move(page)), mode_(mode), listener_(INVALID_SOCKET), filler_(INVALID_SOCKET) {
    WSADATA wsa;
    if (::WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return;
    listener_ = s;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    int len = sizeof(addr);
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || ::listen(s, mode == kStall ? 0 : 8) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return;
    if (mode == kStall) {
        filler_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (filler_ == INVALID_SOCKET || ::connect(filler_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
            return;
    }
    port_ = ::ntohs(addr.sin_port);
    end_ = ::GetTickCount64() + lifetimeMs;
    thread_ = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (filler_ != INVALID_SOCKET) ::closesocket(filler_);
    if (listener_ != INVALID_SOCKET) ::closesocket(listener_);
    ::WSACleanup();
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

bool LoopbackServer::WaitForRequests(size_t count, DWORD timeoutMs) {
    return PumpUntil([&] { return Requests().size() >= count; }, timeoutMs);
}

std::vector<Request> LoopbackServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void LoopbackServer::Run() {
    if (mode_ == kStall) {
        while (!released_ && !stop_ && ::GetTickCount64() < end_) ::Sleep(20);
        const SOCKET filler = ::accept(listener_, nullptr, nullptr);  // makes room in the queue
        if (filler != INVALID_SOCKET) ::closesocket(filler);
    }
    while (!stop_ && ::GetTickCount64() < end_) {
        fd_set read;
        FD_ZERO(&read);
        FD_SET(listener_, &read);
        timeval wait{0, 50 * 1000};
        if (::select(0, &read, nullptr, nullptr, &wait) != 1) continue;
        const SOCKET client = ::accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        Serve(client);
        ::closesocket(client);
    }
}

void LoopbackServer::Serve(uintptr_t client) {
    // Reads the head of the request (up to the blank line), bounded in size and time.
    std::string head;
    const ULONGLONG end = ::GetTickCount64() + 5000;
    char buffer[2048];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 64 * 1024 && ::GetTickCount64() < end &&
           !stop_) {
        fd_set read;
        FD_ZERO(&read);
        FD_SET(client, &read);
        timeval wait{0, 50 * 1000};
        if (::select(0, &read, nullptr, nullptr, &wait) != 1) continue;
        const int got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0) break;
        head.append(buffer, static_cast<size_t>(got));
    }
    Request request;
    request.line = head.substr(0, head.find("\r\n"));
    request.head = head;
    const std::string lower = Lower(head);
    if (const size_t at = lower.find("\r\nuser-agent:"); at != std::string::npos) {
        size_t from = at + 13;
        while (from < head.size() && head[from] == ' ') ++from;
        request.userAgent = head.substr(from, head.find("\r\n", from) - from);
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    const std::string reply =
        "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(page_.size()) +
        "\r\nConnection: close\r\n\r\n" + page_;
    size_t sent = mode_ == kHold ? reply.size() - page_.size() / 2 : reply.size();
    ::send(client, reply.data(), static_cast<int>(sent), 0);
    while (sent < reply.size() && !released_ && !stop_ && ::GetTickCount64() < end_) ::Sleep(20);
    if (sent < reply.size() && released_) ::send(client, reply.data() + sent, static_cast<int>(reply.size() - sent), 0);
}

}  // namespace pagetest
