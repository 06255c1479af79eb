// Two threads driving two devices at once (a receipt printer on COM1, a
// customer display on COM2), as a POS program with a printer thread and a
// display thread does. Each call names its own port, so neither thread may
// see the other's bytes, lose its own, or race on the library's state; the
// ThreadSanitizer build (tests tsan.*) reports any data race as a failure.

#include "pty_fixture.h"
#include "qv_fixture.h"

#include <barrier>
#include <filesystem>
#include <thread>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kRounds = 200;

class TwoThreads : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        // The devices exist before the threads start, as the fake requires.
        com(1);
        com(2);
    }

    // One thread's work on its port: open, send, read the device's answer,
    // close, kRounds times. Gives the bytes it read back.
    static Bytes drive(int port, const char* text, std::uint8_t byte) {
        Bytes read;
        for (int i = 0; i < kRounds; ++i) {
            if (QVOpenPort(port, "9600,N,8,1") != 1)
                return read;
            QVSendStr(port, text);
            QVSendByte(port, byte);
            QVSendPort(port, text, 1);
            for (std::int32_t b; (b = QVReadByte(port)) >= 0;)
                read.push_back(static_cast<std::uint8_t>(b));
            QVClosePort(port);
        }
        return read;
    }

    // The device answers each single byte with that byte + 1.
    static void echoPlusOne(platform::FakeDevice& dev) {
        dev.onWrite = [](platform::FakeDevice& d, std::span<const std::uint8_t> bytes) {
            if (bytes.size() == 1)
                d.input.push_back(static_cast<std::uint8_t>(bytes[0] + 1));
        };
    }
};

Bytes repeated(const Bytes& once, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), once.begin(), once.end());
    return out;
}

TEST_F(TwoThreads, CallsOnDifferentPortsKeepTheirOwnBytes) {
    echoPlusOne(com(1));
    echoPlusOne(com(2));
    Bytes printerRead, displayRead;
    std::thread printer([&] { printerRead = drive(1, "PRN", 0x0A); });
    std::thread display([&] { displayRead = drive(2, "VFD", 0x0C); });
    printer.join();
    display.join();

    EXPECT_EQ(com(1).written(), repeated({'P', 'R', 'N', 0x0A, 'P'}, kRounds));
    EXPECT_EQ(com(2).written(), repeated({'V', 'F', 'D', 0x0C, 'V'}, kRounds));
    // Each round reads the answers to its byte and to the one-byte send.
    EXPECT_EQ(printerRead, repeated({0x0B, 'Q'}, kRounds));
    EXPECT_EQ(displayRead, repeated({0x0D, 'W'}, kRounds));
    EXPECT_EQ(com(1).opens, kRounds);
    EXPECT_EQ(com(2).closes, kRounds);
    EXPECT_FALSE(com(1).isOpen || com(2).isOpen);
    // Every byte entered the checksum exactly once: each round's bytes XOR
    // to a fixed value, and an even number of rounds cancels out.
    EXPECT_EQ(state().SendChk, 0);
}

TEST_F(TwoThreads, OpensAndClosesOfOtherPortsDoNotDisturbAnOpenPort) {
    // One thread keeps COM1 open and sends; the other opens and closes COM2
    // (taking and giving back handle entries) all the while.
    ASSERT_EQ(QVOpenPort(1, ""), 1);
    std::thread other([] {
        for (int i = 0; i < kRounds; ++i) {
            QVOpenPort(2, "19200,E,7,1");
            QVClosePort(2);
        }
    });
    int written = 0;
    for (int i = 0; i < kRounds; ++i)
        written += QVSendPort(1, "ab", 2);
    other.join();
    EXPECT_EQ(written, 2 * kRounds);
    EXPECT_EQ(com(1).written(), repeated({'a', 'b'}, kRounds));
    EXPECT_EQ(com(2).opens, kRounds);
    EXPECT_EQ(com(2).lineWrites().back().BaudRate, 19200U);
    EXPECT_EQ(QVClosePort(1), 1);
}

TEST_F(TwoThreads, StatusQueriesAndParallelPortsFromTwoThreads) {
    // A printer on LPT1 and one on LPT2, each thread asking its serial port's
    // modem lines and queues and its printer's readiness before each send.
    // The status buffer and the queue record are shared by design; what each
    // call returns is its own port's.
    com(1).modem = platform::kCtsOn;
    com(2).modem = platform::kDsrOn;
    lpt(1);
    lpt(2);
    auto work = [](int serial, int parallel, std::int32_t modem, int* failures) {
        if (QVOpenPort(serial, "") != 1 || QVOpenPort(parallel, "") != 1) {
            ++*failures;
            return;
        }
        for (int i = 0; i < kRounds; ++i) {
            *failures += GetComSta(serial) == modem ? 0 : 1;
            *failures += GetComErr(serial, 1) >= 0 ? 0 : 1;
            *failures += QVSendPort(parallel, "x", 1) == 1 ? 0 : 1;
            *failures += WinVersion(4) == 1 ? 0 : 1;
        }
        QVClosePort(parallel);
        QVClosePort(serial);
    };
    int failures1 = 0, failures2 = 0;
    std::thread first(work, 1, 10, platform::kCtsOn, &failures1);
    std::thread second(work, 2, 11, platform::kDsrOn, &failures2);
    first.join();
    second.join();
    EXPECT_EQ(failures1, 0);
    EXPECT_EQ(failures2, 0);
    EXPECT_EQ(lpt(1).written(), Bytes(kRounds, 'x'));
    EXPECT_EQ(lpt(2).written(), Bytes(kRounds, 'x'));
}

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

using TwoThreadsOnAPty = PtyOnCom2;

TEST_F(TwoThreadsOnAPty, BothOpeningOnePortOpenItOnce) {
    // Round after round both threads open COM2 at the same moment: the device
    // is opened once, both are told the port is open, nothing is left open
    // behind the slot's back, and the port closes and opens again each round.
    constexpr int kOpenRounds = 100;
    const std::size_t before = openDescriptors();
    std::barrier sync(2);
    std::vector<int32_t> results[2];
    std::vector<int32_t> closes;
    auto opener = [&](int self) {
        for (int i = 0; i < kOpenRounds; ++i) {
            sync.arrive_and_wait();
            results[self].push_back(QVOpenPort(2, "9600,N,8,1"));
            sync.arrive_and_wait();
            if (self == 0)
                closes.push_back(QVClosePort(2));
            sync.arrive_and_wait();
        }
    };
    std::thread other(opener, 1);
    opener(0);
    other.join();

    EXPECT_EQ(results[0], std::vector<int32_t>(kOpenRounds, 1));
    EXPECT_EQ(results[1], std::vector<int32_t>(kOpenRounds, 1));
    EXPECT_EQ(closes, std::vector<int32_t>(kOpenRounds, 1));
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(QVOpenPort(2, ""), 1);
    EXPECT_EQ(QVSendStr(2, "ok"), 2);
    EXPECT_EQ(QVClosePort(2), 1);
    EXPECT_EQ(QVClosePort(2), 0);
}

} // namespace
} // namespace qv::test
