#pragma once

#include "db/database_target.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The one shared database connection of the program. It opens on the first
// statement that needs it and stays open for the rest of the run. Every
// failure surfaces as a DatabaseError carrying the database's own text.
namespace db {

// The database file: "db.sqlite" in the working directory unless set.
// Setting a path makes the target an SQLite file (see database_target.h).
void setDatabasePath(const QString& path);
QString databasePath();

// How long a statement waits for another program's lock before it fails
// with busyText(); 5 seconds unless set. Closes the shared connection.
void setBusyTimeout(int milliseconds);

// The error text of a statement that found the database locked by another
// program for longer than the busy time-out.
QString busyText();

// The shared connection, opened on first use (and again after a server
// connection was lost). Throws DatabaseError when the file is missing or
// cannot be opened, or the server cannot be reached.
QSqlDatabase connection();

// Closes the shared connection; the next statement opens it again.
void closeConnection();

// createDatabase() of an SQLite file at path (db/database_target.h).
void createDatabase(const QString& path);

// Opens a connection of its own, named name, to target: an SQLite file
// (made when missing) with the busy time-out and the SQL functions, or a
// server database. For work beside the shared connection (copying and
// making registers); close it and remove it by name afterwards. Throws
// DatabaseError.
QSqlDatabase openConnection(const QString& name, const DatabaseTarget& target);

// The schema of a new database.
QString schemaSql();

// The statements of a script, without its "--" comment lines.
QStringList splitStatements(const QString& script);

// Runs one statement on the shared connection with named parameters
// (":Name" in the text, "Name" or ":Name" as the key). Values are bound
// alike on both engines: a yes/no as 0 or 1, a date and time as ISO text, a
// whole number as it is written (so it also fits a text column). A failed
// statement inside a transaction leaves the transaction usable, on both
// engines. Throws DatabaseError.
QSqlQuery run(const QString& sql, const QVariantMap& params = {});

// A statement given as lines, as the windows build them; lines are joined
// with line breaks.
QSqlQuery run(const QStringList& lines, const QVariantMap& params = {});

// The database's own text of a failed statement, a server's refusals of a
// check or a unique index in SQLite's words ("CHECK constraint failed:
// length(name) <= 10"), so that callers read both alike.
QString databaseText(const QSqlError& error);

// Throws DatabaseError for a failed query, with the database's text; of the
// shared connection unless database is given.
[[noreturn]] void raise(const QSqlError& error);
[[noreturn]] void raise(const QSqlDatabase& database, const QSqlError& error);

// A value as run() binds it on an engine (the current one unless given).
QVariant boundValue(const QVariant& value);
QVariant boundValue(const QVariant& value, Engine engine);

// A table or column name quoted for the current engine: a server folds the
// unquoted names of the statements to lower case, and its tables are made so.
QString quotedName(const QString& identifier);

// True while a Transaction is open on the shared connection.
bool inTransaction();

// "FOR UPDATE" on a server, where a SELECT that is about to be written back
// must lock its rows; nothing on SQLite, whose writer holds the whole file.
QString lockRowsClause();

// A transaction on the shared connection that rolls back unless committed.
// Inside another one it is a savepoint of it. Write takes the write lock at
// once (SQLite's BEGIN IMMEDIATE), so what is read inside cannot change
// before it is written.
class Transaction {
public:
    enum class Kind { Read, Write };
    explicit Transaction(Kind kind = Kind::Read);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    bool m_open = true;
    int m_depth = 0; // 1 for the outermost transaction
};

} // namespace db
