#include "sms/answer_text.h"

#include "app/big5.h"

#include <QStringDecoder>

namespace gateway {

QString answerText(const QByteArray& body) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return big5::decode(body);
}

} // namespace gateway
