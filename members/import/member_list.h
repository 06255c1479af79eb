#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// Reading a printed member list saved as Big5 text ("客戶資料全表"): pages
// of a title line with ten heading lines, members of seven lines each, and a
// footer of three lines beginning with "第". Positions are bytes of the line
// with its leading and trailing blanks and control characters removed; a
// Chinese character takes two.
namespace members {

// The values of one member of the list, each trimmed.
struct ListedMember {
    QString id;          // line 1, bytes 1-15
    QString name;        // line 1, bytes 34-41
    QString homeTel;     // line 1, bytes 42-53
    QByteArray birthday; // line 1, bytes 54-62, as the Big5 bytes read
    QString address;     // line 4, the whole line
    QString tel;         // line 5, bytes 1-15
    QString memo;        // line 5, from byte 16 to the end
    int line = 0;        // the number of line 1 in the file, from 1
};

// The members of the list, in order. Each unit is told by its first line: the
// title takes 11 lines, a footer 3 lines, anything else (a blank line too) is
// a member of 7 lines. Lines end with CR LF (or LF); a unit cut short by the
// end of the text reads empty lines.
QList<ListedMember> readMemberList(const QByteArray& text);

// The birthday value of a member who has none.
inline constexpr char kNoBirthday[] = "/  /";

// The date of a listed birthday, whose Minguo year has two or three digits:
// the year plus 1911 followed by the rest is read as year/month/day
// ("65/12/31" gives 1976-12-31, "100/01/01" 2011-01-01). Throws
// ConversionError when the year is not a whole number or the result is not
// a date.
QDate listedBirthday(const QByteArray& value);

} // namespace members
