#include "members/import/cell_text.h"

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
    QString text = date.toString(QStringLiteral("yyyy/MM/dd"));
    if (time.isValid() && time != QTime(0, 0))
        text += time.toString(QStringLiteral(" HH:mm:ss"));
    return text;
}

QString serialDateText(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 || serial > 2958466) // after 9999-12-31
        return QString();
    auto seconds = static_cast<qint64>(std::llround(serial * kSecondsPerDay));
    qint64 days = seconds / kSecondsPerDay;
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds % kSecondsPerDay));
    if (days == 0 && !date1904)
        return time.toString(QStringLiteral("HH:mm:ss"));
    QDate epoch;
    if (date1904) {
        epoch = QDate(1904, 1, 1);
    } else {
        // Serial 60 is 29 February 1900, a day the 1900 system counts though
        // it never was; from serial 61 on the days run one behind.
        epoch = QDate(1899, 12, 31);
        if (days >= 60)
            --days;
    }
    return dateTimeText(epoch.addDays(days), time);
}

} // namespace members
