#pragma once

#include <QString>
#include <QVariant>

// Taking one recorded change back, through the same save as the member
// window's: the stored row is compared with what was read in the write's
// transaction, so another desk's change meanwhile is never overwritten
// unseen, and the write records itself in the history as a revert.
namespace members::changes {

struct Record {
    qint64 id = 0;
    QString action;
    qint64 rowid = 0;
    QString member; // the member number
    QString field;  // empty for a record of a whole member
    QVariant oldValue;
    QVariant newValue;
};

// The record with that ID. Throws DatabaseError when it is gone.
Record readRecord(qint64 id);

// Where a change to take back stands now.
struct Standing {
    bool memberGone = false;   // the member has been deleted since
    bool changedSince = false; // the field holds another value than the change left
    QVariant current;          // what the field holds now
};
// Of a record of one field. Throws DatabaseError.
Standing standing(const Record& record);

// Writes value into the record's field of its member, when the field still
// holds shown (what standing() found and the user saw). Throws
// DatabaseError, with 另一台電腦已修改此筆資料 when another desk changed
// the field meanwhile; nothing is written then.
void putBack(const Record& record, const QVariant& value, const QVariant& shown);

// Stores the member a delete record kept, as it was. Throws DatabaseError
// when its number is in use again (nothing is stored then).
void restoreMember(const Record& record);

// Deletes the member an insert record added, unless it changed since.
// Throws DatabaseError when it is gone or changed.
void removeAddedMember(const Record& record);

} // namespace members::changes
