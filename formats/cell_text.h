#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

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
// time alone ("HH:mm:ss") for a serial from 0 to below 1 in the 1900 system.
// date1904 selects the 1904 epoch (serial 0 is 1904-01-01); otherwise the
// 1900 one, with its non-existent 29 February 1900 (serial 60). Serials 1
// to 60 of the 1900 system mean different days in different spreadsheet
// programs and give an empty text, as does a serial no date can have;
// negative serials are dates before 1900 as the programs that write them
// count (from 30 December 1899).
QString serialDateText(double serial, bool date1904);

// The day and time of a date serial, read as serialDateText reads it: a null
// date for a time alone, nullopt where serialDateText gives an empty text.
struct SerialDate {
    QDate date;
    QTime time;
};
std::optional<SerialDate> serialDate(double serial, bool date1904);

} // namespace members
