#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The statements of the document register and the values they take. Text
// conditions match anywhere in their column; a column holding no value never
// matches, an empty text always does.
namespace documents {

// Every document record.
QStringList allFilesStatement();

// The quick search by document name and document number.
QStringList quickSearchStatement();
QVariantMap quickSearchParams(const QString& name, const QString& contentNo);

// What the detailed search asks for. A null date stands for an emptied date
// box.
struct DetailedSearch {
    QString name;
    QString kind;
    QString contentNo;
    QString contentName;
    QString memo;
    QDate from;
    QDate to;
};

// The detailed search by five texts and a range of entry dates.
QStringList detailedSearchStatement();
// Throws ConversionError when either date is null: there is no day to bound.
QVariantMap detailedSearchParams(const DetailedSearch& search);

// The trimmed text framed with "%", a pattern that matches it anywhere; a
// typed "%" or "_" stays a wildcard, a backslash stands for itself (the
// statements name the escape character of db/like_pattern.h).
QString containsPattern(const QString& text);

// The first and the last second of a day, as the dates are stored.
QString dayStart(const QDate& day);
QString dayEnd(const QDate& day);

} // namespace documents
