#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Dates written out digit by digit: an import writes one or two for every
// row, and a format string would be read anew at each call.
namespace members {

// "yyyy" separator "MM" separator "dd", with " HH:mm:ss" after it when
// withTime; the year with at least four digits, as printf's %04d gives it,
// and an invalid date or time as printf writes what their parts read.
QString dateDigits(QDate date, QTime time, char separator, bool withTime);

} // namespace members
