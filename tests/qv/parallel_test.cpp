// Parallel printer status (QVIsLpt), single-byte printing (QVI17) and the
// conversion of the lp drivers' status into the BIOS layout.

#include "posix_printer.h"
#include "qv_fixture.h"

#include <climits>

namespace qv::test {
namespace {

using platform::PrinterStatus;

TEST(LpStatus, DriverStatusBecomesBiosLayout) {
    struct Case {
        const char* name;
        int raw;
        bool usb;
        std::uint8_t bios;
    };
    const Case cases[] = {
        {"ready", 0xD8, false, 0x90},
        {"busy", 0x58, false, 0x10},
        {"out of paper", 0xF8, false, 0xB0},
        {"not selected", 0xC8, false, 0x80},
        {"error line low", 0xD0, false, 0x98},
        {"acknowledge pulse", 0x98, false, 0xD0},
        {"low bits ignored", 0xDF, false, 0x90},
        {"usb ready", 0x18, true, 0x90},
        {"usb out of paper", 0x38, true, 0xB0},
        {"usb error", 0x10, true, 0x98},
        {"usb not selected", 0x08, true, 0x80},
    };
    for (const Case& c : cases)
        EXPECT_EQ(posix::biosStatusFromLp(c.raw, c.usb), c.bios) << c.name;
}

using Parallel = FakeQv;

TEST_F(Parallel, PortNumbersOneToFourAndTenToThirteenNameLpt1ToLpt4) {
    for (int n : {1, 2, 3, 4, 10, 11, 12, 13}) {
        int lptNumber = n <= 9 ? n : n - 9;
        SCOPED_TRACE(n);
        lpt(lptNumber).printerReads = 0;
        lpt(lptNumber).printer = biosStatus(0x90);
        EXPECT_EQ(QVIsLpt(n), 0x90);
        EXPECT_EQ(lpt(lptNumber).printerReads, 1);
        EXPECT_FALSE(lpt(lptNumber).isOpen); // the probe handle is closed again
    }
}

TEST_F(Parallel, NumbersNamingNoParallelPortReachNoDevice) {
    // Checked before any arithmetic: INT_MIN - 1 would overflow (UBSan).
    for (int n : {INT_MIN, INT_MIN + 9, -1, 0, 5, 9, 14, INT_MAX}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(QVIsLpt(n), 0x01);
        EXPECT_EQ(QVI17(n, 'A'), 0x01);
    }
    EXPECT_EQ(fake.openAttempts(), 0);
}

TEST_F(Parallel, StatusIsReadUpToNineTimesUntilReady) {
    lpt(1).printerSequence = {biosStatus(0x10), biosStatus(0x10), biosStatus(0x90)};
    EXPECT_EQ(QVIsLpt(1), 0x90);
    EXPECT_EQ(lpt(1).printerReads, 3);

    lpt(1).printerReads = 0;
    for (std::uint8_t s = 0x11; s <= 0x1A; ++s)
        lpt(1).printerSequence.push_back(biosStatus(s));
    EXPECT_EQ(QVIsLpt(1), 0x19); // the ninth reading
    EXPECT_EQ(lpt(1).printerReads, 9);
}

TEST_F(Parallel, DevicesWithoutStatusCountAsReadyAndUnreachableOnesAsTimedOut) {
    lpt(1).printer = {PrinterStatus::Kind::NoStatus, 0};
    lpt(2).printer = {PrinterStatus::Kind::Failed, 0};
    lpt(3).present = false;
    EXPECT_EQ(QVIsLpt(1), 0x90);
    EXPECT_EQ(QVIsLpt(2), 0x01);
    EXPECT_EQ(QVIsLpt(3), 0x01);
    EXPECT_EQ(fake.openAttempts(lptPath(3)), 9);
    EXPECT_EQ(QVIsLpt(5), 0x01); // no fifth printer
    EXPECT_EQ(QVIsLpt(0), 0x01);
}

TEST_F(Parallel, AnOpenPortIsAskedThroughItsOwnHandle) {
    ASSERT_EQ(QVOpenPort(12, ""), 1);
    int opens = lpt(3).opens;
    lpt(3).printer = biosStatus(0x30);
    EXPECT_EQ(QVIsLpt(3), 0x30);
    EXPECT_EQ(lpt(3).opens, opens);
    EXPECT_TRUE(lpt(3).isOpen);
}

TEST_F(Parallel, PlatformWithoutPrinterServiceIsAlwaysReady) {
    fake.setVersion({5, 1, 2600, 2, ""});
    lpt(1).printer = biosStatus(0x10);
    EXPECT_EQ(QVIsLpt(1), 0x90);
    EXPECT_EQ(QVI17(1, 'A'), 0);
    EXPECT_EQ(fake.openAttempts(), 0);
}

TEST_F(Parallel, PrintCharacterWritesTheByteAndGivesTheStatus) {
    lpt(2).printer = biosStatus(0xD0);
    EXPECT_EQ(QVI17(11, 0x141), 0xD0);
    EXPECT_EQ(lpt(2).written(), (std::vector<std::uint8_t>{0x41}));
    EXPECT_EQ(state().SendChk, 0);

    lpt(2).writeLimit = 0;
    lpt(2).printer = biosStatus(0x10);
    EXPECT_EQ(QVI17(2, 'B'), 0x11); // not written: time-out bit

    lpt(4).present = false;
    EXPECT_EQ(QVI17(4, 'C'), 0x01);
}

} // namespace
} // namespace qv::test
