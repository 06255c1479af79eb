#pragma once
/*
 * QV: peripheral driver library for point-of-sale programs (receipt printers,
 * customer displays, cash drawers on serial and parallel ports).
 *
 * Calling convention: every export is a plain C function under its own,
 * undecorated name. On Linux x86-64 there is one calling convention (the
 * System V ABI); no stdcall exists, so no decoration is needed. Integer
 * arguments and results are 32-bit signed (int32_t); a byte argument is the
 * low 8 bits of its integer. Pointers are pointer-sized. Texts are
 * NUL-terminated 8-bit byte strings. Nothing throws, nothing prints; results
 * are byte counts, 1 or 0, or negative codes.
 *
 * Ports are named by number: 1 to 9 are COM1 to COM9, 10 to 13 are LPT1 to
 * LPT4. Slot 13 is shared by LPT4 and the device opened with QVOpenPort13.
 * Any other number is a port without a device: opening it succeeds (except
 * port 0), writing to it sends nothing, reading from it gives nothing.
 *
 * Device paths: COMn is /dev/ttyS(n-1), LPTn is /dev/lp(n-1). Each can be
 * replaced by an environment variable named after the port: QV_COM1 ...
 * QV_COM9, QV_LPT1 ... QV_LPT4 (for example QV_COM1=/dev/ttyUSB0 or
 * QV_LPT1=/dev/usb/lp0). The variable is read at every open.
 *
 * Ports are opened for exclusive use. Serial lines are put in raw mode (no
 * echo, no line editing, no output translation) and reads never wait; writes
 * return once the device driver has taken every byte. A device without modem
 * lines (such as a pseudo-terminal) fails the modem-line calls (GetComSta
 * gives -1, SetComSta for RTS/DTR/break gives 0).
 *
 * Parallel printer status (QVIsLpt, QVI17) is read through the lp driver and
 * given in the PC BIOS layout: bit 7 not busy, bit 6 acknowledge, bit 5 out of
 * paper, bit 4 selected, bit 3 I/O error, bit 0 time-out; 0x90 means ready.
 * A USB printer-class device reports no busy or acknowledge line and counts
 * as not busy. A device that reports no printer status at all (not a printer
 * port) counts as ready; a device that cannot be reached answers 0x01
 * (time-out). An open parallel port is asked through its own descriptor (for
 * port 13 that is whichever device holds slot 13).
 *
 * On Linux:
 *  - WinVersion(1), (2), (3) give the kernel's major, minor and patch numbers,
 *    WinVersion(4) gives the platform id 1: like the Windows 95 family the
 *    platform offers a printer status and print service (the lp driver), so
 *    QVIsLpt reads the real status. WinVersionRem gives the kernel's build
 *    text (uname -v), cut to 127 characters.
 *  - QVI17 writes its byte to the parallel port's device and answers the
 *    printer status read afterwards, with bit 0 (time-out) set when the byte
 *    could not be written.
 *  - WinErrCode gives the errno value of the library's last failed system
 *    call.
 */

#include <stdint.h>

#if defined(__GNUC__)
#define QV_API __attribute__((visibility("default")))
#else
#define QV_API
#endif

#ifdef __cplusplus
#define QV_NOEXCEPT noexcept
extern "C" {
#else
#define QV_NOEXCEPT
#endif

/* The platform version record filled by WinVersionx (148 bytes). */
typedef struct QvOsVersionInfo {
    uint32_t dwOSVersionInfoSize;
    uint32_t dwMajorVersion;
    uint32_t dwMinorVersion;
    uint32_t dwBuildNumber;
    uint32_t dwPlatformId;
    char szCSDVersion[128];
} QvOsVersionInfo;

/* Opening and closing. */
QV_API int32_t QVOpenPort(int32_t port, const char* settings) QV_NOEXCEPT;
QV_API int32_t QVClosePort(int32_t port) QV_NOEXCEPT;
QV_API int32_t QVOpenPort13(const char* deviceName) QV_NOEXCEPT;
QV_API int32_t QVClosePort13(void) QV_NOEXCEPT;
QV_API int32_t QVOpenIr(int32_t port, const char* settings) QV_NOEXCEPT;

/* Writing. */
QV_API int32_t QVSendPort(int32_t port, const void* data, int32_t length) QV_NOEXCEPT;
QV_API int32_t QVSendByte(int32_t port, int32_t byte) QV_NOEXCEPT;
QV_API int32_t QVSendStr(int32_t port, const char* text) QV_NOEXCEPT;

/* Reading; never waits. */
QV_API int32_t QVReadByte(int32_t port) QV_NOEXCEPT;
QV_API int32_t QVReadPort(int32_t port, void* buffer, int32_t length) QV_NOEXCEPT;
QV_API int32_t QVReadStr(int32_t port, char* buffer) QV_NOEXCEPT;

/* Serial status and control. */
QV_API int32_t QVPurgeComm(int32_t port) QV_NOEXCEPT;
QV_API int32_t GetComErr(int32_t port, int32_t item) QV_NOEXCEPT;
QV_API int32_t GetComSta(int32_t port) QV_NOEXCEPT;
QV_API int32_t SetComSta(int32_t port, int32_t function) QV_NOEXCEPT;
QV_API int32_t QVDtrOn(int32_t flag) QV_NOEXCEPT;
QV_API int32_t QvOpnCls(int32_t flag) QV_NOEXCEPT;

/* Status buffer (16 bytes). */
QV_API int32_t GetQvSta(void* buffer16) QV_NOEXCEPT;
QV_API int32_t GetQvStaNum(int32_t index) QV_NOEXCEPT;

/* Parallel printer status. */
QV_API int32_t QVIsLpt(int32_t port) QV_NOEXCEPT;
QV_API int32_t QVI17(int32_t port, int32_t byte) QV_NOEXCEPT;

/* Timing. */
QV_API int32_t WaitBaseSet(int32_t n) QV_NOEXCEPT;
QV_API int32_t jWait(int32_t n) QV_NOEXCEPT;
QV_API int32_t GetSec1000(void) QV_NOEXCEPT;

/* Platform queries. */
QV_API int32_t WinErrCode(void) QV_NOEXCEPT;
QV_API int32_t WinVersion(int32_t k) QV_NOEXCEPT;
QV_API const char* WinVersionRem(void) QV_NOEXCEPT;
QV_API int32_t WinVersionx(QvOsVersionInfo* info) QV_NOEXCEPT;

#ifdef __cplusplus
}
#endif
