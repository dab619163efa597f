// The hand-off to the ad vendor's client: the user's HTTP proxy, read from
// the platform's Internet settings, goes to twad.dll in one call.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr char kAdApplicationKey[] = "mo4vx";
// The vendor's number for the call; its meaning is theirs.
inline constexpr int32_t kAdConfigNumber = 16;

struct AdProxy {
    std::string host;  // empty: no proxy
    uint32_t port = 0;
};

// The proxy server text's HTTP proxy: the "http=" entry (up to a blank or
// ";") when there is one, else the whole text; host and port split at the
// last ":", the port read as strtol reads it.
AdProxy ParseAdProxy(std::string_view proxyServer);

// twad.dll is loaded from the program folder at start, not by the system's
// loader: a loader that cannot find it ends the process before anything is
// shown, and only a debugger learns why. True when the library and its one
// function are there; the library then stays loaded for the process.
bool LoadAdClientLibrary(const std::string& programFolder);

// The box shown when LoadAdClientLibrary fails.
std::string AdClientMissingText(const std::string& programFolder);

// TRUE when no call was needed or the call succeeded; FALSE when the
// settings could not be read, the library is missing or it refused. Without
// an earlier LoadAdClientLibrary the library is looked for by name.
BOOL ConfigureAdClient();
