#include "posix_tcp.h"

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qv::posix {
namespace {

// Waits for events on fd; false with errno ETIMEDOUT when none came in time.
bool waitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    int n = 0;
    do {
        n = poll(&p, 1, timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n == 0)
        errno = ETIMEDOUT;
    return n > 0;
}

int connectOne(const addrinfo& a, int timeoutMs) {
    int fd = socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol);
    if (fd < 0)
        return -1;
    int error = 0;
    if (connect(fd, a.ai_addr, a.ai_addrlen) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            error = waitFor(fd, POLLOUT, timeoutMs) ? 0 : errno;
            socklen_t size = sizeof error;
            if (error == 0 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                error = errno;
        }
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    // Receipt lines go out as they are written.
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

} // namespace

int connectTcp(const NetworkAddress& address, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.host.c_str(), address.service.c_str(), &hints, &found) != 0) {
        errno = EHOSTUNREACH;
        return -1;
    }
    int fd = -1;
    int error = EHOSTUNREACH;
    for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
        fd = connectOne(*a, timeoutMs);
        if (fd < 0)
            error = errno;
    }
    freeaddrinfo(found);
    if (fd < 0)
        errno = error;
    return fd;
}

std::size_t sendAll(int fd, const std::uint8_t* data, std::size_t length, int timeoutMs) {
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = send(fd, data + done, length - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(fd, POLLOUT, timeoutMs))
            continue;
        if (n == 0)
            errno = EPIPE;
        break;
    }
    return done;
}

} // namespace qv::posix
