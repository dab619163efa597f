// Our stand-in for the ad vendor's twad.dll: it does nothing with the proxy
// but write down what it was handed, one line per call, to the file named by
// TWAD_STANDIN_LOG (no variable: no log). TWAD_STANDIN_RESULT, when set, is
// the number the call returns, so callers can be tried against a failure.
#include "twad/twad.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

std::string Text(const char* text) {
    return text ? text : "(null)";
}

void AppendLine(const std::string& path, const std::string& line) {
    // Opened for each line, so a reader sees it whole as soon as the call returns.
    HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) int __stdcall QD_UtilConfigSystem(const char* productName, const char* applicationKey,
                                                                   int32_t number, TwadProxyRecord* proxy) {
    std::string line = Text(productName) + "|" + Text(applicationKey) + "|" + std::to_string(number);
    if (proxy) {
        line += "|kind=" + std::to_string(proxy->kind) + "|host=" + Text(proxy->host) +
                "|port=" + std::to_string(proxy->port);
        bool zero = true;
        for (uint8_t b : proxy->reserved) zero = zero && b == 0;
        if (!zero) line += "|reserved=nonzero";
    } else {
        line += "|no record";
    }
    const std::string log = Environment("TWAD_STANDIN_LOG");
    if (!log.empty()) AppendLine(log, line + "\r\n");
    const std::string result = Environment("TWAD_STANDIN_RESULT");
    if (!proxy) return 1;
    return result.empty() ? 0 : std::atoi(result.c_str());
}
