#include "fake_backend.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace qv::platform {

std::vector<std::vector<std::uint8_t>> FakeDevice::writes() const {
    std::vector<std::vector<std::uint8_t>> out;
    for (const FakeEvent& e : events) {
        if (e.kind == FakeEvent::Kind::Write)
            out.push_back(e.bytes);
    }
    return out;
}

std::vector<std::uint8_t> FakeDevice::written() const {
    std::vector<std::uint8_t> out;
    for (const auto& w : writes())
        out.insert(out.end(), w.begin(), w.end());
    return out;
}

std::vector<LineState> FakeDevice::lineWrites() const {
    std::vector<LineState> out;
    for (const FakeEvent& e : events) {
        if (e.kind == FakeEvent::Kind::SetLine)
            out.push_back(e.line);
    }
    return out;
}

void FakeDevice::queueInput(std::initializer_list<std::uint8_t> bytes) {
    input.insert(input.end(), bytes.begin(), bytes.end());
}

FakeDevice& FakeBackend::device(const std::string& path) {
    if (!m_blockOf.contains(path)) {
        m_blockOf[path] = m_blocks.size();
        m_blocks.emplace_back();
    }
    return m_devices[path];
}

bool FakeBackend::hasDevice(const std::string& path) const {
    return m_devices.contains(path);
}

int FakeBackend::openAttempts(const std::string& path) const {
    auto it = m_devices.find(path);
    return it == m_devices.end() ? 0 : it->second.openAttempts;
}

int FakeBackend::openAttempts() const {
    int total = 0;
    for (const auto& [path, dev] : m_devices)
        total += dev.openAttempts;
    return total;
}

// A handle is (uses << 32) | (block << 8) | (entry + 1).
FakeBackend::OpenHandle* FakeBackend::entry(Handle h) {
    const auto bits = static_cast<std::uint64_t>(h);
    const std::size_t slot = bits & 0xFF;
    const std::size_t block = (bits >> 8) & 0xFFFFFF;
    if (h <= kNoHandle || slot == 0 || slot > kHandlesPerDevice || block >= m_blocks.size())
        return nullptr;
    OpenHandle& e = m_blocks[block][slot - 1];
    return e.used.load(std::memory_order_acquire) && e.handle == h ? &e : nullptr;
}

FakeDevice* FakeBackend::find(Handle h) {
    OpenHandle* e = entry(h);
    if (e == nullptr) {
        m_lastError.store(EBADF, std::memory_order_relaxed);
        return nullptr;
    }
    return e->device;
}

OpenMode FakeBackend::modeOf(Handle h) {
    OpenHandle* e = entry(h);
    return e == nullptr ? OpenMode::Probe : e->mode;
}

void FakeBackend::scheduleInput(const std::string& path, std::uint64_t ms,
                                std::vector<std::uint8_t> bytes) {
    device(path).scheduled.emplace(m_now + ms, std::move(bytes));
}

void FakeBackend::deliverScheduled(FakeDevice& dev) {
    auto due = dev.scheduled.upper_bound(m_now.load(std::memory_order_relaxed));
    for (auto it = dev.scheduled.begin(); it != due; ++it)
        dev.input.insert(dev.input.end(), it->second.begin(), it->second.end());
    dev.scheduled.erase(dev.scheduled.begin(), due);
}

Handle FakeBackend::open(const std::string& path, OpenMode mode) {
    FakeDevice& dev = device(path);
    ++dev.openAttempts;
    bool exclusive = mode != OpenMode::Probe;
    if (!dev.present || (exclusive && dev.isOpen)) {
        m_lastError.store(dev.present ? EBUSY : ENOENT, std::memory_order_relaxed);
        return kNoHandle;
    }
    const std::size_t block = m_blockOf.find(path)->second;
    for (std::size_t i = 0; i < kHandlesPerDevice; ++i) {
        OpenHandle& e = m_blocks[block][i];
        bool expected = false;
        if (!e.used.compare_exchange_strong(expected, true, std::memory_order_acq_rel))
            continue;
        ++e.uses;
        e.handle = static_cast<Handle>((std::uint64_t{e.uses} << 32) | (block << 8) | (i + 1));
        e.device = &dev;
        e.mode = mode;
        if (exclusive)
            dev.isOpen = true;
        dev.lastMode = mode;
        ++dev.opens;
        return e.handle;
    }
    m_lastError.store(EMFILE, std::memory_order_relaxed);
    return kNoHandle;
}

bool FakeBackend::close(Handle h) {
    OpenHandle* e = entry(h);
    if (e == nullptr) {
        m_lastError.store(EBADF, std::memory_order_relaxed);
        return false;
    }
    if (e->mode != OpenMode::Probe)
        e->device->isOpen = false;
    ++e->device->closes;
    e->handle = kNoHandle;
    e->used.store(false, std::memory_order_release);
    return true;
}

std::optional<LineState> FakeBackend::getLineState(Handle h) {
    FakeDevice* dev = find(h);
    if (dev == nullptr || !dev->hasLineState)
        return std::nullopt;
    return dev->line;
}

