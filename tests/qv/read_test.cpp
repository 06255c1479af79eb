// Reads: never waiting, never past the caller's length or string.

#include "qv_fixture.h"

#include <cstring>

namespace qv::test {
namespace {

class Read : public FakeQv {
protected:
    void SetUp() override {
        FakeQv::SetUp();
        ASSERT_EQ(QVOpenPort(1, ""), 1);
    }
};

TEST_F(Read, ReadByteGivesEachWaitingByteThenMinusOne) {
    com(1).queueInput({0x00, 0x7F, 0xFF});
    EXPECT_EQ(QVReadByte(1), 0x00);
    EXPECT_EQ(QVReadByte(1), 0x7F);
    EXPECT_EQ(QVReadByte(1), 0xFF);
    EXPECT_EQ(QVReadByte(1), -1);
}

TEST_F(Read, PortsWithoutAnOpenReadableDeviceGiveNothing) {
    ASSERT_EQ(QVOpenPort(10, ""), 1); // parallel ports are write-only
    lpt(1).queueInput({0x41});
    for (int port : {0, -1, 2, 10, 14, 100}) {
        SCOPED_TRACE(port);
        char buffer[4] = "abc";
        EXPECT_EQ(QVReadByte(port), -1);
        EXPECT_EQ(QVReadPort(port, buffer, 3), 0);
        EXPECT_EQ(QVReadStr(port, buffer), 0);
        EXPECT_STREQ(buffer, "abc");
    }
}

TEST_F(Read, ReadPortStopsAtTheGivenLength) {
    com(1).queueInput({'1', '2', '3', '4', '5'});
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(QVReadPort(1, buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 8), "123#####");
    EXPECT_EQ(QVReadPort(1, buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 8), "453#####");
    EXPECT_EQ(QVReadPort(1, buffer, 8), 0);
}

TEST_F(Read, ReadPortRefusesBadLengthsAndBuffers) {
    com(1).queueInput({'1', '2'});
    char buffer[2] = {'#', '#'};
    EXPECT_EQ(QVReadPort(1, buffer, 0), 0);
    EXPECT_EQ(QVReadPort(1, buffer, -5), 0);
    EXPECT_EQ(QVReadPort(1, nullptr, 2), 0);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(com(1).input.size(), 2U);
}

TEST_F(Read, ReadStrAsksForTheBufferStringLength) {
    com(1).queueInput({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    char buffer[8] = "     "; // five blanks ask for five bytes
    EXPECT_EQ(QVReadStr(1, buffer), 5);
    EXPECT_EQ(std::string(buffer, 8), std::string("abcde\0\0\0", 8));
    EXPECT_EQ(com(1).input.size(), 3U);

    char empty[4] = "";
    EXPECT_EQ(QVReadStr(1, empty), 0);
    EXPECT_EQ(com(1).input.size(), 3U);
    EXPECT_EQ(QVReadStr(1, nullptr), 0);
}

} // namespace
} // namespace qv::test
