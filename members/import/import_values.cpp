#include "members/import/import_values.h"

#include "base/errors.h"
#include "formats/date_digits.h"
#include "members/minguo_date.h"

#include <QRegularExpression>

namespace members {
namespace {

int yesNoOf(QStringView text) {
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

QString storedText(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

namespace {

// The digits of text from at up to count of them; -1 unless there are
// from one to count digits there. Moves at past them.
int digitsAt(QStringView text, qsizetype& at, int count) {
    int value = 0;
    int taken = 0;
    while (at < text.size() && taken < count && text.at(at).isDigit() &&
           text.at(at).unicode() < 0x80) {
        value = value * 10 + (text.at(at).unicode() - '0');
        ++at;
        ++taken;
    }
    return taken == 0 ? -1 : value;
}

// The common form "yyyy/MM/dd" (or with "-", one or two digits for month
// and day) without blanks or a time, read without a pattern: an import
// reads one such date a row. nullopt for any other form.
std::optional<QDate> plainDate(QStringView text) {
    qsizetype at = 0;
    const int year = digitsAt(text, at, 4);
    if (year < 0 || at >= text.size() || (text.at(at) != '/' && text.at(at) != '-'))
        return std::nullopt;
    const QChar separator = text.at(at++);
    const int month = digitsAt(text, at, 2);
    if (month < 0 || at >= text.size() || text.at(at++) != separator)
        return std::nullopt;
    const int day = digitsAt(text, at, 2);
    if (day < 0 || at != text.size())
        return std::nullopt;
    return QDate(year, month, day);
}

} // namespace

std::optional<QDateTime> readDateTime(const QString& text) {
    if (const std::optional<QDate> date = plainDate(text)) {
        if (!date->isValid())
            return std::nullopt;
        return QDateTime(*date, QTime(0, 0), Qt::UTC);
    }
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
    return dateDigits(value.date(), value.time(), '-', true);
}

namespace {

[[noreturn]] void notADate(QStringView view) {
    const QString text = view.toString();
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

// Whether a date text begins with a year of one to three digits and "/"
// (blanks around it allowed).
bool hasMinguoYear(QStringView text) {
    qsizetype at = 0;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    const qsizetype start = at;
    while (at < text.size() && text.at(at).unicode() >= '0' && text.at(at).unicode() <= '9')
        ++at;
    const qsizetype digits = at - start;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    return digits >= 1 && digits <= 3 && at < text.size() && text.at(at) == '/';
}

// The earliest year a birthday written with four digits may have.
constexpr int kEarliestYear = 1000;

} // namespace

namespace {

// "65年12月31日" as "65/12/31", the way a date format with 年, 月 and 日
// shows a date (民國 or 中華民國 may stand before it); null for any other
// text.
QString slashedDate(QStringView text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(?:中華民國|民國)?\\s*(\\d{1,4})\\s*年\\s*(\\d{1,2})\\s*月\\s*"
                       "(\\d{1,2})\\s*日\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text.toString());
    if (!match.hasMatch())
        return QString();
    return match.captured(1) + '/' + match.captured(2) + '/' + match.captured(3);
}

} // namespace

QVariant birthdayValue(QStringView text) {
    if (text.isEmpty())
        return QVariant();
    if (text.contains(u'年')) {
        const QString slashed = slashedDate(text);
        if (!slashed.isNull()) {
            try {
                return birthdayValue(slashed);
            } catch (const ConversionError&) {
                notADate(text); // named as the sheet shows it
            }
        }
    }
    // A year of one to three digits is a Minguo year, read the way the
    // member window reads typed birthdays: 65/12/31 is 1976/12/31.
    if (hasMinguoYear(text)) {
        std::optional<QDate> date;
        try {
            date = birthdayDate(text.toString());
        } catch (const ConversionError&) {
        }
        if (!date || !date->isValid())
            notADate(text);
        return storedDateTime(QDateTime(*date, QTime(0, 0), Qt::UTC));
    }
    // The common form, stored without making a date and time of it first.
    if (const std::optional<QDate> date = plainDate(text)) {
        if (!date->isValid())
            notADate(text);
        if (date->year() < kEarliestYear)
            throw ConversionError(QStringLiteral("「%1」的年份不合理").arg(text.toString()));
        return dateDigits(*date, QTime(0, 0), '-', true);
    }
    const std::optional<QDateTime> value = readDateTime(text.toString());
    if (!value)
        notADate(text);
    if (value->date().year() < kEarliestYear)
        throw ConversionError(QStringLiteral("「%1」的年份不合理").arg(text.toString()));
    return storedDateTime(*value);
}

std::optional<int> yesNoValue(QStringView text) {
    if (text.isEmpty())
        return std::nullopt;
    const int value = yesNoOf(text);
    if (value < 0)
        throw ConversionError(
            QStringLiteral("「%1」不是有效的是否值（應為 TRUE 或 FALSE）").arg(text.toString()));
    return value;
}

} // namespace members
