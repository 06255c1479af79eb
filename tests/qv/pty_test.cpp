// The POSIX backend on real pseudo-terminals: the slave side is the port
// (reached through a QV_COMn or QV_LPTn override), the test plays the device
// on the master side.

#include "pty_fixture.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class Pty : public PtyOnCom2 {
protected:
    // What the device receives: up to count bytes, giving up after 2 s of silence.
    Bytes readMaster(std::size_t count) {
        Bytes out;
        while (out.size() < count) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0)
                break;
            std::uint8_t buffer[64];
            ssize_t n = read(master, buffer, std::min(sizeof buffer, count - out.size()));
            if (n <= 0)
                break;
            out.insert(out.end(), buffer, buffer + n);
        }
        return out;
    }

    bool masterHasData() {
        pollfd p{master, POLLIN, 0};
        return poll(&p, 1, 0) > 0;
    }

    void writeMaster(const Bytes& bytes) {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // The terminal layer hands bytes on asynchronously; wait until the port
    // counts them (or 2 s have passed).
    bool waitForInput(int port, int count) {
        for (int i = 0; i < 2000; ++i) {
            if (GetComErr(port, 1) >= 0 && GetComErr(port, 9) >= count)
                return true;
            usleep(1000);
        }
        return false;
    }

    termios slaveSettings() {
        termios t{};
        EXPECT_EQ(tcgetattr(master, &t), 0); // the master reports the slave's settings
        return t;
    }
};

TEST_F(Pty, OpensThroughTheOverrideAndConfiguresARawLine) {
    // A pseudo-terminal keeps 8 data bits without parity whatever it is told,
    // so the speed and the stop bits show the settings arrived.
    ASSERT_EQ(QVOpenPort(2, "19200,E,7,2"), 1);
    termios t = slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(t.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON | ISIG), 0U);
    EXPECT_EQ(t.c_oflag & OPOST, 0U);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR), 0U);

    // Reopened with empty settings, the line keeps what it was given.
    ASSERT_EQ(QVClosePort(2), 1);
    ASSERT_EQ(QVOpenPort(2, ""), 1);
    t = slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    EXPECT_EQ(t.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
}

TEST_F(Pty, BytesPassUnchangedBothWays) {
    ASSERT_EQ(QVOpenPort(2, "9600,N,8,1"), 1);
    const Bytes out{'\r', '\n', 0x00, 0xFF, 0x1B, 0x03, 0x11, 0x13};
    EXPECT_EQ(QVSendPort(2, out.data(), static_cast<int32_t>(out.size())), 8);
    EXPECT_EQ(readMaster(out.size()), out);

    const Bytes in{'\r', '\n', 0x03, 0x7F, 0xFF, 0x11, 0x13, 0x04};
    writeMaster(in);
    ASSERT_TRUE(waitForInput(2, static_cast<int>(in.size())));
    Bytes got;
    for (std::int32_t b; (b = QVReadByte(2)) >= 0;)
        got.push_back(static_cast<std::uint8_t>(b));
    EXPECT_EQ(got, in);
    EXPECT_FALSE(masterHasData()); // nothing echoed back
}

TEST_F(Pty, ReadsReturnAtOnceWithWhatHasArrived) {
    ASSERT_EQ(QVOpenPort(2, "9600,N,8,1"), 1);
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(QVReadByte(2), -1);
    EXPECT_EQ(QVReadPort(2, buffer, 7), 0);

    writeMaster({'a', 'b', 'c'});
    ASSERT_TRUE(waitForInput(2, 3));
    EXPECT_EQ(QVReadStr(2, buffer), 3); // seven asked, three there
    EXPECT_EQ(std::string(buffer, 7), "abcxxxx");
}

TEST_F(Pty, InputCountAndPurge) {
    ASSERT_EQ(QVOpenPort(2, "9600,N,8,1"), 1);
    writeMaster({1, 2, 3, 4});
    ASSERT_TRUE(waitForInput(2, 4));
    EXPECT_EQ(GetComErr(2, 9), 4);
    EXPECT_EQ(GetComErr(2, 10), 0);
    EXPECT_EQ(QVPurgeComm(2), 1);
    EXPECT_EQ(GetComErr(2, 1), 0);
    EXPECT_EQ(GetComErr(2, 9), 0);
    EXPECT_EQ(QVReadByte(2), -1);
}

TEST_F(Pty, NoModemLinesMeansTheModemCallsFail) {
    QVDtrOn(1); // asks for DTR and RTS, which a pseudo-terminal does not have
    ASSERT_EQ(QVOpenPort(2, "9600,N,8,1"), 1);
    state().StaBuf.fill(0x55);
    EXPECT_EQ(GetComSta(2), -1);
    EXPECT_EQ(state().StaBuf, (std::array<std::uint8_t, kStaBufSize>{}));
    for (int function : {3, 4, 5, 6})
        EXPECT_EQ(SetComSta(2, function), 0) << function;
}

TEST_F(Pty, PortsAreExclusive) {
    ASSERT_EQ(QVOpenPort(2, ""), 1);
    EXPECT_EQ(QVOpenPort13(slave.c_str()), 0);
    ASSERT_EQ(QVClosePort(2), 1);
    EXPECT_EQ(QVOpenPort13(slave.c_str()), 1);
    EXPECT_EQ(QVSendStr(13, "ok"), 2);
    EXPECT_EQ(readMaster(2), (Bytes{'o', 'k'}));
}

TEST_F(Pty, MissingDeviceFailsWithItsErrorCode) {
    setenv("QV_COM3", "/nonexistent/tty", 1);
    EXPECT_EQ(QVOpenPort(3, "9600,N,8,1"), 0);
    EXPECT_EQ(WinErrCode(), ENOENT);
}

TEST_F(Pty, ParallelPortWithoutPrinterStatusIsWrittenLikeAPrinter) {
    unsetenv("QV_COM2");
    setenv("QV_LPT1", slave.c_str(), 1);
    EXPECT_EQ(QVIsLpt(1), 0x90);
    ASSERT_EQ(QVOpenPort(10, ""), 1);
    EXPECT_EQ(QVSendPort(10, "AB", 2), 2);
    EXPECT_EQ(QVSendByte(10, 'C'), 1);
    EXPECT_EQ(readMaster(3), (Bytes{'A', 'B', 'C'}));
    EXPECT_EQ(QVReadByte(10), -1); // parallel ports are write-only
}

} // namespace
} // namespace qv::test
