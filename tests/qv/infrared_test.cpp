// Opening a port with an infrared adapter: probing the adapter's rate, then
// setting its speed with RTS off.

#include "qv_fixture.h"

#include <cstdio>

namespace qv::test {
namespace {

using Kind = platform::FakeEvent::Kind;
using platform::FakeEvent;
using platform::LineControl;

constexpr std::uint8_t kProbe = 0x0F;

// A compact record of the calls on the port: "line <rate> <rts>" or the bytes.
std::vector<std::string> script(const platform::FakeDevice& dev) {
    std::vector<std::string> out;
    for (const FakeEvent& e : dev.events) {
        if (e.kind == Kind::SetLine) {
            out.push_back("line " + std::to_string(e.line.BaudRate) + " rts " +
                          std::to_string(static_cast<int>(e.line.fRtsControl)));
        } else if (e.kind == Kind::Write) {
            std::string bytes = "send";
            for (std::uint8_t b : e.bytes) {
                char hex[4];
                std::snprintf(hex, sizeof hex, " %02X", b);
                bytes += hex;
            }
            out.push_back(bytes);
        }
    }
    return out;
}

class Infrared : public FakeQv {
protected:
    // The adapter echoes the probe byte when the line runs at its rate.
    void adapterListensAt(std::uint32_t rate) {
        com(2).onWrite = [rate](platform::FakeDevice& dev, std::span<const std::uint8_t> bytes) {
            if (bytes.size() == 1 && bytes[0] == kProbe && dev.line.BaudRate == rate)
                dev.queueInput({kProbe});
        };
    }
};

TEST_F(Infrared, ProbesUntilTheAdapterAnswersThenSetsItsSpeed) {
    adapterListensAt(38400);
    com(2).line.fOutxCtsFlow = true;
    com(2).line.fOutX = true;
    EXPECT_EQ(QVOpenIr(2, "115200,N,8,1"), 1);

    const std::vector<std::string> expected{
        "line 115200 rts 1",                                           // settings parsed
        "line 9600 rts 0",   "send 0F", "line 9600 rts 1",             // silent
        "line 38400 rts 0",  "send 0F", "line 38400 rts 1",            // answers
        "line 38400 rts 0",  "send 07", "send 36",          "send 51", // speed command
        "line 115200 rts 1",                                           // new speed
    };
    EXPECT_EQ(script(com(2)), expected);
    const platform::LineState first = com(2).lineWrites().front();
    EXPECT_FALSE(first.fOutxCtsFlow);
    EXPECT_FALSE(first.fOutX);
    EXPECT_EQ(first.fDtrControl, LineControl::Enable);
    EXPECT_EQ(state().SendChk, 0); // adapter commands are not part of the checksum
    EXPECT_NE(slotHandle(2), platform::kNoHandle);
}

TEST_F(Infrared, SpeedCodeFollowsTheRequestedRate) {
    struct Case {
        const char* settings;
        std::uint8_t code;
        std::uint32_t rate;
    };
    for (Case c :
         {Case{"115200,N,8,1", 0x36, 115200}, Case{"57600,N,8,1", 0x35, 57600},
          Case{"38400,N,8,1", 0x34, 38400}, Case{"19200,N,8,1", 0x33, 19200},
          Case{"9600,N,8,1", 0x32, 9600}, Case{"4800,N,8,1", 0x32, 9600}, Case{"", 0x32, 9600}}) {
        SCOPED_TRACE(c.settings);
        state() = State{};
        com(2) = platform::FakeDevice{};
        com(2).line.BaudRate = 2400;
        adapterListensAt(9600);
        ASSERT_EQ(QVOpenIr(2, c.settings), 1);
        auto writes = com(2).writes();
        ASSERT_GE(writes.size(), 3U);
        EXPECT_EQ(writes[writes.size() - 2], (std::vector<std::uint8_t>{c.code}));
        EXPECT_EQ(com(2).line.BaudRate, c.rate);
        EXPECT_EQ(com(2).line.fRtsControl, LineControl::Enable);
    }
}

TEST_F(Infrared, SilentAdapterIsProbedAtFiveRatesInOrder) {
    EXPECT_EQ(QVOpenIr(2, "9600,N,8,1"), -2);
    std::vector<std::uint32_t> probed;
    for (const auto& line : com(2).lineWrites()) {
        if (line.fRtsControl == LineControl::Disable)
            probed.push_back(line.BaudRate);
    }
    EXPECT_EQ(probed, (std::vector<std::uint32_t>{9600, 38400, 115200, 57600, 19200}));
    EXPECT_EQ(com(2).written(), std::vector<std::uint8_t>(5, kProbe));
    EXPECT_NE(slotHandle(2), platform::kNoHandle); // the caller closes it
    EXPECT_EQ(QVClosePort(2), 1);
}

TEST_F(Infrared, AnswerOtherThanTheProbeByteIsNotAnAnswer) {
    com(2).onWrite = [](platform::FakeDevice& dev, std::span<const std::uint8_t>) {
        dev.queueInput({0x0E, 0xF0});
    };
    EXPECT_EQ(QVOpenIr(2, "9600,N,8,1"), -2);
}

TEST_F(Infrared, RefusalsAndFailures) {
    for (int port : {0, -1, 10, 13, 14})
        EXPECT_EQ(QVOpenIr(port, "9600,N,8,1"), 0) << port;
    EXPECT_EQ(fake.openAttempts(), 0);

    com(3).present = false;
    EXPECT_EQ(QVOpenIr(3, "9600,N,8,1"), 0);
    EXPECT_EQ(slotHandle(3), platform::kNoHandle);

    com(4).hasLineState = false;
    EXPECT_EQ(QVOpenIr(4, "9600,N,8,1"), -1);
    EXPECT_NE(slotHandle(4), platform::kNoHandle);

    ASSERT_EQ(QVOpenPort(5, ""), 1);
    std::size_t events = com(5).events.size();
    EXPECT_EQ(QVOpenIr(5, "9600,N,8,1"), 1);
    EXPECT_EQ(com(5).events.size(), events);
}

} // namespace
} // namespace qv::test
