#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

// A plain SQLite connection to one file, apart from the shared connection:
// for copies of the database and the checks on them. Throws DatabaseError
// with a Chinese text naming the file.
namespace db {

// What went wrong with a database file, in plain words, for SQLite's result
// code (primary or extended).
QString sqliteProblem(int code);

class SqliteFile {
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    SqliteFile(const QString& path, Mode mode, int busyTimeout = 5000);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* handle() const { return m_handle; }
    QString path() const { return m_path; }

    // Runs statements that return nothing of interest.
    void exec(const QString& sql);
    // The first column of every row of one statement.
    QStringList column(const QString& sql);

    // The error text for a failed call on this connection.
    [[noreturn]] void fail(int code) const;

    // Copies every page of from into this database in one write transaction
    // (pagesPerStep at a time; -1 for all at once): a failure leaves this
    // database as it was.
    void copyFrom(const SqliteFile& from, int pagesPerStep = -1);

private:
    QString m_path;
    sqlite3* m_handle = nullptr;
};

} // namespace db
