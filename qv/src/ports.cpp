#include "ports.h"

#include "device_paths.h"
#include "mode_string.h"
#include "state.h"
#include "timing.h"

#include "qv.h"

#include <cerrno>

namespace qv {

using platform::backend;
using platform::Handle;
using platform::kNoHandle;

namespace {

constexpr int32_t kLptReady = 0x90;

Handle& slot(int port) {
    return state().PortTable[static_cast<std::size_t>(port)];
}

bool wantsLineSettings(const char* settings) {
    return settings != nullptr && static_cast<unsigned char>(settings[0]) > 0x2F;
}

void configureSerialLine(int port, Handle h, const char* settings) {
    if (wantsLineSettings(settings)) {
        if (auto line = backend().getLineState(h)) {
            platform::LineState& dcb = lineRecord(port);
            dcb = *line;
            parseSettings(settings, dcb);
            if (state().DtrFlag != 0) {
                dcb.fDtrControl = platform::LineControl::Enable;
                dcb.fRtsControl = platform::LineControl::Enable;
            }
            backend().setLineState(h, dcb);
            TickWait(50);
        }
    }
    setReadsAndQueues(h);
}

int32_t closeSlot(int port) {
    Handle h = slot(port);
    slot(port) = kNoHandle;
    if (h == kNoHandle)
        return 0;
    return backend().close(h) ? 1 : 0;
}

} // namespace

Handle openSerialSlot(int port) {
    slot(port) = backend().open(devicePath(port), platform::OpenMode::Serial);
    return slot(port);
}

void parseSettings(const char* settings, platform::LineState& line) {
    // The line is left as it was; the caller learns why from WinErrCode.
    if (!parseModeString(settings, line))
        backend().setLastError(EINVAL);
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
    if (hasSlot(port) && slotHandle(port) != kNoHandle)
        return 1;
    if (isSerialPort(port)) {
        Handle h = openSerialSlot(port);
        if (h != kNoHandle)
            configureSerialLine(port, h, settings);
    } else if (isParallelPort(port)) {
        if (QVIsLpt(port - 9) != kLptReady)
            return 0;
        slot(port) = backend().open(devicePath(port), platform::OpenMode::Device);
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
    if (slotHandle(kLastPort) != kNoHandle)
        return 9;
    if (deviceName == nullptr)
        return 0;
    slot(kLastPort) = backend().open(deviceName, platform::OpenMode::Device);
    return slotHandle(kLastPort) != kNoHandle ? 1 : 0;
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
