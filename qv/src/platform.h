#pragma once
// The contract every platform backend implements: device access, serial line
// configuration, modem lines, queues, parallel printer status, clocks and
// short sleeps. The port layer talks to devices only through this interface,
// so tests can swap in the in-memory backend.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qv::platform {

// An open device; 0 is no device. Every call given a handle that is not open
// fails as it would for a closed device.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = 0;

enum class OpenMode {
    Serial, // read and write, exclusive; a terminal is put in raw mode
    Device, // write only, exclusive; a terminal is put in raw mode
    Probe,  // write only, shared, short-lived: status reads and single bytes
};

enum class ParityMode : std::uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBitsMode : std::uint8_t { One = 0, OnePointFive = 1, Two = 2 };
enum class LineControl : std::uint8_t { Disable = 0, Enable = 1, Handshake = 2, Toggle = 3 };

// The serial line state, field for field the settings a mode string can name.
struct LineState {
    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    ParityMode Parity = ParityMode::None;
    StopBitsMode StopBits = StopBitsMode::One;
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    bool fDsrSensitivity = false;
    bool fOutX = false;
    bool fInX = false;
    LineControl fDtrControl = LineControl::Enable;
    LineControl fRtsControl = LineControl::Enable;

    bool operator==(const LineState&) const = default;
};

// Modem status word bits.
inline constexpr std::uint32_t kCtsOn = 0x10;
inline constexpr std::uint32_t kDsrOn = 0x20;
inline constexpr std::uint32_t kRingOn = 0x40;
inline constexpr std::uint32_t kRlsdOn = 0x80;

// Queue status: hold flags in bits 0 to 6 (CTS hold, DSR hold, RLSD hold,
// XOFF hold, XOFF sent, EOF, transmit immediate), then the two queue counts.
struct QueueStatus {
    std::uint32_t flags = 0;
    std::uint32_t cbInQue = 0;
    std::uint32_t cbOutQue = 0;
};

// Escape function codes.
enum EscapeFunction : int {
    kSetXoff = 1,
    kSetXon = 2,
    kSetRts = 3,
    kClrRts = 4,
    kSetDtr = 5,
    kClrDtr = 6,
    kResetDev = 7,
    kSetBreak = 8,
    kClrBreak = 9,
};

// Purge flags.
inline constexpr std::uint32_t kPurgeTxAbort = 1;
inline constexpr std::uint32_t kPurgeRxAbort = 2;
inline constexpr std::uint32_t kPurgeTxClear = 4;
inline constexpr std::uint32_t kPurgeRxClear = 8;

// A parallel printer's status in the PC BIOS layout, or why there is none.
struct PrinterStatus {
    enum class Kind { Status, NoStatus, Failed };
    Kind kind = Kind::Failed;
    std::uint8_t bios = 0;
};

struct UtcTime {
    int second = 0;      // 0 to 59
    int millisecond = 0; // 0 to 999
};

struct VersionInfo {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platformId = 0;
    std::string servicePack;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual Handle open(const std::string& path, OpenMode mode) = 0;
    virtual bool close(Handle h) = 0;

    virtual std::optional<LineState> getLineState(Handle h) = 0;
    virtual bool setLineState(Handle h, const LineState& line) = 0;
    // Makes every read return at once with what has arrived.
    virtual bool setReadsReturnAtOnce(Handle h) = 0;
    virtual bool setQueueSizes(Handle h, std::uint32_t in, std::uint32_t out) = 0;

    // Bytes written; 0 on failure.
    virtual std::size_t write(Handle h, const std::uint8_t* data, std::size_t length) = 0;
    virtual bool flush(Handle h) = 0;
    // Bytes read, never waiting; 0 when nothing has arrived or on failure.
    virtual std::size_t read(Handle h, std::uint8_t* buffer, std::size_t length) = 0;

    // Modem status word (kCtsOn ...); empty when the device has no modem lines.
    virtual std::optional<std::uint32_t> modemStatus(Handle h) = 0;
    virtual bool escape(Handle h, int function) = 0;
    // Queue status; also clears the device's error state.
    virtual std::optional<QueueStatus> queueStatus(Handle h) = 0;
    virtual bool purge(Handle h, std::uint32_t flags) = 0;

    virtual PrinterStatus printerStatus(Handle h) = 0;

    // Millisecond tick counter, wrapping at 2^32.
    virtual std::uint32_t tickMs() = 0;
    virtual UtcTime utcNow() = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;

    virtual VersionInfo version() = 0;
    // Error code of the last failed call made on the calling thread.
    virtual std::uint32_t lastError() = 0;
    // Records a failure the library found itself (a refused setting, a file
    // that cannot be opened) as the last error, as the platform would.
    virtual void setLastError(std::uint32_t code) = 0;

    // Opens a device only for control requests to its driver, exclusive.
    virtual Handle openControl(const std::string& path) = 0;
    // Sends a driver control request (a code in the platform's device-control
    // layout: device type in bits 16 to 31, function in bits 2 to 13) with the
    // input bytes; the driver's answer fills out. The number of bytes it
    // answered, or empty when the request failed or the driver refused it.
    virtual std::optional<std::size_t> deviceControl(Handle h, std::uint32_t code,
                                                     std::span<const std::uint8_t> in,
                                                     std::span<std::uint8_t> out) = 0;
};

// The backend in use; the POSIX backend unless another was set.
Backend& backend();
// Selects the backend; nullptr returns to the POSIX backend. Not exported.
void setBackend(Backend* b);

} // namespace qv::platform
