// Serial queue status (GetComErr), modem lines (GetComSta), escape functions
// (SetComSta) and purging.

#include "qv_fixture.h"

#include <array>

namespace qv::test {
namespace {

using Kind = platform::FakeEvent::Kind;

class SerialStatus : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        ASSERT_EQ(QVOpenPort(1, ""), 1);
        com(1).events.clear();
    }
};

TEST_F(SerialStatus, QueueCountsComeFromTheLastRefresh) {
    com(1).queueInput({1, 2, 3});
    com(1).queue->cbOutQue = 7;
    EXPECT_EQ(GetComErr(1, 9), 0); // nothing refreshed yet

    EXPECT_EQ(GetComErr(1, 1), 0);
    EXPECT_EQ(GetComErr(1, 9), 3);
    EXPECT_EQ(GetComErr(1, 10), 7);
    // One record serves every port: COM2 (not even open) reports COM1's counts.
    EXPECT_EQ(GetComErr(2, 9), 3);

    com(1).queueInput({4});
    EXPECT_EQ(GetComErr(1, 9), 3); // items after 1 do not refresh
    EXPECT_EQ(GetComErr(1, 1), 0);
    EXPECT_EQ(GetComErr(1, 9), 4);
}

TEST_F(SerialStatus, HoldFlagsAndReservedBits) {
    // flags word -> items 1 to 8
    struct Case {
        std::uint32_t flags;
        std::array<int, 8> items;
    };
    const Case cases[] = {
        {0x00, {0, 0, 0, 0, 0, 0, 0, 0}}, {0x01, {1, 0, 0, 0, 0, 0, 0, 0}},
        {0x2A, {0, 1, 0, 1, 0, 1, 0, 0}}, {0x7F, {1, 1, 1, 1, 1, 1, 1, 0}},
        {0x40, {0, 0, 0, 0, 0, 0, 1, 0}}, {0x380, {0, 0, 0, 0, 0, 0, 0, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        com(1).queue->flags = c.flags;
        EXPECT_EQ(GetComErr(1, 1), c.items[0]);
        for (int item = 2; item <= 8; ++item)
            EXPECT_EQ(GetComErr(1, item), c.items[static_cast<std::size_t>(item - 1)]) << item;
    }
}

TEST_F(SerialStatus, FailedRefreshGivesMinusOneAndKeepsTheRecord) {
    com(1).queueInput({1, 2});
    ASSERT_EQ(GetComErr(1, 1), 0);
    com(1).queue.reset();
    EXPECT_EQ(GetComErr(1, 1), -1);
    EXPECT_EQ(GetComErr(3, 1), -1);  // closed
    EXPECT_EQ(GetComErr(20, 1), -1); // no slot
    EXPECT_EQ(GetComErr(1, 9), 2);
}

TEST_F(SerialStatus, OtherItemsGiveOneAndDoNothing) {
    com(1).queue.reset();
    for (int item : {0, -1, 11, 1000})
        EXPECT_EQ(GetComErr(1, item), 1) << item;
}

TEST_F(SerialStatus, ModemStatusFillsTheFirstFourStatusBytes) {
    struct Case {
        std::uint32_t word;
        std::array<std::uint8_t, 4> bytes;
    };
    const Case cases[] = {
        {0x00, {0, 0, 0, 0}},       {0x10, {0x10, 0, 0, 0}},          {0x30, {0x10, 0x20, 0, 0}},
        {0xC0, {0, 0, 0x40, 0x80}}, {0xF0, {0x10, 0x20, 0x40, 0x80}}, {0x0F, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        state().StaBuf.fill(0xAA);
        com(1).modem = c.word;
        EXPECT_EQ(GetComSta(1), static_cast<int32_t>(c.word));
        std::array<std::uint8_t, kStaBufSize> expected{};
        std::copy(c.bytes.begin(), c.bytes.end(), expected.begin());
        EXPECT_EQ(state().StaBuf, expected);
    }
}

TEST_F(SerialStatus, NoModemLinesGivesMinusOneAndAClearedBuffer) {
    com(1).modem.reset();
    for (int port : {1, 2, 0, 14}) {
        SCOPED_TRACE(port);
        state().StaBuf.fill(0xAA);
        EXPECT_EQ(GetComSta(port), -1);
        EXPECT_EQ(state().StaBuf, (std::array<std::uint8_t, kStaBufSize>{}));
    }
}

TEST_F(SerialStatus, EscapeFunctionsReachTheDevice) {
    for (int function = 1; function <= 9; ++function) {
        com(1).escapeResult = function % 2 == 0;
        EXPECT_EQ(SetComSta(1, function), function % 2 == 0 ? 1 : 0) << function;
        ASSERT_EQ(com(1).events.back().kind, Kind::Escape);
        EXPECT_EQ(com(1).events.back().value, static_cast<std::uint32_t>(function));
    }
    com(1).events.clear();
    for (int function : {0, 10, -3}) {
        EXPECT_EQ(SetComSta(1, function), 1) << function;
        EXPECT_EQ(SetComSta(30, function), 1) << function;
    }
    EXPECT_TRUE(com(1).events.empty());
    EXPECT_EQ(SetComSta(2, 3), 0);  // closed
    EXPECT_EQ(SetComSta(30, 3), 0); // no slot
}

TEST_F(SerialStatus, PurgeRunsFourStepsAndGivesTheLastResult) {
    com(1).queueInput({1, 2, 3});
    EXPECT_EQ(QVPurgeComm(1), 1);
    std::vector<std::uint32_t> flags;
    for (const auto& e : com(1).events) {
        ASSERT_EQ(e.kind, Kind::Purge);
        flags.push_back(e.value);
    }
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{1, 2, 4, 8}));
    EXPECT_TRUE(com(1).input.empty());

    com(1).purgeResult = false;
    EXPECT_EQ(QVPurgeComm(1), 0);
    EXPECT_EQ(QVPurgeComm(2), 0);
    EXPECT_EQ(QVPurgeComm(-4), 0);
}

} // namespace
} // namespace qv::test
