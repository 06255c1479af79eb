// Printer family 7: the requests the printer answers, with scripted answers
// and time-outs on the virtual clock (which starts on a whole second, so the
// default limit of 2 changes of the seconds field ends a wait at 2000 ms).

#include "command_cases.h"

#include <array>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = std::array<std::uint8_t, kStaBufSize>;

constexpr std::uint64_t kAnswerAfterMs = 300;
constexpr std::uint64_t kTimeOutMs = 2000;

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

struct ByteReplyCase {
    const char* name;
    std::function<int32_t()> call;
    Bytes request; // the last send before the wait
    Bytes answer;  // empty: no answer
    int32_t result;
    std::uint64_t elapsed;
};

TEST_F(Printer7Replies, ByteAnswersEndTheWaitOrTimeOut) {
    const ByteReplyCase cases[] = {
        {"QV7Cover mode 0", [] { return QV7Cover(1, 0); }, hex("1B 43"), {0x00}, 0, kAnswerAfterMs},
        {"QV7Cover other mode",
         [] { return QV7Cover(1, 5); },
         hex("1B 63"),
         {0x81, 0x01},
         0x81,
         kAnswerAfterMs},
        {"QV7Cover negative mode",
         [] { return QV7Cover(1, -1); },
         hex("1B 63"),
         {0x30},
         0x30,
         kAnswerAfterMs},
        {"QV7Cover time-out", [] { return QV7Cover(1, 0); }, hex("1B 43"), {}, -1, kTimeOutMs},
        {"QV7PrnCod byte above 0",
         [] { return QV7PrnCod(1, 1, 2, 3, 4, 5, "AB"); },
         hex("0D"),
         {0x06},
         1,
         kAnswerAfterMs},
        {"QV7PrnCod byte 00",
         [] { return QV7PrnCod(1, 1, 2, 3, 4, 5, "AB"); },
         hex("0D"),
         {0x00, 0x06},
         0,
         kAnswerAfterMs},
        {"QV7PrnCod time-out",
         [] { return QV7PrnCod(1, 1, 2, 3, 4, 5, "AB"); },
         hex("0D"),
         {},
         0,
         kTimeOutMs},
    };
    for (const ByteReplyCase& c : cases) {
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

struct ChecksumCase {
    const char* name;
    Bytes answer;
    int32_t result;
    Status status; // bytes 0 to 2: the request's result, the last byte answered, SendChk
};

TEST_F(Printer7Replies, ChkSumComparesAnswersWithSendChk) {
    const ChecksumCase cases[] = {
        {"matching byte", {0x42}, 1, {0x02, 0x42, 0x42}},
        {"wrong byte, then the matching one", {0x10, 0x42, 0x77}, 1, {0x02, 0x42, 0x42}},
        {"only a wrong byte", {0x10}, 0, {0x02, 0x10, 0x42}},
        {"no answer", {}, 0, {0x02, 0x00, 0x00}},
    };
    for (const ChecksumCase& c : cases) {
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

struct StatusCase {
    const char* name;
    Bytes answer;
    Status status;
    std::uint64_t elapsed;
};

TEST_F(Printer7Replies, StaCollectsTheStatusAnswer) {
    const StatusCase cases[] = {
        {"ends with the line feed",
         hex("41 42 43 0A 44"),
         {0x41, 0x42, 0x43, 0x0A},
         kAnswerAfterMs},
        {"ends after 12 bytes",
         hex("41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F"),
         {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C},
         kAnswerAfterMs},
        {"bytes 00 to 09 are left out",
         hex("05 41 00 09 42 0A"),
         {0x41, 0x42, 0x0A},
         kAnswerAfterMs},
        {"time-out keeps what came", hex("41 42"), {0x41, 0x42}, kTimeOutMs},
        {"no answer", {}, {}, kTimeOutMs},
    };
    for (const StatusCase& c : cases) {
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
