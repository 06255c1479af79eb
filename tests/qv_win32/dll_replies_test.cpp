// The printer family 7 requests of the library's own tests, through qv.dll:
// the device player answers on COM1 as the table says, and the results,
// status bytes and reply time limits are the table's, the time limit on the
// real clock (between ReplyBase - 1 and ReplyBase seconds).

#include "dll_fixture.h"

#include "printer7_reply_cases.h"

namespace qv::test {
namespace {

class DllReplies : public OnCom1 {
protected:
    // Answered requests return as soon as the answer is there, time-outs
    // after one to two seconds.
    static void expectElapsed(DWORD elapsed, std::uint64_t virtualElapsed) {
        if (virtualElapsed == kTimeOutMs) {
            EXPECT_GE(elapsed, 900U);
            EXPECT_LE(elapsed, 2600U);
        } else {
            EXPECT_LT(elapsed, 900U);
        }
    }

    static Status status() {
        Status s{};
        GetQvSta(s.data());
        return s;
    }

    // Nothing left over from the request before.
    static void startFresh() {
        QVPurgeComm(1);
        device().clear();
    }
};

TEST_F(DllReplies, ByteAnswersEndTheWaitOrTimeOut) {
    for (const ByteReplyCase& c : kByteReplyCases) {
        SCOPED_TRACE(c.name);
        startFresh();
        if (!c.answer.empty())
            device().answer(c.request, c.answer);
        DWORD start = GetTickCount();
        EXPECT_EQ(c.call(), c.result);
        expectElapsed(GetTickCount() - start, c.elapsed);
        Bytes got = device().take();
        EXPECT_TRUE(got.size() >= c.request.size() &&
                    std::equal(c.request.rbegin(), c.request.rend(), got.rbegin()))
            << toHex(got);
    }
}

TEST_F(DllReplies, ChkSumComparesAnswersWithSendChk) {
    for (const ChecksumCase& c : kChecksumCases) {
        SCOPED_TRACE(c.name);
        startFresh();
        GetComSta(20); // clears the status buffer
        ASSERT_EQ(QV7Reset(1), 2);
        if (!c.answer.empty())
            device().answer(hex("1B 59"), c.answer);
        EXPECT_EQ(QV7ChkSum(1), c.result);
        EXPECT_EQ(toHex(device().take()), "1B401B59");
        EXPECT_EQ(status(), c.status);
    }
}

TEST_F(DllReplies, StaCollectsTheStatusAnswer) {
    for (const StatusCase& c : kStatusCases) {
        SCOPED_TRACE(c.name);
        startFresh();
        if (!c.answer.empty())
            device().answer(hex("1B 4F"), c.answer);
        DWORD start = GetTickCount();
        const std::uint8_t* buffer = QV7Sta(1);
        expectElapsed(GetTickCount() - start, c.elapsed);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 16),
                  std::vector<std::uint8_t>(c.status.begin(), c.status.end()));
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(toHex(device().take()), "1B4F");
    }
}

TEST_F(DllReplies, ReplyTimeLimitFollowsWaitBaseSet) {
    ASSERT_EQ(WaitBaseSet(3), 4);
    DWORD start = GetTickCount();
    EXPECT_EQ(QV7Cover(1, 0), -1);
    DWORD elapsed = GetTickCount() - start;
    WaitBaseSet(1);
    EXPECT_GE(elapsed, 2900U);
    EXPECT_LE(elapsed, 4600U);
}

} // namespace
} // namespace qv::test
