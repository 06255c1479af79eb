#pragma once
// Fixture for tests on the in-memory backend: every test starts from the
// load-time state with fresh devices and a virtual clock at 0.

#include "fake_backend.h"
#include "platform.h"
#include "state.h"

#include "qv.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv::test {

inline std::string comPath(int n) {
    return "/dev/ttyS" + std::to_string(n - 1);
}

inline std::string lptPath(int n) {
    return "/dev/lp" + std::to_string(n - 1);
}

inline void clearPathOverrides() {
    for (const char* name : PortName) {
        if (*name != '\0')
            unsetenv((std::string("QV_") + name).c_str());
    }
}

inline platform::PrinterStatus biosStatus(std::uint8_t bios) {
    return {platform::PrinterStatus::Kind::Status, bios};
}

class FakeQv : public ::testing::Test {
protected:
    void SetUp() override {
        clearPathOverrides();
        platform::setBackend(&fake);
        state() = State{};
    }
    void TearDown() override {
        platform::setBackend(nullptr);
        state() = State{};
    }

    platform::FakeDevice& com(int n) { return fake.device(comPath(n)); }
    platform::FakeDevice& lpt(int n) { return fake.device(lptPath(n)); }

    static std::vector<platform::FakeEvent::Kind> kinds(const platform::FakeDevice& dev) {
        std::vector<platform::FakeEvent::Kind> out;
        for (const auto& e : dev.events)
            out.push_back(e.kind);
        return out;
    }

    platform::FakeBackend fake;
};

// Fixture for tests on the platform's own backend (real devices, FIFOs,
// sockets): every test starts from the load-time state without path
// overrides, and every port is closed afterwards.
class OnPlatformBackend : public ::testing::Test {
protected:
    void SetUp() override {
        clearPathOverrides();
        platform::setBackend(nullptr);
        state() = State{};
    }
    void TearDown() override {
        for (int port = 1; port <= kLastPort; ++port)
            QVClosePort(port);
        clearPathOverrides();
        state() = State{};
    }
};

} // namespace qv::test
