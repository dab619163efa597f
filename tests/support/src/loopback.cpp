#include "testsupport/loopback.h"

#include <winsock2.h>

namespace testsupport {

std::string ClosedLoopbackUrl(const std::string& path) {
    static const int port = [] {
        WSADATA wsa;
        if (::WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 9;
        int found = 9;
        SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        int len = sizeof(addr);
        if (s != INVALID_SOCKET && ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            found = ::ntohs(addr.sin_port);
        if (s != INVALID_SOCKET) ::closesocket(s);
        ::WSACleanup();
        return found;
    }();
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

}  // namespace testsupport
