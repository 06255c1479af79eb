#pragma once

#include "db/database_target.h"

#include <QList>
#include <QString>

// A whole register copied from one database to another, SQLite or server,
// either way: so that a one-desk shop can move to a server (and back)
// without retyping anything, and so that a server register can be kept as
// an SQLite file in the backups folder.
namespace db {

struct TableCount {
    QString table; // as the schema spells it
    qint64 source = 0;
    qint64 copied = 0;
};

// Copies every table of the schema from source to target with its rowids
// (and counters), reading source as of one moment. target must be a new
// SQLite file or an empty server database; its schema is made first. All
// tables are written in one transaction on the target and counted there
// against the source; a mismatch or any error rolls the target back (a new
// SQLite file is removed) and throws DatabaseError. The shared connection
// is not used.
QList<TableCount> copyDatabase(const DatabaseTarget& source, const DatabaseTarget& target);

// The tables of the schema with their columns, as schema.sql spells them.
struct SchemaTable {
    QString name;
    QStringList columns;
    bool rowidIsCounter = false; // SQLite: a counter column is the rowid itself
};
QList<SchemaTable> schemaTables();

} // namespace db
