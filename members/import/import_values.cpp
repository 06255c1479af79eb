#include "members/import/import_values.h"

#include "app/errors.h"
#include "members/minguo_date.h"

#include <QRegularExpression>

namespace members {
namespace {

int yesNoOf(const QString& text) {
    static const QStringList yes = {
        QStringLiteral("true"), QStringLiteral("yes"), QStringLiteral("y"),   QStringLiteral("1"),
        QStringLiteral("-1"),   QStringLiteral("是"),  QStringLiteral("有效")};
    static const QStringList no = {QStringLiteral("false"), QStringLiteral("no"),
                                   QStringLiteral("n"),     QStringLiteral("0"),
                                   QStringLiteral("否"),    QStringLiteral("無效")};
    if (yes.contains(text, Qt::CaseInsensitive))
        return 1;
    if (no.contains(text, Qt::CaseInsensitive))
        return 0;
    return -1;
}

} // namespace

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= ' ')
        --end;
    return begin == 0 && end == text.size() ? text : text.mid(begin, end - begin);
}

QString storedText(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

std::optional<QDateTime> readDateTime(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,4})\\s*([/-])\\s*(\\d{1,2})\\s*\\2\\s*(\\d{1,2})"
                       "(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(3).toInt(),
                     match.captured(4).toInt());
    const QTime time = match.captured(5).isEmpty()
                           ? QTime(0, 0)
                           : QTime(match.captured(5).toInt(), match.captured(6).toInt(),
                                   match.captured(7).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC); // a clock time, kept clear of daylight saving
}

QString storedDateTime(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

[[noreturn]] void notADate(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[-+]?\\d+(\\.\\d+)?$"));
    if (!number.match(text).hasMatch())
        throw ConversionError(QStringLiteral("「%1」不是有效的日期").arg(text));
    const double value = text.toDouble();
    if (value >= 1 && value < 61) // a date cell before 1900-03-01
        throw ConversionError(QStringLiteral("「%1」不是有效的日期（1900/03/01 以前的日期在各試算表"
                                             "程式中不一致，請改以文字輸入，如 1900/01/15）")
                                  .arg(text));
    throw ConversionError(QStringLiteral("「%1」是數字，不是日期").arg(text));
}

// The earliest year a birthday written with four digits may have.
constexpr int kEarliestYear = 1000;

} // namespace

QVariant birthdayValue(const QString& text) {
    if (text.isEmpty())
        return QVariant();
    // A year of one to three digits is a Minguo year, read the way the
    // member window reads typed birthdays: 65/12/31 is 1976/12/31.
    static const QRegularExpression minguoYear(QStringLiteral("^\\s*\\d{1,3}\\s*/"));
    if (minguoYear.match(text).hasMatch()) {
        std::optional<QDate> date;
        try {
            date = birthdayDate(text);
        } catch (const ConversionError&) {
        }
        if (!date || !date->isValid())
            notADate(text);
        return storedDateTime(QDateTime(*date, QTime(0, 0), Qt::UTC));
    }
    const std::optional<QDateTime> value = readDateTime(text);
    if (!value)
        notADate(text);
    if (value->date().year() < kEarliestYear)
        throw ConversionError(QStringLiteral("「%1」的年份不合理").arg(text));
    return storedDateTime(*value);
}

std::optional<int> yesNoValue(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    const int value = yesNoOf(text);
    if (value < 0)
        throw ConversionError(
            QStringLiteral("「%1」不是有效的是否值（應為 TRUE 或 FALSE）").arg(text));
    return value;
}

} // namespace members
