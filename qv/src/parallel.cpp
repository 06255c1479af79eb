// Parallel printer status and single-byte printing (the PC BIOS printer
// service on the platforms that have one, the lp driver here).

#include "device_paths.h"
#include "platform.h"
#include "state.h"

#include "qv.h"

#include <optional>

using namespace qv;
using platform::backend;

namespace {

constexpr int32_t kReady = 0x90;
constexpr int32_t kTimeOut = 0x01; // status of a printer that cannot be reached
constexpr int32_t kNtPlatform = 2; // platform without a printer service
constexpr int kStatusReads = 9;

constexpr int kNoPrinter = -1;

// LPT1 to LPT4 as printer index 0 to 3, named as 1 to 4 or as 10 to 13; the
// range is checked before any arithmetic, so no number can overflow.
int printerIndex(int32_t n) {
    if (n >= 1 && n <= 4)
        return n - 1;
    if (n >= kFirstLpt && n <= kLastPort)
        return n - kFirstLpt;
    return kNoPrinter;
}

int32_t statusOf(platform::Handle h) {
    platform::PrinterStatus status = backend().printerStatus(h);
    switch (status.kind) {
    case platform::PrinterStatus::Kind::Status:
        return status.bios;
    case platform::PrinterStatus::Kind::NoStatus:
        return kReady; // a device without printer lines never reports busy
    default:
        return kTimeOut;
    }
}

// Runs use with a handle on the printer: the port's own when it is open
// (a parallel port admits one opener), else a short-lived one.
template <class Use> std::optional<int32_t> withPrinter(int index, Use use) {
    if (index < 0 || index > 3)
        return std::nullopt;
    int port = kFirstLpt + index;
    if (slotHandle(port) != platform::kNoHandle)
        return use(slotHandle(port));
    platform::Handle h = backend().open(devicePath(port), platform::OpenMode::Probe);
    if (h == platform::kNoHandle)
        return std::nullopt;
    int32_t result = use(h);
    backend().close(h);
    return result;
}

int32_t readStatus(int index) {
    return withPrinter(index, statusOf).value_or(kTimeOut);
}

} // namespace

int32_t QVIsLpt(int32_t port) noexcept {
    if (WinVersion(4) == kNtPlatform)
        return kReady;
    int index = printerIndex(port);
    int32_t status = 0;
    for (int i = 0; i < kStatusReads; ++i) {
        if (i > 0)
            jWait(1);
        status = readStatus(index);
        if (status == kReady)
            return kReady;
    }
    return status;
}

int32_t QVI17(int32_t port, int32_t byte) noexcept {
    if (WinVersion(4) == kNtPlatform)
        return 0;
    auto b = static_cast<std::uint8_t>(byte & 0xFF);
    auto print = [&](platform::Handle h) {
        bool written = backend().write(h, &b, 1) == 1;
        int32_t status = statusOf(h);
        return written ? status : status | kTimeOut;
    };
    return withPrinter(printerIndex(port), print).value_or(kTimeOut);
}
