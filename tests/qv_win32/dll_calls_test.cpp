// qv.dll as a point-of-sale program meets it: every published name is found
// undecorated, every export keeps its calling convention, results are the
// 32-bit values the header gives, and the platform queries answer as on the
// Windows NT family.

#include "qv_imports.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>
#include <windows.h>

namespace qv::test {
namespace {

struct Published {
    const char* name;
    CallShape shape;
};

const std::vector<Published> kPublished{
#define QV_EXPORT(name) {#name, shapeOf(&::name)},
#include "qv_exports.inc"
#undef QV_EXPORT
};

TEST(DllCalls, EveryPublishedNameIsExportedUndecorated) {
    EXPECT_EQ(kPublished.size(), 164U);
    for (const Published& p : kPublished) {
        EXPECT_NE(exportAddress(p.name), nullptr) << p.name;
        // No stdcall decoration is exported beside the plain name.
        std::string decorated = std::string(p.name) + "@" + std::to_string(4 * p.shape.words);
        EXPECT_EQ(exportAddress(decorated.c_str(), false), nullptr) << decorated;
    }
}

#if defined(__i386__)
TEST(DllCalls, EveryExportLeavesTheStackAsItsConventionSays) {
    // All arguments 0: port 0 has no device, missing texts and buffers are
    // allowed, so every export runs its own code and returns.
    const std::uint32_t zeros[8] = {};
    for (const Published& p : kPublished) {
        SCOPED_TRACE(p.name);
        ASSERT_LE(p.shape.words, 8U);
        callExport(p.name, p.shape, zeros);
    }
}

// The header's own declarations: jWait alone leaves its argument to the caller.
static_assert(shapeOf(&::jWait).callerCleans);
#else
template <class R, class... A> std::tuple<A...> zeroArguments(R (*)(A...) noexcept) {
    return {};
}

TEST(DllCalls, EveryExportRunsThroughItsDeclaredTypeWithEveryArgumentZero) {
    // Port 0 has no device, missing texts and buffers are allowed, so every
    // export runs its own code and returns.
#define QV_EXPORT(name)                                                                            \
    {                                                                                              \
        SCOPED_TRACE(#name);                                                                       \
        std::apply(name, zeroArguments(&::name));                                                  \
    }
#include "qv_exports.inc"
#undef QV_EXPORT
}
#endif
static_assert(!shapeOf(&::QVOpenPort).callerCleans);
static_assert(shapeOf(&::QV7PrnBar).words == 7);

TEST(DllCalls, ResultsAreTheDeclaredValues) {
    EXPECT_EQ(jWait(0), 0);
    EXPECT_EQ(jWait(1), 1);
    EXPECT_EQ(WaitBaseSet(7), 7); // out of range: kept
    EXPECT_EQ(WaitBaseSet(1), 2);
    EXPECT_EQ(QVDtrOn(0), 0);
    EXPECT_EQ(QvOpnCls(0), 0);
    EXPECT_EQ(QVOpenPort(0, "9600,N,8,1"), 0);
    EXPECT_EQ(QVOpenPort(20, "9600,N,8,1"), 1);
    EXPECT_EQ(QVSendStr(20, "AB"), 0);
    EXPECT_EQ(QVReadByte(20), -1);
    int32_t ms = GetSec1000();
    EXPECT_GE(ms, 0);
    EXPECT_LE(ms, 999);
}

TEST(DllCalls, StatusBufferIsOneAddressForEveryCaller) {
    // GetComSta clears the buffer even when the port has no modem lines.
    EXPECT_EQ(GetComSta(20), -1);
    std::uint8_t copy[16];
    std::memset(copy, 0x55, sizeof copy);
    EXPECT_EQ(GetQvSta(copy), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(copy, copy + 16), std::vector<std::uint8_t>(16, 0));
    EXPECT_EQ(GetQvStaNum(16), 0);
    EXPECT_EQ(GetQvStaNum(-1), 0);
}

TEST(DllCalls, PlatformQueriesAnswerAsTheNtFamily) {
    EXPECT_EQ(WinVersion(4), 2); // VER_PLATFORM_WIN32_NT
    EXPECT_GE(WinVersion(1), 5);
    EXPECT_EQ(WinVersion(5), 0);
    QvOsVersionInfo info{};
    EXPECT_EQ(WinVersionx(&info), 1);
    EXPECT_EQ(info.dwOSVersionInfoSize, 148U);
    EXPECT_EQ(info.dwPlatformId, 2U);
    const char* servicePack = WinVersionRem();
    ASSERT_NE(servicePack, nullptr);
    EXPECT_LE(std::strlen(servicePack), 127U);
    // The NT family offers no BIOS printer service.
    EXPECT_EQ(QVIsLpt(1), 0x90);
    EXPECT_EQ(QVI17(1, 0x41), 0);
    // The platform's own error code of the last failed call.
    EXPECT_EQ(QVOpenPort13("\\\\.\\NoSuchDevice"), 0);
    EXPECT_EQ(WinErrCode(), 2); // ERROR_FILE_NOT_FOUND
}

TEST(DllCalls, CashDrawerWithoutItsDriverFails) {
    EXPECT_EQ(NxdfDrwOpen(), 0);
    EXPECT_EQ(NxdfDrwStatus(), 0);
    EXPECT_EQ(NxdfDrwEnd(), 1);
}

TEST(DllCalls, TheCashDrawerDeviceIsOpenedAsANewDeviceGoneWithItsHandle) {
    // A file named in QV_DRAWER shows how the driver's device is opened: one
    // that is not there is made (CREATE_NEW) and goes away with the handle
    // (FILE_FLAG_DELETE_ON_CLOSE); one that is there is refused.
    char folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0U);
    const std::string path = std::string(folder) + "qv_drawer_device";
    DeleteFileA(path.c_str());
    ASSERT_EQ(_putenv(("QV_DRAWER=" + path).c_str()), 0);

    EXPECT_EQ(NxdfDrwOpen(), 0); // a file takes no control requests
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    // It is held without sharing: another opener is refused.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(reader, INVALID_HANDLE_VALUE) << "the drawer's open shares nothing";
    if (reader != INVALID_HANDLE_VALUE)
        CloseHandle(reader);
    EXPECT_EQ(NxdfDrwEnd(), 1);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    HANDLE there = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(there, INVALID_HANDLE_VALUE);
    CloseHandle(there);
    EXPECT_EQ(NxdfDrwStatus(), 0);
    EXPECT_EQ(WinErrCode(), 80); // ERROR_FILE_EXISTS
    EXPECT_EQ(NxdfDrwEnd(), 1);
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(path.c_str());
    ASSERT_EQ(_putenv("QV_DRAWER="), 0);
}

TEST(DllCalls, TextIsRenderedOffScreenWithThePlatformsFonts) {
    // (The screen's drawing is DllScreen's.) Measured and drawn white on
    // black: StaBuf[0], [1] = width and cell height.
    int32_t width = jSetFontN(0, 0, 400, 24, "", "\xA4\xA4\xA4\xE5", 1);
    EXPECT_GT(width, 10);
    int white = 0;
    int32_t lastY = -1, lastX = -1;
    for (int32_t y = 0; y < 24; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (jGetPixel(y, x) == 0x00FFFFFF) {
                ++white;
                lastY = y;
                lastX = x;
            }
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(jGetPixel(lastY, lastX), 0x00FFFFFF);
    EXPECT_EQ(JGetRgb(3), 255);
    EXPECT_EQ(jGetPixel(100, 100), 0);
    EXPECT_EQ(JGetRgb(3), 0);
    EXPECT_EQ(GetQvStaNum(0), width & 0xFF);
    EXPECT_GE(GetQvStaNum(1), 20);
    EXPECT_GT(ScreenXRes(), 0);
    EXPECT_GT(ScreenYRes(), 0);
}

} // namespace
} // namespace qv::test
