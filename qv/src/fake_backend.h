#pragma once
// An in-memory backend for tests: devices that record every call made on them
// (each write with its own boundaries), serve scripted input, hold modem lines
// and printer status, and a virtual clock that only moves when the library
// sleeps or a test advances it, so time-outs take no real time.
//
// Calls on different devices may come from different threads, as long as the
// devices were made (device()) before the threads started: the open handles
// live in a fixed table and the clock is atomic.

#include "platform.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace qv::platform {

// One call made on a fake device, in order.
struct FakeEvent {
    enum class Kind { Write, SetLine, ReadsAtOnce, QueueSizes, Flush, Escape, Purge, Control };
    Kind kind;
    std::vector<std::uint8_t> bytes; // Write; Control: the request's input bytes
    LineState line;                  // SetLine
    std::uint32_t value = 0; // Escape function, Purge flags, QueueSizes input size, Control code
};

struct FakeDevice {
    bool present = true; // false: opening fails as for a missing device
    bool isOpen = false; // held by an exclusive open
    OpenMode lastMode = OpenMode::Serial;
    int opens = 0;        // successful opens
    int openAttempts = 0; // opens tried, successful or not
    int closes = 0;       // successful closes

    bool hasLineState = true; // false: the line state cannot be read
    LineState line;
    std::optional<std::uint32_t> modem; // empty: the device has no modem lines
    std::optional<QueueStatus> queue = QueueStatus{};
    bool purgeResult = true;
    bool escapeResult = true;
    PrinterStatus printer{PrinterStatus::Kind::Status, 0x90};
    std::deque<PrinterStatus> printerSequence; // answered first, one per read
    int printerReads = 0;
    std::size_t writeLimit = SIZE_MAX; // bytes accepted per write

    std::deque<std::uint8_t> input; // bytes waiting to be read
    // Bytes that arrive once the virtual clock reaches their time.
    std::multimap<std::uint64_t, std::vector<std::uint8_t>> scheduled;
    // Called after each write with the bytes written; may queue a reply.
    std::function<void(FakeDevice&, std::span<const std::uint8_t>)> onWrite;

    // The driver behind a control device: its answer to each control code; a
    // code without an answer is refused.
    std::map<std::uint32_t, std::vector<std::uint8_t>> controlAnswers;
    int controlOpens = 0; // successful openControl calls

    std::vector<FakeEvent> events;

    // Each write's bytes, in order.
    std::vector<std::vector<std::uint8_t>> writes() const;
    // Every byte written, joined.
    std::vector<std::uint8_t> written() const;
    std::vector<LineState> lineWrites() const;
    void queueInput(std::initializer_list<std::uint8_t> bytes);
};

class FakeBackend : public Backend {
public:
    // The device at path, made on first use (present, closed).
    FakeDevice& device(const std::string& path);
    bool hasDevice(const std::string& path) const;
    // Open attempts on path (or on any path), successful or not.
    int openAttempts(const std::string& path) const;
    int openAttempts() const;

    // Virtual time since the backend was made, in milliseconds.
    std::uint64_t now() const { return m_now.load(); }
    void advance(std::uint64_t ms) { m_now += ms; }
    // The tick counter reads start + now (wrapping at 2^32).
    void setTickStart(std::uint32_t start) { m_tickStart = start; }
    // UTC time at now = 0, in milliseconds since the epoch, and the step in
    // which its milliseconds field moves.
    void setUtcStart(std::uint64_t ms) { m_utcStart = ms; }
    void setUtcGranularity(std::uint32_t ms) { m_utcGranularity = ms; }
    int sleeps() const { return m_sleeps.load(); }

    // Makes bytes arrive on the device at path after ms more milliseconds.
    void scheduleInput(const std::string& path, std::uint64_t ms, std::vector<std::uint8_t> bytes);

    void setVersion(const VersionInfo& v) { m_version = v; }
    void setLastError(std::uint32_t code) override {
        m_lastError.store(code, std::memory_order_relaxed);
    }

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
    Handle openControl(const std::string& path) override;
    std::optional<std::size_t> deviceControl(Handle h, std::uint32_t code,
                                             std::span<const std::uint8_t> in,
                                             std::span<std::uint8_t> out) override;

private:
    // Each device has a few handle entries of its own, so calls on two
    // devices share no memory in the fake (and give ThreadSanitizer no
    // synchronisation that would hide a race in the library). An entry is
    // taken with an atomic flag; the handle carries a count of the entry's
    // uses, so a handle closed earlier stays invalid.
    static constexpr std::size_t kHandlesPerDevice = 64;
    struct OpenHandle {
        std::atomic<bool> used = false;
        Handle handle = kNoHandle;
        std::uint32_t uses = 0;
        FakeDevice* device = nullptr;
        OpenMode mode = OpenMode::Serial;
    };
    using HandleBlock = std::array<OpenHandle, kHandlesPerDevice>;

    OpenHandle* entry(Handle h);
    FakeDevice* find(Handle h);
    OpenMode modeOf(Handle h);
    void deliverScheduled(FakeDevice& dev);

    std::map<std::string, FakeDevice> m_devices;
    std::map<std::string, std::size_t> m_blockOf; // each device's handle entries
    std::deque<HandleBlock> m_blocks;             // stable addresses
    std::atomic<std::uint64_t> m_now = 0;
    std::uint32_t m_tickStart = 0;
    std::uint64_t m_utcStart = 1'700'000'000'000;
    std::uint32_t m_utcGranularity = 1;
    std::atomic<int> m_sleeps = 0;
    VersionInfo m_version{6, 1, 0, 1, "fake"};
    std::atomic<std::uint32_t> m_lastError = 0;
};

} // namespace qv::platform
