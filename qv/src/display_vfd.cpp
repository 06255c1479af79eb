// The two-line character customer display: cursor movement, modes,
// brightness, downloadable characters, macros and the clock. Some commands
// are the printers' functions under display names (see printer_common.cpp
// and printer9.cpp); clear-to-right-end is also the LCD display's clear.

#include "command_send.h"
#include "export_alias.h"
#include "state.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr std::size_t kPatternSize = 5;

} // namespace

int32_t VFDMovCrs(int32_t port, int32_t a, int32_t b) noexcept {
    return sendBytes(port, {0x1F, 0x24, low8(b), low8(a)});
}

int32_t VFDSay(int32_t port, int32_t a, int32_t b, const char* text) noexcept {
    if (VFDMovCrs(port, a, b) < 1)
        return 0;
    if (text == nullptr || *text == '\0')
        return 1;
    return sendText(port, text);
}

int32_t VFDCsrLef(int32_t port) noexcept {
    return sendBytes(port, {0x08});
}

int32_t VFDCsrUp(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x0A});
}

int32_t VFDCsrDn(int32_t port) noexcept {
    return sendBytes(port, {0x0A});
}

int32_t VFDCsrREnd(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x0D});
}
QV_SAME_FUNCTION_AS(VFDCsrREnd, LcdCls);

int32_t VFDCsrHom(int32_t port) noexcept {
    return sendBytes(port, {0x0B});
}

int32_t VFDCsrBot(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x42});
}

int32_t VFDReset(int32_t port) noexcept {
    resetSendChk();
    return sendBytes(port, {0x1B, 0x40});
}

int32_t VFDTest(int32_t port) noexcept {
    resetSendChk();
    return sendBytes(port, {0x1F, 0x40});
}

int32_t VFDBriAdj(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1F, 0x58, low8(a)});
}

int32_t VFDBlnSet(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1F, 0x45, low8(a)});
}

int32_t VFDCodSet(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x74, low8(a)});
}

int32_t VFDChrRev(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1F, 0x72, low8(a)});
}

int32_t VFDOvrMod(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x01});
}

int32_t VFDVerScr(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x02});
}

int32_t VFDHorScr(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x03});
}

int32_t VFDChrDnLoad(int32_t port, int32_t a, const void* pattern) noexcept {
    if (sendBytes(port, {0x1B, 0x26, 0x01, low8(a), 0x01}) < 1)
        return 0;
    // The display now waits for five pattern bytes; without a pattern it gets
    // a blank character, so it does not take the next command as a pattern.
    static constexpr std::uint8_t kBlank[kPatternSize] = {};
    return QVSendPort(port, pattern != nullptr ? pattern : kBlank,
                      static_cast<int32_t>(kPatternSize));
}

int32_t VFDDelDnLoad(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x3F});
}

int32_t VFDEblDnLoad(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x25, low8(a)});
}

int32_t VFDSetWin(int32_t port, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                  int32_t f) noexcept {
    return sendBytes(port, {0x1B, 0x57, low8(a), low8(b), low8(c), low8(d), low8(e), low8(f)});
}

int32_t VFDSelDec(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x3D, low8(a)});
}

int32_t VFDMacSet(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x3A});
}

int32_t VFDMacRun(int32_t port, int32_t a, int32_t b) noexcept {
    return sendBytes(port, {0x1F, 0x5E, low8(a), low8(b)});
}

int32_t VFDSetTim(int32_t port, int32_t a, int32_t b) noexcept {
    return sendBytes(port, {0x1F, 0x54, low8(a), low8(b)});
}

int32_t VFDShwTim(int32_t port) noexcept {
    return sendBytes(port, {0x1F, 0x55});
}
