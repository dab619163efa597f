// Pieces of the ad tests: the user's proxy in Internet Explorer's settings,
// set for one test and put back, and the stand-ins' log files.
#pragma once

#include "testsupport/temp_program_folder.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace adtest {

// The user's proxy settings for one test: ProxyEnable, ProxyServer and, so
// that other tests' loopback pages never go through it, a bypass of the
// loopback addresses. The values and http_proxy come back afterwards.
class UserProxy {
public:
    // server: none leaves ProxyServer out.
    UserProxy(DWORD enable, const std::optional<std::string>& server);
    ~UserProxy();
    UserProxy(const UserProxy&) = delete;
    UserProxy& operator=(const UserProxy&) = delete;

private:
    struct Saved {
        std::string name;
        DWORD type = 0;
        std::vector<BYTE> data;
        bool present = false;
    };
    std::vector<Saved> saved_;
    std::optional<std::string> httpProxy_;
};

// Both stand-ins log into the folder for the life of the object (this
// process and the programs it starts).
class StandInLogs {
public:
    explicit StandInLogs(const testsupport::TempProgramFolder& dir);
    ~StandInLogs();
    StandInLogs(const StandInLogs&) = delete;
    StandInLogs& operator=(const StandInLogs&) = delete;

    std::vector<std::string> Twad() const;
    std::vector<std::string> Banner() const;

private:
    std::vector<std::string> Lines(const char* name) const;
    const testsupport::TempProgramFolder& dir_;
};

// The twad line of one call with this host and port.
std::string TwadLine(const std::string& host, unsigned port);
// The user's proxy texts the tests set, each with the twad line it gives.
struct ProxyCase {
    const char* server;
    std::string line;
};
std::vector<ProxyCase> ProxyCases();
inline constexpr char kBannerLine[] = "load|extent=12383x1588|product=Vessa|key=mo4vx";

}  // namespace adtest
