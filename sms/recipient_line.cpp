#include "sms/recipient_line.h"

#include "base/text_helpers.h"

namespace sms {

QString recipientLine(const QString& name, const QString& phone) {
    return name + '(' + phone + ')';
}

QString lineName(const QString& line) {
    return StrBefore(line, QStringLiteral("("));
}

QString linePhone(const QString& line) {
    QString phone = StrAfter(line, QStringLiteral("("));
    phone.chop(1); // the closing ")"
    return phone;
}

QString phoneKey(const QString& phone) {
    QString key;
    key.reserve(phone.size());
    for (const QChar c : phone) {
        if (!c.isSpace() && c != QLatin1Char('-'))
            key += c;
    }
    return key;
}

} // namespace sms
