// The three sends: what reaches the device, what enters the running checksum
// SendChk, the printer readiness check and the automatic open and close.

#include "qv_fixture.h"

#include <functional>

namespace qv::test {
namespace {

using Kind = platform::FakeEvent::Kind;
using Bytes = std::vector<std::uint8_t>;

class Send : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        ASSERT_EQ(QVOpenPort(1, ""), 1);
        com(1).events.clear();
    }
};

TEST_F(Send, SendChkCountsBytesHandedToPortsWithASlot) {
    struct Case {
        const char* name;
        std::function<void()> send;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {"string to open port", [] { QVSendStr(1, "AB"); }, 0x41 ^ 0x42},
        {"bytes to open port", [] { QVSendPort(1, "\x1B\x40\x0A", 3); }, 0x1B ^ 0x40 ^ 0x0A},
        {"byte keeps its low 8 bits", [] { QVSendByte(1, 0x141); }, 0x41},
        {"closed port still counts", [] { QVSendStr(2, "AB"); }, 0x41 ^ 0x42},
        {"port 20 has no device", [] { QVSendStr(20, "AB"); }, 0},
        {"port 0 has no device", [] { QVSendPort(0, "AB", 2); }, 0},
        {"port -1 has no device", [] { QVSendByte(-1, 0x41); }, 0},
        {"only the given length", [] { QVSendPort(1, "ABC", 2); }, 0x41 ^ 0x42},
        {"negative length", [] { QVSendPort(1, "AB", -2); }, 0},
        {"no data", [] { QVSendPort(1, nullptr, 5); }, 0},
        {"no text", [] { QVSendStr(1, nullptr); }, 0},
        {"running over several sends",
         [] {
             QVSendStr(1, "A");
             QVSendByte(1, 'B');
             QVSendPort(1, "C", 1);
         },
         0x41 ^ 0x42 ^ 0x43},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state().SendChk = 0;
        c.send();
        EXPECT_EQ(state().SendChk, c.expected);
    }
}

TEST_F(Send, SendChkSkipsParallelPortsThatAreNotReady) {
    ASSERT_EQ(QVOpenPort13("/dev/usb/lp0"), 1);
    lpt(1).printer = biosStatus(0x10);
    fake.device("/dev/usb/lp0").printer = biosStatus(0x30);

    EXPECT_EQ(QVSendPort(10, "AB", 2), 0);
    // The byte send checks slot 13 like LPT4: the status of the device in it.
    EXPECT_EQ(QVSendByte(13, 'A'), 0);
    EXPECT_EQ(state().SendChk, 0);

    // The block send writes a device on slot 13 without the check.
    EXPECT_EQ(QVSendPort(13, "AB", 2), 2);
    EXPECT_EQ(state().SendChk, 0x41 ^ 0x42);
    EXPECT_EQ(fake.device("/dev/usb/lp0").written(), (Bytes{'A', 'B'}));
}

TEST_F(Send, SendPortWritesOnceThenFlushes) {
    EXPECT_EQ(QVSendPort(1, "A\0B\n", 4), 4);
    ASSERT_EQ(kinds(com(1)), (std::vector{Kind::Write, Kind::Flush}));
    EXPECT_EQ(com(1).writes()[0], (Bytes{'A', 0, 'B', '\n'}));
}

TEST_F(Send, ResultsAreTheBytesThePlatformWrote) {
    com(1).writeLimit = 1;
    EXPECT_EQ(QVSendPort(1, "ABC", 3), 1);
    EXPECT_EQ(QVSendStr(1, "ABC"), 1);
    com(1).writeLimit = 0;
    EXPECT_EQ(QVSendByte(1, 'A'), 0);
    EXPECT_EQ(QVSendPort(2, "ABC", 3), 0); // closed
}

TEST_F(Send, NothingToSendWritesNothing) {
    EXPECT_EQ(QVSendPort(1, "AB", 0), 0);
    EXPECT_EQ(QVSendPort(1, "AB", -1), 0);
    EXPECT_EQ(QVSendPort(1, nullptr, 3), 0);
    EXPECT_EQ(QVSendStr(1, ""), 0);
    EXPECT_TRUE(com(1).writes().empty());
}

TEST_F(Send, SendStrWritesTextWithoutTerminatorOrFlush) {
    EXPECT_EQ(QVSendStr(1, "Hi\r\n"), 4);
    ASSERT_EQ(kinds(com(1)), (std::vector{Kind::Write}));
    EXPECT_EQ(com(1).writes()[0], (Bytes{'H', 'i', '\r', '\n'}));
}

TEST_F(Send, SendByteWritesOneByteThenFlushes) {
    EXPECT_EQ(QVSendByte(1, 0x1FF), 1);
    ASSERT_EQ(kinds(com(1)), (std::vector{Kind::Write, Kind::Flush}));
    EXPECT_EQ(com(1).writes()[0], (Bytes{0xFF}));
}

TEST_F(Send, ParallelSendsNeedAReadyPrinter) {
    ASSERT_EQ(QVOpenPort(11, ""), 1);
    EXPECT_EQ(QVSendPort(11, "AB", 2), 2);
    EXPECT_EQ(QVSendByte(11, 'C'), 1);
    lpt(2).printer = biosStatus(0xB0); // out of paper
    EXPECT_EQ(QVSendPort(11, "DE", 2), 0);
    EXPECT_EQ(QVSendByte(11, 'F'), 0);
    EXPECT_EQ(lpt(2).written(), (Bytes{'A', 'B', 'C'}));
}

TEST_F(Send, AutoOpenCloseOpensAndClosesAroundEachSend) {
    EXPECT_EQ(QvOpnCls(1), 1);
    EXPECT_EQ(QVSendPort(2, "AB", 2), 2);
    EXPECT_EQ(QVSendByte(2, 'C'), 1);

    EXPECT_EQ(com(2).opens, 2);
    EXPECT_EQ(com(2).closes, 2);
    EXPECT_EQ(com(2).written(), (Bytes{'A', 'B', 'C'}));
    ASSERT_FALSE(com(2).lineWrites().empty());
    EXPECT_EQ(com(2).lineWrites()[0].BaudRate, 9600U);
    EXPECT_EQ(slotHandle(2), platform::kNoHandle);
    EXPECT_EQ(state().CurPort, 2);
}

TEST_F(Send, AutoOpenCloseClosesAPortTheCallerOpened) {
    QvOpnCls(1);
    com(1).queueInput({0x06});
    EXPECT_EQ(QVSendPort(1, "A", 1), 1);
    EXPECT_EQ(slotHandle(1), platform::kNoHandle);
    EXPECT_EQ(QVReadByte(1), -1);
}

TEST_F(Send, AutoOpenCloseDoesNotApplyToSendStr) {
    QvOpnCls(1);
    EXPECT_EQ(QVSendStr(2, "AB"), 0);
    EXPECT_EQ(fake.openAttempts(comPath(2)), 0);
}

} // namespace
} // namespace qv::test
