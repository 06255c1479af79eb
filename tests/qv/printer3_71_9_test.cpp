// Printer families 3, 71 and 9: every command byte for byte and send by send,
// under each of its names, and the one-byte status request of family 9.

#include "command_cases.h"

namespace qv::test {
namespace {

const std::uint8_t kBitmapData[] = {0x01, 0x00, 0xFF};

const CommandCase kCommonCommands[] = {
    {"QV3ChrSet", [](int32_t p) { return QV3ChrSet(p, 0x0F); }, {"1B 52 0F"}, 3},
    {"QV71ChrSet", [](int32_t p) { return QV71ChrSet(p, 0x10F); }, {"1B 52 0F"}, 3},
    {"QV9ChrSet", [](int32_t p) { return QV9ChrSet(p, 3); }, {"1B 52 03"}, 3},
    {"QV3ChrSpc", [](int32_t p) { return QV3ChrSpc(p, 2); }, {"1B 20 02"}, 3},
    {"QV71ChrSpc", [](int32_t p) { return QV71ChrSpc(p, 2); }, {"1B 20 02"}, 3},
    {"QV9ChrSpc", [](int32_t p) { return QV9ChrSpc(p, -1); }, {"1B 20 FF"}, 3},
    {"QV3Eject", [](int32_t p) { return QV3Eject(p); }, {"0C"}, 1},
    {"QV71Eject", [](int32_t p) { return QV71Eject(p); }, {"0C"}, 1},
    {"QV9Eject", [](int32_t p) { return QV9Eject(p); }, {"0C"}, 1},
    {"QV3SetPag", [](int32_t p) { return QV3SetPag(p, 40); }, {"1B 43 28"}, 3},
    {"QV71SetPag", [](int32_t p) { return QV71SetPag(p, 40); }, {"1B 43 28"}, 3},
    {"QV9SetPag", [](int32_t p) { return QV9SetPag(p, 40); }, {"1B 43 28"}, 3},
    {"QV3BitMap",
     [](int32_t p) { return QV3BitMap(p, 0, kBitmapData, 3); },
     {"1B 2A 00 03 00", "01 00 FF"},
     3},
    {"QV71BitMap",
     [](int32_t p) { return QV71BitMap(p, 1, kBitmapData, 2); },
     {"1B 2A 01 02 00", "01 00"},
     2},
    {"QV9BitMap",
     [](int32_t p) { return QV9BitMap(p, 33, kBitmapData, 1); },
     {"1B 2A 21 01 00", "01"},
     1},
    {"QV3BitMap without data",
     [](int32_t p) { return QV3BitMap(p, 0, kBitmapData, 0); },
     {"1B 2A 00 00 00"},
     0},
};

const CommandCase kFamily3And71Commands[] = {
    {"QV3FulCut", [](int32_t p) { return QV3FulCut(p); }, {"1B 69"}, 2},
    {"QV71FulCut", [](int32_t p) { return QV71FulCut(p); }, {"1B 69"}, 2},
    {"QV3PatCut", [](int32_t p) { return QV3PatCut(p); }, {"1B 6D"}, 2},
    {"QV71PatCut", [](int32_t p) { return QV71PatCut(p); }, {"1B 6D"}, 2},
    {"QV3Open", [](int32_t p) { return QV3Open(p); }, {"1B 70 00 64 64"}, 5},
    {"QV71Open", [](int32_t p) { return QV71Open(p); }, {"1B 70 00 64 64"}, 5},
    {"QV3SetLin", [](int32_t p) { return QV3SetLin(p, 24); }, {"1B 33 18"}, 3},
    {"QV71SetLin", [](int32_t p) { return QV71SetLin(p, 24); }, {"1B 33 18"}, 3},
    {"QV3LinFed 3: one send per byte",
     [](int32_t p) { return QV3LinFed(p, 3); },
     {"0A", "0A", "0A"},
     1},
    {"QV71LinFed 1", [](int32_t p) { return QV71LinFed(p, 1); }, {"0A"}, 1},
    {"QV3SmlFed forward", [](int32_t p) { return QV3SmlFed(p, 30); }, {"1B 4A 1E"}, 3},
    {"QV3SmlFed back", [](int32_t p) { return QV3SmlFed(p, -30); }, {"1B 4B 1E"}, 3},
    {"QV71SmlFed back by the smallest int",
     [](int32_t p) { return QV71SmlFed(p, INT32_MIN); },
     {"1B 4B 00"},
     3},
    {"QV71SmlFed 300 sends its low byte",
     [](int32_t p) { return QV71SmlFed(p, 300); },
     {"1B 4A 2C"},
     3},
    {"QV3Prn", [](int32_t p) { return QV3Prn(p, "AB", 2); }, {"41 42", "0A", "0A"}, 2},
    {"QV71Prn no feed", [](int32_t p) { return QV71Prn(p, "ABC", 0); }, {"41 42 43"}, 3},
    {"QV3Prn empty text", [](int32_t p) { return QV3Prn(p, "", 1); }, {"0A"}, 0},
    {"QV3Reset", [](int32_t p) { return QV3Reset(p); }, {"1B 40"}, 2},
    {"QV71Reset", [](int32_t p) { return QV71Reset(p); }, {"1B 40"}, 2},
    {"QV3PrnBig",
     [](int32_t p) { return QV3PrnBig(p, "AB", 1); },
     {"1B 21 21", "1B 7E 02", "41 42", "1B 21 01", "1B 7E 05", "0A"},
     2},
    {"QV71PrnBig",
     [](int32_t p) { return QV71PrnBig(p, "AB", 2); },
     {"1B 21 21", "41 42", "1B 21 01", "0A", "0A"},
     2},
    {"QV71PrnPos", [](int32_t p) { return QV71PrnPos(p, 1); }, {"1B 61 01"}, 3},
    {"QV71PrnBar with height and width",
     [](int32_t p) { return QV71PrnBar(p, 4, "123", 80, 3); },
     {"1D 68 50", "1D 77 03", "1D 6B 04", "31 32 33", "00"},
     1},
    {"QV71PrnBar height 0: no width",
     [](int32_t p) { return QV71PrnBar(p, 4, "123", 0, 3); },
     {"1D 6B 04", "31 32 33", "00"},
     1},
    {"QV71PrnBar negative height",
     [](int32_t p) { return QV71PrnBar(p, 4, "9", -5, 3); },
     {"1D 6B 04", "39", "00"},
     1},
    {"QV71BitMapDP", [](int32_t p) { return QV71BitMapDP(p, 3); }, {"1D 2F 03"}, 3},
};

const CommandCase kFamily9Commands[] = {
    {"QV9Reset", [](int32_t p) { return QV9Reset(p); }, {"1B 40"}, 2},
    {"QV9LinFed 2", [](int32_t p) { return QV9LinFed(p, 2); }, {"0A", "0A"}, 1},
    {"QV9Cr", [](int32_t p) { return QV9Cr(p); }, {"0D"}, 1},
    {"QV9Tab", [](int32_t p) { return QV9Tab(p); }, {"09"}, 1},
    {"QV9TabPos", [](int32_t p) { return QV9TabPos(p, "\x08\x10"); }, {"1B 44", "08 10", "00"}, 1},
    {"QV9TabPos no positions", [](int32_t p) { return QV9TabPos(p, ""); }, {"1B 44", "00"}, 1},
    {"QV9FntMod", [](int32_t p) { return QV9FntMod(p, 0x38); }, {"1B 21 38"}, 3},
    {"QV9Fnt79", [](int32_t p) { return QV9Fnt79(p); }, {"1B 4D"}, 2},
    {"QV9Fnt99", [](int32_t p) { return QV9Fnt99(p); }, {"1B 50"}, 2},
    {"QV9SetDWid", [](int32_t p) { return QV9SetDWid(p); }, {"1B 0E"}, 2},
    {"QV9CanDWid", [](int32_t p) { return QV9CanDWid(p); }, {"1B 14"}, 2},
    {"QV9ChoDWid", [](int32_t p) { return QV9ChoDWid(p, 1); }, {"1B 57 01"}, 3},
    {"QV9ChoDHig", [](int32_t p) { return QV9ChoDHig(p, 1); }, {"1B 68 01"}, 3},
    {"QV9DblHig", [](int32_t p) { return QV9DblHig(p); }, {"1B 78 30"}, 3},
    {"QV9QuaHig", [](int32_t p) { return QV9QuaHig(p); }, {"1B 78 32"}, 3},
    {"QV9SetHnd", [](int32_t p) { return QV9SetHnd(p); }, {"1B 0F"}, 2},
    {"QV9CanHnd", [](int32_t p) { return QV9CanHnd(p); }, {"1B 12"}, 2},
    {"QV9ChoHnd", [](int32_t p) { return QV9ChoHnd(p, 0); }, {"1B 7B 00"}, 3},
    {"QV9PanSwi", [](int32_t p) { return QV9PanSwi(p, 1); }, {"1B 65 01"}, 3},
    {"QV9ChnMod", [](int32_t p) { return QV9ChnMod(p, 2); }, {"1B 7E 02"}, 3},
    {"QV9Open kind 0", [](int32_t p) { return QV9Open(p, 0); }, {"1B 70 00 64 64"}, 5},
    {"QV9Open kind 1", [](int32_t p) { return QV9Open(p, 1); }, {"07"}, 1},
    {"QV9Open kind 2", [](int32_t p) { return QV9Open(p, 2); }, {"1A"}, 1},
};

// Calls that send nothing even to an open port.
const CommandCase kNothingSent[] = {
    {"QV3LinFed 0", [](int32_t p) { return QV3LinFed(p, 0); }, {}, 0},
    {"QV71LinFed -2", [](int32_t p) { return QV71LinFed(p, -2); }, {}, 0},
    {"QV9LinFed 0", [](int32_t p) { return QV9LinFed(p, 0); }, {}, 0},
    {"QV3SmlFed 0", [](int32_t p) { return QV3SmlFed(p, 0); }, {}, 0},
    {"QV9Open kind 3", [](int32_t p) { return QV9Open(p, 3); }, {}, 0},
    {"QV9Open kind -1", [](int32_t p) { return QV9Open(p, -1); }, {}, 0},
};

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
