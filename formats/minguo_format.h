#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// Date formats that show the year in the Minguo calendar (year = Gregorian
// year - 1911), as spreadsheets in Taiwan write them: "[$-404]e/mm/dd",
// "[$-zh-TW]e/m/d", "e\年m\月d\日", and the built-in formats of Taiwan's
// spreadsheet programs. A cell in such a format is read as the sheet shows
// it ("65/12/31"), since that is how member dates are typed.
namespace members {

// The code of a built-in format (ids below 164) that Taiwan's spreadsheet
// programs show in the Minguo calendar: 27, 28, 29, 36, 50, 51, 54, 57 and
// 58; null for any other id.
QString builtInMinguoCode(int id);

// Whether a date code shows its year in the Minguo calendar: it has an era
// year "e", and its locale part is Taiwan's ("[$-404]", "[$-zh-TW]", the
// Taiwan calendar "[$-40404]") or absent, as a code typed in Taiwan is.
// "[$-411]ge.m.d" (Japan) and "[$-409]e" (the United States) are not.
bool isMinguoDateCode(const QString& code);

// The text a date in a Minguo code shows: "65/12/31" for 1976-12-31 in
// "e/mm/dd", "100年1月5日" for 2011-01-05 in e\年m\月d\日. Only the
// first section of the code is used. Null for a date before 1912, which
// has no Minguo year.
QString minguoDateText(QDate date, QTime time, const QString& code);

} // namespace members