bool FakeBackend::setLineState(Handle h, const LineState& line) {
    FakeDevice* dev = find(h);
    if (dev == nullptr || !dev->hasLineState)
        return false;
    dev->line = line;
    dev->events.push_back({FakeEvent::Kind::SetLine, {}, line, 0});
    return true;
}

bool FakeBackend::setReadsReturnAtOnce(Handle h) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return false;
    dev->events.push_back({FakeEvent::Kind::ReadsAtOnce, {}, {}, 0});
    return true;
}

bool FakeBackend::setQueueSizes(Handle h, std::uint32_t in, std::uint32_t out) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return false;
    dev->events.push_back({FakeEvent::Kind::QueueSizes, {}, {}, in == out ? in : 0});
    return true;
}

std::size_t FakeBackend::write(Handle h, const std::uint8_t* data, std::size_t length) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return 0;
    std::size_t n = std::min(length, dev->writeLimit);
    std::vector<std::uint8_t> bytes(data, data + n);
    dev->events.push_back({FakeEvent::Kind::Write, bytes, {}, 0});
    if (dev->onWrite)
        dev->onWrite(*dev, bytes);
    return n;
}

bool FakeBackend::flush(Handle h) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return false;
    dev->events.push_back({FakeEvent::Kind::Flush, {}, {}, 0});
    return true;
}

std::size_t FakeBackend::read(Handle h, std::uint8_t* buffer, std::size_t length) {
    FakeDevice* dev = find(h);
    if (dev == nullptr || modeOf(h) != OpenMode::Serial)
        return 0;
    deliverScheduled(*dev);
    std::size_t n = std::min(length, dev->input.size());
    std::copy_n(dev->input.begin(), n, buffer);
    dev->input.erase(dev->input.begin(), dev->input.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

std::optional<std::uint32_t> FakeBackend::modemStatus(Handle h) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return std::nullopt;
    return dev->modem;
}

bool FakeBackend::escape(Handle h, int function) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return false;
    dev->events.push_back({FakeEvent::Kind::Escape, {}, {}, static_cast<std::uint32_t>(function)});
    return dev->escapeResult;
}

std::optional<QueueStatus> FakeBackend::queueStatus(Handle h) {
    FakeDevice* dev = find(h);
    if (dev == nullptr || !dev->queue)
        return std::nullopt;
    deliverScheduled(*dev);
    QueueStatus status = *dev->queue;
    status.cbInQue = static_cast<std::uint32_t>(dev->input.size());
    return status;
}

bool FakeBackend::purge(Handle h, std::uint32_t flags) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return false;
    dev->events.push_back({FakeEvent::Kind::Purge, {}, {}, flags});
    if ((flags & kPurgeRxClear) != 0)
        dev->input.clear();
    return dev->purgeResult;
}

PrinterStatus FakeBackend::printerStatus(Handle h) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return {PrinterStatus::Kind::Failed, 0};
    ++dev->printerReads;
    if (dev->printerSequence.empty())
        return dev->printer;
    PrinterStatus next = dev->printerSequence.front();
    dev->printerSequence.pop_front();
    return next;
}

std::uint32_t FakeBackend::tickMs() {
    return m_tickStart + static_cast<std::uint32_t>(m_now.load(std::memory_order_relaxed));
}

UtcTime FakeBackend::utcNow() {
    std::uint64_t ms = m_utcStart + m_now.load(std::memory_order_relaxed);
    ms -= ms % m_utcGranularity;
    return {static_cast<int>((ms / 1000) % 60), static_cast<int>(ms % 1000)};
}

void FakeBackend::sleepMs(std::uint32_t ms) {
    // Relaxed: the clock orders nothing between threads.
    m_sleeps.fetch_add(1, std::memory_order_relaxed);
    m_now.fetch_add(ms, std::memory_order_relaxed);
}

VersionInfo FakeBackend::version() {
    return m_version;
}

std::uint32_t FakeBackend::lastError() {
    return m_lastError.load(std::memory_order_relaxed);
}

Handle FakeBackend::openControl(const std::string& path) {
    Handle h = open(path, OpenMode::Device);
    if (h != kNoHandle)
        ++device(path).controlOpens;
    return h;
}

std::optional<std::size_t> FakeBackend::deviceControl(Handle h, std::uint32_t code,
                                                      std::span<const std::uint8_t> in,
                                                      std::span<std::uint8_t> out) {
    FakeDevice* dev = find(h);
    if (dev == nullptr)
        return std::nullopt;
    dev->events.push_back({FakeEvent::Kind::Control, {in.begin(), in.end()}, {}, code});
    auto answer = dev->controlAnswers.find(code);
    if (answer == dev->controlAnswers.end()) {
        m_lastError.store(EINVAL, std::memory_order_relaxed);
        return std::nullopt;
    }
    std::size_t n = std::min(out.size(), answer->second.size());
    std::copy_n(answer->second.begin(), n, out.begin());
    return n;
}

} // namespace qv::platform
