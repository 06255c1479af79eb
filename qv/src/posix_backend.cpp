#include "posix_backend.h"

#include "network_printer.h"
#include "posix_ioctl.h"
#include "posix_printer.h"
#include "posix_quiet_write.h"
#include "posix_rate.h"
#include "posix_tcp.h"
#include "posix_termios.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace qv::platform {
namespace {

constexpr std::uint32_t kPlatformId = 1; // a platform with a printer service

int openFlags(OpenMode mode) {
    int access = mode == OpenMode::Serial ? O_RDWR : O_WRONLY;
    return access | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
}

bool setBlocking(int fd) {
    int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

bool makeTerminalRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    posix::makeRaw(t);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace

Handle PosixBackend::store(const Port& port) {
    for (std::size_t i = 0; i < kMaxOpen; ++i) {
        bool expected = false;
        if (m_ports[i].used.compare_exchange_strong(expected, true, std::memory_order_acq_rel)) {
            m_ports[i].port = port;
            return static_cast<Handle>(i + 1);
        }
    }
    ::close(port.fd);
    fail(EMFILE);
    return kNoHandle;
}

PosixBackend::Port* PosixBackend::find(Handle h) {
    if (h <= kNoHandle || h > static_cast<Handle>(kMaxOpen) ||
        !m_ports[static_cast<std::size_t>(h - 1)].used.load(std::memory_order_acquire)) {
        fail(EBADF);
        return nullptr;
    }
    return &m_ports[static_cast<std::size_t>(h - 1)].port;
}

PosixBackend::Port* PosixBackend::findTerminal(Handle h) {
    Port* port = find(h);
    if (port != nullptr && !port->terminal) {
        fail(ENOTTY);
        return nullptr;
    }
    return port;
}

thread_local std::uint32_t PosixBackend::t_lastError = 0;

bool PosixBackend::fail(int error) {
    t_lastError = static_cast<std::uint32_t>(error);
    return false;
}

Handle PosixBackend::openNetwork(const std::string& name) {
    auto address = networkAddress(name);
    if (!address) {
        fail(EINVAL);
        return kNoHandle;
    }
    int fd = posix::connectTcp(*address, kNetworkWriteTimeoutMs);
    if (fd < 0) {
        fail(errno);
        return kNoHandle;
    }
    Port port;
    port.fd = fd;
    port.network = true;
    return store(port);
}

Handle PosixBackend::open(const std::string& path, OpenMode mode) {
    // A network printer takes one connection per open; it stays non-blocking,
    // and writes wait for room with the write time-out.
    if (isNetworkName(path))
        return openNetwork(path);
    int fd = ::open(path.c_str(), openFlags(mode));
    if (fd < 0) {
        fail(errno);
        return kNoHandle;
    }
    // Exclusive use: one open at a time, in this process and in others.
    if (mode != OpenMode::Probe && flock(fd, LOCK_EX | LOCK_NB) != 0) {
        fail(EBUSY);
        ::close(fd);
        return kNoHandle;
    }
    Port port;
    port.fd = fd;
    port.terminal = isatty(fd) != 0;
    if (port.terminal && mode != OpenMode::Probe) {
        port.exclusive = ioctl(fd, TIOCEXCL) == 0;
        termios t{};
        if (!makeTerminalRaw(fd) || tcgetattr(fd, &t) != 0) {
            fail(errno);
            ::close(fd);
            return kNoHandle;
        }
        port.line = posix::lineStateFromTermios(t);
        if (auto rate = posix::customRate(fd))
            port.line.BaudRate = *rate;
    }
    // Short-lived probes never block; the others write like the platform's
    // synchronous writes, and reads stay non-waiting through poll.
    if (mode != OpenMode::Probe)
        setBlocking(fd);
    return store(port);
}

bool PosixBackend::close(Handle h) {
    Port* port = find(h);
    if (port == nullptr)
        return false;
    int fd = port->fd;
    // The mark outlives the descriptor on a terminal that stays in use (a
    // pseudo-terminal whose other side is open), so take it off first.
    if (port->exclusive)
        ioctl(fd, TIOCNXCL);
    m_ports[static_cast<std::size_t>(h - 1)].used.store(false, std::memory_order_release);
    return ::close(fd) == 0 || fail(errno);
}

std::optional<LineState> PosixBackend::getLineState(Handle h) {
    Port* port = findTerminal(h);
    if (port == nullptr)
        return std::nullopt;
    return port->line;
}

bool PosixBackend::setModemLine(int fd, int bit, bool on) {
    return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0 || fail(errno);
}

void PosixBackend::applyModemControls(const Port& port) {
    // A device without modem lines keeps its line settings all the same.
    setModemLine(port.fd, TIOCM_DTR, port.line.fDtrControl != LineControl::Disable);
    if (port.line.fRtsControl != LineControl::Handshake)
        setModemLine(port.fd, TIOCM_RTS, port.line.fRtsControl != LineControl::Disable);
}

bool PosixBackend::setLineState(Handle h, const LineState& line) {
    Port* port = findTerminal(h);
    if (port == nullptr)
        return false;
    termios t{};
    if (tcgetattr(port->fd, &t) != 0)
        return fail(errno);
    if (!posix::applyLineState(t, line))
        return fail(EINVAL);
    if (tcsetattr(port->fd, TCSANOW, &t) != 0)
        return fail(errno);
    if (!posix::hasSpeedCode(line.BaudRate) && !posix::setCustomRate(port->fd, line.BaudRate))
        return fail(errno);
    port->line = line;
    applyModemControls(*port);
    return true;
}

bool PosixBackend::setReadsReturnAtOnce(Handle h) {
    Port* port = findTerminal(h);
    if (port == nullptr)
        return false;
    termios t{};
    if (tcgetattr(port->fd, &t) != 0)
        return fail(errno);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return tcsetattr(port->fd, TCSANOW, &t) == 0 || fail(errno);
}

bool PosixBackend::setQueueSizes(Handle h, std::uint32_t, std::uint32_t) {
    // The kernel's queues have a fixed size, larger than the 1024 bytes asked.
    return findTerminal(h) != nullptr;
}

std::size_t PosixBackend::write(Handle h, const std::uint8_t* data, std::size_t length) {
    Port* port = find(h);
    if (port == nullptr)
        return 0;
    if (port->network) {
        std::size_t sent = posix::sendAll(port->fd, data, length, kNetworkWriteTimeoutMs);
        if (sent < length)
            fail(errno);
        return sent;
    }
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = posix::writeWithoutSigpipe(port->fd, data + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(n < 0 ? errno : EIO);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool PosixBackend::flush(Handle h) {
    Port* port = find(h);
    if (port == nullptr)
        return false;
    if (port->terminal)
        return tcdrain(port->fd) == 0 || fail(errno);
    return fsync(port->fd) == 0 || errno == EINVAL || fail(errno);
}

std::size_t PosixBackend::read(Handle h, std::uint8_t* buffer, std::size_t length) {
    Port* port = find(h);
    if (port == nullptr)
        return 0;
    pollfd p{port->fd, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0 || (p.revents & POLLIN) == 0)
        return 0;
    ssize_t n = ::read(port->fd, buffer, length);
    if (n < 0) {
        fail(errno);
        return 0;
    }
    return static_cast<std::size_t>(n);
}

std::optional<std::uint32_t> PosixBackend::modemStatus(Handle h) {
    Port* port = findTerminal(h);
    int lines = 0;
    if (port == nullptr)
        return std::nullopt;
    if (ioctl(port->fd, TIOCMGET, &lines) != 0) {
        fail(errno);
        return std::nullopt;
    }
    std::uint32_t word = 0;
    word |= (lines & TIOCM_CTS) != 0 ? kCtsOn : 0;
    word |= (lines & TIOCM_DSR) != 0 ? kDsrOn : 0;
    word |= (lines & TIOCM_RNG) != 0 ? kRingOn : 0;
    word |= (lines & TIOCM_CAR) != 0 ? kRlsdOn : 0;
    return word;
}

bool PosixBackend::escape(Handle h, int function) {
    Port* port = findTerminal(h);
    if (port == nullptr)
        return false;
    int fd = port->fd;
    switch (function) {
    case kSetXoff:
        return tcflow(fd, TCOOFF) == 0 || fail(errno);
    case kSetXon:
        return tcflow(fd, TCOON) == 0 || fail(errno);
    case kSetRts:
    case kClrRts:
        return setModemLine(fd, TIOCM_RTS, function == kSetRts);
    case kSetDtr:
    case kClrDtr:
        return setModemLine(fd, TIOCM_DTR, function == kSetDtr);
    case kSetBreak:
        return ioctl(fd, TIOCSBRK) == 0 || fail(errno);
    case kClrBreak:
        return ioctl(fd, TIOCCBRK) == 0 || fail(errno);
    default: // a serial line has no device reset
        return fail(EINVAL);
    }
}

std::optional<QueueStatus> PosixBackend::queueStatus(Handle h) {
    Port* port = findTerminal(h);
    if (port == nullptr)
        return std::nullopt;
    int in = 0;
    int out = 0;
    if (ioctl(port->fd, TIOCINQ, &in) != 0 || ioctl(port->fd, TIOCOUTQ, &out) != 0) {
        fail(errno);
        return std::nullopt;
    }
    QueueStatus status;
    status.cbInQue = static_cast<std::uint32_t>(in);
    status.cbOutQue = static_cast<std::uint32_t>(out);
    // Output waits for CTS when hardware flow control is on and CTS is off.
    int lines = 0;
    bool ctsFlow = port->line.fOutxCtsFlow || port->line.fRtsControl == LineControl::Handshake;
    if (ctsFlow && ioctl(port->fd, TIOCMGET, &lines) == 0 && (lines & TIOCM_CTS) == 0)
        status.flags |= 1U;
    return status;
}

bool PosixBackend::purge(Handle h, std::uint32_t flags) {
    Port* port = findTerminal(h);
    if (port == nullptr)
        return false;
    // Nothing is ever pending in the background, so the aborts have nothing to do.
    if ((flags & kPurgeTxClear) != 0 && tcflush(port->fd, TCOFLUSH) != 0)
        return fail(errno);
    if ((flags & kPurgeRxClear) != 0 && tcflush(port->fd, TCIFLUSH) != 0)
        return fail(errno);
    return true;
}

PrinterStatus PosixBackend::printerStatus(Handle h) {
    Port* port = find(h);
    if (port == nullptr)
        return {PrinterStatus::Kind::Failed, 0};
    int error = 0;
    PrinterStatus status = posix::readPrinterStatus(port->fd, error);
    if (status.kind != PrinterStatus::Kind::Status)
        fail(error);
    return status;
}

std::uint32_t PosixBackend::tickMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000U +
              static_cast<std::uint64_t>(ts.tv_nsec) / 1000000U;
    return static_cast<std::uint32_t>(ms);
}

UtcTime PosixBackend::utcNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return {static_cast<int>(ts.tv_sec % 60), static_cast<int>(ts.tv_nsec / 1000000)};
}

void PosixBackend::sleepMs(std::uint32_t ms) {
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

VersionInfo PosixBackend::version() {
    VersionInfo info;
    info.platformId = kPlatformId;
    utsname names{};
    if (uname(&names) != 0)
        return info;
    unsigned major = 0, minor = 0, patch = 0;
    std::sscanf(names.release, "%u.%u.%u", &major, &minor, &patch);
    info.major = major;
    info.minor = minor;
    info.build = patch;
    info.servicePack = names.version;
    return info;
}

std::uint32_t PosixBackend::lastError() {
    return t_lastError;
}

void PosixBackend::setLastError(std::uint32_t code) {
    t_lastError = code;
}

Handle PosixBackend::openControl(const std::string& path) {
    // Read access is the least a device needs for ioctl; nothing is read.
    int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
        return kNoHandle;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        fail(EBUSY);
        ::close(fd);
        return kNoHandle;
    }
    Port port;
    port.fd = fd; // no terminal set-up: only control requests go to it
    return store(port);
}

std::optional<std::size_t> PosixBackend::deviceControl(Handle h, std::uint32_t code,
                                                       std::span<const std::uint8_t> in,
                                                       std::span<std::uint8_t> out) {
    Port* port = find(h);
    if (port == nullptr)
        return std::nullopt;
    std::size_t size = std::max(in.size(), out.size());
    if (size > posix::kMaxIoctlSize) {
        fail(EINVAL);
        return std::nullopt;
    }
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(size, 1), 0);
    std::copy(in.begin(), in.end(), buffer.begin());
    if (ioctl(port->fd, posix::ioctlRequest(code, size), buffer.data()) < 0) {
        fail(errno);
        return std::nullopt;
    }
    std::copy_n(buffer.begin(), out.size(), out.begin());
    return out.size();
}

} // namespace qv::platform
