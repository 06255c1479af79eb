#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The files that belong to a database, and who holds them. SQLite keeps POSIX
// locks on them, and closing any descriptor of such a file drops every lock
// this process holds on it; so these functions look at names, device and
// inode numbers and /proc/locks only, and never open the files themselves.
namespace db {

// The database file and the ones SQLite keeps beside it: the write-ahead
// log, its shared-memory index and the rollback journal.
QStringList databaseFiles(const QString& databasePath);

// True when path is one of the current database's files, also under another
// name (a link, a relative path); never for a server register. Nothing is
// opened.
bool isDatabaseFile(const QString& path);

// The process ids, other than this one, that hold a lock on the database
// file or its shared-memory index at databasePath: the programs that have
// the database open.
QList<qint64> otherProgramsUsing(const QString& databasePath);

} // namespace db
