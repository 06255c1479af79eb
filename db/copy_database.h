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
// SQLite file or an empty server database, made a register by
// createRegister() (db/new_register.h) in the same transaction that writes
// the rows; the source's settings take the place of the default ones when
// it has any. The rows are counted there against the source; a mismatch or
// any error rolls everything back (the server database stays without
// tables, a new SQLite file is removed) and throws DatabaseError. The shared
// connection is not used.
QList<TableCount> copyDatabase(const DatabaseTarget& source, const DatabaseTarget& target);

// The tables of the schema with their columns, as schema.sql spells them.
struct SchemaTable {
    QString name;
    QStringList columns;
    bool rowidIsCounter = false; // SQLite: a counter column is the rowid itself
};
QList<SchemaTable> schemaTables();

} // namespace db
