#pragma once

#include "members/member_search.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <optional>

// What the 修改紀錄 window reads: the records of the change history chosen
// by date, user and member, newest first, and how it names their fields.
namespace members::changes {

// At most this many records are shown at once, the newest.
inline constexpr int kShownRecords = 2000;

struct Filter {
    std::optional<QDate> from; // inclusive
    std::optional<QDate> to;   // inclusive
    QString user;              // exact, ignoring case; empty for every user
    QString member;            // the member number, exact; empty for every member
};

// The statement and its parameters. For every member an import shows as
// its batch record; for one member, as the member's own record. It reads ID, ChangeTime, UserID,
// Host, CustID, CustRowid, Action, Field, OldValue, NewValue, BatchID and FieldShown: the field, or
// "*" and the action for a record of a whole member.
QStringList statementLines(const Filter& filter);
QVariantMap statementParams(const Filter& filter);

// A member column's caption as the member window shows it: the settings'
// captions for the category, the dates and the notes, the fixed ones for
// the rest; the column's name for one the window does not show.
QString fieldCaption(const QString& column, const search::Captions& captions);

// What a record's field column shows (from FieldShown): the caption of its
// field, or for a record of a whole member what happened to it.
QString shownField(const QString& shown, const search::Captions& captions);

// What a record's old or new value shows: a whole member (of an insert or
// a delete) by number and name, a value as it is stored.
QString valueText(const QVariant& value);

} // namespace members::changes
