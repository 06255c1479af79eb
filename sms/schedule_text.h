#pragma once

#include <QDateTime>
#include <QString>

// The text of the scheduled sending time ("bf"): the date, one blank and the
// time, with the blank and the time left out when the time is exactly
// midnight, as the date-and-time conversion of the desktop wrote it.
namespace gateway {

QString scheduleText(const QDateTime& when, const QString& dateFormat, const QString& timeFormat);

} // namespace gateway
