#pragma once

#include <QString>

// Whether a spreadsheet number format shows its number as a date or a time,
// so that the cell is read as a date rather than as a number.
namespace members {

// For the formats every spreadsheet knows by number (ids below 164): the
// date and time formats 14 to 22, 45 to 47, and the East Asian date formats
// 27 to 36 and 50 to 58.
bool isBuiltInDateFormat(int id);

// For a format written out as a code such as "yyyy/mm/dd" or
// "[$-404]e/m/d": true when, outside quoted text, escapes and bracketed
// colour or locale parts, the code holds a date or time part (y, m, d, e,
// g, h, s or an elapsed-time bracket such as [h]). "General" and the
// exponent of a scientific format ("0.00E+00") are not date parts.
bool isDateFormatCode(const QString& code);

} // namespace members
