#pragma once

#include "db/dataset_sql.h"

#include <QDateTime>
#include <QString>
#include <QVariantMap>

// The change history of the members: who changed which member, when, at
// which desk, from what to what. Every write of a member records itself in
// CustHistory in the transaction of the write, so a change that is rolled
// back leaves no record and a record never outlives its change. A register
// without the table (made by a Lunmark that kept no history) is written as
// before, without records.
namespace db::history {

// What a record says happened.
inline constexpr const char* kInsert = "insert";
inline constexpr const char* kUpdate = "update";
inline constexpr const char* kDelete = "delete";
inline constexpr const char* kImport = "import";
inline constexpr const char* kRevert = "revert";

// The table whose rows are recorded.
inline constexpr const char* kTable = "Cust";

// The user the records of this run name (the signed-in user); empty until
// set. The desk is the computer's host name.
void setUser(const QString& user);
QString user();
QString desk();

// Whether the register has the history table (asked of the database each
// time: another program may have added it).
bool available();

// What a dataset writing table runs inside its write's transaction, after
// the write (dataset_sql::AfterWrite): records the insert, each changed
// column of an update (old and new), or the deleted row whole. Empty for
// tables without history.
dataset_sql::AfterWrite recorder(const QString& table);

// While one lives, the writes recorded are recorded as reverts (taking a
// change back, restoring a deleted member) instead of as edits.
class RevertScope {
public:
    RevertScope();
    ~RevertScope();
    RevertScope(const RevertScope&) = delete;
    RevertScope& operator=(const RevertScope&) = delete;
};

// A whole row as one text, and back: the record of a deleted member keeps
// the row so that it can be restored. Keys are lower-case column names;
// a null stays null.
QString rowText(const QVariantMap& row);
QVariantMap rowFromText(const QString& text);

// The records of one import: made inside the import's transaction before
// its first member is stored, finished before it commits. finish() writes
// one record for the batch (its NewValue the number of members) and one
// per member the import stored, in one statement over the stored rows,
// whose BatchID is the batch record's ID; it returns that ID (0 without
// history). On a server it holds the members' write lock from its making,
// so that no desk's new member is taken for an imported one.
class ImportRecord {
public:
    ImportRecord();
    ImportRecord(const ImportRecord&) = delete;
    ImportRecord& operator=(const ImportRecord&) = delete;
    qint64 finish();

private:
    bool m_available = false;
    qint64 m_lastRowidBefore = 0;
};

// The text a record's ChangeTime holds for a moment.
QString timeText(const QDateTime& when);

} // namespace db::history
