#include "ports.h"

#include "device_paths.h"
#include "error_kind.h"
#include "mode_string.h"
#include "state.h"
#include "timing.h"

#include "qv.h"

#include <array>
#include <atomic>
#include <optional>

namespace qv {

using platform::backend;
using platform::Handle;
using platform::kNoHandle;

namespace {

constexpr int32_t kLptReady = 0x90;

void storeSlot(int port, Handle h) {
    std::atomic_ref(state().PortTable[static_cast<std::size_t>(port)])
        .store(h, std::memory_order_release);
}

bool wantsLineSettings(const char* settings) {
    return settings != nullptr && static_cast<unsigned char>(settings[0]) > 0x2F;
}

void configureSerialLine(int port, Handle h, const char* settings) {
    std::optional<std::uint32_t> refusal;
    if (wantsLineSettings(settings)) {
        if (auto line = backend().getLineState(h)) {
            platform::LineState& dcb = lineRecord(port);
            dcb = *line;
            if (!parseModeString(settings, dcb))
                refusal = backend().lastError();
            if (state().DtrFlag != 0) {
                dcb.fDtrControl = platform::LineControl::Enable;
                dcb.fRtsControl = platform::LineControl::Enable;
            }
            backend().setLineState(h, dcb);
            TickWait(50);
        }
    }
    setReadsAndQueues(h);
    // The caller asks WinErrCode after the open: the later steps' calls
    // may have set it again on their way.
    if (refusal)
        backend().setLastError(*refusal);
}

int32_t closeSlot(int port) {
    auto lock = lockSlot(port);
    Handle h = slotHandle(port);
    storeSlot(port, kNoHandle);
    if (h == kNoHandle) {
        recordError(ErrorKind::NotOpen); // as closing no handle would
        return 0;
    }
    return backend().close(h) ? 1 : 0;
}

enum class OpenOutcome { AlreadyOpen, PrinterNotReady, Tried };

// Opens a port 1 to 13 into its slot unless it is open already.
OpenOutcome openIntoSlot(int port, const char* settings) {
    auto lock = lockSlot(port);
    if (slotHandle(port) != kNoHandle)
        return OpenOutcome::AlreadyOpen;
    if (isSerialPort(port)) {
        Handle h = openSerialSlot(port);
        if (h != kNoHandle)
            configureSerialLine(port, h, settings);
        return OpenOutcome::Tried;
    }
    if (QVIsLpt(port - 9) != kLptReady)
        return OpenOutcome::PrinterNotReady;
    storeSlot(port, backend().open(devicePath(port), platform::OpenMode::Device));
    return OpenOutcome::Tried;
}

} // namespace

std::unique_lock<std::mutex> lockSlot(int port) {
    static std::array<std::mutex, kSlotCount> locks;
    return std::unique_lock(locks[static_cast<std::size_t>(port)]);
}

Handle openSerialSlot(int port) {
    Handle h = backend().open(devicePath(port), platform::OpenMode::Serial);
    storeSlot(port, h);
    return h;
}

void setReadsAndQueues(Handle h) {
    backend().setReadsReturnAtOnce(h);
    backend().setQueueSizes(h, kQueueSize, kQueueSize);
}

std::size_t writeToSlot(int port, const std::uint8_t* data, std::size_t length) {
    return backend().write(slotHandle(port), data, length);
}

} // namespace qv

using namespace qv;

int32_t QVOpenPort(int32_t port, const char* settings) noexcept {
    if (hasSlot(port)) {
        switch (openIntoSlot(port, settings)) {
        case OpenOutcome::AlreadyOpen:
            return 1;
        case OpenOutcome::PrinterNotReady:
            return 0;
        case OpenOutcome::Tried:
            break;
        }
    }
    setCurPort(port);
    if (hasSlot(port))
        return slotHandle(port) != kNoHandle ? 1 : 0;
    return port == 0 ? 0 : 1;
}

int32_t QVClosePort(int32_t port) noexcept {
    return hasSlot(port) ? closeSlot(port) : 0;
}

int32_t QVOpenPort13(const char* deviceName) noexcept {
    auto lock = lockSlot(kLastPort);
    if (slotHandle(kLastPort) != kNoHandle)
        return 9;
    if (deviceName == nullptr)
        return 0;
    Handle h = backend().open(deviceName, platform::OpenMode::Device);
    storeSlot(kLastPort, h);
    return h != kNoHandle ? 1 : 0;
}

int32_t QVClosePort13() noexcept {
    return closeSlot(kLastPort);
}

int32_t QVDtrOn(int32_t flag) noexcept {
    state().DtrFlag = flag;
    return flag;
}

int32_t QvOpnCls(int32_t flag) noexcept {
    state().AutoOpnCls = flag;
    return flag;
}
