#pragma once
// Fixture for tests of the POSIX backend on a real pseudo-terminal: its slave
// side is COM2 (through QV_COM2), the test plays the device on the master.

#include "qv_fixture.h"

#include <fcntl.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace qv::test {

class PtyOnCom2 : public ::testing::Test {
protected:
    void SetUp() override {
        clearPathOverrides();
        platform::setBackend(nullptr);
        state() = State{};
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slave = ptsname(master);
        setenv("QV_COM2", slave.c_str(), 1);
    }

    void TearDown() override {
        for (int port = 1; port <= kLastPort; ++port)
            QVClosePort(port);
        close(master);
        clearPathOverrides();
        state() = State{};
    }

    int master = -1;
    std::string slave;
};

} // namespace qv::test
