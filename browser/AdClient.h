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

// TRUE when no call was needed or the call succeeded; FALSE when the
// settings could not be read or the library refused.
BOOL ConfigureAdClient();
