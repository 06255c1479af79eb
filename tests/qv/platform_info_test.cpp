// Platform queries (version, last error) and the callers' view of the status
// buffer.

#include "qv_fixture.h"

#include <cerrno>
#include <cstring>

namespace qv::test {
namespace {

class PlatformInfo : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        fake.setVersion({6, 1, 76, 1, "#1 SMP Debian"});
    }
};

TEST_F(PlatformInfo, WinVersionAnswersByKind) {
    struct Case {
        int k;
        int result;
    };
    for (Case c :
         {Case{1, 6}, Case{2, 1}, Case{3, 76}, Case{4, 1}, Case{0, 0}, Case{5, 0}, Case{-1, 0}})
        EXPECT_EQ(WinVersion(c.k), c.result) << c.k;
}

TEST_F(PlatformInfo, ServicePackTextIsTheLibrarysOwnCopy) {
    const char* text = WinVersionRem();
    EXPECT_STREQ(text, "#1 SMP Debian");
    fake.setVersion({6, 1, 76, 1, std::string(300, 'x')});
    WinVersion(1); // refills the same record
    EXPECT_EQ(std::strlen(text), 127U);
    EXPECT_EQ(WinVersionRem(), text);
}

TEST_F(PlatformInfo, WinVersionxFillsTheCallersRecord) {
    QvOsVersionInfo info;
    std::memset(&info, 0xAB, sizeof info);
    EXPECT_EQ(WinVersionx(&info), 1);
    EXPECT_EQ(info.dwOSVersionInfoSize, 148U);
    EXPECT_EQ(info.dwMajorVersion, 6U);
    EXPECT_EQ(info.dwMinorVersion, 1U);
    EXPECT_EQ(info.dwBuildNumber, 76U);
    EXPECT_EQ(info.dwPlatformId, 1U);
    EXPECT_STREQ(info.szCSDVersion, "#1 SMP Debian");
    EXPECT_EQ(info.szCSDVersion[127], '\0');
    EXPECT_EQ(WinVersionx(nullptr), 0);
}

TEST_F(PlatformInfo, WinErrCodeIsTheLastFailure) {
    com(7).present = false;
    QVOpenPort(7, "");
    EXPECT_EQ(WinErrCode(), ENOENT);
    fake.setLastError(5);
    EXPECT_EQ(WinErrCode(), 5);
}

TEST_F(PlatformInfo, StatusBufferReadsBackWholeOrByIndex) {
    for (std::size_t i = 0; i < kStaBufSize; ++i)
        state().StaBuf[i] = static_cast<std::uint8_t>(0xF0 + i);
    std::uint8_t copy[kStaBufSize + 2];
    std::memset(copy, 0x11, sizeof copy);
    EXPECT_EQ(GetQvSta(copy), 1);
    EXPECT_EQ(std::memcmp(copy, state().StaBuf.data(), kStaBufSize), 0);
    EXPECT_EQ(copy[kStaBufSize], 0x11);
    EXPECT_EQ(GetQvSta(nullptr), 1);

    struct Case {
        int index;
        int value;
    };
    for (Case c :
         {Case{0, 0xF0}, Case{15, 0xFF}, Case{7, 0xF7}, Case{-1, 0}, Case{16, 0}, Case{1000, 0}})
        EXPECT_EQ(GetQvStaNum(c.index), c.value) << c.index;
}

} // namespace
} // namespace qv::test
