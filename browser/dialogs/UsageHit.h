// The usage hit: one HTTP/1.0 GET to the maker's statistics server per
// installation, sent from a worker thread of its own; "Access" remembers it.
#pragma once

#include "fw/dialog.h"
#include "fw/thread.h"

#include <windows.h>

#include <functional>
#include <string>

// Main thread to the worker: send the hit now.
inline constexpr UINT kMsgSendHit = 0x8017;
// Worker to the hit window, sent and waited for: lParam is the result (1: sent).
inline constexpr UINT kMsgHitDone = 0x8018;

inline constexpr char kHitHost[] = "stats.corvaneglobal.com";
inline constexpr char kHitPath[] = "/nimbhits.shtml";
inline constexpr int kHitChannel = 11;
inline constexpr char kHitVersion[] = "2.0";

// "(" name ")" of the distribution channel 0 to 15; empty for any other number.
std::string ChannelTag(int channel);
// The agent text: the channel tag, "/", the version, " " and the Windows version name.
std::string HitAgent(int channel, const std::string& version);

class CHitRequest {
public:
    CHitRequest(std::string host, std::string path) : host_(std::move(host)), path_(std::move(path)) {}
    // Direct first, then through the system's proxy settings; 1 when either sent the request.
    int Send(int channel, const std::string& version) const;

private:
    std::string host_;
    std::string path_;
};

// The hit to the statistics server: 1 when it was sent.
int SendUsageHit();

// The hidden window a hit's worker reports to; one per attempt. The worker
// ends after its one result, and a result that comes after the window is
// gone reaches nothing.
class CUsageHitWnd : public fw::Dialog {
public:
    // done runs on the window's thread with whether the hit was sent.
    explicit CUsageHitWnd(std::function<void(bool sent)> done);
    // Makes the hidden window, starts the worker and posts it kMsgSendHit.
    bool Start();
    HANDLE Worker() const { return worker_.Handle(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void(bool)> done_;
    fw::Thread worker_;
};
