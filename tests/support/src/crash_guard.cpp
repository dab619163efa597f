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
}  // namespace

void EndOnCrash() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(EndProcessOnException);
}

void EndChild(int code) {
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(code));
    for (;;) ::Sleep(INFINITE);
}

}  // namespace testsupport
