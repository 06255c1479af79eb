// Printer families 3 and 71: the commands both families have (one function
// under both names) and those of each family alone. Family 71 adds bar
// codes, justification and a downloaded image (printer71_bitmap.cpp).

#include "command_send.h"
#include "export_alias.h"
#include "state.h"

#include "qv.h"

using namespace qv;

namespace {

constexpr std::uint8_t kLineFeed = 0x0A;

} // namespace

int32_t QV3FulCut(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x69});
}
QV_SAME_FUNCTION_AS(QV3FulCut, QV71FulCut);
QV_SAME_FUNCTION_AS(QV3FulCut, QV7Cut);

int32_t QV3PatCut(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x6D});
}
QV_SAME_FUNCTION_AS(QV3PatCut, QV71PatCut);

int32_t QV3Open(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x70, 0x00, 0x64, 0x64});
}
QV_SAME_FUNCTION_AS(QV3Open, QV71Open);

int32_t QV3SetLin(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x33, low8(a)});
}
QV_SAME_FUNCTION_AS(QV3SetLin, QV71SetLin);

int32_t QV3LinFed(int32_t port, int32_t n) noexcept {
    return sendRepeated(port, kLineFeed, n);
}
QV_SAME_FUNCTION_AS(QV3LinFed, QV71LinFed);

int32_t QV3SmlFed(int32_t port, int32_t n) noexcept {
    if (n > 0)
        return sendBytes(port, {0x1B, 0x4A, low8(n)});
    if (n < 0) // -n taken in unsigned arithmetic: INT32_MIN has no positive twin
        return sendBytes(
            port,
            {0x1B, 0x4B, low8(static_cast<std::int32_t>(0U - static_cast<std::uint32_t>(n)))});
    return 0;
}
QV_SAME_FUNCTION_AS(QV3SmlFed, QV71SmlFed);

int32_t QV3Prn(int32_t port, const char* text, int32_t n) noexcept {
    int32_t written = sendText(port, text);
    sendRepeated(port, kLineFeed, n);
    return written;
}
QV_SAME_FUNCTION_AS(QV3Prn, QV71Prn);

int32_t QV3Reset(int32_t port) noexcept {
    resetSendChk();
    return sendBytes(port, {0x1B, 0x40});
}

int32_t QV71Reset(int32_t port) noexcept {
    resetSendChk();
    return sendBytes(port, {0x1B, 0x40});
}

int32_t QV3PrnBig(int32_t port, const char* text, int32_t n) noexcept {
    sendBytes(port, {0x1B, 0x21, 0x21});
    sendBytes(port, {0x1B, 0x7E, 0x02});
    int32_t written = sendText(port, text);
    sendBytes(port, {0x1B, 0x21, 0x01});
    sendBytes(port, {0x1B, 0x7E, 0x05});
    sendRepeated(port, kLineFeed, n);
    return written;
}

int32_t QV71PrnBig(int32_t port, const char* text, int32_t n) noexcept {
    sendBytes(port, {0x1B, 0x21, 0x21});
    int32_t written = sendText(port, text);
    sendBytes(port, {0x1B, 0x21, 0x01});
    sendRepeated(port, kLineFeed, n);
    return written;
}

int32_t QV71PrnPos(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x61, low8(a)});
}

int32_t QV71PrnBar(int32_t port, int32_t m, const char* text, int32_t h, int32_t w) noexcept {
    if (h > 0) {
        sendBytes(port, {0x1D, 0x68, low8(h)});
        sendBytes(port, {0x1D, 0x77, low8(w)});
    }
    sendBytes(port, {0x1D, 0x6B, low8(m)});
    sendText(port, text);
    return sendBytes(port, {0x00});
}

int32_t QV71BitMapDP(int32_t port, int32_t m) noexcept {
    return sendBytes(port, {0x1D, 0x2F, low8(m)});
}
