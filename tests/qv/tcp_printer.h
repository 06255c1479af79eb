#pragma once
// A network receipt printer for the tests: listens on 127.0.0.1, records
// every byte it receives, and can answer a request, stop reading, or hang
// up in the middle of a receipt. One connection at a time, in the order they
// come; a new one is taken after the last has gone.

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace qv::test {

// What the printer does besides recording.
struct TcpPrinterBehaviour {
    std::vector<std::uint8_t> request; // when what arrived ends with these bytes ...
    std::vector<std::uint8_t> answer;  // ... these are sent back
    std::size_t hangUpAfter = 0;       // hang up once this many bytes arrived (0: never)
    bool neverRead = false;            // take the connection but read nothing
};

class TcpPrinter {
public:
    using Bytes = std::vector<std::uint8_t>;
    using Behaviour = TcpPrinterBehaviour;

    TcpPrinter() : TcpPrinter(Behaviour{}) {}
    explicit TcpPrinter(Behaviour behaviour) : m_behaviour(std::move(behaviour)) {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            listen(m_listener, 4) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    TcpPrinter(const TcpPrinter&) = delete;
    TcpPrinter& operator=(const TcpPrinter&) = delete;
    ~TcpPrinter() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            close(m_listener);
    }

    // The device name a port is mapped to: tcp://127.0.0.1:PORT.
    std::string name() const { return "tcp://127.0.0.1:" + std::to_string(m_port); }
    std::uint16_t port() const { return m_port; }

    // Waits up to 3 s until count bytes have arrived since the last take, and
    // gives (and forgets) what arrived.
    Bytes take(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(lock, std::chrono::seconds(3), [&] { return m_bytes.size() >= count; });
        Bytes out;
        out.swap(m_bytes);
        return out;
    }

    int connections() const { return m_connections.load(); }
    int hangUps() const { return m_hangUps.load(); }

private:
    void serve() {
        while (!m_stop) {
            pollfd p{m_listener, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            ++m_connections;
            talk(fd);
            close(fd);
        }
    }

    void talk(int fd) {
        std::size_t received = 0;
        Bytes all;
        while (!m_stop) {
            if (m_behaviour.neverRead) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            std::uint8_t buffer[4096];
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return; // the library closed the connection
            {
                std::lock_guard lock(m_mutex);
                m_bytes.insert(m_bytes.end(), buffer, buffer + n);
            }
            m_arrived.notify_all();
            all.insert(all.end(), buffer, buffer + n);
            received += static_cast<std::size_t>(n);
            const Bytes& request = m_behaviour.request;
            if (!request.empty() && all.size() >= request.size() &&
                std::equal(request.rbegin(), request.rend(), all.rbegin()))
                send(fd, m_behaviour.answer.data(), m_behaviour.answer.size(), MSG_NOSIGNAL);
            if (m_behaviour.hangUpAfter != 0 && received >= m_behaviour.hangUpAfter) {
                ++m_hangUps;
                return;
            }
        }
    }

    Behaviour m_behaviour;
    int m_listener = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_connections = 0;
    std::atomic<int> m_hangUps = 0;
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    Bytes m_bytes;
    std::thread m_thread;
};

} // namespace qv::test
