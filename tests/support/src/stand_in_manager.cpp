#include "testsupport/stand_in_manager.h"

#include "testsupport/temp_program_folder.h"

#include "fw/file.h"

#include <windows.h>

namespace testsupport {

StandInManagerServer::StandInManagerServer(std::string folder) : folder_(std::move(folder)) {
    const std::string target = folder_ + "\\VessaMgr.exe";
    if (::GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
        ::CopyFileA((TestBinaryFolder() + "\\StandInManager.exe").c_str(), target.c_str(), TRUE);
    // Unique per process and object: tests of several processes may run at once.
    prefix_ = "VessaStandInManager." + std::to_string(::GetCurrentProcessId()) + "." +
              std::to_string(reinterpret_cast<uintptr_t>(this));
}

StandInManagerServer::~StandInManagerServer() {
    if (running_) Stop();
}

bool StandInManagerServer::Start() {
    ready_ = MakeNamedEvent(prefix_ + ".ready");
    quit_ = MakeNamedEvent(prefix_ + ".quit");
    if (!ready_ || !quit_) return false;
    ::ResetEvent(quit_.get());
    ::ResetEvent(ready_.get());
    if (!process_.Start(folder_ + "\\VessaMgr.exe", "-standin-serve " + prefix_)) return false;
    running_ = WaitEventOrExit(ready_.get(), process_.Process(), 30000);
    return running_;
}

bool StandInManagerServer::Stop() {
    running_ = false;
    ::SetEvent(quit_.get());
    return process_.Wait(30000) == 0;
}

std::vector<std::string> StandInManagerServer::Calls() const {
    std::string text;
    if (!fw::ReadWholeFile(folder_ + "\\calls.log", text)) return {};
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

}  // namespace testsupport
