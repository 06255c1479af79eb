// Serial queue and modem-line status, escape functions and purging.

#include "platform.h"
#include "state.h"

#include "qv.h"

#include <mutex>
#include <optional>

using namespace qv;
using platform::backend;

int32_t GetComErr(int32_t port, int32_t item) noexcept {
    if (item < 1 || item > 10)
        return 1;
    // One record for all ports, refreshed by item 1 and read by the others;
    // calls on two threads take turns on it.
    static std::mutex comStatMutex;
    std::optional<platform::QueueStatus> fresh;
    if (item == 1 && !(fresh = backend().queueStatus(slotHandle(port))))
        return -1;
    std::lock_guard lock(comStatMutex);
    platform::QueueStatus& stat = state().ComStat;
    if (fresh)
        stat = *fresh;
    switch (item) {
    case 8:
        return static_cast<int32_t>(stat.flags >> 7);
    case 9:
        return static_cast<int32_t>(stat.cbInQue);
    case 10:
        return static_cast<int32_t>(stat.cbOutQue);
    default: // items 1 to 7: the hold flags in bits 0 to 6
        return static_cast<int32_t>((stat.flags >> (item - 1)) & 1U);
    }
}

int32_t GetComSta(int32_t port) noexcept {
    auto sta = statusBuffer();
    sta.fill(0);
    auto word = backend().modemStatus(slotHandle(port));
    if (!word)
        return -1;
    sta[0] = static_cast<std::uint8_t>(*word & platform::kCtsOn);
    sta[1] = static_cast<std::uint8_t>(*word & platform::kDsrOn);
    sta[2] = static_cast<std::uint8_t>(*word & platform::kRingOn);
    sta[3] = static_cast<std::uint8_t>(*word & platform::kRlsdOn);
    return static_cast<int32_t>(*word);
}

int32_t SetComSta(int32_t port, int32_t function) noexcept {
    if (function < platform::kSetXoff || function > platform::kClrBreak)
        return 1;
    return backend().escape(slotHandle(port), function) ? 1 : 0;
}

int32_t QVPurgeComm(int32_t port) noexcept {
    platform::Handle h = slotHandle(port);
    bool ok = false;
    for (std::uint32_t flag : {platform::kPurgeTxAbort, platform::kPurgeRxAbort,
                               platform::kPurgeTxClear, platform::kPurgeRxClear})
        ok = backend().purge(h, flag);
    return ok ? 1 : 0;
}
