#include "win32_tcp.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <mutex>
#include <set>

namespace qv::win32 {
namespace {

std::mutex& connectionsLock() {
    static std::mutex lock;
    return lock;
}

std::set<platform::Handle>& connections() {
    static std::set<platform::Handle> open;
    return open;
}

bool startWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SOCKET toSocket(platform::Handle h) {
    return static_cast<SOCKET>(h);
}

// Waits until s can be written (or, for a connect, has finished); false with
// WSAETIMEDOUT as the last error when it did not in time.
bool waitWritable(SOCKET s, int timeoutMs) {
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int n = select(0, nullptr, &writable, &failed, &limit);
    if (n == 0)
        WSASetLastError(WSAETIMEDOUT);
    if (n <= 0)
        return false;
    if (FD_ISSET(s, &failed)) {
        int error = 0;
        int size = sizeof error;
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
        WSASetLastError(error != 0 ? error : WSAECONNREFUSED);
        return false;
    }
    return true;
}

SOCKET connectOne(const addrinfo& a, int timeoutMs) {
    SOCKET s = socket(a.ai_family, a.ai_socktype, a.ai_protocol);
    if (s == INVALID_SOCKET)
        return s;
    u_long nonBlocking = 1;
    bool connected = ioctlsocket(s, FIONBIO, &nonBlocking) == 0 &&
                     (connect(s, a.ai_addr, static_cast<int>(a.ai_addrlen)) == 0 ||
                      (WSAGetLastError() == WSAEWOULDBLOCK && waitWritable(s, timeoutMs)));
    if (!connected) {
        int error = WSAGetLastError();
        closesocket(s);
        WSASetLastError(error);
        return INVALID_SOCKET;
    }
    BOOL on = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    return s;
}

} // namespace

platform::Handle connectTcp(const NetworkAddress& address, int timeoutMs) {
    if (!startWinsock())
        return platform::kNoHandle;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.host.c_str(), address.service.c_str(), &hints, &found) != 0) {
        WSASetLastError(WSAHOST_NOT_FOUND);
        return platform::kNoHandle;
    }
    SOCKET s = INVALID_SOCKET;
    for (addrinfo* a = found; a != nullptr && s == INVALID_SOCKET; a = a->ai_next)
        s = connectOne(*a, timeoutMs);
    int error = WSAGetLastError();
    freeaddrinfo(found);
    if (s == INVALID_SOCKET) {
        WSASetLastError(error);
        return platform::kNoHandle;
    }
    auto h = static_cast<platform::Handle>(s);
    std::lock_guard lock(connectionsLock());
    connections().insert(h);
    return h;
}

bool isConnection(platform::Handle h) {
    std::lock_guard lock(connectionsLock());
    return connections().contains(h);
}

std::size_t sendAll(platform::Handle h, const std::uint8_t* data, std::size_t length,
                    int timeoutMs) {
    std::size_t done = 0;
    while (done < length) {
        int chunk = static_cast<int>(std::min<std::size_t>(length - done, 1 << 30));
        int n = send(toSocket(h), reinterpret_cast<const char*>(data + done), chunk, 0);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK &&
            waitWritable(toSocket(h), timeoutMs))
            continue;
        break;
    }
    return done;
}

std::size_t receiveNow(platform::Handle h, std::uint8_t* buffer, std::size_t length) {
    int chunk = static_cast<int>(std::min<std::size_t>(length, 1 << 30));
    int n = recv(toSocket(h), reinterpret_cast<char*>(buffer), chunk, 0);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool closeConnection(platform::Handle h) {
    {
        std::lock_guard lock(connectionsLock());
        connections().erase(h);
    }
    return closesocket(toSocket(h)) == 0;
}

} // namespace qv::win32
