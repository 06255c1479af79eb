#pragma once
// The POSIX backend: serial lines through termios, parallel printers through
// the lp drivers, clocks through clock_gettime.

#include "platform.h"

#include <array>
#include <atomic>

namespace qv::platform {

class PosixBackend : public Backend {
public:
    PosixBackend() = default;
    ~PosixBackend() override = default;
    PosixBackend(const PosixBackend&) = delete;
    PosixBackend& operator=(const PosixBackend&) = delete;

    Handle open(const std::string& path, OpenMode mode) override;
    bool close(Handle h) override;

    std::optional<LineState> getLineState(Handle h) override;
    bool setLineState(Handle h, const LineState& line) override;
    bool setReadsReturnAtOnce(Handle h) override;
    bool setQueueSizes(Handle h, std::uint32_t in, std::uint32_t out) override;

    std::size_t write(Handle h, const std::uint8_t* data, std::size_t length) override;
    bool flush(Handle h) override;
    std::size_t read(Handle h, std::uint8_t* buffer, std::size_t length) override;

    std::optional<std::uint32_t> modemStatus(Handle h) override;
    bool escape(Handle h, int function) override;
    std::optional<QueueStatus> queueStatus(Handle h) override;
    bool purge(Handle h, std::uint32_t flags) override;

    PrinterStatus printerStatus(Handle h) override;

    std::uint32_t tickMs() override;
    UtcTime utcNow() override;
    void sleepMs(std::uint32_t ms) override;

    VersionInfo version() override;
    std::uint32_t lastError() override;
    void setLastError(std::uint32_t code) override;

    Handle openControl(const std::string& path) override;
    std::optional<std::size_t> deviceControl(Handle h, std::uint32_t code,
                                             std::span<const std::uint8_t> in,
                                             std::span<std::uint8_t> out) override;

private:
    // What the library keeps beside each descriptor: termios has no room for
    // some line fields (1.5 stop bits, DSR flow, the DTR/RTS control modes).
    struct Port {
        int fd = -1;
        bool terminal = false;
        bool exclusive = false; // terminal marked for exclusive use (TIOCEXCL)
        bool network = false;   // a TCP connection to a network printer
        LineState line;
    };

    // Open devices live in a fixed table: a handle is its entry's index + 1.
    // An entry is taken and given back with an atomic flag, so calls on
    // different handles from different threads never touch shared memory.
    struct Entry {
        std::atomic<bool> used = false;
        Port port;
    };
    static constexpr std::size_t kMaxOpen = 64;

    // Puts an opened descriptor into a free entry; kNoHandle (the descriptor
    // closed, EMFILE recorded) when all are taken.
    Handle store(const Port& port);
    Handle openNetwork(const std::string& name);
    Port* find(Handle h);
    // The terminal open on h; nullptr (and the error recorded) for anything else.
    Port* findTerminal(Handle h);
    bool fail(int error);
    bool setModemLine(int fd, int bit, bool on);
    void applyModemControls(const Port& port);

    std::array<Entry, kMaxOpen> m_ports;
    // Each thread has its own, like errno.
    static thread_local std::uint32_t t_lastError;
};

} // namespace qv::platform
