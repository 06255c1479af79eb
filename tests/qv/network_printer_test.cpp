// Receipt printers on the network: a port mapped to tcp://HOST:PORT sends
// every family's commands over a TCP connection byte for byte as it does
// over a serial line, reads the printer's answers from the same connection,
// and meets a printer that goes away, stops reading or is not there with
// failed opens and writes, never a signal or a hang.

#include "every_family_cases.h"
#include "network_printer.h"
#include "qv_fixture.h"
#include "tcp_printer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <span>
#include <thread>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(NetworkPrinterName, AddressesAreReadFromTheName) {
    struct Case {
        const char* name;
        const char* host; // nullptr: not a network address
        const char* service;
    };
    const Case cases[] = {
        {"tcp://192.0.2.10:9100", "192.0.2.10", "9100"},
        {"tcp://printer.shop.lan:9100/", "printer.shop.lan", "9100"},
        {"tcp://[::1]:9101", "::1", "9101"},
        {"tcp://127.0.0.1:65535", "127.0.0.1", "65535"},
        {"tcp://127.0.0.1", nullptr, nullptr},
        {"tcp://127.0.0.1:0", nullptr, nullptr},
        {"tcp://127.0.0.1:65536", nullptr, nullptr},
        {"tcp://127.0.0.1:91x0", nullptr, nullptr},
        {"tcp://:9100", nullptr, nullptr},
        {"tcp://::1:9100", nullptr, nullptr},
        {"tcp://[::1]9100", nullptr, nullptr},
        {"/dev/ttyS2", nullptr, nullptr},
        {"udp://192.0.2.10:9100", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto address = networkAddress(c.name);
        ASSERT_EQ(address.has_value(), c.host != nullptr);
        if (address) {
            EXPECT_EQ(address->host, c.host);
            EXPECT_EQ(address->service, c.service);
        }
    }
}

class NetworkPrinter : public OnPlatformBackend {
protected:
    void SetUp() override {
        OnPlatformBackend::SetUp();
        ASSERT_EQ(signal(SIGPIPE, SIG_DFL), SIG_DFL);
    }

    static void mapCom3(const TcpPrinter& printer) { setenv("QV_COM3", printer.name().c_str(), 1); }
};

TEST_F(NetworkPrinter, EveryFamilysCommandsArriveByteForByte) {
    TcpPrinter printer;
    mapCom3(printer);
    ASSERT_EQ(QVOpenPort(3, "9600,N,8,1"), 1) << WinErrCode();
    for (const auto& [family, cases] : kEveryFamilysCommands) {
        for (const CommandCase& c : cases) {
            SCOPED_TRACE(testing::Message() << family << ": " << c.name);
            EXPECT_EQ(c.call(3), c.result);
            const Bytes expected = joinedSends(c);
            EXPECT_EQ(printer.take(expected.size()), expected);
        }
    }
    EXPECT_EQ(printer.connections(), 1);
}

TEST_F(NetworkPrinter, StatusAnswersAreReadFromTheConnection) {
    TcpPrinter printer({hex("1B 76"), {0x12}});
    mapCom3(printer);
    ASSERT_EQ(QVOpenPort(3, ""), 1);
    EXPECT_EQ(QV9Sta(3), 0x12);
    EXPECT_EQ(printer.take(2), hex("1B 76"));
    EXPECT_EQ(QVReadByte(3), -1) << "nothing more is waiting";
}

TEST_F(NetworkPrinter, APrinterGoingAwayMidReceiptFailsTheWriteAndReconnects) {
    // The printer takes the first 100 bytes of a receipt, then hangs up.
    TcpPrinter printer({{}, {}, 100});
    mapCom3(printer);
    ASSERT_EQ(QVOpenPort(3, ""), 1);
    const std::string line(50, 'x');
    int32_t sent = 0;
    for (int i = 0; i < 3; ++i)
        sent += QVSendStr(3, line.c_str());
    ASSERT_EQ(sent, 150);
    for (int i = 0; i < 300 && printer.hangUps() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(printer.hangUps(), 1);
    // The rest of the receipt: the first write after the hang-up may still
    // be taken by the connection, the next ones fail.
    int writes = 0;
    for (; writes < 2000; ++writes) {
        int32_t n = QVSendStr(3, line.c_str());
        sent += n;
        if (n < static_cast<int32_t>(line.size()))
            break;
    }
    EXPECT_LT(writes, 2000) << "writes to a printer that hung up went on succeeding";
    const int32_t error = WinErrCode();
    EXPECT_TRUE(error == EPIPE || error == ECONNRESET) << error;
    EXPECT_EQ(QVSendStr(3, "more"), 0);
    EXPECT_EQ(signal(SIGPIPE, SIG_DFL), SIG_DFL);
    (void)printer.take(100);

    // The next open connects afresh and the receipt can be printed again.
    EXPECT_EQ(QVClosePort(3), 1);
    ASSERT_EQ(QVOpenPort(3, ""), 1);
    EXPECT_EQ(QVSendStr(3, "again"), 5);
    EXPECT_EQ(printer.take(5), Bytes({'a', 'g', 'a', 'i', 'n'}));
    EXPECT_EQ(printer.connections(), 2);
}

TEST_F(NetworkPrinter, APrinterThatStopsReadingTimesTheWriteOut) {
    TcpPrinter printer({{}, {}, 0, true});
    mapCom3(printer);
    ASSERT_EQ(QVOpenPort(3, ""), 1);
    // Far more than the connection's buffers hold.
    const std::vector<std::uint8_t> receipt(64 << 20, 'x');
    const int32_t sent = QVSendPort(3, receipt.data(), static_cast<int32_t>(receipt.size()));
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, static_cast<int32_t>(receipt.size()));
    EXPECT_EQ(WinErrCode(), ETIMEDOUT);
}

TEST_F(NetworkPrinter, PrintersThatCannotBeReachedFailTheOpen) {
    std::uint16_t closedPort = 0;
    {
        TcpPrinter gone;
        closedPort = gone.port();
    }
    struct Case {
        std::string name;
        int32_t error;
    };
    const Case cases[] = {
        {"tcp://127.0.0.1:" + std::to_string(closedPort), ECONNREFUSED},
        {"tcp://127.0.0.1:0", EINVAL},
        {"tcp://127.0.0.1", EINVAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setenv("QV_COM3", c.name.c_str(), 1);
        EXPECT_EQ(QVOpenPort(3, ""), 0);
        EXPECT_EQ(WinErrCode(), c.error);
        EXPECT_EQ(QVSendStr(3, "x"), 0);
    }
}

TEST_F(NetworkPrinter, AParallelPortAndTheNamedDeviceCanBeNetworkPrintersToo) {
    TcpPrinter printer;
    setenv("QV_LPT2", printer.name().c_str(), 1);
    ASSERT_EQ(QVOpenPort(11, ""), 1);
    EXPECT_EQ(QVSendPort(11, "AB", 2), 2);
    EXPECT_EQ(printer.take(2), Bytes({'A', 'B'}));
    EXPECT_EQ(QVClosePort(11), 1);
    ASSERT_EQ(QVOpenPort13(printer.name().c_str()), 1);
    EXPECT_EQ(QVSendByte(13, 'C'), 1);
    EXPECT_EQ(printer.take(1), Bytes({'C'}));
    EXPECT_EQ(QVClosePort13(), 1);
}

} // namespace
} // namespace qv::test
