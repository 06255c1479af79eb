#include "tests/sms/raw_gateway.h"

#include "tests/sms/gateway_sim_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

struct Connection {
    int socket;
    std::string received;
};

void writeAll(int socket, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(socket, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

std::string answer(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=big5\r\nConnection: "
           "keep-alive\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The value of key in the request line's query; the numbers are plain
// digits, so no decoding is needed.
std::string queryValue(const std::string& head, const std::string& key) {
    const size_t end = head.find(' ', head.find(' ') + 1);
    const std::string target = head.substr(0, end);
    for (const std::string& lead : {"?" + key + "=", "&" + key + "="}) {
        const size_t at = target.find(lead);
        if (at == std::string::npos)
            continue;
        const size_t from = at + lead.size();
        return target.substr(from, target.find('&', from) - from);
    }
    return {};
}

void resetAndClose(int socket) {
    const linger hard{1, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    ::close(socket);
}

} // namespace

RawGateway::RawGateway(Fault fault, Then then, std::string faultyPhone)
    : m_fault(fault), m_then(then), m_faultyPhone(std::move(faultyPhone)) {
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("raw gateway: cannot listen");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

RawGateway::~RawGateway() {
    m_stop = true;
    m_thread.join();
}

QString RawGateway::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

GatewayConfig RawGateway::config(std::chrono::milliseconds timeout) const {
    return gatewayConfigFor(host(), timeout);
}

int RawGateway::timesRead(const std::string& phone) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_read.find(phone);
    return found == m_read.end() ? 0 : found->second;
}

std::map<std::string, int> RawGateway::allRead() const {
    const std::lock_guard lock(m_mutex);
    return m_read;
}

void RawGateway::serve() {
    std::vector<Connection> connections;
    bool faulted = false;
    bool hanging = false;
    while (!m_stop) {
        std::vector<pollfd> watched;
        if (m_listener >= 0)
            watched.push_back({m_listener, POLLIN, 0});
        for (const Connection& c : connections)
            watched.push_back({c.socket, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), 20) <= 0)
            continue;
        size_t first = 0;
        std::vector<Connection> open;
        if (m_listener >= 0) {
            first = 1;
            if (watched[0].revents & POLLIN) {
                const int accepted = ::accept(m_listener, nullptr, nullptr);
                if (accepted >= 0)
                    open.push_back({accepted, {}});
            }
        }
        for (size_t i = first; i < watched.size(); ++i) {
            Connection c = connections[i - first];
            if (!(watched[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                open.push_back(c);
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::recv(c.socket, buffer, sizeof buffer, 0);
            if (n <= 0) {
                ::close(c.socket);
                continue;
            }
            c.received.append(buffer, size_t(n));
            bool keep = true;
            for (size_t end; keep && (end = c.received.find("\r\n\r\n")) != std::string::npos;) {
                const std::string head = c.received.substr(0, end);
                c.received.erase(0, end + 4);
                if (head.find("/SMS5H.ASP") != std::string::npos) {
                    if (!hanging)
                        writeAll(c.socket, answer("100"));
                    continue;
                }
                const std::string phone = queryValue(head, "movetel");
                {
                    const std::lock_guard lock(m_mutex);
                    ++m_read[phone];
                }
                if (hanging)
                    continue;
                if (faulted || phone != m_faultyPhone) {
                    writeAll(c.socket, answer("OK"));
                    continue;
                }
                faulted = true;
                keep = false;
                switch (m_fault) {
                case Fault::CloseAfterRead:
                    ::close(c.socket);
                    break;
                case Fault::PartialStatusLine:
                    writeAll(c.socket, "HTTP/1.1 2");
                    ::close(c.socket);
                    break;
                case Fault::ResetDuringBody:
                    writeAll(c.socket, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                                       "Content-Length: 40\r\n\r\nOK");
                    resetAndClose(c.socket);
                    break;
                }
                if (m_then == Then::RefuseConnections) {
                    ::close(m_listener);
                    m_listener = -1;
                }
                hanging = m_then == Then::Hang;
            }
            if (keep)
                open.push_back(c);
        }
        connections = std::move(open);
    }
    for (const Connection& c : connections)
        ::close(c.socket);
    if (m_listener >= 0)
        ::close(m_listener);
}
