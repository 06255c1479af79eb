#pragma once

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
void setDatabasePath(const QString& path);
QString databasePath();

// How long a statement waits for another program's lock before it fails
// with busyText(); 5 seconds unless set. Closes the shared connection.
void setBusyTimeout(int milliseconds);

// The error text of a statement that found the database locked by another
// program for longer than the busy time-out.
QString busyText();

// The shared connection, opened on first use. Throws DatabaseError when the
// file is missing or cannot be opened.
QSqlDatabase connection();

// Closes the shared connection; the next statement opens it again.
void closeConnection();

// Makes a new, empty database at path from the schema. Throws DatabaseError
// when the file exists already or cannot be written.
void createDatabase(const QString& path);

// The schema of a new database.
QString schemaSql();

// Runs one statement on the shared connection with named parameters
// (":Name" in the text, "Name" or ":Name" as the key). Throws DatabaseError.
QSqlQuery run(const QString& sql, const QVariantMap& params = {});

// A statement given as lines, as the windows build them; lines are joined
// with line breaks.
QSqlQuery run(const QStringList& lines, const QVariantMap& params = {});

// Throws DatabaseError for a failed query, with the database's text.
[[noreturn]] void raise(const QSqlError& error);

// A transaction on the shared connection that rolls back unless committed.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    bool m_open = true;
};

} // namespace db
