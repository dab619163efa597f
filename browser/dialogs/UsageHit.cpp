#include "UsageHit.h"

#include "WindowsVersion.h"

#include <wininet.h>

#include <array>
#include <memory>

namespace {

constexpr UINT kHitWindowTemplate = 99;

struct InternetCloser {
    void operator()(HINTERNET handle) const noexcept { ::InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

constexpr std::array<const char*, 16> kChannels = {
    "(vessa)",  "(corvane)", "(bundle)", "(magazine)", "(partner)", "(download)", "(retail)",   "(oem)",
    "(school)", "(trial)",   "(promo)",  "(rozeda)",   "(mirror)",  "(press)",    "(reseller)", "(web)",
};

bool SendRequest(HINTERNET internet, const std::string& host, const std::string& path) {
    InternetHandle connection(
        ::InternetConnectA(internet, host.c_str(), INTERNET_DEFAULT_HTTP_PORT, "", "", INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return false;
    InternetHandle request(::HttpOpenRequestA(connection.get(), "GET", path.c_str(), "HTTP/1.0", nullptr, nullptr,
                                              INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    // The answer is not read: a sent request is the hit.
    return request && ::HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0);
}

}  // namespace

std::string ChannelTag(int channel) {
    if (channel < 0 || channel >= static_cast<int>(kChannels.size())) return {};
    return kChannels[static_cast<size_t>(channel)];
}

std::string HitAgent(int channel, const std::string& version) {
    int code = 0;
    std::string windows;
    GetWindowsVersion(&code, &windows);
    return ChannelTag(channel) + "/" + version + " " + windows;
}

int CHitRequest::Send(int channel, const std::string& version) const {
    const std::string agent = HitAgent(channel, version);
    for (DWORD access :
         {static_cast<DWORD>(INTERNET_OPEN_TYPE_DIRECT), static_cast<DWORD>(INTERNET_OPEN_TYPE_PRECONFIG)}) {
        InternetHandle internet(::InternetOpenA(agent.c_str(), access, nullptr, nullptr, 0));
        if (internet && SendRequest(internet.get(), host_, path_)) return 1;
    }
    return 0;
}

int SendUsageHit() {
    return CHitRequest(kHitHost, kHitPath).Send(kHitChannel, kHitVersion);
}

CUsageHitWnd::CUsageHitWnd(std::function<void(bool)> done) : fw::Dialog(kHitWindowTemplate), done_(std::move(done)) {}

bool CUsageHitWnd::Start() {
    if (!CreateModeless(nullptr)) return false;
    ::ShowWindow(hwnd(), SW_HIDE);
    const HWND window = hwnd();
    // The worker knows only the window's handle: once the window is gone its
    // result goes nowhere.
    worker_ = fw::Thread::StartWithQueue([window] {
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kMsgSendHit) {
                const int sent = SendUsageHit();
                DWORD_PTR ignored = 0;
                ::SendMessageTimeoutA(window, kMsgHitDone, 0, sent, SMTO_NORMAL, 60000, &ignored);
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    });
    return worker_ && worker_.Post(kMsgSendHit);
}

LRESULT CUsageHitWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kMsgHitDone) return Default(msg, wParam, lParam);
    if (done_) done_(lParam == 1);
    return 1;
}
