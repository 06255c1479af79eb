// Customer displays: the VFD character display's commands and the LCD row
// writes, byte for byte and send by send, and their results without a device.

#include "command_cases.h"

namespace qv::test {
namespace {

const std::uint8_t kPattern[5] = {0x7F, 0x00, 0x41, 0x00, 0x7F};

const CommandCase kVfdCommands[] = {
    {"VFDSay second value first",
     [](int32_t p) { return VFDSay(p, 2, 5, "AB"); },
     {"1F 24 05 02", "41 42"},
     2},
    {"VFDSay empty text", [](int32_t p) { return VFDSay(p, 2, 5, ""); }, {"1F 24 05 02"}, 1},
    {"VFDSay missing text", [](int32_t p) { return VFDSay(p, 1, 1, nullptr); }, {"1F 24 01 01"}, 1},
    {"VFDMovCrs second value first",
     [](int32_t p) { return VFDMovCrs(p, 1, 20); },
     {"1F 24 14 01"},
     4},
    {"VFDCsrLef", [](int32_t p) { return VFDCsrLef(p); }, {"08"}, 1},
    {"VFDCsrRit", [](int32_t p) { return VFDCsrRit(p); }, {"09"}, 1},
    {"VFDCsrUp", [](int32_t p) { return VFDCsrUp(p); }, {"1F 0A"}, 2},
    {"VFDCsrDn", [](int32_t p) { return VFDCsrDn(p); }, {"0A"}, 1},
    {"VFDCsrLEnd", [](int32_t p) { return VFDCsrLEnd(p); }, {"0D"}, 1},
    {"VFDCsrREnd", [](int32_t p) { return VFDCsrREnd(p); }, {"1F 0D"}, 2},
    {"VFDCsrHom", [](int32_t p) { return VFDCsrHom(p); }, {"0B"}, 1},
    {"VFDCsrBot", [](int32_t p) { return VFDCsrBot(p); }, {"1F 42"}, 2},
    {"VFDCls", [](int32_t p) { return VFDCls(p); }, {"0C"}, 1},
    {"VFDReset", [](int32_t p) { return VFDReset(p); }, {"1B 40"}, 2},
    {"VFDTest", [](int32_t p) { return VFDTest(p); }, {"1F 40"}, 2},
    {"VFDBriAdj", [](int32_t p) { return VFDBriAdj(p, 4); }, {"1F 58 04"}, 3},
    {"VFDBlnSet", [](int32_t p) { return VFDBlnSet(p, 0x32); }, {"1F 45 32"}, 3},
    {"VFDCodSet", [](int32_t p) { return VFDCodSet(p, 0x10); }, {"1B 74 10"}, 3},
    {"VFDChrSet", [](int32_t p) { return VFDChrSet(p, 0x0D); }, {"1B 52 0D"}, 3},
    {"VFDChrRev", [](int32_t p) { return VFDChrRev(p, 1); }, {"1F 72 01"}, 3},
    {"VFDOvrMod", [](int32_t p) { return VFDOvrMod(p); }, {"1F 01"}, 2},
    {"VFDVerScr", [](int32_t p) { return VFDVerScr(p); }, {"1F 02"}, 2},
    {"VFDHorScr", [](int32_t p) { return VFDHorScr(p); }, {"1F 03"}, 2},
    {"VFDChrDnLoad sends 00 bytes of the pattern",
     [](int32_t p) { return VFDChrDnLoad(p, 0x20, kPattern); },
     {"1B 26 01 20 01", "7F 00 41 00 7F"},
     5},
    {"VFDChrDnLoad without a pattern: a blank character",
     [](int32_t p) { return VFDChrDnLoad(p, 0x21, nullptr); },
     {"1B 26 01 21 01", "00 00 00 00 00"},
     5},
    {"VFDDelDnLoad", [](int32_t p) { return VFDDelDnLoad(p); }, {"1B 3F"}, 2},
    {"VFDEblDnLoad", [](int32_t p) { return VFDEblDnLoad(p, 1); }, {"1B 25 01"}, 3},
    {"VFDSetWin",
     [](int32_t p) { return VFDSetWin(p, 1, 2, 3, 4, 5, 6); },
     {"1B 57 01 02 03 04 05 06"},
     8},
    {"VFDSelDec", [](int32_t p) { return VFDSelDec(p, 2); }, {"1B 3D 02"}, 3},
    {"VFDMacSet", [](int32_t p) { return VFDMacSet(p); }, {"1F 3A"}, 2},
    {"VFDMacRun", [](int32_t p) { return VFDMacRun(p, 3, 0x14); }, {"1F 5E 03 14"}, 4},
    {"VFDSetTim", [](int32_t p) { return VFDSetTim(p, 13, 45); }, {"1F 54 0D 2D"}, 4},
    {"VFDShwTim", [](int32_t p) { return VFDShwTim(p); }, {"1F 55"}, 2},
};

const CommandCase kLcdCommands[] = {
    {"Lcd2Row row 1",
     [](int32_t p) { return Lcd2Row(p, 1, "AB"); },
     {"1B 71 45", "41 42", "0D"},
     1},
    {"Lcd2Row row 0",
     [](int32_t p) { return Lcd2Row(p, 0, "AB"); },
     {"1B 71 46", "41 42", "0D"},
     1},
    {"Lcd2Row row 2",
     [](int32_t p) { return Lcd2Row(p, 2, "AB"); },
     {"1B 71 46", "41 42", "0D"},
     1},
    {"Lcd2Row empty text", [](int32_t p) { return Lcd2Row(p, 1, ""); }, {"1B 71 45", "0D"}, 1},
    {"Lcd2RowIns row 1",
     [](int32_t p) { return Lcd2RowIns(p, 1, "A"); },
     {"1B 71 4B", "41", "0D"},
     1},
    {"Lcd2RowIns row 9",
     [](int32_t p) { return Lcd2RowIns(p, 9, "A"); },
     {"1B 71 4C", "41", "0D"},
     1},
    {"Lcd4Row row 1", [](int32_t p) { return Lcd4Row(p, 1, "A"); }, {"1B 71 41", "41", "0D"}, 1},
    {"Lcd4Row row 2", [](int32_t p) { return Lcd4Row(p, 2, "A"); }, {"1B 71 42", "41", "0D"}, 1},
    {"Lcd4Row row 3", [](int32_t p) { return Lcd4Row(p, 3, "A"); }, {"1B 71 43", "41", "0D"}, 1},
    {"Lcd4Row row 4", [](int32_t p) { return Lcd4Row(p, 4, "A"); }, {"1B 71 44", "41", "0D"}, 1},
    {"Lcd4Row row 5", [](int32_t p) { return Lcd4Row(p, 5, "A"); }, {"1B 71 41", "41", "0D"}, 1},
    {"Lcd4RowIns row 1",
     [](int32_t p) { return Lcd4RowIns(p, 1, "A"); },
     {"1B 71 47", "41", "0D"},
     1},
    {"Lcd4RowIns row 2",
     [](int32_t p) { return Lcd4RowIns(p, 2, "A"); },
     {"1B 71 48", "41", "0D"},
     1},
    {"Lcd4RowIns row 3",
     [](int32_t p) { return Lcd4RowIns(p, 3, "A"); },
     {"1B 71 49", "41", "0D"},
     1},
    {"Lcd4RowIns row 4",
     [](int32_t p) { return Lcd4RowIns(p, 4, "A"); },
     {"1B 71 4A", "41", "0D"},
     1},
    {"Lcd4RowIns row -4",
     [](int32_t p) { return Lcd4RowIns(p, -4, "A"); },
     {"1B 71 47", "41", "0D"},
     1},
    {"LcdCls", [](int32_t p) { return LcdCls(p); }, {"1F 0D"}, 2},
    {"LcdOpenBox", [](int32_t p) { return LcdOpenBox(p); }, {"1B 47 0D"}, 3},
};

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
