#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

// The conversions an import makes before storing a member: texts read from a
// file into the database's date and yes/no values. A text that does not
// convert throws ConversionError naming it.
namespace members {

// The text as it is stored: an empty text stays an empty text, where a null
// QString would be stored as a null.
QString storedText(const QString& text);

// Reads "year/month/day" or "year-month-day" (one or two digits for month
// and day, blanks around the numbers allowed), optionally followed by a time
// "hours:minutes" or "hours:minutes:seconds". nullopt when the text is not
// such a date or names a day that does not exist.
std::optional<QDateTime> readDateTime(const QString& text);

// The stored value of a birthday cell: a null value for an empty text,
// otherwise the date as the schema's date text "yyyy-MM-dd HH:mm:ss". A
// year of one to three digits is a Minguo year, as the member window reads
// it ("65/12/31" is 1976-12-31); a four-digit year must be 1000 or later.
// The parts may also be written with 年, 月 and 日 ("65年12月31日"), as a
// Minguo date format shows them.
// Throws ConversionError when the text is not a date.
QVariant birthdayValue(QStringView text);

// The stored value of an active-member cell: 1 for TRUE, Yes, Y, 1, -1, 是,
// 有效; 0 for FALSE, No, N, 0, 否, 無效 (letter case ignored); nullopt for an
// empty text, leaving the column to its default. Throws ConversionError for
// anything else.
std::optional<int> yesNoValue(QStringView text);

// The schema's text of a date and time, "yyyy-MM-dd HH:mm:ss".
QString storedDateTime(const QDateTime& value);

} // namespace members
