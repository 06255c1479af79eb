// Rates without a termios speed code of their own (14400, 56000, 128000,
// 256000, ...) set on a real pseudo-terminal and read back through termios2,
// together with the rest of the line. This file uses the kernel's termios2
// header, which cannot be included beside <termios.h>.

#include "pty_fixture.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace qv::test {
namespace {

class PtyCustomRate : public PtyOnCom2 {
protected:
    // The slave's settings, as the master reports them.
    termios2 slaveSettings() {
        termios2 t{};
        EXPECT_EQ(ioctl(master, TCGETS2, &t), 0);
        return t;
    }
};

TEST_F(PtyCustomRate, AnyRateIsSetWithTheRestOfTheLine) {
    struct Case {
        const char* settings;
        std::uint32_t rate;
        bool twoStopBits;
    };
    const Case cases[] = {
        {"14400,N,8,2", 14400, true},       {"56000,N,8,1", 56000, false},
        {"128000,N,8,2", 128000, true},     {"256000,N,8,1", 256000, false},
        {"baud=31250 stop=2", 31250, true}, {"9600,N,8,2", 9600, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        ASSERT_EQ(QVOpenPort(2, c.settings), 1);
        termios2 t = slaveSettings();
        EXPECT_EQ(t.c_ospeed, c.rate);
        EXPECT_EQ(t.c_ispeed, c.rate);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStopBits);
        ASSERT_EQ(QVClosePort(2), 1);
    }
}

TEST_F(PtyCustomRate, AReopenedLineKeepsItsCustomRate) {
    // The long form names only the stop bits, so the rest comes from the line
    // as the open finds it.
    ASSERT_EQ(QVOpenPort(2, "56000,N,8,2"), 1);
    ASSERT_EQ(QVClosePort(2), 1);
    ASSERT_EQ(QVOpenPort(2, "stop=1"), 1);
    termios2 t = slaveSettings();
    EXPECT_EQ(t.c_ospeed, 56000U);
    EXPECT_EQ(t.c_cflag & CSTOPB, 0U);
}

} // namespace
} // namespace qv::test
