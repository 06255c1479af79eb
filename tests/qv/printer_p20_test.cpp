// Printer family P20: commands with their selector and digit bytes, the
// header lines and their count, wide print, and the two answered requests.

#include "command_cases.h"
#include "printer_p20_cases.h"

#include "wide_text.h"

#include <array>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = std::array<std::uint8_t, kStaBufSize>;

using PrinterP20 = Commands;

TEST_F(PrinterP20, CommandsSendTheirBytes) {
    expectCases(kP20Commands);
}

TEST_F(PrinterP20, CommandsWithoutADeviceSendNothingAndGiveZero) {
    expectNothingWithoutDevice(kP20Commands);
}

TEST_F(PrinterP20, SetHedCountsTheBytesAfterItModulo256) {
    struct Case {
        std::size_t l1, l2, l3, l4, l5;
        std::uint8_t count;
    };
    const Case cases[] = {
        {4, 0, 2, 0, 0, 10},
        {0, 0, 0, 0, 1, 6},
        {1, 1, 1, 1, 1, 10},
        {200, 48, 0, 0, 0, 252},
        {200, 52, 0, 0, 0, 0},
        {200, 52, 0, 0, 9, 10},
        {255, 255, 255, 255, 255, static_cast<std::uint8_t>(255 * 5 + 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.l1 << " " << c.l2 << " " << c.l3 << " " << c.l4 << " " << c.l5);
        const std::string l1(c.l1, 'a'), l2(c.l2, 'b'), l3(c.l3, 'c'), l4(c.l4, 'd'), l5(c.l5, 'e');
        com(1).events.clear();
        P20SetHed(1, l1.c_str(), l2.c_str(), l3.c_str(), l4.c_str(), l5.c_str());
        const Bytes all = com(1).written();
        ASSERT_GE(all.size(), 3U);
        EXPECT_EQ(all[2], c.count);
        // The count is the number of bytes that follow it, modulo 256.
        EXPECT_EQ(static_cast<std::uint8_t>(all.size() - 3), c.count);
    }
}

TEST_F(PrinterP20, SetHedStopsWhenTheFirstSendFails) {
    com(1).events.clear();
    EXPECT_EQ(P20SetHed(2, "A", "B", "C", "D", "E"), 0);
    com(1).writeLimit = 0;
    EXPECT_EQ(P20SetHed(1, "A", "B", "C", "D", "E"), 0);
    EXPECT_EQ(P20Prn(1, 1, 1, "A"), 0);
    EXPECT_EQ(P20PrnBig(1, 1, 1, "A"), 0);
    EXPECT_EQ(com(1).events.size(), 6U); // three refused writes and their flushes
}

TEST(WideText, EachCharacterGetsItsOwn0E) {
    struct Case {
        const char* text;
        const char* expanded;
    };
    const Case cases[] = {
        {"", ""},
        {"A", "0E 41"},
        {"AB", "0E 41 0E 42"},
        {"\xA4\xA4\xA4\xA5", "0E A4 A4 0E A4 A5"},
        {"A\xA4\xA4", "0E 41 A4 0E A4"},
        {"\xA4"
         "A",
         "0E A4 0E 41"},
        {"\x80", "0E 80"},
        {"\xA4\xA4\xA4", "0E A4 A4 0E A4"},
        {"1\x7F", "0E 31 0E 7F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(expandWideText(c.text), hex(c.expanded));
    }
    EXPECT_TRUE(expandWideText(nullptr).empty());
}

TEST_F(PrinterP20, PrnBigSendsLongTextsWhole) {
    // Past 63 expanded bytes nothing is cut: 100 single bytes and 100 pairs.
    for (const std::string& text : {std::string(100, 'x'), std::string(200, '\xA4')}) {
        com(1).events.clear();
        EXPECT_EQ(P20PrnBig(1, 1, 1, text.c_str()), 1);
        const auto writes = com(1).writes();
        ASSERT_EQ(writes.size(), 3U);
        EXPECT_EQ(writes[1], expandWideText(text.c_str()));
        EXPECT_EQ(writes[1].size(), 200U + (text[0] == 'x' ? 0U : 100U));
    }
}

class P20Replies : public Commands {
protected:
    void answerOn(const char* request, const Bytes& answer) {
        com(1).input.clear();
        com(1).onWrite = [this, req = hex(request), answer](platform::FakeDevice&,
                                                            std::span<const std::uint8_t> bytes) {
            if (!answer.empty() && Bytes(bytes.begin(), bytes.end()) == req)
                fake.scheduleInput(comPath(1), 100, answer);
        };
    }
};

TEST_F(P20Replies, StaCollectsTheAnswer) {
    struct Case {
        const char* name;
        Bytes answer;
        Status status;
        std::uint64_t elapsed;
    };
    const Case cases[] = {
        {"ends with 0D", hex("41 42 0D 43"), {0x41, 0x42, 0x0D}, 100},
        {"ends after 11 bytes",
         hex("41 42 43 44 45 46 47 48 49 4A 4B 4C"),
         {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B},
         100},
        {"bytes 00 to 0C are left out", hex("0C 00 0A 31 0D"), {0x31, 0x0D}, 100},
        {"time-out keeps what came", hex("41"), {0x41}, 2000},
        {"no answer", {}, {}, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        answerOn("1B 4F 0D", c.answer);
        state().StaBuf.fill(0xEE);
        std::uint64_t start = fake.now();
        EXPECT_EQ(P20Sta(1), state().StaBuf.data());
        EXPECT_EQ(fake.now() - start, c.elapsed);
        EXPECT_EQ(state().StaBuf, c.status);
        fake.advance(1000 - fake.now() % 1000);
    }
}

TEST_F(P20Replies, IsOpenReadsTheDrawerAnswer) {
    struct Case {
        const char* name;
        Bytes answer;
        int32_t result;
        Status status;
        std::uint64_t elapsed;
    };
    const Case cases[] = {
        {"open", hex("31 0D"), 1, {0x31, 0x0D}, 100},
        {"closed", hex("30 0D"), 0, {0x30, 0x0D}, 100},
        {"neither", hex("4F 4B 0D"), -1, {0x4F, 0x4B, 0x0D}, 100},
        {"the later one wins", hex("31 30 0D"), 0, {0x31, 0x30, 0x0D}, 100},
        {"ends after 3 bytes", hex("41 42 43 31"), -1, {0x41, 0x42, 0x43}, 100},
        {"low bytes left out", hex("05 31 0D"), 1, {0x31, 0x0D}, 100},
        {"time-out after 31", hex("31"), 1, {0x31}, 2000},
        {"no answer", {}, -1, {}, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        answerOn("1B 3F 0D", c.answer);
        state().StaBuf.fill(0xEE);
        std::uint64_t start = fake.now();
        EXPECT_EQ(P20IsOpen(1), c.result);
        EXPECT_EQ(fake.now() - start, c.elapsed);
        EXPECT_EQ(state().StaBuf, c.status);
        fake.advance(1000 - fake.now() % 1000);
    }
}

TEST_F(P20Replies, RequestsWithoutADeviceTimeOut) {
    state().StaBuf.fill(0xEE);
    EXPECT_EQ(P20IsOpen(2), -1);
    EXPECT_EQ(state().StaBuf, Status{});
    state().StaBuf.fill(0xEE);
    EXPECT_EQ(P20Sta(20), state().StaBuf.data());
    EXPECT_EQ(state().StaBuf, Status{});
}

} // namespace
} // namespace qv::test
