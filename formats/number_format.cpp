#include "formats/number_format.h"

#include "formats/cell_text.h"
#include "formats/minguo_format.h"

#include <cmath>

namespace members {

bool isBuiltInDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

bool isDateLetter(char16_t lower) {
    switch (lower) {
    case 'y':
    case 'm':
    case 'd':
    case 'e':
    case 'g':
    case 'h':
    case 's':
        return true;
    default:
        return false;
    }
}

bool isDateFormatCode(const QString& code) {
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == '"') {
            const qsizetype end = code.indexOf('"', i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i; // the next character is shown as it is (or is padding)
        } else if (c == '[') {
            const qsizetype end = code.indexOf(']', i + 1);
            const QString part = code.mid(i + 1, (end < 0 ? code.size() : end) - i - 1).toLower();
            if (part == u"h" || part == u"hh" || part == u"m" || part == u"mm" || part == u"s" ||
                part == u"ss")
                return true; // elapsed time
            i = end < 0 ? code.size() : end;
        } else if (code.mid(i, 7).compare(u"General", Qt::CaseInsensitive) == 0) {
            i += 6;
        } else if ((c == 'E' || c == 'e') && i + 1 < code.size() &&
                   (code.at(i + 1) == '+' || code.at(i + 1) == '-')) {
            ++i; // the exponent of a scientific format
        } else if (isDateLetter(c.toLower().unicode())) {
            return true;
        }
    }
    return false;
}

namespace {

// Beyond this a whole number no longer shows in full.
constexpr double kLargestPaddedNumber = 1e15;

// The number of zeros of a code made of zeros alone, in its first section
// (the one for positive numbers); 0 for any other code.
int zeroDigitsOf(const QString& code) {
    const qsizetype end = code.indexOf(';');
    const QStringView first = QStringView(code).left(end < 0 ? code.size() : end).trimmed();
    if (first.isEmpty())
        return 0;
    for (const QChar c : first) {
        if (c != '0')
            return 0;
    }
    return int(qMin<qsizetype>(first.size(), 30));
}

} // namespace

NumberFormat numberFormatOf(int id, const QString& code) {
    NumberFormat format;
    if (code.isNull()) {
        format.date = isBuiltInDateFormat(id);
        format.zeroDigits = id == 1 ? 1 : 0; // "0"
        format.minguoCode = builtInMinguoCode(id);
    } else {
        format.date = isDateFormatCode(code);
        format.zeroDigits = format.date ? 0 : zeroDigitsOf(code);
        if (format.date && isMinguoDateCode(code))
            format.minguoCode = code;
    }
    return format;
}

QString formattedNumberText(double value, NumberFormat format, bool date1904) {
    if (format.date && !format.minguoCode.isNull()) {
        // Before 1912 there is no Minguo year: such a date shows as any other.
        const std::optional<SerialDate> date = serialDate(value, date1904);
        const QString shown =
            date ? minguoDateText(date->date, date->time, format.minguoCode) : QString();
        if (!shown.isEmpty())
            return shown;
    }
    if (format.date) {
        const QString date = serialDateText(value, date1904);
        if (!date.isEmpty())
            return date;
    }
    if (format.zeroDigits > 0 && std::isfinite(value) && std::fabs(value) < kLargestPaddedNumber) {
        const auto whole = static_cast<qint64>(std::llround(value));
        const QString digits =
            QString::number(whole < 0 ? -whole : whole).rightJustified(format.zeroDigits, '0');
        return whole < 0 ? QLatin1Char('-') + digits : digits;
    }
    return numberText(value);
}

} // namespace members
