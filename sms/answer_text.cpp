#include "sms/answer_text.h"

#include "base/big5.h"

#include <QList>
#include <QStringDecoder>

namespace gateway {
namespace {

bool isBig5(const QByteArray& charset) {
    static const QList<QByteArray> names{"big5",       "big-5",       "cp950", "x-big5",
                                         "big5-hkscs", "windows-950", "ms950"};
    return names.contains(charset);
}

} // namespace

QByteArray charsetOf(const QByteArray& contentType) {
    for (const QByteArray& part : contentType.split(';')) {
        const QByteArray parameter = part.trimmed();
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.left(equals).trimmed().toLower() != "charset")
            continue;
        // Quotes around the name (or a stray one) are not part of it.
        return parameter.mid(equals + 1).replace('"', QByteArray()).trimmed().toLower();
    }
    return {};
}

QString answerText(const QByteArray& body, const QByteArray& contentType) {
    const QByteArray charset = charsetOf(contentType);
    if (charset.isEmpty() || isBig5(charset))
        return big5::decode(body);
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return big5::decode(body);
    return decoder.decode(body);
}

} // namespace gateway
