#pragma once
// Fixture for tests of the POSIX backend on a real pseudo-terminal: its slave
// side is COM2 (through QV_COM2), the test plays the device on the master.

#include "qv_fixture.h"

#include <fcntl.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace qv::test {

class PtyOnCom2 : public OnPlatformBackend {
protected:
    void SetUp() override {
        OnPlatformBackend::SetUp();
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slave = ptsname(master);
        setenv("QV_COM2", slave.c_str(), 1);
    }

    void TearDown() override {
        OnPlatformBackend::TearDown();
        close(master);
    }

    int master = -1;
    std::string slave;
};

} // namespace qv::test
