#pragma once

#include <QList>
#include <QString>
#include <optional>

// Taking back the last import recorded in the register: the members it
// inserted removed, the members it updated given their former values, and
// after an import that deleted the old members first, those members read
// back from the copy taken before it.
namespace members {

struct RecordedImport {
    qint64 id = 0;
    QString importedAt, user, host, file, mode, backupPath;
    int added = 0;
    int updated = 0;
};

// The last import the register records; nullopt when none.
std::optional<RecordedImport> lastImport();

// 2026-12-11 15:00:00 admin 在 desk1 導入 members.xlsx（更新）：新增 3 筆，更新 2 筆
QString recordedImportText(const RecordedImport& recorded);

// A member the import stored that has been changed or deleted since.
struct ChangedMember {
    qint64 rowid = 0;
    QString id;
    QString name;
};
QList<ChangedMember> changedSinceImport(const RecordedImport& recorded);

// 「A01」王小明, one a line; the first twenty of many and how many.
QString changedMembersText(const QList<ChangedMember>& changed);

struct UndoResult {
    int removed = 0;    // inserted members removed
    int restored = 0;   // updated members given their former values
    int fromBackup = 0; // old members read back from the copy
    int leftAlone = 0;  // members changed since, left as they are
};

// Takes the import back in one transaction, the members changed since
// included only with includeChanged, and removes its record. Throws
// DatabaseError (nothing changed) when, after an import that deleted the
// old members, their copy cannot be read.
UndoResult undoImport(const RecordedImport& recorded, bool includeChanged);

QString undoResultText(const UndoResult& result);

// The menu's 復原上次導入: the question (default No), the members changed
// since named with a second question (default No: they are left alone),
// then the undoing, its outcome, and the open windows told to reload.
void undoLastImport();

} // namespace members
