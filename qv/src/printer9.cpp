// Printer family 9: fonts, widths and heights, tabs, Chinese mode, the
// drawer kick and a one-byte status request. The carriage return and tab are
// the same functions as the customer display's cursor-to-left-end and
// cursor-right.

#include "command_send.h"
#include "export_alias.h"
#include "first_reply.h"

#include "qv.h"

using namespace qv;

int32_t QV9Reset(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x40});
}

int32_t QV9LinFed(int32_t port, int32_t n) noexcept {
    return sendRepeated(port, 0x0A, n);
}

int32_t QV9Cr(int32_t port) noexcept {
    return sendBytes(port, {0x0D});
}
QV_SAME_FUNCTION_AS(QV9Cr, VFDCsrLEnd);

int32_t QV9Tab(int32_t port) noexcept {
    return sendBytes(port, {0x09});
}
QV_SAME_FUNCTION_AS(QV9Tab, VFDCsrRit);

int32_t QV9TabPos(int32_t port, const char* positions) noexcept {
    sendBytes(port, {0x1B, 0x44});
    QVSendStr(port, positions);
    return sendBytes(port, {0x00});
}

int32_t QV9FntMod(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x21, low8(a)});
}

int32_t QV9Fnt79(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x4D});
}

int32_t QV9Fnt99(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x50});
}

int32_t QV9SetDWid(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x0E});
}

int32_t QV9CanDWid(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x14});
}

int32_t QV9ChoDWid(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x57, low8(a)});
}

int32_t QV9ChoDHig(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x68, low8(a)});
}

int32_t QV9DblHig(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x78, 0x30});
}

int32_t QV9QuaHig(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x78, 0x32});
}

int32_t QV9SetHnd(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x0F});
}

int32_t QV9CanHnd(int32_t port) noexcept {
    return sendBytes(port, {0x1B, 0x12});
}

int32_t QV9ChoHnd(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x7B, low8(a)});
}

int32_t QV9PanSwi(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x65, low8(a)});
}

int32_t QV9ChnMod(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x7E, low8(a)});
}

int32_t QV9Open(int32_t port, int32_t kind) noexcept {
    switch (kind) {
    case 0:
        return sendBytes(port, {0x1B, 0x70, 0x00, 0x64, 0x64});
    case 1:
        return sendBytes(port, {0x07});
    case 2:
        return sendBytes(port, {0x1A});
    default:
        return 0;
    }
}

int32_t QV9Sta(int32_t port) noexcept {
    sendBytes(port, {0x1B, 0x76});
    return awaitFirstByte(port);
}
