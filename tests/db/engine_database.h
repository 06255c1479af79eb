#pragma once

#include "db/database_target.h"
#include "tests/support/temp_database.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// A fresh register on a chosen engine for the tests that must hold on both:
// an SQLite file in a temporary folder, or a new database on the test
// server named by LUNMARK_TEST_POSTGRES (a postgresql:// address of a
// database there from which new ones can be made, such as
// "postgresql://postgres@/postgres?host=/tmp/pg&port=5432"). For a server
// the temporary folder becomes the working directory, where the program
// keeps lunmark.ini and backups beside a server register.
class EngineDatabase {
public:
    explicit EngineDatabase(db::Engine engine);
    ~EngineDatabase();
    EngineDatabase(const EngineDatabase&) = delete;
    EngineDatabase& operator=(const EngineDatabase&) = delete;

    // The test server, when one is named.
    static std::optional<db::DatabaseTarget> server();
    // A new, empty database on the test server (no tables); dropped by
    // dropServerDatabase.
    static db::DatabaseTarget createEmptyServerDatabase();
    static void dropServerDatabase(const db::DatabaseTarget& target);

    db::DatabaseTarget target() const { return m_target; }
    // The target as the command line names it.
    QString argument() const;
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previousFolder;
    db::DatabaseTarget m_target;
};

// Cases run once on SQLite and once on the test server (skipped without one).
class BothEnginesTest : public ::testing::TestWithParam<db::Engine> {
protected:
    void SetUp() override;
    void TearDown() override { m_database.reset(); }
    bool onServer() const { return GetParam() == db::Engine::Postgresql; }
    EngineDatabase& database() { return *m_database; }

private:
    std::unique_ptr<EngineDatabase> m_database;
};

// "Sqlite" and "Postgresql" as the cases' names.
std::string engineName(const ::testing::TestParamInfo<db::Engine>& info);

#define INSTANTIATE_FOR_BOTH_ENGINES(suite)                                                        \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, suite, ::testing::Values(db::Engine::Sqlite, db::Engine::Postgresql), engineName)
