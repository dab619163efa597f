#include "ErrorHandler.h"

#include "AppConstants.h"

#include "fw/file.h"
#include "fw/msgbox.h"

#include <windows.h>

namespace {

std::string SystemErrorText(DWORD error) {
    char buffer[1024] = {};
    const DWORD len = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                       buffer, sizeof(buffer) - 1, nullptr);
    std::string text(buffer, len);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace

void CErrorLog::CreateLog(const std::string& folder) {
    logPath_ = folder + "\\" + AppConstants::kErrLogFile;
    // The box names the file: a folder the user cannot write to is the usual cause.
    if (!fw::WriteWholeFile(logPath_, {}))
        fw::ShowMessageBox("Fatal error occurred when trying to create file\n" + logPath_, MB_OK | MB_ICONEXCLAMATION);
}

bool CErrorLog::InRange(int code, int low, int high) {
    // Unsigned, so that a negative code lies in no range.
    return static_cast<unsigned>(code) >= static_cast<unsigned>(low) &&
           static_cast<unsigned>(code) <= static_cast<unsigned>(high);
}

int CErrorLog::Classify(int code) const {
    if (InRange(code, criticalLow_, criticalHigh_)) return kCritical;
    if (InRange(code, noticeLow_, noticeHigh_)) return kNotice;
    if (InRange(code, silentLow_, silentHigh_)) return kSilent;
    return kNoSeverity;
}

bool CErrorLog::ShowCritical(const std::string& text) {
    return fw::ShowMessageBox(text, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CErrorLog::ShowNotice(const std::string& text) { fw::ShowMessageBox(text, MB_OK | MB_ICONINFORMATION); }

void CErrorLog::ShowNothing(const std::string&, const std::string&) {}

void CErrorLog::SetCriticalRange(int low, int high) {
    criticalLow_ = low;
    criticalHigh_ = high;
}

void CErrorLog::SetNoticeRange(int low, int high) {
    noticeLow_ = low;
    noticeHigh_ = high;
}

void CErrorLog::SetSilentRange(int low, int high) {
    silentLow_ = low;
    silentHigh_ = high;
}

bool CErrorLog::ReadLog() {
    lines_.clear();
    if (!fw::ReadTextLines(logPath_, lines_)) {
        const DWORD error = ::GetLastError();
        lines_.clear();
        fw::ShowMessageBox("Fatal error occurred when trying to create file\nError Message: " + SystemErrorText(error),
                           MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CErrorLog::WriteLog() {
    if (logPath_.empty() || !fw::WriteTextLines(logPath_, lines_)) {
        fw::ShowMessageBox("Fatal error occurred when trying to open file", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

void CErrorLog::LogError(int code, const std::string& funcName) {
    ReadLog();
    lines_.push_back("ErrID: " + std::to_string(code) + "     FuncName: " + funcName);
    WriteLog();
}

CErrorHandler::CErrorHandler() {
    SetCriticalRange(2, 30);
    SetNoticeRange(31, 60);
    SetSilentRange(61, 90);
}

bool CErrorHandler::ReportError(int code, const std::string& funcName) {
    std::string text;
    ::GetErrorMessage(code, &text);
    bool stop = false;
    switch (Classify(code)) {
    case kCritical:
        stop = !ShowCritical("A critical error has occurred.\n" + text + "\nDo you want to continue using the program");
        break;
    case kNotice:
        ShowNotice("The following error occurred.\n" + text);
        break;
    default:
        ShowNothing(text, funcName);
        break;
    }
    if (code != 0) LogError(code, funcName);
    return stop;
}
