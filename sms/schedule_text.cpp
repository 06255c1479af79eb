#include "sms/schedule_text.h"

namespace gateway {

QString scheduleText(const QDateTime& when, const QString& dateFormat, const QString& timeFormat) {
    const QString date = when.date().toString(dateFormat);
    if (when.time() == QTime(0, 0))
        return date;
    return date + u' ' + when.time().toString(timeFormat);
}

} // namespace gateway
