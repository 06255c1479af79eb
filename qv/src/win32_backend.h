#pragma once
// The Windows backend: serial, parallel and named devices through the
// platform's file and communications calls, clocks through the tick counter
// and the system time, the cash drawer through device control requests.

#include "platform.h"

namespace qv::platform {

class Win32Backend : public Backend {
public:
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
};

} // namespace qv::platform
