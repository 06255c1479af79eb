// Opening and closing ports by number, the named device on slot 13, and the
// port number recorded as CurPort.

#include "qv_fixture.h"

#include <cerrno>

namespace qv::test {
namespace {

using Kind = platform::FakeEvent::Kind;
using platform::LineControl;
using platform::OpenMode;

using OpenClose = FakeQv;

TEST_F(OpenClose, SerialOpenConfiguresLineThenReadsAndQueues) {
    com(3).line.BaudRate = 1200;
    EXPECT_EQ(QVOpenPort(3, "19200,E,7,2"), 1);

    EXPECT_EQ(com(3).lastMode, OpenMode::Serial);
    EXPECT_EQ(kinds(com(3)), (std::vector{Kind::SetLine, Kind::ReadsAtOnce, Kind::QueueSizes}));
    EXPECT_EQ(com(3).events[2].value, 1024U);
    const platform::LineState line = com(3).lineWrites().at(0);
    EXPECT_EQ(line.BaudRate, 19200U);
    EXPECT_EQ(line.Parity, platform::ParityMode::Even);
    EXPECT_EQ(line.ByteSize, 7);
    EXPECT_EQ(line.StopBits, platform::StopBitsMode::Two);
    EXPECT_EQ(state().CurPort, 3);
    EXPECT_GT(fake.now(), 50U); // the line settles before the port is used
}

TEST_F(OpenClose, OpeningAnOpenPortChangesNothing) {
    ASSERT_EQ(QVOpenPort(3, "9600,N,8,1"), 1);
    ASSERT_EQ(QVOpenPort(5, ""), 1);
    std::size_t eventsBefore = com(3).events.size();

    EXPECT_EQ(QVOpenPort(3, "4800,N,8,1"), 1);
    EXPECT_EQ(com(3).events.size(), eventsBefore);
    EXPECT_EQ(com(3).opens, 1);
    EXPECT_EQ(state().CurPort, 5);
}

TEST_F(OpenClose, SettingsNotStartingAboveSlashLeaveTheLineAsItWas) {
    for (const char* settings :
         {static_cast<const char*>(nullptr), "", " 9600,N,8,1", ",N,8,1", "/9600", "!"}) {
        SCOPED_TRACE(settings == nullptr ? "(null)" : settings);
        state() = State{};
        fake.device(comPath(3)) = platform::FakeDevice{};
        EXPECT_EQ(QVOpenPort(3, settings), 1);
        EXPECT_EQ(kinds(com(3)), (std::vector{Kind::ReadsAtOnce, Kind::QueueSizes}));
        EXPECT_EQ(QVClosePort(3), 1);
    }
}

TEST_F(OpenClose, UnparsableSettingsWriteTheLineUnchanged) {
    com(1).line.BaudRate = 4800;
    EXPECT_EQ(QVOpenPort(1, "9600,Q,8,1"), 1);
    ASSERT_EQ(com(1).lineWrites().size(), 1U);
    EXPECT_EQ(com(1).lineWrites()[0].BaudRate, 4800U);
}

TEST_F(OpenClose, RefusedSettingsAreReportedAsInvalid) {
    // The open still succeeds, but WinErrCode tells the caller why the line
    // kept its old settings; a string that is understood leaves it alone.
    struct Case {
        const char* settings;
        std::uint32_t error;
    };
    const Case cases[] = {{"9600,X,9,3", EINVAL}, {"abc", EINVAL},     {"baud=fast", EINVAL},
                          {"96,e,7", EINVAL}, // the short form names all four
                          {"9600,N,8,1", 0},      {"COM1:96,e,7,1", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        fake.setLastError(0);
        com(1) = platform::FakeDevice{};
        com(1).line.BaudRate = 4800;
        EXPECT_EQ(QVOpenPort(1, c.settings), 1);
        EXPECT_EQ(static_cast<std::uint32_t>(WinErrCode()), c.error);
        ASSERT_EQ(com(1).lineWrites().size(), 1U);
        EXPECT_EQ(com(1).lineWrites()[0].BaudRate == 4800U, c.error != 0);
        EXPECT_EQ(QVClosePort(1), 1);
    }
}

TEST_F(OpenClose, UnreadableLineStateSkipsConfigurationButOpens) {
    com(2).hasLineState = false;
    EXPECT_EQ(QVOpenPort(2, "9600,N,8,1"), 1);
    EXPECT_EQ(kinds(com(2)), (std::vector{Kind::ReadsAtOnce, Kind::QueueSizes}));
}

TEST_F(OpenClose, DtrFlagForcesDtrAndRtsOn) {
    struct Case {
        int flag;
        LineControl expected;
    };
    for (Case c : {Case{0, LineControl::Disable}, Case{1, LineControl::Enable}}) {
        SCOPED_TRACE(c.flag);
        state() = State{};
        fake.device(comPath(1)) = platform::FakeDevice{};
        EXPECT_EQ(QVDtrOn(c.flag), c.flag);
        ASSERT_EQ(QVOpenPort(1, "baud=9600 dtr=off rts=off"), 1);
        EXPECT_EQ(com(1).line.fDtrControl, c.expected);
        EXPECT_EQ(com(1).line.fRtsControl, c.expected);
        QVClosePort(1);
    }
}

TEST_F(OpenClose, PortsWithoutDeviceOpenNothingAndSendNothing) {
    struct Case {
        int port;
        int result;
    };
    for (Case c : {Case{0, 0}, Case{-1, 1}, Case{14, 1}, Case{20, 1}}) {
        SCOPED_TRACE(c.port);
        EXPECT_EQ(QVOpenPort(c.port, "9600,N,8,1"), c.result);
        EXPECT_EQ(state().CurPort, c.port);
        EXPECT_EQ(QVSendPort(c.port, "AB", 2), 0);
        EXPECT_EQ(QVSendStr(c.port, "AB"), 0);
        EXPECT_EQ(QVSendByte(c.port, 'A'), 0);
        EXPECT_EQ(QVClosePort(c.port), 0);
    }
    EXPECT_EQ(fake.openAttempts(), 0);
}

TEST_F(OpenClose, MissingDeviceFailsAndIsTriedAgain) {
    com(4).present = false;
    EXPECT_EQ(QVOpenPort(4, "9600,N,8,1"), 0);
    EXPECT_EQ(slotHandle(4), platform::kNoHandle);
    EXPECT_EQ(state().CurPort, 4);
    EXPECT_EQ(QVOpenPort(4, "9600,N,8,1"), 0);
    EXPECT_EQ(fake.openAttempts(comPath(4)), 2);

    com(4).present = true;
    EXPECT_EQ(QVOpenPort(4, "9600,N,8,1"), 1);
}

TEST_F(OpenClose, ParallelPortOpensWriteOnlyWhenReady) {
    EXPECT_EQ(QVOpenPort(10, "9600,N,8,1"), 1);
    EXPECT_EQ(lpt(1).lastMode, OpenMode::Device);
    EXPECT_TRUE(lpt(1).isOpen);
    EXPECT_TRUE(lpt(1).lineWrites().empty());
    EXPECT_EQ(state().CurPort, 10);
}

TEST_F(OpenClose, ParallelPortNotReadyIsNotOpened) {
    lpt(2).printer = biosStatus(0x10); // busy
    EXPECT_EQ(QVOpenPort(11, ""), 0);
    EXPECT_FALSE(lpt(2).isOpen);
    EXPECT_EQ(slotHandle(11), platform::kNoHandle);
    EXPECT_EQ(state().CurPort, 1);
}

TEST_F(OpenClose, Slot13IsSharedByLpt4AndTheNamedDevice) {
    const std::string named = "/dev/usb/lp0";
    ASSERT_EQ(QVOpenPort(13, ""), 1);
    EXPECT_EQ(QVOpenPort13(named.c_str()), 9);
    EXPECT_EQ(fake.openAttempts(named), 0);

    EXPECT_EQ(QVClosePort13(), 1);
    EXPECT_FALSE(lpt(4).isOpen);
    EXPECT_EQ(QVOpenPort13(named.c_str()), 1);
    EXPECT_EQ(fake.device(named).lastMode, OpenMode::Device);
    EXPECT_EQ(state().CurPort, 13); // the named open leaves CurPort alone

    lpt(4).opens = 0;
    EXPECT_EQ(QVOpenPort(13, ""), 1); // the slot is in use
    EXPECT_EQ(lpt(4).opens, 0);
    EXPECT_EQ(QVClosePort(13), 1);
    EXPECT_FALSE(fake.device(named).isOpen);
}

TEST_F(OpenClose, NamedDeviceThatCannotOpenLeavesSlotEmpty) {
    fake.device("/dev/nothing").present = false;
    EXPECT_EQ(QVOpenPort13("/dev/nothing"), 0);
    EXPECT_EQ(QVOpenPort13(nullptr), 0);
    EXPECT_EQ(slotHandle(13), platform::kNoHandle);
    EXPECT_EQ(QVClosePort13(), 0);
}

TEST_F(OpenClose, CloseGivesOneOnlyForAnOpenSlot) {
    ASSERT_EQ(QVOpenPort(6, ""), 1);
    EXPECT_EQ(QVClosePort(6), 1);
    EXPECT_FALSE(com(6).isOpen);
    fake.setLastError(0);
    EXPECT_EQ(QVClosePort(6), 0);
    EXPECT_EQ(WinErrCode(), EBADF);  // as closing no descriptor would
    EXPECT_EQ(QVOpenPort(6, ""), 1); // a closed port opens again
    EXPECT_EQ(com(6).opens, 2);
}

} // namespace
} // namespace qv::test
