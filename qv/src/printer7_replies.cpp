// Printer family 7: the requests the printer answers. Each sends its request
// with QVSendPort and collects the answer with the reply loop, whose time
// limit is ReplyBase changes of the clock's seconds field.

#include "command_send.h"
#include "first_reply.h"
#include "state.h"
#include "timing.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr std::size_t kStatusLength = 12;
constexpr std::int32_t kLineFeed = 0x0A;

} // namespace

int32_t QV7PrnCod(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                  const char* text) noexcept {
    QV7MovCrs(port, a, b);
    sendBytes(port, {0x1B, 0x21, low8(c), low8(d), low8(e)});
    sendBytes(port, {0x1B, 0x50});
    QVSendStr(port, text);
    sendBytes(port, {0x0D});
    int32_t result = 0;
    WaitReply(port, [&](int32_t byte) {
        if (byte < 0)
            return false;
        result = byte > 0 ? 1 : 0;
        return true;
    });
    return result;
}

int32_t QV7Cover(int32_t port, int32_t mode) noexcept {
    sendBytes(port, {0x1B, static_cast<std::uint8_t>(mode == 0 ? 0x43 : 0x63)});
    return awaitFirstByte(port);
}

int32_t QV7ChkSum(int32_t port) noexcept {
    auto sta = statusBuffer();
    sta[0] = low8(sendBytes(port, {0x1B, 0x59}));
    bool matched = WaitReply(port, [&](int32_t byte) {
        if (byte < 0)
            return false;
        sta[1] = static_cast<std::uint8_t>(byte);
        sta[2] = sendChk();
        return byte == sendChk();
    });
    return matched ? 1 : 0;
}

const uint8_t* QV7Sta(int32_t port) noexcept {
    auto sta = statusBuffer();
    sta.fill(0);
    sendBytes(port, {0x1B, 0x4F});
    std::size_t stored = 0;
    WaitReply(port, [&](int32_t byte) {
        if (byte <= 9)
            return false; // no answer yet, or a byte the status leaves out
        sta[stored++] = static_cast<std::uint8_t>(byte);
        return stored == kStatusLength || byte == kLineFeed;
    });
    return sta.data();
}
