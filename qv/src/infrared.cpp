// Opening a serial port that has an infrared adapter. The adapter's own speed
// is set by commands sent while RTS is off; the adapter is first found by
// probing the rates it may be listening at.

#include "mode_string.h"
#include "platform.h"
#include "ports.h"
#include "state.h"
#include "timing.h"

#include "qv.h"

#include <array>

using namespace qv;
using platform::backend;
using platform::LineControl;

namespace {

constexpr std::array<std::uint32_t, 5> kProbeRates{9600, 38400, 115200, 57600, 19200};
constexpr std::uint32_t kProbeWindowMs = 100;
constexpr std::uint8_t kProbeByte = 0x0F;
constexpr std::uint8_t kAttention = 0x07;
constexpr std::uint8_t kCommit = 0x51;

void writeLineState(int port) {
    backend().setLineState(slotHandle(port), lineRecord(port));
}

void sendRaw(int port, std::uint8_t b) {
    writeToSlot(port, &b, 1);
}

void setRts(int port, LineControl control) {
    lineRecord(port).fRtsControl = control;
    writeLineState(port);
    TickWait(100);
}

// True when the adapter echoes the probe byte within the probe window.
bool awaitProbeEcho(int port) {
    const std::uint32_t start = backend().tickMs();
    while (backend().tickMs() - start <= kProbeWindowMs) {
        int32_t b = QVReadByte(port);
        if (b == kProbeByte)
            return true;
        if (b < 0)
            backend().sleepMs(kPollSleepMs);
    }
    return false;
}

bool IrProbe(int port, std::uint32_t rate) {
    lineRecord(port).BaudRate = rate;
    setRts(port, LineControl::Disable);
    sendRaw(port, kProbeByte);
    TickWait(100);
    bool answered = awaitProbeEcho(port);
    setRts(port, LineControl::Enable);
    return answered;
}

// The adapter's code for a rate; rates it does not know become 9600.
std::uint8_t speedCode(std::uint32_t& rate) {
    switch (rate) {
    case 115200:
        return 0x36;
    case 57600:
        return 0x35;
    case 38400:
        return 0x34;
    case 19200:
        return 0x33;
    default:
        rate = 9600;
        return 0x32;
    }
}

void setAdapterSpeed(int port, std::uint32_t requested) {
    setRts(port, LineControl::Disable);
    sendRaw(port, kAttention);
    TickWait(100);
    std::uint8_t code = speedCode(requested);
    lineRecord(port).BaudRate = requested; // written with the final RTS change
    sendRaw(port, code);
    TickWait(100);
    sendRaw(port, kCommit);
    TickWait(100);
    lineRecord(port).fRtsControl = LineControl::Enable;
    writeLineState(port);
}

} // namespace

int32_t QVOpenIr(int32_t port, const char* settings) noexcept {
    if (!isSerialPort(port))
        return 0;
    auto lock = lockSlot(port);
    if (slotHandle(port) != platform::kNoHandle)
        return 1;
    platform::Handle h = openSerialSlot(port);
    if (h == platform::kNoHandle)
        return 0;
    auto line = backend().getLineState(h);
    if (!line)
        return -1;
    platform::LineState& dcb = lineRecord(port);
    dcb = *line;
    parseModeString(settings, dcb);
    const std::uint32_t requested = dcb.BaudRate;
    dcb.fOutxCtsFlow = false;
    dcb.fOutX = false;
    dcb.fDtrControl = LineControl::Enable;
    dcb.fRtsControl = LineControl::Enable;
    writeLineState(port);
    TickWait(100);
    setReadsAndQueues(h);
    TickWait(100);
    bool found = false;
    for (std::uint32_t rate : kProbeRates) {
        if ((found = IrProbe(port, rate)))
            break;
    }
    if (!found)
        return -2;
    setAdapterSpeed(port, requested);
    return 1;
}
