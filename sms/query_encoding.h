#pragma once

#include "sms/gateway_requests.h"

#include <QByteArray>
#include <QString>

// The wire form of a gateway request. Values travel as Big5 (the gateway is
// told so by "sms_auto=BIG5"), and every byte that may not stand inside a
// query value is percent-encoded, so that a "&" or "#" in a message cannot cut
// it short and blanks and line breaks reach the gateway intact.
namespace gateway {

// Letters, digits and "-._~/:" stay as they are; every other byte becomes
// "%XX" with upper-case hex digits.
QByteArray percentEncode(const QByteArray& bytes);

// The field's value in Big5. Throws ConversionError naming the field and the
// characters that Big5 cannot carry, so that nothing goes out garbled.
QByteArray big5Value(const QueryField& field);

// True when host starts with "http://" or "https://" (in any letter case).
bool hasWebScheme(const QString& host);

// "http://" + host + path + "?" + key=value pairs joined by "&". The host may
// carry a port ("gateway.example:8080") and its own "https://" (or
// "http://"), which then stands instead. Throws ConversionError as big5Value.
QByteArray wireAddress(const GatewayRequest& request, const QString& host);

} // namespace gateway
