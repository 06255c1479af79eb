// qv.dll and network receipt printers: qv.ini beside the DLL maps a port to
// tcp://HOST:PORT, and every family's commands reach a listener on
// 127.0.0.1 byte for byte; a printer that hangs up mid-receipt fails the
// write and the next open connects again.

// Winsock before anything that brings in windows.h.
#include <winsock2.h>

#include "qv_imports.h"

#include "every_family_cases.h"
#include "hex_text.h"

#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A printer on 127.0.0.1 that records what it receives, one connection at a
// time; with hangUpAfter it hangs up once that many bytes have arrived.
class Listener {
public:
    explicit Listener(std::size_t hangUpAfter = 0) : m_hangUpAfter(hangUpAfter) {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), size);
        listen(m_socket, 4);
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    ~Listener() {
        m_stop = true;
        closesocket(m_socket);
        m_thread.join();
        WSACleanup();
    }

    std::string name() const { return "tcp://127.0.0.1:" + std::to_string(m_port); }
    int connections() const { return m_connections; }

    // Waits up to 3 s for count bytes, then gives and forgets what arrived.
    Bytes take(std::size_t count) {
        for (int i = 0; i < 300 && size() < count; ++i)
            Sleep(10);
        std::lock_guard lock(m_mutex);
        Bytes out;
        out.swap(m_bytes);
        return out;
    }

private:
    std::size_t size() {
        std::lock_guard lock(m_mutex);
        return m_bytes.size();
    }

    // True once s has input (or has ended); false when the printer is being
    // put away, which does not wait for the DLL to let go of its connection.
    bool waitForInput(SOCKET s) const {
        while (!m_stop) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(s, &readable);
            timeval limit{0, 50 * 1000};
            if (select(0, &readable, nullptr, nullptr, &limit) != 0)
                return true;
        }
        return false;
    }

    void serve() {
        while (!m_stop) {
            SOCKET s = accept(m_socket, nullptr, nullptr);
            if (s == INVALID_SOCKET)
                return;
            ++m_connections;
            std::size_t received = 0;
            char buffer[4096];
            int n = 0;
            while (waitForInput(s) && (n = recv(s, buffer, sizeof buffer, 0)) > 0) {
                {
                    std::lock_guard lock(m_mutex);
                    m_bytes.insert(m_bytes.end(), buffer, buffer + n);
                }
                received += static_cast<std::size_t>(n);
                if (m_hangUpAfter != 0 && received >= m_hangUpAfter)
                    break;
            }
            closesocket(s);
        }
    }

    std::size_t m_hangUpAfter;
    SOCKET m_socket = INVALID_SOCKET;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_connections = 0;
    std::mutex m_mutex;
    Bytes m_bytes;
    std::thread m_thread;
};

// qv.ini in the DLL's folder (the test program's own) for one test.
class DllNetwork : public ::testing::Test {
protected:
    void TearDown() override {
        QVClosePort(5);
        DeleteFileA(iniPath().c_str());
    }

    static std::string iniPath() {
        char self[MAX_PATH] = {};
        DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string path(self, n);
        return path.substr(0, path.find_last_of("\\/") + 1) + "qv.ini";
    }

    static void writeIni(const std::string& ports) {
        FILE* f = std::fopen(iniPath().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(("[Ports]\r\n" + ports).c_str(), f);
        std::fclose(f);
    }
};

TEST_F(DllNetwork, EveryFamilysCommandsReachThePrinterNamedInQvIni) {
    Listener printer;
    writeIni("COM5=" + printer.name() + "\r\n");
    ASSERT_EQ(QVOpenPort(5, "9600,N,8,1"), 1) << WinErrCode();
    for (const auto& [family, cases] : kEveryFamilysCommands) {
        for (const CommandCase& c : cases) {
            SCOPED_TRACE(testing::Message() << family << ": " << c.name);
            EXPECT_EQ(c.call(5), c.result);
            const Bytes expected = joinedSends(c);
            EXPECT_EQ(hexText(printer.take(expected.size())), hexText(expected));
        }
    }
    EXPECT_EQ(printer.connections(), 1);
}

TEST_F(DllNetwork, APrinterHangingUpFailsTheWriteAndTheNextOpenReconnects) {
    Listener printer(100);
    writeIni("COM5=" + printer.name() + "\r\n");
    ASSERT_EQ(QVOpenPort(5, ""), 1);
    const std::string line(50, 'x');
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(QVSendStr(5, line.c_str()), 50);
    Sleep(300); // the printer hangs up after the first 100 bytes
    int writes = 0;
    for (; writes < 2000; ++writes) {
        if (QVSendStr(5, line.c_str()) < static_cast<int32_t>(line.size()))
            break;
        Sleep(1);
    }
    EXPECT_LT(writes, 2000) << "writes to a printer that hung up went on succeeding";
    EXPECT_NE(WinErrCode(), 0);
    printer.take(100);
    ASSERT_EQ(QVClosePort(5), 1);
    ASSERT_EQ(QVOpenPort(5, ""), 1);
    EXPECT_EQ(QVSendStr(5, "again"), 5);
    EXPECT_EQ(hexText(printer.take(5)), "616761696E");
}

TEST_F(DllNetwork, APrinterThatIsNotThereFailsTheOpen) {
    std::string name;
    {
        Listener gone;
        name = gone.name();
    }
    writeIni("COM5=" + name + "\r\n");
    EXPECT_EQ(QVOpenPort(5, ""), 0);
    EXPECT_EQ(WinErrCode(), WSAECONNREFUSED);
    writeIni("COM5=tcp://127.0.0.1:0\r\n");
    EXPECT_EQ(QVOpenPort(5, ""), 0);
    EXPECT_EQ(WinErrCode(), 87); // ERROR_INVALID_PARAMETER
}

} // namespace
} // namespace qv::test
