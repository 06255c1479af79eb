// Commands that printer families 3, 71 and 9 share: one function under each
// family's name (and, for the same bytes, under customer-display names).

#include "command_send.h"
#include "export_alias.h"

#include "qv.h"

using namespace qv;

int32_t QV3ChrSet(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x52, low8(a)});
}
QV_SAME_FUNCTION_AS(QV3ChrSet, QV71ChrSet);
QV_SAME_FUNCTION_AS(QV3ChrSet, QV9ChrSet);
QV_SAME_FUNCTION_AS(QV3ChrSet, VFDChrSet);

int32_t QV3ChrSpc(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x20, low8(a)});
}
QV_SAME_FUNCTION_AS(QV3ChrSpc, QV71ChrSpc);
QV_SAME_FUNCTION_AS(QV3ChrSpc, QV9ChrSpc);

int32_t QV3Eject(int32_t port) noexcept {
    return sendBytes(port, {0x0C});
}
QV_SAME_FUNCTION_AS(QV3Eject, QV71Eject);
QV_SAME_FUNCTION_AS(QV3Eject, QV9Eject);
QV_SAME_FUNCTION_AS(QV3Eject, VFDCls);

int32_t QV3SetPag(int32_t port, int32_t a) noexcept {
    return sendBytes(port, {0x1B, 0x43, low8(a)});
}
QV_SAME_FUNCTION_AS(QV3SetPag, QV71SetPag);
QV_SAME_FUNCTION_AS(QV3SetPag, QV9SetPag);

int32_t QV3BitMap(int32_t port, int32_t m, const void* data, int32_t n) noexcept {
    sendBytes(port, {0x1B, 0x2A, low8(m), low8(n), low8(n >> 8)});
    return QVSendPort(port, data, n);
}
QV_SAME_FUNCTION_AS(QV3BitMap, QV71BitMap);
QV_SAME_FUNCTION_AS(QV3BitMap, QV9BitMap);
