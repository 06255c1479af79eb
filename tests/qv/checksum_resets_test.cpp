// The running checksum SendChk across the reset commands of every family:
// some clear it before their bytes (which then start the new checksum), family
// 7 clears it after a written reset, the others leave it running.

#include "qv_fixture.h"

#include <functional>

namespace qv::test {
namespace {

using ChecksumResets = FakeQv;

constexpr std::uint8_t kBefore = 0x55;

struct ResetCase {
    const char* name;
    std::function<int32_t(int32_t)> reset;
    std::uint8_t afterOnOpenPort;
    std::uint8_t afterOnClosedPort; // the bytes still count, as for any send to a slot
    std::uint8_t afterWithoutDevice;
};

const ResetCase kResets[] = {
    {"QV7Reset clears after a written reset", [](int32_t p) { return QV7Reset(p); }, 0x00,
     kBefore ^ 0x1B ^ 0x40, kBefore},
    {"QV3Reset clears before", [](int32_t p) { return QV3Reset(p); }, 0x1B ^ 0x40, 0x1B ^ 0x40,
     0x00},
    {"QV71Reset clears before", [](int32_t p) { return QV71Reset(p); }, 0x1B ^ 0x40, 0x1B ^ 0x40,
     0x00},
    {"VFDReset clears before", [](int32_t p) { return VFDReset(p); }, 0x1B ^ 0x40, 0x1B ^ 0x40,
     0x00},
    {"VFDTest clears before", [](int32_t p) { return VFDTest(p); }, 0x1F ^ 0x40, 0x1F ^ 0x40, 0x00},
    {"QV9Reset leaves it", [](int32_t p) { return QV9Reset(p); }, kBefore ^ 0x1B ^ 0x40,
     kBefore ^ 0x1B ^ 0x40, kBefore},
    {"P20Reset leaves it", [](int32_t p) { return P20Reset(p); }, kBefore ^ 0x1B ^ 0x52 ^ 0x0D,
     kBefore ^ 0x1B ^ 0x52 ^ 0x0D, kBefore},
};

TEST_F(ChecksumResets, EachResetTreatsSendChkItsOwnWay) {
    ASSERT_EQ(QVOpenPort(1, ""), 1);
    for (const ResetCase& c : kResets) {
        SCOPED_TRACE(c.name);
        for (auto [port, expected] :
             {std::pair{1, c.afterOnOpenPort}, std::pair{2, c.afterOnClosedPort},
              std::pair{20, c.afterWithoutDevice}}) {
            SCOPED_TRACE(testing::Message() << "port " << port);
            state().SendChk = kBefore;
            c.reset(port);
            EXPECT_EQ(state().SendChk, expected);
        }
    }
}

TEST_F(ChecksumResets, BytesAfterAResetFormTheNewChecksum) {
    ASSERT_EQ(QVOpenPort(1, ""), 1);
    QV7Prn(1, 1, 2, 3, 4, 5, "AB");
    QV7Reset(1);
    QV7MovCrs(1, 0x10, 0x20);
    EXPECT_EQ(state().SendChk, 0x1B ^ 0x24 ^ 0x20 ^ 0x10);
    QV71Reset(1);
    QV71Prn(1, "A", 1);
    EXPECT_EQ(state().SendChk, 0x1B ^ 0x40 ^ 0x41 ^ 0x0A);
}

} // namespace
} // namespace qv::test
