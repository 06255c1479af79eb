// Printer family 7: the requests the printer answers, with scripted answers
// and time-outs on the virtual clock (which starts on a whole second, so the
// default limit of 2 changes of the seconds field ends a wait at 2000 ms).

#include "command_cases.h"
#include "printer7_reply_cases.h"

#include <array>

namespace qv::test {
namespace {

class Printer7Replies : public Commands {
protected:
    // Makes the device answer once it has received a write ending in request.
    void answerOn(const Bytes& request, const Bytes& answer) {
        com(1).onWrite = [this, request, answer](platform::FakeDevice&,
                                                 std::span<const std::uint8_t> bytes) {
            if (!answer.empty() && bytes.size() >= request.size() &&
                std::equal(request.begin(), request.end(), bytes.end() - request.size()))
                fake.scheduleInput(comPath(1), kAnswerAfterMs, answer);
        };
    }

    Status status() const { return state().StaBuf; }
};

TEST_F(Printer7Replies, ByteAnswersEndTheWaitOrTimeOut) {
    for (const ByteReplyCase& c : kByteReplyCases) {
        SCOPED_TRACE(c.name);
        answerOn(c.request, c.answer);
        com(1).input.clear();
        std::uint64_t start = fake.now();
        EXPECT_EQ(c.call(), c.result);
        EXPECT_EQ(fake.now() - start, c.elapsed);
        fake.advance(1000 - fake.now() % 1000); // back on a whole second
    }
}

TEST_F(Printer7Replies, PrnCodSendsPositionModeCodeTextAndEnd) {
    answerOn(hex("0D"), {0x01});
    EXPECT_EQ(QV7PrnCod(1, 1, 2, 3, 4, 5, "AB"), 1);
    const std::vector<Bytes> expected{hex("1B 24 02 01"), hex("1B 21 03 04 05"), hex("1B 50"),
                                      hex("41 42"), hex("0D")};
    EXPECT_EQ(com(1).writes(), expected);
}

TEST_F(Printer7Replies, ReplyTimeLimitFollowsWaitBaseSet) {
    ASSERT_EQ(WaitBaseSet(6), 7);
    std::uint64_t start = fake.now();
    EXPECT_EQ(QV7Cover(1, 0), -1);
    EXPECT_EQ(fake.now() - start, 7000U);
}

TEST_F(Printer7Replies, ChkSumComparesAnswersWithSendChk) {
    for (const ChecksumCase& c : kChecksumCases) {
        SCOPED_TRACE(c.name);
        state().StaBuf = {};
        ASSERT_EQ(QV7Reset(1), 2);
        answerOn(hex("1B 59"), c.answer);
        com(1).events.clear();
        EXPECT_EQ(QV7ChkSum(1), c.result);
        EXPECT_EQ(com(1).writes(), std::vector<Bytes>{hex("1B 59")});
        EXPECT_EQ(status(), c.status);
        fake.advance(1000 - fake.now() % 1000);
    }
}

TEST_F(Printer7Replies, ChkSumAgreesWithAPrinterCountingSinceItsReset) {
    // The printer XORs everything it receives after its reset and answers
    // 1B 59 with its sum, the request included.
    std::uint8_t printerSum = 0;
    com(1).onWrite = [&](platform::FakeDevice& dev, std::span<const std::uint8_t> bytes) {
        if (Bytes(bytes.begin(), bytes.end()) == hex("1B 40")) {
            printerSum = 0;
            return;
        }
        for (std::uint8_t b : bytes)
            printerSum ^= b;
        if (Bytes(bytes.begin(), bytes.end()) == hex("1B 59"))
            dev.input.push_back(printerSum);
    };
    QV7Prn(1, 1, 2, 3, 4, 5, "before the reset");
    QV7Reset(1);
    QV7Prn(1, 7, 8, 9, 10, 11, "Total 120");
    QV7PrnBar(1, 73, 2, 3, 4, 5, "4711");
    EXPECT_EQ(QV7ChkSum(1), 1);
    EXPECT_EQ(state().StaBuf[1], state().SendChk);
}

TEST_F(Printer7Replies, ChkSumOnAClosedPortTimesOut) {
    std::uint64_t start = fake.now();
    EXPECT_EQ(QV7ChkSum(2), 0);
    EXPECT_EQ(fake.now() - start, kTimeOutMs);
    EXPECT_EQ(state().StaBuf[0], 0);
}

TEST_F(Printer7Replies, StaCollectsTheStatusAnswer) {
    for (const StatusCase& c : kStatusCases) {
        SCOPED_TRACE(c.name);
        state().StaBuf.fill(0xEE);
        answerOn(hex("1B 4F"), c.answer);
        com(1).input.clear();
        com(1).events.clear();
        std::uint64_t start = fake.now();
        EXPECT_EQ(QV7Sta(1), state().StaBuf.data());
        EXPECT_EQ(fake.now() - start, c.elapsed);
        EXPECT_EQ(com(1).writes(), std::vector<Bytes>{hex("1B 4F")});
        EXPECT_EQ(status(), c.status);
        Status copy{};
        EXPECT_EQ(GetQvSta(copy.data()), 1);
        EXPECT_EQ(copy, c.status);
        fake.advance(1000 - fake.now() % 1000);
    }
}

TEST_F(Printer7Replies, StaWithoutADeviceGivesAClearedBuffer) {
    for (int32_t port : {2, 20}) {
        SCOPED_TRACE(port);
        state().StaBuf.fill(0xEE);
        EXPECT_EQ(QV7Sta(port), state().StaBuf.data());
        EXPECT_EQ(status(), Status{});
    }
}

} // namespace
} // namespace qv::test
