// Printer families 3, 71 and 9: every command byte for byte and send by send,
// under each of its names, and the one-byte status request of family 9.

#include "command_cases.h"
#include "printer3_71_9_cases.h"

namespace qv::test {
namespace {

using Printers3719 = Commands;

TEST_F(Printers3719, CommonCommandsSendTheirBytesUnderEveryName) {
    expectCases(kCommonCommands);
}

TEST_F(Printers3719, Family3And71CommandsSendTheirBytes) {
    expectCases(kFamily3And71Commands);
}

TEST_F(Printers3719, Family9CommandsSendTheirBytes) {
    expectCases(kFamily9Commands);
}

TEST_F(Printers3719, SomeArgumentsSendNothing) {
    expectCases(kNothingSent);
}

TEST_F(Printers3719, CommandsWithoutADeviceSendNothingAndGiveZero) {
    expectNothingWithoutDevice(kCommonCommands);
    expectNothingWithoutDevice(kFamily3And71Commands);
    expectNothingWithoutDevice(kFamily9Commands);
}

TEST_F(Printers3719, Family9StatusIsTheFirstByteAnswered) {
    struct Case {
        const char* name;
        int32_t port;
        std::vector<std::uint8_t> answer; // arrives 250 ms after the request
        int32_t result;
        std::uint64_t elapsed;
    };
    const Case cases[] = {
        {"one byte", 1, {0x12}, 0x12, 250},
        {"first of several", 1, {0x00, 0x12}, 0x00, 250},
        {"no answer", 1, {}, -1, 2000},
        {"closed port", 2, {}, -1, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        com(1).input.clear();
        com(1).onWrite = [&](platform::FakeDevice&, std::span<const std::uint8_t> bytes) {
            if (!c.answer.empty() && std::vector(bytes.begin(), bytes.end()) == hex("1B 76"))
                fake.scheduleInput(comPath(1), 250, c.answer);
        };
        com(1).events.clear();
        state().StaBuf.fill(0xEE);
        std::uint64_t start = fake.now();
        EXPECT_EQ(QV9Sta(c.port), c.result);
        EXPECT_EQ(fake.now() - start, c.elapsed);
        EXPECT_EQ(state().StaBuf[0], 0xEE); // the status buffer is not touched
        if (c.port == 1) {
            EXPECT_EQ(com(1).writes(), std::vector<std::vector<std::uint8_t>>{hex("1B 76")});
        }
        fake.advance(1000 - fake.now() % 1000);
    }
}

} // namespace
} // namespace qv::test
