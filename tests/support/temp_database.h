#pragma once

#include "db/database_target.h"

#include <QString>
#include <QTemporaryDir>

// A fresh database made from the schema, set as the shared connection's
// database for the life of the object, and a temporary folder beside it.
//
// The engine is the test run's: PostgreSQL when LUNMARK_TEST_POSTGRESQL
// names the folder of the test command's throwaway server (the tests run
// once without it and once with it), SQLite otherwise. A test about an
// SQLite-only feature asks for SQLite by name.
//
// On PostgreSQL each object is a database of its own on that server, dropped
// at the end; the working directory is the temporary folder meanwhile, since
// that is where a program on a server finds its lunmark.ini.
class TempDatabase {
public:
    TempDatabase();
    explicit TempDatabase(db::Engine engine);
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    // The engine of this test run.
    static db::Engine runEngine();
    // Whether a test server is there, so that a test may use both engines.
    static bool hasPostgres();
    // A new database on the test server without any tables, for the tests
    // of making and copying a register; dropped by dropServerDatabase.
    static db::DatabaseTarget createEmptyServerDatabase();
    static void dropServerDatabase(const db::DatabaseTarget& target);
    // What names a server database on a command line (--database).
    static QString addressOf(const db::DatabaseTarget& target);

    db::Engine engine() const { return m_target.engine; }
    db::DatabaseTarget target() const { return m_target; }
    // What names the database on a command line (--database): the SQLite
    // file, or the PostgreSQL address.
    QString path() const { return m_argument; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    db::DatabaseTarget m_target;
    QString m_argument;
    QString m_previousFolder;
};
