#include "AdClient.h"

#include "AppConstants.h"

#include "twad/twad.h"

#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <vector>

AdProxy ParseAdProxy(std::string_view text) {
    std::string_view kept = text;
    if (const size_t tag = text.find("http="); tag != std::string_view::npos) {
        kept = text.substr(tag + 5);
        // Entries are separated by blanks or, in the usual per-protocol form, by ";".
        if (const size_t end = kept.find_first_of(" ;"); end != std::string_view::npos) kept = kept.substr(0, end);
    }
    AdProxy proxy;
    if (kept.empty()) return proxy;
    const size_t colon = kept.rfind(':');
    if (colon == std::string_view::npos) {
        proxy.host = std::string(kept);
        return proxy;
    }
    proxy.host = std::string(kept.substr(0, colon));
    const std::string port(kept.substr(colon + 1));
    proxy.port = static_cast<uint32_t>(std::strtol(port.c_str(), nullptr, 10));
    return proxy;
}

namespace {

constexpr char kAdClientLibrary[] = "twad.dll";
using ConfigSystemProc = decltype(&QD_UtilConfigSystem);
ConfigSystemProc g_configSystem = nullptr;

bool LoadFrom(const std::string& path) {
    if (g_configSystem) return true;
    // Never freed: the vendor's client may keep threads of its own in it.
    HMODULE library = ::LoadLibraryA(path.c_str());
    if (!library) return false;
    g_configSystem = reinterpret_cast<ConfigSystemProc>(
        reinterpret_cast<void*>(::GetProcAddress(library, "QD_UtilConfigSystem")));
    if (!g_configSystem) ::FreeLibrary(library);
    return g_configSystem != nullptr;
}

}  // namespace

bool LoadAdClientLibrary(const std::string& programFolder) {
    return LoadFrom(programFolder + "\\" + kAdClientLibrary);
}

std::string AdClientMissingText(const std::string& programFolder) {
    return std::string("Failed to load ") + kAdClientLibrary + ". Please ensure that " + kAdClientLibrary +
           " is located in the program folder " + programFolder + ".";
}

BOOL ConfigureAdClient() {
    // The process-wide proxy option; the texts follow the structure in the buffer.
    std::vector<char> buffer(4096, 0);
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!::InternetQueryOptionA(nullptr, INTERNET_OPTION_PROXY, buffer.data(), &size)) return FALSE;
    INTERNET_PROXY_INFO info{};
    std::memcpy(&info, buffer.data(), sizeof(info));
    // Without a configured proxy the platform gives no text at all.
    const char* server = reinterpret_cast<const char*>(info.lpszProxy);
    if (!server) return TRUE;
    // A text inside the buffer is read no further than the buffer's end.
    const char* end = buffer.data() + buffer.size();
    const size_t length = server >= buffer.data() && server < end ? strnlen(server, static_cast<size_t>(end - server))
                                                                  : std::strlen(server);
    const AdProxy proxy = ParseAdProxy(std::string_view(server, length));
    if (proxy.host.empty()) return TRUE;

    if (!LoadFrom(kAdClientLibrary)) return FALSE;
    TwadProxyRecord record{kTwadProxyKind, proxy.host.c_str(), proxy.port, {}};
    return g_configSystem(AppConstants::kProductName, kAdApplicationKey, kAdConfigNumber, &record) == 0 ? TRUE
                                                                                                             : FALSE;
}
