#include "db/display_text.h"

#include <QRegularExpression>

namespace db {

std::optional<QDateTime> storedDateTime(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    static const QRegularExpression iso(
        QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2}):(\d{2})(?:\.\d+)?)?$)"));
    const QRegularExpressionMatch match = iso.match(value.toString());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    const QTime time = match.captured(4).isEmpty()
                           ? QTime(0, 0)
                           : QTime(match.captured(4).toInt(), match.captured(5).toInt(),
                                   match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QString displayText(const QVariant& value) {
    if (value.isNull())
        return {};
    const std::optional<QDateTime> when = storedDateTime(value);
    if (!when)
        return value.toString();
    if (when->time() == QTime(0, 0))
        return when->date().toString(QStringLiteral("yyyy/MM/dd"));
    return when->toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

} // namespace db
