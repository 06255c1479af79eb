#pragma once

#include <QSqlDatabase>

struct sqlite3;

namespace db {

// The SQLite handle under a connection. Throws DatabaseError when the
// connection is not an open SQLite one.
sqlite3* sqliteHandle(const QSqlDatabase& database);

// Registers year(), month() and day() on a connection. They read the leading
// "YYYY-MM-DD" of a date text and give null for null or unreadable input.
void registerSqlFunctions(QSqlDatabase& database);

} // namespace db
