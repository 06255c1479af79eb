#pragma once

#include "members/import/import_plan.h"
#include "members/import/member_insert.h"

#include <QString>
#include <optional>

// The record an import leaves in the register (ImportLog and ImportLogRow):
// when, who, which file, the mode, the counts, the members it inserted and,
// for updates, the values it replaced. The last ten imports are kept.
namespace members {

// The name of the user an import is recorded under; the signed-in user
// when the program has set one, else the system's login name.
void setImportUser(const QString& name);
QString importUser();

// What an import stored.
struct ImportCounts {
    int added = 0;
    int updated = 0;
    int skipped = 0;    // rows whose number the register holds, left out
    int duplicates = 0; // rows whose number came earlier in the file, left out
};

// How the mode is recorded: add, update, skip, or replace when the old
// members were deleted first.
QString recordedMode(ImportMode mode, bool deleteOld);

// One import's record, written inside the import's transaction. Make it
// after the old members are deleted and before the first row is stored.
class ImportRecord {
public:
    ImportRecord(const QString& file, const QString& mode, const QString& backupPath);
    ImportRecord(const ImportRecord&) = delete;
    ImportRecord& operator=(const ImportRecord&) = delete;

    // Keeps the values of the member at rowid before an update overwrites
    // them.
    void keepReplaced(qint64 rowid);

    // Completes the record once every row is stored, still inside the
    // import's transaction: the members' values after the import, the
    // counts, and the records beyond the last ten removed. Anything else
    // that records an import's changes belongs here too.
    void finish(const ImportCounts& counts);

private:
    qint64 m_id = 0;
    qint64 m_lastRowBefore = 0; // members above it are the import's
    std::optional<MemberInsert> m_replaced;
};

// Makes two imports, an import and its undoing, or an import and a desk
// adding a member follow one another: an import tells the members it
// inserted by their row identities above the last one before it. Call at
// the start of the write transaction. (SQLite's writer holds the whole file
// already; a server takes the advisory lock the member window's checked
// writes of Cust take.)
void holdImportLock();

// How many imports the register keeps a record of.
inline constexpr int kKeptImports = 10;

} // namespace members
