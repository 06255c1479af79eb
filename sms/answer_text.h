#pragma once

#include <QByteArray>
#include <QString>

namespace gateway {

// The body of a gateway answer as text: UTF-8 when the bytes are valid UTF-8,
// otherwise Big5, the gateway's own code page.
QString answerText(const QByteArray& body);

} // namespace gateway
