#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Member dates are typed in the Republic-of-China (Minguo) calendar, whose
// year is the Gregorian year minus 1911: a two- or three-digit year, then the
// month and day, such as 65/12/31 or 100/2/3.
namespace members {

// A typed Minguo date cut into its year and the text after it.
struct MinguoParts {
    int year = 0;      // the Minguo year as typed
    QString remainder; // from the character after the year, at most 9, trimmed
};

// Takes the year from the first three characters when they are a whole
// number, otherwise from the first two. Throws ConversionError, with the
// platform's number-conversion text, when neither is a whole number.
MinguoParts splitMinguo(const QString& text);

// The Gregorian date text: the year plus 1911 followed by the remainder, so
// "65/12/31" gives "1976/12/31" and "100/01/01" gives "2011/01/01". Throws as
// splitMinguo.
QString ConvertMGDate(const QString& text);

// A date in the form members are typed in: the Minguo year, then two-digit
// month and day, so 1976-12-31 gives "65/12/31" and 2011-02-03 "100/02/03".
QString minguoText(const QDate& date);

// Reads "year/month/day" with one- or two-digit month and day; an invalid
// date for any other text or a day the month does not have.
QDate readSlashDate(const QString& text);

// The calendar date of a typed birthday (trimmed first): a null date for an
// empty text, nothing when it cannot be read. Throws as splitMinguo.
std::optional<QDate> birthdayDate(const QString& typed);

// Whether a typed joining date (trimmed first) may be stored: empty, or a
// readable date whose remainder is exactly 6 characters (96/05/01 and
// 096/05/01 pass, 96/5/1 does not). Throws as splitMinguo.
bool isValidJoiningDate(const QString& typed);

// The platform's number-conversion error for a text that is not a whole
// number; the birthday search uses it too.
[[noreturn]] void throwNotAnInteger(const QString& text);

// Reads a whole number as the platform's integer conversion does (optional
// sign, decimal digits, nothing else). Throws ConversionError otherwise.
int toInteger(const QString& text);

} // namespace members
