// Port numbers to device paths, with the per-port environment overrides.

#include "device_paths.h"
#include "qv_fixture.h"

namespace qv::test {
namespace {

class DevicePaths : public ::testing::Test {
protected:
    void SetUp() override { clearPathOverrides(); }
    void TearDown() override { clearPathOverrides(); }
};

TEST_F(DevicePaths, DefaultPaths) {
    struct Case {
        int port;
        const char* path;
    };
    for (Case c : {Case{1, "/dev/ttyS0"}, Case{9, "/dev/ttyS8"}, Case{10, "/dev/lp0"},
                   Case{13, "/dev/lp3"}, Case{0, ""}, Case{14, ""}, Case{-1, ""}})
        EXPECT_EQ(devicePath(c.port), c.path) << c.port;
}

TEST_F(DevicePaths, EnvironmentOverridesOnePort) {
    setenv("QV_COM3", "/dev/ttyUSB0", 1);
    setenv("QV_LPT2", "/dev/usb/lp0", 1);
    setenv("QV_COM4", "", 1); // empty: not an override
    EXPECT_EQ(devicePath(3), "/dev/ttyUSB0");
    EXPECT_EQ(devicePath(11), "/dev/usb/lp0");
    EXPECT_EQ(devicePath(4), "/dev/ttyS3");
    EXPECT_EQ(devicePath(2), "/dev/ttyS1");
    EXPECT_EQ(devicePath(10), "/dev/lp0");
}

} // namespace
} // namespace qv::test
