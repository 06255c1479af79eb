// The line state written into termios settings and read back from them.

#include "posix_termios.h"

#include <gtest/gtest.h>

namespace qv::posix {
namespace {

using platform::LineControl;
using platform::LineState;
using platform::ParityMode;
using platform::StopBitsMode;

termios cooked() {
    termios t{};
    t.c_iflag = ICRNL | IXON | IXANY | ISTRIP;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ECHO | ICANON | ISIG | IEXTEN;
    t.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    cfsetispeed(&t, B2400);
    cfsetospeed(&t, B2400);
    return t;
}

TEST(PosixTermios, RawModeKeepsTheLineSettings) {
    termios t = cooked();
    makeRaw(t);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0U);
    EXPECT_EQ(t.c_oflag & OPOST, 0U);
    EXPECT_EQ(t.c_iflag & (ICRNL | ISTRIP | IXANY), 0U);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
    EXPECT_EQ(t.c_iflag & IXON, static_cast<tcflag_t>(IXON));
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), CS7 | PARENB | CSTOPB | CRTSCTS);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
}

TEST(PosixTermios, LineStateBecomesTermiosFlags) {
    struct Case {
        const char* name;
        LineState line;
        speed_t speed;
        tcflag_t cflagBits; // of CSIZE, PARENB, PARODD, CMSPAR, CSTOPB, CRTSCTS
        tcflag_t iflagBits; // of IXON, IXOFF
    };
    auto make = [](std::uint32_t baud, std::uint8_t size, ParityMode parity, StopBitsMode stop) {
        LineState l;
        l.BaudRate = baud;
        l.ByteSize = size;
        l.Parity = parity;
        l.StopBits = stop;
        return l;
    };
    LineState xon = make(9600, 8, ParityMode::None, StopBitsMode::One);
    xon.fOutX = xon.fInX = true;
    LineState outOnly = xon;
    outOnly.fInX = false;
    LineState cts = make(115200, 8, ParityMode::None, StopBitsMode::One);
    cts.fOutxCtsFlow = true;
    LineState rtsHs = make(57600, 8, ParityMode::None, StopBitsMode::One);
    rtsHs.fRtsControl = LineControl::Handshake;

    const Case cases[] = {
        {"9600 8N1", make(9600, 8, ParityMode::None, StopBitsMode::One), B9600, CS8, 0},
        {"19200 7E2", make(19200, 7, ParityMode::Even, StopBitsMode::Two), B19200,
         CS7 | PARENB | CSTOPB, 0},
        {"1200 7O1", make(1200, 7, ParityMode::Odd, StopBitsMode::One), B1200,
         CS7 | PARENB | PARODD, 0},
        {"mark", make(4800, 8, ParityMode::Mark, StopBitsMode::One), B4800,
         CS8 | PARENB | PARODD | CMSPAR, 0},
        {"space", make(4800, 8, ParityMode::Space, StopBitsMode::One), B4800, CS8 | PARENB | CMSPAR,
         0},
        {"5 bits 1.5 stop", make(110, 5, ParityMode::None, StopBitsMode::OnePointFive), B110,
         CS5 | CSTOPB, 0},
        {"xon/xoff", xon, B9600, CS8, IXON | IXOFF},
        {"xon out only", outOnly, B9600, CS8, IXON},
        {"cts flow", cts, B115200, CS8 | CRTSCTS, 0},
        {"rts handshake", rtsHs, B57600, CS8 | CRTSCTS, 0},
    };
    const tcflag_t cMask = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        termios t = cooked();
        ASSERT_TRUE(applyLineState(t, c.line));
        EXPECT_EQ(cfgetospeed(&t), c.speed);
        EXPECT_EQ(cfgetispeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & cMask, c.cflagBits);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), c.iflagBits);

        LineState back = lineStateFromTermios(t);
        EXPECT_EQ(back.BaudRate, c.line.BaudRate);
        EXPECT_EQ(back.ByteSize, c.line.ByteSize);
        EXPECT_EQ(back.Parity, c.line.Parity);
        EXPECT_EQ(back.fOutX, c.line.fOutX);
        EXPECT_EQ(back.fInX, c.line.fInX);
    }
}

TEST(PosixTermios, RatesWithoutASpeedCodeAreLeftForTheCustomRate) {
    // The rest of the line is still applied; the rate goes through termios2.
    LineState line;
    line.StopBits = StopBitsMode::One;
    line.Parity = ParityMode::None;
    for (std::uint32_t baud : {14400U, 56000U, 128000U, 256000U, 12345U, 4000001U}) {
        SCOPED_TRACE(baud);
        line.BaudRate = baud;
        termios t = cooked();
        EXPECT_FALSE(hasSpeedCode(baud));
        EXPECT_TRUE(applyLineState(t, line));
        EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    }
    EXPECT_TRUE(hasSpeedCode(9600));
    EXPECT_TRUE(hasSpeedCode(115200));
}

TEST(PosixTermios, SizesTermiosCannotCarryAreRefused) {
    LineState line;
    for (std::uint8_t size : {0, 4, 9}) {
        line.ByteSize = size;
        termios t = cooked();
        EXPECT_FALSE(applyLineState(t, line)) << int{size};
        EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    }
}

} // namespace
} // namespace qv::posix
