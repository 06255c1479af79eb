#pragma once

#include <QString>

// Whether a spreadsheet number format shows its number as a date or a time,
// so that the cell is read as a date rather than as a number.
namespace members {

// For the formats every spreadsheet knows by number (ids below 164): the
// date and time formats 14 to 22, 45 to 47, and the East Asian date formats
// 27 to 36 and 50 to 58.
bool isBuiltInDateFormat(int id);

// Whether a letter (in lower case) of a format code stands for a part of a
// date or time: y, m, d, e (era year), g (era), h or s.
bool isDateLetter(char16_t lower);

// For a format written out as a code such as "yyyy/mm/dd" or
// "[$-404]e/m/d": true when, outside quoted text, escapes and bracketed
// colour or locale parts, the code holds a date or time part (y, m, d, e,
// g, h, s or an elapsed-time bracket such as [h]). "General" and the
// exponent of a scientific format ("0.00E+00") are not date parts.
bool isDateFormatCode(const QString& code);

// What a cell's number format means for the text the cell shows.
struct NumberFormat {
    bool date = false; // the number is a date serial
    // More than 0 for a code of zeros alone ("0", "00000"): the number shows
    // rounded to a whole number, with leading zeros up to this many digits.
    int zeroDigits = 0;
    // For a date format that shows the Minguo year, its code: the date then
    // shows as the sheet shows it ("65/12/31"). Null for any other format.
    QString minguoCode;
    bool operator==(const NumberFormat&) const = default;
};

// The meaning of format id, whose code is given for a format the workbook
// defines and null for a built-in one.
NumberFormat numberFormatOf(int id, const QString& code);

// The text a cell showing value in format shows: a date in a Minguo format
// as the sheet shows it (see minguo_format.h), any other date as
// serialDateText gives it (see cell_text.h), a zero-padded whole number, or
// numberText.
QString formattedNumberText(double value, NumberFormat format, bool date1904);

} // namespace members
