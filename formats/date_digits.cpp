#include "formats/date_digits.h"

namespace members {
namespace {

// Writes value as count digits at out; returns the position after them.
char16_t* putDigits(char16_t* out, int value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = char16_t(u'0' + value % 10);
        value /= 10;
    }
    return out + count;
}

} // namespace

QString dateDigits(QDate date, QTime time, char separator, bool withTime) {
    int year = 0;
    int month = 0;
    int day = 0;
    if (date.isValid())
        date.getDate(&year, &month, &day);
    // Outside what four digits hold, or an invalid date or time (whose parts
    // read as 0 and -1): through printf, as it writes such parts.
    if (year < 0 || year > 9999 || !date.isValid() || (withTime && !time.isValid())) {
        QString text = QString::asprintf("%04d%c%02d%c%02d", date.year(), separator, date.month(),
                                         separator, date.day());
        if (withTime)
            text += QString::asprintf(" %02d:%02d:%02d", time.hour(), time.minute(), time.second());
        return text;
    }
    QString text(withTime ? 19 : 10, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    out = putDigits(out, year, 4);
    *out++ = char16_t(separator);
    out = putDigits(out, month, 2);
    *out++ = char16_t(separator);
    out = putDigits(out, day, 2);
    if (withTime) {
        *out++ = u' ';
        out = putDigits(out, time.hour(), 2);
        *out++ = u':';
        out = putDigits(out, time.minute(), 2);
        *out++ = u':';
        putDigits(out, time.second(), 2);
    }
    return text;
}

} // namespace members
