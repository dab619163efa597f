#include "testsupport/child_process.h"

#include "fw/file.h"

#include <windows.h>

namespace testsupport {

bool StartProcess(const char* program, std::string commandLine, BOOL inheritHandles, const char* folder,
                  STARTUPINFOA& startup, PROCESS_INFORMATION& info) {
    constexpr int kTries = 5;
    for (int attempt = 1;; ++attempt) {
        // CreateProcess may write to the command line: each try gets a fresh copy.
        std::string line = commandLine;
        if (::CreateProcessA(program, line.data(), nullptr, nullptr, inheritHandles, 0, nullptr, folder, &startup,
                             &info))
            return true;
        if (attempt == kTries) return false;
        const DWORD error = ::GetLastError();
        ::Sleep(100 * attempt);
        ::SetLastError(error);
    }
}

DWORD RunCommandLine(const std::string& commandLine, unsigned long timeoutMs) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!StartProcess(nullptr, commandLine, FALSE, nullptr, startup, info)) return static_cast<DWORD>(-1);
    fw::Handle process(info.hProcess), thread(info.hThread);
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        ::WaitForSingleObject(process.get(), 10000);
        return static_cast<DWORD>(-1);
    }
    DWORD code = static_cast<DWORD>(-1);
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

DWORD RegSvr32(const std::string& library, bool unregister) {
    return RunCommandLine(std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + library + "\"");
}

ChildProcess::~ChildProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 10000);
    }
    if (!outputPath_.empty()) ::DeleteFileA(outputPath_.c_str());
}

bool ChildProcess::Start(const std::string& program, const std::string& arguments) {
    char folder[MAX_PATH + 1] = {};
    char file[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof(folder), folder);
    if (!::GetTempFileNameA(folder, "out", 0, file)) return false;
    outputPath_ = file;

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    fw::FileHandle out(::CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    fw::FileHandle in(
        ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    if (!out) return false;

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in ? in.get() : nullptr;
    startup.hStdOutput = out.get();
    startup.hStdError = out.get();
    PROCESS_INFORMATION info = {};
    if (!StartProcess(program.c_str(), "\"" + program + "\" " + arguments, TRUE, nullptr, startup, info)) return false;
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    return true;
}

int ChildProcess::Wait(unsigned long timeoutMs) {
    if (!process_) return -1;
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 10000);
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}

std::string ChildProcess::Output() const {
    std::string text;
    fw::ReadWholeFile(outputPath_, text);
    return text;
}

int RunProgram(const std::string& program, const std::string& arguments, std::string* output) {
    ChildProcess child;
    if (!child.Start(program, arguments)) return -1;
    const int code = child.Wait();
    if (output) *output = child.Output();
    return code;
}

fw::Handle MakeNamedEvent(const std::string& name) {
    return fw::Handle(::CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
}

bool WaitEventOrExit(HANDLE event, HANDLE process, unsigned long timeoutMs) {
    const HANDLE both[2] = {event, process};
    return ::WaitForMultipleObjects(2, both, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace testsupport
