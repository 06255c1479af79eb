// The cash drawer's open, status and end calls against drivers that answer,
// refuse or are missing, and where the driver's device is found.

#include "drawing_fixture.h"

#include <optional>

namespace qv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = platform::FakeEvent::Kind;

class CashDrawer : public DrawingQv {
protected:
    platform::FakeDevice& driver() { return fake.device(kDrawerDefaultPath); }

    // The control requests the driver got: code and input bytes.
    std::vector<std::pair<std::uint32_t, Bytes>> requests(const platform::FakeDevice& dev) {
        std::vector<std::pair<std::uint32_t, Bytes>> out;
        for (const auto& e : dev.events) {
            if (e.kind == Kind::Control)
                out.emplace_back(e.value, e.bytes);
        }
        return out;
    }
};

TEST_F(CashDrawer, ResultsFollowTheDriversAnswers) {
    struct Case {
        const char* name;
        bool present;
        std::optional<Bytes> openAnswer;   // empty: the driver refuses
        std::optional<Bytes> statusAnswer; // empty: the driver refuses
        int32_t open, status;
    };
    const Bytes ten(10, 0);
    const Case cases[] = {
        {"driver missing", false, Bytes{}, Bytes{1}, 0, 0},
        {"driver refuses both", true, std::nullopt, std::nullopt, 0, 0},
        {"open accepted, status refused", true, ten, std::nullopt, 1, 0},
        {"open refused, status answers", true, std::nullopt, Bytes{1, 0, 0}, 0, 1},
        {"status first byte 00", true, ten, Bytes{0, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 1, 2},
        {"status first byte 01", true, ten, Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, 1},
        {"status first byte FF", true, ten, Bytes{0xFF}, 1, 1},
        {"status answers no bytes", true, ten, Bytes{}, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NxdfDrwEnd();
        driver() = platform::FakeDevice{};
        driver().present = c.present;
        if (c.openAnswer)
            driver().controlAnswers[kDrawerOpenCode] = *c.openAnswer;
        if (c.statusAnswer)
            driver().controlAnswers[kDrawerStatusCode] = *c.statusAnswer;
        EXPECT_EQ(NxdfDrwOpen(), c.open);
        EXPECT_EQ(NxdfDrwStatus(), c.status);
        if (c.present) {
            EXPECT_EQ(requests(driver()), (std::vector<std::pair<std::uint32_t, Bytes>>{
                                              {0x222030, ten}, {0x222034, ten}}));
        }
    }
}

TEST_F(CashDrawer, DeviceIsOpenedOnceUntilTheEnd) {
    driver().controlAnswers[kDrawerStatusCode] = {0};
    EXPECT_EQ(NxdfDrwStatus(), 2);
    EXPECT_EQ(NxdfDrwStatus(), 2);
    EXPECT_EQ(NxdfDrwOpen(), 0);
    EXPECT_EQ(driver().controlOpens, 1);
    EXPECT_TRUE(driver().isOpen);

    EXPECT_EQ(NxdfDrwEnd(), 1);
    EXPECT_FALSE(driver().isOpen);
    EXPECT_EQ(driver().closes, 1);
    EXPECT_EQ(drawerState().DrawerDev, platform::kNoHandle);
    EXPECT_EQ(NxdfDrwEnd(), 1); // nothing left to close
    EXPECT_EQ(driver().closes, 1);

    EXPECT_EQ(NxdfDrwStatus(), 2);
    EXPECT_EQ(driver().controlOpens, 2);
}

TEST_F(CashDrawer, FailedOpenIsNotRetriedBeforeTheEnd) {
    driver().present = false;
    EXPECT_EQ(NxdfDrwOpen(), 0);
    driver().present = true;
    driver().controlAnswers[kDrawerOpenCode] = {};
    EXPECT_EQ(NxdfDrwOpen(), 0);
    EXPECT_EQ(NxdfDrwStatus(), 0);
    EXPECT_EQ(fake.openAttempts(kDrawerDefaultPath), 1);

    EXPECT_EQ(NxdfDrwEnd(), 1);
    EXPECT_EQ(NxdfDrwOpen(), 1);
    EXPECT_EQ(fake.openAttempts(kDrawerDefaultPath), 2);
}

TEST_F(CashDrawer, DevicePathCanBeReplaced) {
    struct Case {
        const char* value; // nullptr: not set
        const char* path;
    };
    const Case cases[] = {
        {nullptr, "/dev/cshdw0"}, {"", "/dev/cshdw0"}, {"/dev/usb/drawer0", "/dev/usb/drawer0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value == nullptr ? "(unset)" : c.value);
        if (c.value == nullptr)
            unsetenv(kDrawerPathVariable);
        else
            setenv(kDrawerPathVariable, c.value, 1);
        EXPECT_EQ(drawerDevicePath(), c.path);
        fake.device(c.path).controlAnswers[kDrawerOpenCode] = {};
        EXPECT_EQ(NxdfDrwOpen(), 1);
        EXPECT_EQ(NxdfDrwEnd(), 1);
    }
    unsetenv(kDrawerPathVariable);
    EXPECT_EQ(fake.device("/dev/usb/drawer0").controlOpens, 1);
    EXPECT_EQ(fake.device("/dev/cshdw0").controlOpens, 2);
}

TEST_F(CashDrawer, ADriverHeldByAnotherOpenCannotBeOpened) {
    ASSERT_NE(fake.open(kDrawerDefaultPath, platform::OpenMode::Serial), platform::kNoHandle);
    driver().controlAnswers[kDrawerOpenCode] = {};
    EXPECT_EQ(NxdfDrwOpen(), 0);
}

} // namespace
} // namespace qv::test
