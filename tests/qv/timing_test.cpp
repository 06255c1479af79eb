// Waits on the virtual clock: TickWait, jWait, WaitBaseSet, the clock fields
// and the reply-collection loop.

#include "qv_fixture.h"
#include "timing.h"

namespace qv::test {
namespace {

using Timing = FakeQv;

constexpr std::uint64_t kSecondStart = 1'700'000'040'000; // a whole minute, UTC

TEST_F(Timing, WaitBaseSetStoresOnlyOneToSix) {
    struct Case {
        int n;
        int result;
        int replyBase;
    };
    for (Case c : {Case{0, 0, 2}, Case{1, 2, 2}, Case{3, 4, 4}, Case{6, 7, 7}, Case{7, 7, 2},
                   Case{-1, -1, 2}}) {
        SCOPED_TRACE(c.n);
        state().ReplyBase = 2;
        EXPECT_EQ(WaitBaseSet(c.n), c.result);
        EXPECT_EQ(state().ReplyBase, c.replyBase);
    }
}

TEST_F(Timing, JWaitCountsChangesOfTheMillisecondField) {
    struct Case {
        std::uint32_t granularity;
        int n;
        int count;
        std::uint64_t elapsed;
    };
    const Case cases[] = {
        {1, 0, 0, 0},   {1, -5, 0, 0},         {1, 1, 1, 0},
        {1, 5, 5, 4},   {10, 1, 1, 0},         {10, 3, 3, 20},
        {16, 4, 4, 48}, {1, 9001, 9001, 9000}, {1, 20000, 9001, 9000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.granularity << " ms steps, n=" << c.n);
        fake.setUtcStart(kSecondStart);
        fake.setUtcGranularity(c.granularity);
        std::uint64_t start = fake.now();
        EXPECT_EQ(jWait(c.n), c.count);
        EXPECT_EQ(fake.now() - start, c.elapsed);
        fake.advance(1000 - fake.now() % 1000); // back on a whole second
    }
}

TEST_F(Timing, TickWaitWaitsMoreThanTheGivenMilliseconds) {
    struct Case {
        std::uint32_t tickStart;
        int ms;
        std::uint64_t elapsed;
    };
    for (Case c : {Case{0, 100, 101}, Case{0, 0, 1}, Case{0, -3, 0}, Case{0xFFFFFFF0U, 50, 51}}) {
        SCOPED_TRACE(c.ms);
        fake.setTickStart(c.tickStart - static_cast<std::uint32_t>(fake.now()));
        std::uint64_t start = fake.now();
        TickWait(c.ms);
        EXPECT_EQ(fake.now() - start, c.elapsed);
    }
}

TEST_F(Timing, ClockFieldsComeFromUtc) {
    fake.setUtcStart(kSecondStart + 56'789); // :56.789
    EXPECT_EQ(GetSec(), 56);
    EXPECT_EQ(GetSec1000(), 789);
    fake.advance(1'300);
    EXPECT_EQ(GetSec(), 58);
    EXPECT_EQ(GetSec1000(), 89);
}

class Reply : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        ASSERT_EQ(QVOpenPort(1, ""), 1);
        start = fake.now();
    }
    std::uint64_t start = 0;
};

TEST_F(Reply, TimesOutAfterReplyBaseChangesOfTheSecondsField) {
    struct Case {
        int replyBase;
        std::uint64_t msIntoSecond;
        std::uint64_t elapsed; // until the last counted change of the seconds field
    };
    for (Case c : {Case{2, 0, 2000}, Case{2, 500, 1500}, Case{2, 999, 1001}, Case{7, 250, 6750}}) {
        SCOPED_TRACE(testing::Message() << "ReplyBase " << c.replyBase << " +" << c.msIntoSecond);
        state().ReplyBase = c.replyBase;
        fake.setUtcStart(kSecondStart + c.msIntoSecond - fake.now());
        std::uint64_t from = fake.now();
        int calls = 0;
        EXPECT_FALSE(WaitReply(1, [&](int32_t b) {
            EXPECT_EQ(b, -1);
            ++calls;
            return false;
        }));
        EXPECT_EQ(fake.now() - from, c.elapsed);
        EXPECT_GT(calls, 0);
    }
}

TEST_F(Reply, HandsEveryByteToTheRequestUntilItIsDone) {
    fake.setUtcStart(kSecondStart);
    fake.scheduleInput(comPath(1), 300, {0x41, 0x42, 0x0A, 0x43});
    std::vector<int32_t> seen;
    EXPECT_TRUE(WaitReply(1, [&](int32_t b) {
        if (b >= 0)
            seen.push_back(b);
        return b == 0x0A;
    }));
    EXPECT_EQ(seen, (std::vector<int32_t>{0x41, 0x42, 0x0A}));
    EXPECT_EQ(fake.now() - start, 300U);
    EXPECT_EQ(QVReadByte(1), 0x43);
}

TEST_F(Reply, ClosedPortRunsToTheTimeOut) {
    fake.setUtcStart(kSecondStart);
    EXPECT_FALSE(WaitReply(5, [](int32_t b) { return b >= 0; }));
    EXPECT_EQ(fake.now() - start, 2000U);
}

} // namespace
} // namespace qv::test
