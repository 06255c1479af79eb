#pragma once

#include "db/connection.h"
#include "tests/support/temp_database.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// Statements for the tests, on the shared connection.
namespace dbtest {

void exec(const QString& sql, const QVariantMap& params = {});
// The first column of the first row; null when there is no row.
QVariant scalar(const QString& sql, const QVariantMap& params = {});
// The first column of every row, "<null>" for null.
QStringList column(const QString& sql);
// The number of rows of a table, or of "Table where ..." .
int count(const QString& tableAndWhere);
// Adds a member with number, name and category.
void addMember(const QString& id, const QString& name, const QVariant& kind = {});
// Writes garbage over the headers of pages 2 to 8 of an SQLite file, as a
// failing disk might (never while a connection has the file open).
void damage(const QString& path);

} // namespace dbtest

// A fresh database for each test, on the engine of the test run.
class DbTest : public ::testing::Test {
protected:
    TempDatabase m_database;
};

// The same for tests of what only an SQLite file has (its catalog, its
// files, backups and locks): SQLite in every run.
class SqliteDbTest : public ::testing::Test {
protected:
    TempDatabase m_database{db::Engine::Sqlite};
};

// Cases that share one database: each runs in a transaction that is rolled
// back, so no case sees another's rows. SqliteOnly as for SqliteDbTest.
template <typename Param, bool SqliteOnly = false>
class SharedDbTest : public ::testing::TestWithParam<Param> {
protected:
    static void SetUpTestSuite() {
        database() = SqliteOnly ? std::make_unique<TempDatabase>(db::Engine::Sqlite)
                                : std::make_unique<TempDatabase>();
    }
    static void TearDownTestSuite() { database().reset(); }
    void SetUp() override { m_transaction.emplace(); }
    void TearDown() override { m_transaction.reset(); }

private:
    static std::unique_ptr<TempDatabase>& database() {
        static std::unique_ptr<TempDatabase> shared;
        return shared;
    }

    std::optional<db::Transaction> m_transaction;
};

// gtest prints texts and values of failed expectations readably.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QVariant& value, std::ostream* out);
