// The device command tables of the library's own tests, run through qv.dll
// on COM1: the device receives exactly the bytes of every send, in order, and
// each call gives its result.

#include "dll_fixture.h"

// The tables call the functions by name; here the names are qv.dll's exports.
#include "display_cases.h"
#include "printer7_cases.h"
#include "printer_image_cases.h"

#include <span>

namespace qv::test {
namespace {

class DllCommands : public OnCom1 {
protected:
    void expectCases(std::span<const CommandCase> cases) {
        for (const CommandCase& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(c.call(1), c.result);
            EXPECT_EQ(toHex(device().take()),
                      toHex(joined(std::vector<std::string>(c.sends.begin(), c.sends.end()))));
        }
    }
};

TEST_F(DllCommands, Printer7CommandsSendTheirBytes) {
    expectCases(kPrinter7Commands);
}

TEST_F(DllCommands, VfdCommandsSendTheirBytes) {
    expectCases(kVfdCommands);
}

TEST_F(DllCommands, CommandsOnAClosedPortSendNothing) {
    for (const CommandCase& c : kVfdCommands) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(2), 0);
    }
    EXPECT_EQ(toHex(device().take()), "-");
}

TEST_F(DllCommands, QV71BitMapDSendsTheFileInBandsOfEight) {
    for (const ImageCase& c : qv71BitMapDCases()) {
        SCOPED_TRACE(c.name);
        TempFile file(bmpBytes(c.file));
        EXPECT_EQ(QV71BitMapD(1, file.path()), c.result);
        EXPECT_EQ(toHex(device().take()), toHex(joined(c.sends)));
    }
}

TEST_F(DllCommands, MissingBitmapFileIsRefusedBeforeAnythingIsSent) {
    EXPECT_EQ(QV71BitMapD(1, "C:\\no such folder\\image.bmp"), -9);
    EXPECT_EQ(QV7BitMap(1, 0, 0, "C:\\no such folder\\image.bmp"), -9);
    EXPECT_EQ(toHex(device().take()), "-");
}

TEST_F(DllCommands, D304BmpSendsTheRowsLitAndRefusesALockedFile) {
    // Set bits in the file are light dots; the display gets the dark ones set.
    TempFile file(bmpBytes({8, {}, {{0x0F}, {0xF0}}}));
    EXPECT_EQ(D304Bmp(1, 0x41, 0x42, file.path()), 1);
    EXPECT_EQ(toHex(device().take()), "1B5A42410802F00F");

    // Another program holding the file locked: refused before anything is sent.
    HANDLE other = CreateFileA(file.path(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    OVERLAPPED whole{};
    ASSERT_TRUE(LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
    EXPECT_EQ(D304Bmp(1, 0x41, 0x42, file.path()), -9);
    EXPECT_EQ(toHex(device().take()), "-");
    UnlockFileEx(other, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(other);
}

TEST_F(DllCommands, SendChkCountsEveryByteSent) {
    // QV3Reset clears the sum before its own bytes; QVSendStr adds 41 42.
    ASSERT_EQ(QV3Reset(1), 2);
    EXPECT_EQ(QVSendStr(1, "AB"), 2);
    EXPECT_EQ(toHex(device().take()), "1B404142");
}

} // namespace
} // namespace qv::test
