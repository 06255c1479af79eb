// Opening COM1 of qv.dll with mode strings (read by the platform's own
// parser) and with the infrared adapter's probe, the line the device's
// terminal then has, bytes both ways, queue counts and purging.

#include "dll_fixture.h"

namespace qv::test {
namespace {

using DllOpen = OnCom1;

struct ModeCase {
    const char* settings;
    unsigned baud;
    bool twoStopBits;
};

TEST_F(DllOpen, ModeStringsSetTheLine) {
    // A pseudo-terminal keeps 8 data bits without parity whatever it is told,
    // so the speed and the stop bits show the settings arrived.
    const ModeCase cases[] = {
        {"19200,E,7,2", 19200, true},
        {"9600,N,8,1", 9600, false},
        {"baud=4800 parity=n data=8 stop=2", 4800, true},
        {"COM1:38400,N,8,1", 38400, false},
        {"115200,n,8,1,x", 115200, false},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.settings);
        ASSERT_EQ(QVClosePort(1), 1);
        ASSERT_EQ(QVOpenPort(1, c.settings), 1);
        TerminalLine line = device().line();
        EXPECT_EQ(line.baud, c.baud);
        EXPECT_EQ(line.twoStopBits, c.twoStopBits);
    }
    // Empty settings, or settings starting with a blank, leave the line as it was.
    for (const char* unchanged : {"", " 1200,N,8,1"}) {
        ASSERT_EQ(QVClosePort(1), 1);
        ASSERT_EQ(QVOpenPort(1, unchanged), 1);
        EXPECT_EQ(device().line().baud, 115200U) << unchanged;
    }
}

TEST_F(DllOpen, OpenTwiceAndMissingPorts) {
    EXPECT_EQ(QVOpenPort(1, "1200,N,8,1"), 1); // already open: nothing changes
    EXPECT_EQ(device().line().baud, 9600U);
    EXPECT_EQ(QVOpenPort(9, "9600,N,8,1"), 0); // COM9 has no device
    EXPECT_EQ(WinErrCode(), 2);                // ERROR_FILE_NOT_FOUND
    EXPECT_EQ(QVClosePort(9), 0);
}

TEST_F(DllOpen, NamedDevicesAreWrittenThroughSlot13) {
    // Windows opens a COM port for one user at a time; Wine does not refuse
    // a second opener, so that is not asked here.
    ASSERT_EQ(QVClosePort(1), 1);
    ASSERT_EQ(QVOpenPort13("\\\\.\\COM1"), 1);
    EXPECT_EQ(QVOpenPort13("COM1"), 9);
    EXPECT_EQ(QVSendStr(13, "ok"), 2);
    EXPECT_EQ(toHex(device().take()), "6F6B");
    EXPECT_EQ(QVClosePort13(), 1);
}

TEST_F(DllOpen, ParallelPortIsOpenedWriteOnly) {
    // LPT1 is mapped to the device's terminal too; the NT family has no
    // printer status, so the port counts as ready.
    ASSERT_EQ(QVClosePort(1), 1);
    ASSERT_EQ(QVOpenPort(10, ""), 1);
    EXPECT_EQ(QVSendPort(10, "AB", 2), 2);
    EXPECT_EQ(QVSendByte(10, 'C'), 1);
    EXPECT_EQ(toHex(device().take()), "414243");
    EXPECT_EQ(QVReadByte(10), -1);
    EXPECT_EQ(QVClosePort(10), 1);
}

TEST_F(DllOpen, AFileNamedForSlot13IsWrittenLikeAPort) {
    char folder[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0U);
    ASSERT_NE(GetTempFileNameA(folder, "qv", 0, file), 0U); // made empty
    ASSERT_EQ(QVOpenPort13(file), 1);
    EXPECT_EQ(QVSendPort(13, "\x1B@ABC", 5), 5);
    EXPECT_EQ(QVSendStr(13, "\r\n"), 2);
    ASSERT_EQ(QVClosePort13(), 1);
    HANDLE h = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char content[16] = {};
    DWORD got = 0;
    ReadFile(h, content, sizeof content, &got, nullptr);
    CloseHandle(h);
    DeleteFileA(file);
    EXPECT_EQ(std::string(content, got), "\x1B@ABC\r\n");
}

TEST_F(DllOpen, BytesPassUnchangedBothWaysAndReadsNeverWait) {
    const Bytes out{'\r', '\n', 0x00, 0xFF, 0x1B, 0x03, 0x11, 0x13};
    const Bytes in{'\r', '\n', 0x03, 0x7F, 0xFF, 0x11, 0x13, 0x04};
    EXPECT_EQ(QVReadByte(1), -1);
    device().answer(out, in);
    EXPECT_EQ(QVSendPort(1, out.data(), static_cast<int32_t>(out.size())), 8);
    EXPECT_EQ(toHex(device().take()), toHex(out));
    ASSERT_TRUE(waitForInput(8));
    EXPECT_EQ(GetComErr(1, 9), 8);
    EXPECT_EQ(GetComErr(1, 10), 0);
    char buffer[6] = "xxxxx";
    EXPECT_EQ(QVReadStr(1, buffer), 5);
    Bytes got(buffer, buffer + 5);
    for (int32_t b; (b = QVReadByte(1)) >= 0;)
        got.push_back(static_cast<std::uint8_t>(b));
    EXPECT_EQ(toHex(got), toHex(in));
}

TEST_F(DllOpen, PurgeDropsWhatArrived) {
    device().answer(hex("41"), hex("01 02 03"));
    ASSERT_EQ(QVSendByte(1, 0x41), 1);
    ASSERT_TRUE(waitForInput(3));
    EXPECT_EQ(GetComErr(1, 9), 3);
    EXPECT_NE(QVPurgeComm(1), 0);
    EXPECT_EQ(GetComErr(1, 1), 0);
    EXPECT_EQ(GetComErr(1, 9), 0);
    EXPECT_EQ(QVReadByte(1), -1);
}

TEST_F(DllOpen, AutomaticOpenAndCloseAroundEachSend) {
    ASSERT_EQ(QVClosePort(1), 1);
    ASSERT_EQ(QvOpnCls(1), 1);
    EXPECT_EQ(QVSendPort(1, "AB", 2), 2);
    EXPECT_EQ(QvOpnCls(0), 0);
    EXPECT_EQ(toHex(device().take()), "4142");
    EXPECT_EQ(device().line().baud, 9600U);
    EXPECT_EQ(QVReadByte(1), -1); // closed again after the send
}

TEST_F(DllOpen, InfraredAdapterIsProbedThenGivenItsSpeed) {
    ASSERT_EQ(QVClosePort(1), 1);
    // The adapter echoes the probe at the first rate tried, 9600.
    device().answer(hex("0F"), hex("0F"));
    EXPECT_EQ(QVOpenIr(1, "19200,N,8,1"), 1);
    EXPECT_EQ(toHex(device().take()), "0F073351"); // probe, attention, 19200, commit
    EXPECT_EQ(device().line().baud, 19200U);
    ASSERT_EQ(QVClosePort(1), 1);
    // A silent adapter: five probes, then -2 with the port left open.
    EXPECT_EQ(QVOpenIr(1, "9600,N,8,1"), -2);
    EXPECT_EQ(toHex(device().take()), "0F0F0F0F0F");
    EXPECT_EQ(QVOpenIr(1, "9600,N,8,1"), 1); // the slot is in use
}

TEST_F(DllOpen, ModemStatusFillsTheStatusBufferFromItsWord) {
    int32_t word = GetComSta(1);
    std::uint8_t status[16] = {};
    GetQvSta(status);
    if (word < 0) {
        EXPECT_EQ(word, -1);
        EXPECT_EQ(std::vector<std::uint8_t>(status, status + 16), std::vector<std::uint8_t>(16, 0));
    } else {
        EXPECT_EQ(status[0], word & 0x10);
        EXPECT_EQ(status[1], word & 0x20);
        EXPECT_EQ(status[2], word & 0x40);
        EXPECT_EQ(status[3], word & 0x80);
    }
    EXPECT_EQ(SetComSta(1, 10), 1); // not a platform function: nothing done
}

} // namespace
} // namespace qv::test
