#include "formats/cell_text.h"

#include "formats/date_digits.h"

#include <cmath>

namespace members {
namespace {

// Beyond this a double no longer holds every whole number exactly, and the
// spreadsheet shows such numbers in exponent form.
constexpr double kLargestWholeNumber = 1e15;

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

} // namespace

QString numberText(double value) {
    if (std::isfinite(value) && std::fabs(value) < kLargestWholeNumber &&
        value == std::trunc(value))
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 15);
}

QString dateTimeText(QDate date, QTime time) {
    if (!date.isValid())
        return QString();
    return dateDigits(date, time, '/', time.isValid() && time != QTime(0, 0));
}

std::optional<SerialDate> serialDate(double serial, bool date1904) {
    // Up to 9999-12-31, and back to the year 1 at most.
    if (!std::isfinite(serial) || serial >= 2958466 || serial < -693593)
        return std::nullopt;
    auto days = static_cast<qint64>(std::floor(serial));
    qint64 seconds = std::llround((serial - double(days)) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        ++days;
        seconds -= kSecondsPerDay;
    }
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds));
    if (date1904)
        return SerialDate{QDate(1904, 1, 1).addDays(days), time};
    if (days == 0)
        return SerialDate{QDate(), time};
    // Serial 60 is 29 February 1900, a day the 1900 system counts though it
    // never was; from serial 61 on the days run one behind. Only programs
    // that count from 30 December 1899 write dates before 1900 (as negative
    // serials); they are read as those programs do.
    if (days > 60 || days < 0)
        return SerialDate{QDate(1899, 12, 30).addDays(days), time};
    // Serials 1 to 60 are one day apart in those programs and in the 1900
    // system (where 60 is a day that never was): no date can be trusted.
    return std::nullopt;
}

QString serialDateText(double serial, bool date1904) {
    const std::optional<SerialDate> value = serialDate(serial, date1904);
    if (!value)
        return QString();
    if (value->date.isNull())
        return value->time.toString(QStringLiteral("HH:mm:ss"));
    return dateTimeText(value->date, value->time);
}

} // namespace members
