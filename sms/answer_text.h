#pragma once

#include <QByteArray>
#include <QString>

namespace gateway {

// The charset named by a Content-Type header ("text/plain; charset=big5"),
// in lower case without quotes; empty when it names none.
QByteArray charsetOf(const QByteArray& contentType);

// The body of a gateway answer as text, decoded by the charset its
// Content-Type names; without one, or with one this program cannot decode,
// as Big5, the gateway's own code page.
QString answerText(const QByteArray& body, const QByteArray& contentType);

} // namespace gateway
