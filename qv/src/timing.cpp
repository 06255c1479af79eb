#include "timing.h"

#include "platform.h"
#include "state.h"

#include "qv.h"

#include <cstdlib>

namespace qv {

using platform::backend;

void TickWait(std::int32_t ms) {
    const std::uint32_t start = backend().tickMs();
    for (;;) {
        // Wrap-safe distance between two readings of the 32-bit counter.
        auto diff = static_cast<std::int32_t>(backend().tickMs() - start);
        if (std::llabs(static_cast<long long>(diff)) > ms)
            return;
        backend().sleepMs(kPollSleepMs);
    }
}

int GetSec() {
    return backend().utcNow().second;
}

bool WaitReply(std::int32_t port, const std::function<bool(std::int32_t)>& handle) {
    jWait(1);
    int s0 = GetSec();
    int count = 0;
    while (count < state().ReplyBase) {
        std::int32_t b = QVReadByte(port);
        if (handle(b))
            return true;
        if (GetSec() != s0) {
            s0 = GetSec();
            ++count;
            continue;
        }
        if (b < 0)
            backend().sleepMs(kPollSleepMs);
    }
    return false;
}

} // namespace qv

using qv::platform::backend;

int32_t WaitBaseSet(int32_t n) noexcept {
    if (n < 1 || n > 6)
        return n;
    qv::state().ReplyBase = n + 1;
    return n + 1;
}

int32_t jWait(int32_t n) noexcept {
    if (n <= 0)
        return 0;
    constexpr int kMaxCount = 9000;
    int last = 19999; // no reading equals it, so the first one counts
    int32_t count = 0;
    for (;;) {
        int ms = backend().utcNow().millisecond;
        if (ms != last) {
            last = ms;
            ++count;
            if (count >= n || count > kMaxCount)
                return count;
        }
        backend().sleepMs(qv::kPollSleepMs);
    }
}

int32_t GetSec1000() noexcept {
    return backend().utcNow().millisecond;
}
