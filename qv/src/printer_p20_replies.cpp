// Printer family P20: the two requests it answers, its status and whether
// the cash box is open. Both clear the status buffer, send their request and
// store the answer's bytes above 0C in it; 0D ends an answer.

#include "command_send.h"
#include "state.h"
#include "timing.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr std::int32_t kEnd = 0x0D;

// Sends the request and stores the answer until limit bytes are stored or
// 0D arrives; each stored byte is also handed to seen.
template <class Seen>
void collectAnswer(int32_t port, std::uint8_t request, std::size_t limit, Seen seen) {
    auto sta = statusBuffer();
    sta.fill(0);
    sendBytes(port, {0x1B, request, 0x0D});
    std::size_t stored = 0;
    WaitReply(port, [&](int32_t byte) {
        if (byte <= 0x0C)
            return false; // no answer yet, or a byte the answer leaves out
        sta[stored++] = static_cast<std::uint8_t>(byte);
        seen(byte);
        return stored == limit || byte == kEnd;
    });
}

} // namespace

const uint8_t* P20Sta(int32_t port) noexcept {
    collectAnswer(port, 0x4F, 11, [](int32_t) {});
    return statusBuffer().data();
}

int32_t P20IsOpen(int32_t port) noexcept {
    int32_t result = -1;
    collectAnswer(port, 0x3F, 3, [&](int32_t byte) {
        if (byte == 0x31)
            result = 1;
        else if (byte == 0x30)
            result = 0;
    });
    return result;
}
