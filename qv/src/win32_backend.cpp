#include "win32_backend.h"

#include "error_kind.h"
#include "network_printer.h"
#include "win32_dcb.h"
#include "win32_tcp.h"

#include <windows.h>

namespace qv::platform {
namespace {

HANDLE toWin(Handle h) {
    return reinterpret_cast<HANDLE>(h);
}

Handle fromWin(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<Handle>(h);
}

// Serial lines: read and write, exclusive. Devices: write only, exclusive,
// every write passed straight on (write-through: unlike the platform's
// no-buffering flag it takes writes of any length, so a file or a printer
// share named by QVOpenPort13 is written like a port). Probes: write only,
// shared, for status reads and single bytes.
HANDLE openDevice(const std::string& path, OpenMode mode) {
    DWORD access = mode == OpenMode::Serial ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE;
    DWORD share = mode == OpenMode::Probe ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    DWORD flags = FILE_ATTRIBUTE_SYSTEM;
    if (mode == OpenMode::Device)
        flags |= FILE_FLAG_WRITE_THROUGH;
    return CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr);
}

} // namespace

Handle Win32Backend::open(const std::string& path, OpenMode mode) {
    if (isNetworkName(path)) {
        auto address = networkAddress(path);
        if (!address) {
            recordError(ErrorKind::RefusedSetting);
            return kNoHandle;
        }
        return win32::connectTcp(*address, kNetworkWriteTimeoutMs);
    }
    return fromWin(openDevice(path, mode));
}

bool Win32Backend::close(Handle h) {
    if (win32::isConnection(h))
        return win32::closeConnection(h);
    return CloseHandle(toWin(h)) != FALSE;
}

std::optional<LineState> Win32Backend::getLineState(Handle h) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(toWin(h), &dcb) == FALSE)
        return std::nullopt;
    return win32::lineStateFromDcb(dcb);
}

bool Win32Backend::setLineState(Handle h, const LineState& line) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(toWin(h), &dcb) == FALSE)
        return false;
    win32::applyLineState(dcb, line);
    return SetCommState(toWin(h), &dcb) != FALSE;
}

bool Win32Backend::setReadsReturnAtOnce(Handle h) {
    COMMTIMEOUTS timeouts{};
    if (GetCommTimeouts(toWin(h), &timeouts) == FALSE)
        return false;
    // The maximal interval with zero totals: a read returns at once with
    // what has arrived. Totals another program left behind would make reads
    // wait, so they are cleared too; the write time-outs stay as they were.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    return SetCommTimeouts(toWin(h), &timeouts) != FALSE;
}

bool Win32Backend::setQueueSizes(Handle h, std::uint32_t in, std::uint32_t out) {
    return SetupComm(toWin(h), in, out) != FALSE;
}

std::size_t Win32Backend::write(Handle h, const std::uint8_t* data, std::size_t length) {
    if (win32::isConnection(h))
        return win32::sendAll(h, data, length, kNetworkWriteTimeoutMs);
    std::size_t done = 0;
    while (done < length) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length - done, MAXDWORD));
        DWORD written = 0;
        if (WriteFile(toWin(h), data + done, chunk, &written, nullptr) == FALSE || written == 0)
            break;
        done += written;
    }
    return done;
}

bool Win32Backend::flush(Handle h) {
    if (win32::isConnection(h))
        return true; // every send has been handed to the connection
    return FlushFileBuffers(toWin(h)) != FALSE;
}

std::size_t Win32Backend::read(Handle h, std::uint8_t* buffer, std::size_t length) {
    if (win32::isConnection(h))
        return win32::receiveNow(h, buffer, length);
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length, MAXDWORD));
    DWORD got = 0;
    if (ReadFile(toWin(h), buffer, chunk, &got, nullptr) == FALSE)
        return 0;
    return got;
}

std::optional<std::uint32_t> Win32Backend::modemStatus(Handle h) {
    DWORD word = 0;
    if (GetCommModemStatus(toWin(h), &word) == FALSE)
        return std::nullopt;
    return word;
}

bool Win32Backend::escape(Handle h, int function) {
    // The library's function codes are the platform's (SETXOFF 1 to CLRBREAK 9).
    return EscapeCommFunction(toWin(h), static_cast<DWORD>(function)) != FALSE;
}

std::optional<QueueStatus> Win32Backend::queueStatus(Handle h) {
    DWORD errors = 0;
    COMSTAT comStat{};
    if (ClearCommError(toWin(h), &errors, &comStat) == FALSE)
        return std::nullopt;
    QueueStatus status;
    status.flags = (comStat.fCtsHold ? 0x01U : 0U) | (comStat.fDsrHold ? 0x02U : 0U) |
                   (comStat.fRlsdHold ? 0x04U : 0U) | (comStat.fXoffHold ? 0x08U : 0U) |
                   (comStat.fXoffSent ? 0x10U : 0U) | (comStat.fEof ? 0x20U : 0U) |
                   (comStat.fTxim ? 0x40U : 0U);
    status.cbInQue = comStat.cbInQue;
    status.cbOutQue = comStat.cbOutQue;
    return status;
}

bool Win32Backend::purge(Handle h, std::uint32_t flags) {
    // The library's purge flags are the platform's (PURGE_TXABORT 1 ... RXCLEAR 8).
    return PurgeComm(toWin(h), flags) != FALSE;
}

PrinterStatus Win32Backend::printerStatus(Handle) {
    // The PC BIOS printer service cannot be reached from a 32-bit program on
    // any Windows this DLL runs on: the printer answers as on the NT family,
    // ready, and the spooler or the port driver reports what goes wrong.
    return {PrinterStatus::Kind::NoStatus, 0};
}

std::uint32_t Win32Backend::tickMs() {
    return GetTickCount();
}

UtcTime Win32Backend::utcNow() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    return {now.wSecond, now.wMilliseconds};
}

void Win32Backend::sleepMs(std::uint32_t ms) {
    Sleep(ms);
}

VersionInfo Win32Backend::version() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    VersionInfo v;
    if (GetVersionExA(&info) == FALSE)
        return v;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.build = info.dwBuildNumber;
    v.platformId = info.dwPlatformId;
    v.servicePack = info.szCSDVersion;
    return v;
}

std::uint32_t Win32Backend::lastError() {
    return GetLastError();
}

void Win32Backend::setLastError(std::uint32_t code) {
    SetLastError(code);
}

Handle Win32Backend::openControl(const std::string& path) {
    // No access rights: control requests that need none (the cash drawer's
    // are "any access") work even where the driver grants ordinary users
    // neither reading nor writing. The driver's device takes a fresh open
    // (CREATE_NEW) that goes away with its handle.
    return fromWin(
        CreateFileA(path.c_str(), 0, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

std::optional<std::size_t> Win32Backend::deviceControl(Handle h, std::uint32_t code,
                                                       std::span<const std::uint8_t> in,
                                                       std::span<std::uint8_t> out) {
    DWORD answered = 0;
    if (DeviceIoControl(toWin(h), code, const_cast<std::uint8_t*>(in.data()),
                        static_cast<DWORD>(in.size()), out.data(), static_cast<DWORD>(out.size()),
                        &answered, nullptr) == FALSE)
        return std::nullopt;
    return answered;
}

} // namespace qv::platform
