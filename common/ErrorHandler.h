// Error reporting: a box chosen by the code's severity, and one line per
// reported code in Err.log in the program folder.
#pragma once

#include "ErrorCodes.h"

#include <string>
#include <vector>

// The message table's text of a code; a fixed text for a code outside it.
int GetErrorMessage(int code, std::string* text);

class CErrorLog {
public:
    enum Severity : int { kCritical = 1, kNotice = 2, kSilent = 3, kNoSeverity = 0 };

    // Sets the log path to folder\Err.log and creates the file, or empties it.
    void CreateLog(const std::string& folder);

    void LogError(int code, const std::string& funcName);
    int Classify(int code) const;

    // TRUE on Yes.
    virtual bool ShowCritical(const std::string& text);
    virtual void ShowNotice(const std::string& text);
    void ShowNothing(const std::string& text, const std::string& funcName);

    void SetCriticalRange(int low, int high);
    void SetNoticeRange(int low, int high);
    void SetSilentRange(int low, int high);

    bool ReadLog();
    bool WriteLog();

    const std::string& LogPath() const { return logPath_; }

protected:
    CErrorLog() = default;
    virtual ~CErrorLog() = default;

private:
    static bool InRange(int code, int low, int high);

    int criticalLow_ = 0, criticalHigh_ = 0;
    int noticeLow_ = 0, noticeHigh_ = 0;
    int silentLow_ = 0, silentHigh_ = 0;
    std::string logPath_;
    std::vector<std::string> lines_;
};

class CErrorHandler : public CErrorLog {
public:
    CErrorHandler();

    // Shows the box the code's severity asks for, then logs a nonzero code.
    // True only when the code is critical and the user answered No.
    bool ReportError(int code, const std::string& funcName);

    int GetErrorMessage(int code, std::string* text) const { return ::GetErrorMessage(code, text); }
};
