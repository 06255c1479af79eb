#include "members/minguo_date.h"

#include "base/errors.h"
#include "base/whole_number.h"

#include <QRegularExpression>

namespace members {
namespace {

// A whole number that fits an int.
std::optional<int> wholeNumber(const QString& text) {
    const std::optional<long long> value = ::wholeNumber(text, 9);
    if (!value)
        return std::nullopt;
    return int(*value);
}

} // namespace

void throwNotAnInteger(const QString& text) {
    throw ConversionError(QStringLiteral("'%1' 不是有效的整數值").arg(text));
}

int toInteger(const QString& text) {
    const std::optional<int> value = wholeNumber(text);
    if (!value)
        throwNotAnInteger(text);
    return *value;
}

MinguoParts splitMinguo(const QString& text) {
    int length = 3;
    std::optional<int> year = wholeNumber(text.left(3));
    if (!year) {
        length = 2;
        year = std::optional<int>(toInteger(text.left(2)));
    }
    return {*year, text.mid(length, 9).trimmed()};
}

QString ConvertMGDate(const QString& text) {
    const MinguoParts parts = splitMinguo(text);
    return QString::number(parts.year + 1911) + parts.remainder;
}

QString minguoText(const QDate& date) {
    return QStringLiteral("%1/%2/%3")
        .arg(date.year() - 1911)
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QDate readSlashDate(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9]{1,4})/([0-9]{1,2})/([0-9]{1,2})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    const int year = match.captured(1).toInt();
    if (year < 1)
        return {};
    const QDate date(year, match.captured(2).toInt(), match.captured(3).toInt());
    return date.isValid() ? date : QDate();
}

std::optional<QDate> birthdayDate(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return QDate();
    const QDate date = readSlashDate(ConvertMGDate(text));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool isValidJoiningDate(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return true;
    const MinguoParts parts = splitMinguo(text);
    const QDate date = readSlashDate(QString::number(parts.year + 1911) + parts.remainder);
    return date.isValid() && parts.remainder.size() == 6;
}

} // namespace members
