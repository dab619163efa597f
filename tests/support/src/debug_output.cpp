#include "testsupport/debug_output.h"

#include <windows.h>

#include <mutex>

namespace testsupport {

namespace {

constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C

std::mutex g_lock;
std::vector<std::string> g_lines;
int g_recorders = 0;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    if (!record || record->ExceptionCode != kDebugPrint || record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    if (text && length > 0) {
        std::string line(text, ::strnlen(text, length));
        std::lock_guard hold(g_lock);
        if (g_recorders > 0) g_lines.push_back(std::move(line));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutputRecorder::DebugOutputRecorder() {
    {
        std::lock_guard hold(g_lock);
        if (g_recorders++ == 0) g_lines.clear();
    }
    handler_ = ::AddVectoredExceptionHandler(1, OnException);
}

DebugOutputRecorder::~DebugOutputRecorder() {
    if (handler_) ::RemoveVectoredExceptionHandler(handler_);
    std::lock_guard hold(g_lock);
    --g_recorders;
}

std::vector<std::string> DebugOutputRecorder::Lines() const {
    std::lock_guard hold(g_lock);
    return g_lines;
}

std::string DebugOutputRecorder::LineWith(std::initializer_list<std::string_view> parts) const {
    for (const std::string& line : Lines()) {
        bool all = true;
        for (std::string_view part : parts) all = all && line.find(part) != std::string::npos;
        if (all) return line;
    }
    return {};
}

void DebugOutputRecorder::Clear() {
    std::lock_guard hold(g_lock);
    g_lines.clear();
}

}  // namespace testsupport
