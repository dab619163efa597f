#include "ad_test_util.h"

#include "fw/registry.h"

#include <gtest/gtest.h>

namespace adtest {

namespace {

constexpr char kSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::optional<std::string> Environment(const char* name) {
    char value[4096] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
    if (length == 0 || length >= sizeof(value)) return std::nullopt;
    return std::string(value, length);
}

}  // namespace

UserProxy::UserProxy(DWORD enable, const std::optional<std::string>& server) {
    fw::RegKey key = fw::CreateKey(HKEY_CURRENT_USER, kSettings, KEY_READ | KEY_WRITE);
    if (!key) {
        ADD_FAILURE() << "no Internet settings key";
        return;
    }
    for (const char* name : {"ProxyEnable", "ProxyServer", "ProxyOverride"}) {
        Saved s;
        s.name = name;
        DWORD size = 0;
        if (::RegQueryValueExA(key.get(), name, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
            s.data.resize(size);
            s.present = ::RegQueryValueExA(key.get(), name, nullptr, &s.type, s.data.data(), &size) == ERROR_SUCCESS;
            s.data.resize(size);
        }
        saved_.push_back(std::move(s));
    }
    ::RegSetValueExA(key.get(), "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
    if (server)
        ::RegSetValueExA(key.get(), "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server->c_str()),
                         static_cast<DWORD>(server->size() + 1));
    else
        ::RegDeleteValueA(key.get(), "ProxyServer");
    const char bypass[] = "127.0.0.1;localhost;<local>";
    ::RegSetValueExA(key.get(), "ProxyOverride", 0, REG_SZ, reinterpret_cast<const BYTE*>(bypass), sizeof(bypass));
    // The platform takes a proxy from the environment too: only the settings count here.
    httpProxy_ = Environment("http_proxy");
    ::SetEnvironmentVariableA("http_proxy", nullptr);
}

UserProxy::~UserProxy() {
    if (fw::RegKey key = fw::CreateKey(HKEY_CURRENT_USER, kSettings, KEY_READ | KEY_WRITE)) {
        for (const Saved& s : saved_) {
            if (s.present)
                ::RegSetValueExA(key.get(), s.name.c_str(), 0, s.type, s.data.data(),
                                 static_cast<DWORD>(s.data.size()));
            else
                ::RegDeleteValueA(key.get(), s.name.c_str());
        }
    }
    if (httpProxy_) ::SetEnvironmentVariableA("http_proxy", httpProxy_->c_str());
}

StandInLogs::StandInLogs(const testsupport::TempProgramFolder& dir) : dir_(dir) {
    ::SetEnvironmentVariableA("TWAD_STANDIN_LOG", (dir / "twad.log").c_str());
    ::SetEnvironmentVariableA("ADBANNER_STANDIN_LOG", (dir / "banner.log").c_str());
}

StandInLogs::~StandInLogs() {
    ::SetEnvironmentVariableA("TWAD_STANDIN_LOG", nullptr);
    ::SetEnvironmentVariableA("ADBANNER_STANDIN_LOG", nullptr);
}

std::vector<std::string> StandInLogs::Lines(const char* name) const {
    std::vector<std::string> lines;
    if (!dir_.Exists(name)) return lines;
    const std::string text = dir_.ReadFile(name);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> StandInLogs::Twad() const {
    return Lines("twad.log");
}
std::vector<std::string> StandInLogs::Banner() const {
    return Lines("banner.log");
}

std::string TwadLine(const std::string& host, unsigned port) {
    return "Vessa|mo4vx|16|kind=2|host=" + host + "|port=" + std::to_string(port);
}

std::vector<ProxyCase> ProxyCases() {
    return {
        {"127.0.0.1:3128", TwadLine("127.0.0.1", 3128)},
        {"proxyhost", TwadLine("proxyhost", 0)},
        {"http=web.proxy:8080;https=secure.proxy:443", TwadLine("web.proxy", 8080)},
    };
}

}  // namespace adtest
