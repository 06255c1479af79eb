#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The texts a spreadsheet shows for numbers and dates, shared by the
// workbook readers: whole numbers without a fraction, dates as yyyy/MM/dd.
namespace members {

// A number as text: whole numbers as integers ("123", not "123.0"),
// others with up to 15 significant digits ("1.5", "0.1").
QString numberText(double value);

// A date as "yyyy/MM/dd", followed by " HH:mm:ss" unless time is midnight.
QString dateTimeText(QDate date, QTime time = QTime(0, 0));

// A spreadsheet date serial (days since the workbook's epoch, the fraction
// being the time of day) as text: a date as dateTimeText shows it, or the
// time alone ("HH:mm:ss") for a serial below 1. date1904 selects the 1904
// epoch; otherwise the 1900 one, with its non-existent 29 February 1900.
// An empty text for a serial no date can have.
QString serialDateText(double serial, bool date1904);

} // namespace members
