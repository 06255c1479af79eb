#pragma once
// Tables of device commands: for each export call, every send that reaches
// the device (one entry per write, so send boundaries count) and the result.

#include "command_table.h"
#include "qv_fixture.h"

#include <span>

namespace qv::test {

// Commands on COM1, opened before each test.
class Commands : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        ASSERT_EQ(QVOpenPort(1, ""), 1);
    }

    // Each case on the open port writes exactly its sends and returns its result.
    void expectCases(std::span<const CommandCase> cases) {
        for (const CommandCase& c : cases) {
            SCOPED_TRACE(c.name);
            com(1).events.clear();
            EXPECT_EQ(c.call(1), c.result);
            std::vector<std::vector<std::uint8_t>> expected;
            for (const char* s : c.sends)
                expected.push_back(hex(s));
            EXPECT_EQ(com(1).writes(), expected);
        }
    }

    // Each case on a closed port (COM2) and on ports without a device writes
    // nothing anywhere and returns 0.
    void expectNothingWithoutDevice(std::span<const CommandCase> cases) {
        for (int32_t port : {2, 0, 14, -1}) {
            for (const CommandCase& c : cases) {
                SCOPED_TRACE(testing::Message() << c.name << " on port " << port);
                EXPECT_EQ(c.call(port), 0);
            }
        }
        EXPECT_TRUE(com(1).writes().empty());
        EXPECT_TRUE(com(2).writes().empty());
    }
};

} // namespace qv::test
