// Customer displays: the VFD character display's commands and the LCD row
// writes, byte for byte and send by send, and their results without a device.

#include "command_cases.h"
#include "display_cases.h"

namespace qv::test {
namespace {

using Displays = Commands;

TEST_F(Displays, VfdCommandsSendTheirBytes) {
    expectCases(kVfdCommands);
}

TEST_F(Displays, LcdRowWritesSendSelectorTextAndEnd) {
    expectCases(kLcdCommands);
}

TEST_F(Displays, CommandsWithoutADeviceSendNothingAndGiveZero) {
    expectNothingWithoutDevice(kVfdCommands);
    expectNothingWithoutDevice(kLcdCommands);
}

TEST_F(Displays, TextsLongerThanARowAreSentWhole) {
    const std::string text(100, 'x');
    com(1).events.clear();
    EXPECT_EQ(Lcd4Row(1, 2, text.c_str()), 1);
    ASSERT_EQ(com(1).writes().size(), 3U);
    EXPECT_EQ(com(1).writes()[1], std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST_F(Displays, OnlyLcd2RowStopsAfterAFailedSelector) {
    // A device that takes nothing: Lcd2Row gives up after the selector, the
    // other row writes go on to the text and the end byte.
    struct Case {
        const char* name;
        std::function<int32_t()> call;
        std::size_t writes;
    };
    const Case cases[] = {
        {"Lcd2Row", [] { return Lcd2Row(1, 1, "A"); }, 1},
        {"Lcd2RowIns", [] { return Lcd2RowIns(1, 1, "A"); }, 3},
        {"Lcd4Row", [] { return Lcd4Row(1, 1, "A"); }, 3},
        {"Lcd4RowIns", [] { return Lcd4RowIns(1, 1, "A"); }, 3},
        {"VFDSay", [] { return VFDSay(1, 1, 1, "A"); }, 1},
        {"VFDChrDnLoad", [] { return VFDChrDnLoad(1, 1, kPattern); }, 1},
    };
    com(1).writeLimit = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        com(1).events.clear();
        EXPECT_EQ(c.call(), 0);
        EXPECT_EQ(com(1).writes().size(), c.writes);
    }
}

} // namespace
} // namespace qv::test
