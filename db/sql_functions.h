#pragma once

#include <QSqlDatabase>

struct sqlite3;

namespace db {

// The SQLite handle under a connection. Throws DatabaseError when the
// connection is not an open SQLite one.
sqlite3* sqliteHandle(const QSqlDatabase& database);

// Registers year(), month() and day() on a connection. They read the leading
// "YYYY-MM-DD" of a date text and give null for null or unreadable input.
// Also translate(text, from, to) as the server has it, for ASCII from and to:
// each character of from becomes the one at its place in to, or is left out
// where to is shorter.
void registerSqlFunctions(QSqlDatabase& database);

} // namespace db
