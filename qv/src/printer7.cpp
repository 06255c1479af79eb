// Printer family 7: plain commands and text printing. Every value a command
// carries is the low byte of its argument, sent in the order the printer
// expects (which is not always the order of the arguments). QV7Cut is the
// full cut of families 3 and 71 (printer3_71.cpp).

#include "command_send.h"
#include "state.h"

#include "qv.h"

using namespace qv;

int32_t QV7Reset(int32_t port) noexcept {
    int32_t written = sendBytes(port, {0x1B, 0x40});
    // The printer starts its own checksum after the reset, so the reset
    // bytes are not part of ours either.
    if (written >= 1)
        resetSendChk();
    return written;
}

int32_t QV7LinFed(int32_t port, int32_t /*n*/) noexcept {
    return sendBytes(port, {0x0A});
}

int32_t QV7CsrLEnd(int32_t port) noexcept {
    return sendBytes(port, {0x0D});
}

int32_t QV7MovCrs(int32_t port, int32_t a, int32_t b) noexcept {
    return sendBytes(port, {0x1B, 0x24, low8(b), low8(a)});
}

int32_t QV7PrnMod(int32_t port, int32_t a, int32_t b, int32_t c) noexcept {
    return sendBytes(port, {0x1B, 0x21, low8(a), low8(b), low8(c)});
}

int32_t QV7Eject(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x0C});
}

int32_t QV7PrnBar(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                  const char* text) noexcept {
    sendBytes(port, {0x1D, 0x6B, low8(a), low8(c), low8(b), low8(d), low8(e)});
    QVSendStr(port, text);
    return sendBytes(port, {0x00});
}

int32_t QV7PrnBig(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                  const char* text) noexcept {
    sendBytes(port, {0x1B, 0x63, low8(c), low8(b), low8(a), low8(d), low8(e)});
    QVSendStr(port, text);
    return sendBytes(port, {0x00});
}

int32_t QV7Prn(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
               const char* text) noexcept {
    QV7MovCrs(port, a, b);
    sendBytes(port, {0x1B, 0x21, low8(c), low8(d), low8(e)});
    return QVSendStr(port, text) >= 1 ? 1 : 0;
}
