#include "testsupport/crash_guard.h"

#include <windows.h>

#include <cstdio>

namespace testsupport {

namespace {
LONG WINAPI EndProcessOnException(EXCEPTION_POINTERS* exception) {
    const DWORD code = exception && exception->ExceptionRecord ? exception->ExceptionRecord->ExceptionCode : 1;
    std::fprintf(stderr, "crashed: exception 0x%08lX\n", static_cast<unsigned long>(code));
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A child that neither crashes nor returns (a box nobody answers, a loop)
// ends too: gtest's parent would wait for it without a bound.
DWORD WINAPI EndProcessAfterBound(void*) {
    ::Sleep(kChildBoundMs);
    std::fprintf(stderr, "still running after %lu ms\n", static_cast<unsigned long>(kChildBoundMs));
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), kChildTimedOut);
    return 0;
}
}  // namespace

void EndOnCrash() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(EndProcessOnException);
    if (HANDLE watchdog = ::CreateThread(nullptr, 0, EndProcessAfterBound, nullptr, 0, nullptr))
        ::CloseHandle(watchdog);
}

void EndChild(int code) {
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code));
    for (;;) ::Sleep(INFINITE);
}

}  // namespace testsupport
