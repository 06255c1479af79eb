#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// The member search: sixteen criteria, each adding one line to a statement
// over Cust whose second line is " Where IsEnabled=:IsEnabled ". The member
// window and the SMS recipient search both build their statements here.
//
// Typed values are bound as parameters, never pasted into the statement, so a
// value holding an apostrophe is searched for like any other text.
namespace members::search {

enum Criterion {
    None = -1,
    Number = 0,
    Name,
    Salutation,
    Tel,
    Mobile,
    HomeTel,
    Category,
    Birthday,
    Identity,
    Address,
    JoiningDate,
    Note1,
    Note2,
    Note3,
    Note4,
    Note5,
};
inline constexpr int kCriterionCount = 16;

// The captions of the criteria that the settings row names.
struct Captions {
    QString category;  // SystemSet.CW
    QString enterDate; // SystemSet.EnterDate
    QString date1;     // SystemSet.Date1
    QStringList memos; // SystemSet.Memo1 to Memo5
};

// The first settings row's captions as stored, untrimmed (empty texts when
// there is no row).
Captions readCaptions();

// The salutation and category lists offered for picking: each row's name,
// trimmed, in the order the database returns them.
QStringList salutations();
QStringList categories();

// The sixteen criterion names, in order.
QStringList criterionNames(const Captions& captions);

// What the user gave: the value box, the upper bound and the date boxes.
struct Input {
    int criterion = None;
    QString value; // also the lower bound of the number criterion
    QString upper;
    QString year; // Minguo, optionally ending in "+" or "-"
    QString month;
    QString day;
};

// A criterion's line and the values it binds.
struct Clause {
    QString line; // empty: no line
    QVariantMap params;
};

// The smallest and largest member number, as texts (empty without members).
struct Bounds {
    QString low;
    QString high;
};
Bounds memberNumberBounds();

// The range of the number criterion: the typed bounds where given, the
// register's otherwise.
Bounds numberRange(const Input& input, const Bounds& stored);

// The criterion's line. The number criterion needs the range; the birthday
// criterion throws ConversionError when a year, month or day is not a whole
// number (a year of "+" or "-" alone included). None and an empty birthday
// give no line. Each LIKE names the escape character of db/like_pattern.h;
// a typed "%" or "_" stays a wildcard, a typed backslash stands for itself.
Clause criterionClause(const Input& input, const Bounds& range = {});

// The first line of the member window's search.
QString memberColumnsLine();

// The lines of the member window's search statement and its parameters.
struct Statement {
    QStringList lines;
    QVariantMap params;
};
Statement memberStatement(const Clause& clause, bool activeMembers);

// A LIKE pattern that finds text anywhere, with the typed %, _ and \ standing
// for themselves (see db/like_pattern.h).
QString containsPattern(const QString& text);

// The quick search: members whose number, name or any telephone (telephone,
// mobile, home) contains the typed text, trimmed; in number order. Telephones
// are also compared with blanks, dashes, dots and brackets left out on both
// sides (phone::searchKey), so "345678" finds "0912-345-678". The text is
// bound, never written into the statement.
Statement quickSearchStatement(const QString& typed, bool activeMembers);

} // namespace members::search
