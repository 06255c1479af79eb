// Printer family 7: the plain commands and text printing, byte for byte and
// send by send, and their results without a device.

#include "command_cases.h"
#include "printer7_cases.h"

namespace qv::test {
namespace {

using Printer7 = Commands;

TEST_F(Printer7, CommandsSendTheirBytes) {
    expectCases(kPrinter7Commands);
}

TEST_F(Printer7, CommandsWithoutADeviceSendNothingAndGiveZero) {
    expectNothingWithoutDevice(kPrinter7Commands);
}

TEST_F(Printer7, TextsGoOutWithoutNewBoundaries) {
    // The texts of family 7 go through QVSendStr: written as given, no flush.
    com(1).events.clear();
    QV7PrnBig(1, 1, 2, 3, 4, 5, "\xA4\xA4\xA4\xE5");
    using Kind = platform::FakeEvent::Kind;
    EXPECT_EQ(kinds(com(1)),
              (std::vector{Kind::Write, Kind::Flush, Kind::Write, Kind::Write, Kind::Flush}));
    EXPECT_EQ(com(1).writes()[1], hex("A4 A4 A4 E5"));
}

} // namespace
} // namespace qv::test
