// Driver control requests in the POSIX backend: the ioctl numbers they
// become, and how devices without such a driver answer.

#include "posix_backend.h"
#include "posix_ioctl.h"

#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace qv::test {
namespace {

TEST(PosixDeviceControl, CodesBecomeReadWriteIoctlsOfTheSameTypeAndFunction) {
    struct Case {
        std::uint32_t code;
        std::size_t size;
        unsigned type, number;
    };
    const Case cases[] = {
        {0x222030, 10, 0x22, 0x0C},
        {0x222034, 10, 0x22, 0x0D},
        {0x0022E004, 4, 0x22, 0x01},
        {0x00090018, 0, 0x09, 0x06},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        unsigned long request = posix::ioctlRequest(c.code, c.size);
        EXPECT_EQ(_IOC_TYPE(request), c.type);
        EXPECT_EQ(_IOC_NR(request), c.number);
        EXPECT_EQ(_IOC_SIZE(request), c.size);
        EXPECT_EQ(_IOC_DIR(request), static_cast<unsigned>(_IOC_READ | _IOC_WRITE));
    }
}

TEST(PosixDeviceControl, ADeviceWithoutTheDriverRefusesTheRequest) {
    platform::PosixBackend backend;
    platform::Handle h = backend.openControl("/dev/null");
    ASSERT_NE(h, platform::kNoHandle);
    const std::uint8_t in[10] = {};
    std::uint8_t out[10] = {};
    EXPECT_FALSE(backend.deviceControl(h, 0x222030, in, out).has_value());
    EXPECT_EQ(backend.lastError(), static_cast<std::uint32_t>(ENOTTY));
    EXPECT_TRUE(backend.close(h));
    EXPECT_FALSE(backend.deviceControl(h, 0x222030, in, out).has_value());
}

TEST(PosixDeviceControl, OpeningIsExclusiveAndFailsForMissingDevices) {
    platform::PosixBackend backend;
    EXPECT_EQ(backend.openControl("/nonexistent/cshdw0"), platform::kNoHandle);
    EXPECT_EQ(backend.lastError(), static_cast<std::uint32_t>(ENOENT));

    char name[] = "/tmp/qv-drawer-XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    platform::Handle first = backend.openControl(name);
    ASSERT_NE(first, platform::kNoHandle);
    EXPECT_EQ(backend.openControl(name), platform::kNoHandle);
    EXPECT_EQ(backend.lastError(), static_cast<std::uint32_t>(EBUSY));
    EXPECT_TRUE(backend.close(first));
    platform::Handle second = backend.openControl(name);
    EXPECT_NE(second, platform::kNoHandle);
    backend.close(second);
    unlink(name);
}

} // namespace
} // namespace qv::test
