// WinErrCode of qv.dll gives the codes Windows itself gives for each failure
// a point-of-sale program checks for: the image exports' file opens go
// through the platform with no sharing, a refused mode string keeps the mode
// parser's code, and a port that is not open gives the platform's answer for
// a call on no device.

#include "dll_fixture.h"

#include <string>

namespace qv::test {
namespace {

using DllErrors = OnCom1;

std::string tempFolder() {
    char folder[MAX_PATH] = {};
    EXPECT_GT(GetTempPathA(MAX_PATH, folder), 0U);
    return folder;
}

// A file of a 1-dot picture the image exports would take.
std::string oneDotBmp() {
    char file[MAX_PATH] = {};
    EXPECT_NE(GetTempFileNameA(tempFolder().c_str(), "qv", 0, file), 0U);
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    std::uint8_t bytes[62] = {'B', 'M'};
    bytes[18] = 1; // width
    bytes[22] = 1; // height
    DWORD written = 0;
    WriteFile(h, bytes, sizeof bytes, &written, nullptr);
    CloseHandle(h);
    return file;
}

TEST_F(DllErrors, ImageFilesThatCannotBeOpenedGiveWindowsCodes) {
    const std::string image = oneDotBmp();
    const std::string missing = tempFolder() + "qv_no_such_image.bmp";
    const std::string folder = tempFolder();
    // Another program holds the image without sharing it.
    HANDLE holder = CreateFileA(image.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    struct Case {
        const char* what;
        const char* path;
        int32_t error;
    };
    const Case cases[] = {
        {"missing", missing.c_str(), 2}, // ERROR_FILE_NOT_FOUND
        {"held", image.c_str(), 32},     // ERROR_SHARING_VIOLATION
        {"a folder", folder.c_str(), 5}, // ERROR_ACCESS_DENIED
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(D304Bmp(1, 0, 0, c.path), -9);
        EXPECT_EQ(WinErrCode(), c.error);
        SetLastError(0);
        EXPECT_EQ(QV7BitMap(1, 0, 0, c.path), -9);
        EXPECT_EQ(WinErrCode(), c.error);
        SetLastError(0);
        EXPECT_EQ(QV71BitMapD(1, c.path), -9);
        EXPECT_EQ(WinErrCode(), c.error);
    }
    EXPECT_TRUE(device().take().empty()) << "nothing is sent for a refused file";

    // Once the other program lets go, the same file is sent.
    CloseHandle(holder);
    EXPECT_GT(D304Bmp(1, 0, 0, image.c_str()), 0);
    EXPECT_EQ(toHex(device().take()), "1B5A00000101"
                                      "80");
    DeleteFileA(image.c_str());
}

TEST_F(DllErrors, ARefusedModeStringKeepsTheParsersCode) {
    for (const char* refused : {"9600,Q,8,1", "9600,N,8,1,z", "baud=9600 parity=q"}) {
        SCOPED_TRACE(refused);
        ASSERT_EQ(QVClosePort(1), 1);
        SetLastError(0);
        // The port opens all the same, with its line as it was.
        EXPECT_EQ(QVOpenPort(1, refused), 1);
        EXPECT_EQ(WinErrCode(), 87); // ERROR_INVALID_PARAMETER
        EXPECT_EQ(device().line().baud, 9600U);
    }
}

TEST_F(DllErrors, APortThatIsNotOpenGivesTheInvalidHandleCode) {
    ASSERT_EQ(QVClosePort(1), 1);
    struct Case {
        const char* what;
        int32_t (*call)();
        int32_t result;
    };
    const Case cases[] = {
        {"QVSendPort", [] { return QVSendPort(1, "A", 1); }, 0},
        {"QVSendStr", [] { return QVSendStr(1, "A"); }, 0},
        {"QVSendByte", [] { return QVSendByte(1, 'A'); }, 0},
        {"QVReadByte", [] { return QVReadByte(1); }, -1},
        {"GetComSta", [] { return GetComSta(1); }, -1},
        {"QVClosePort", [] { return QVClosePort(1); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(c.call(), c.result);
        EXPECT_EQ(WinErrCode(), 6); // ERROR_INVALID_HANDLE
    }
    EXPECT_TRUE(device().take().empty());
}

} // namespace
} // namespace qv::test
