#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// Copies of the database in the "backups" folder beside it, taken with
// SQLite's online backup while the program (and others) keep working, and
// the restoring of one of them. A copy is written under a temporary name and
// renamed when complete, so an interrupted backup leaves neither a broken
// copy among the backups nor any change to the database.
namespace db {

struct BackupInfo {
    QString path;
    QDateTime taken;
    qint64 members = 0; // -1 when the copy cannot be read
};

// "backups" in dataFolder(): beside the SQLite file, or in the working
// directory for a server register.
QString backupFolder();

// How many backups are kept: [Backup] Keep in settingsFilePath(), 14 when
// absent or unreadable. 0 turns the daily backup off.
int backupsToKeep();

// Takes a consistent copy of the database and returns its path (of a server
// register, an SQLite copy made by copyDatabase()); then prunes to
// backupsToKeep(), leaving the new copy and the copies alsoKeep names (the
// one about to be restored). The program holds the new copy until it takes
// another or ends: no program's pruning removes it meanwhile, since a change
// it was taken before (an import replacing every member) may still run.
// Throws DatabaseError when no copy could be made.
QString takeBackup(const QStringList& alsoKeep = {});

// Takes a backup at the first start of a day: when backupsToKeep() is not 0
// and no copy of today is there; on SQLite only (a server keeps its own). Returns the new path, or
// empty when none was needed. Throws DatabaseError.
QString takeDailyBackup();

// The backups there are, newest first.
QList<BackupInfo> listBackups();

// Removes the oldest backups so that keep (at least 1) are left, and
// leftovers of interrupted backups. Copies are ordered by the time in their
// names, then by their files' modification times. Never removed: a copy
// dated in the future (taken while the clock was set ahead; it does not
// count among the keep newest either), a copy alsoKeep names, and a copy
// another running program holds (see takeBackup()).
void pruneBackups(int keep, const QStringList& alsoKeep = {});

// Throws DatabaseError unless file is a sound copy of a member register:
// PRAGMA integrity_check passes and every table and column of the schema is
// there.
void checkBackupFile(const QString& file);

// Why the database cannot be used, in plain words (PRAGMA quick_check); empty
// when it is sound or missing, and for a server database.
QString databaseProblem();

// Why restoring does not apply to the current database (a server
// register); empty when it does.
QString restoreRefusal();

// Replaces the database with the backup file: checks it, refuses while
// another program has the database open, keeps the current state first (a
// new backup; a damaged database is moved into the backups folder instead),
// then copies the backup in. Closes the shared connection. Returns the path
// of the copy of the former state. Throws DatabaseError; on a refusal
// nothing has changed. Refused for a server database.
QString restoreBackup(const QString& file);

} // namespace db
