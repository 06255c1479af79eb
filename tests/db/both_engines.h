#pragma once

#include "db/database_target.h"
#include "tests/support/temp_database.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

// Cases run once on SQLite and once on the test server, for the tests that
// compare the two engines or must hold on both within one program; the
// server's cases are skipped in the run without a server.
class BothEnginesTest : public ::testing::TestWithParam<db::Engine> {
protected:
    void SetUp() override;
    void TearDown() override { m_database.reset(); }
    bool onServer() const { return GetParam() == db::Engine::Postgresql; }
    TempDatabase& database() { return *m_database; }

private:
    std::unique_ptr<TempDatabase> m_database;
};

// "Sqlite" and "Postgresql" as the cases' names.
std::string engineName(const ::testing::TestParamInfo<db::Engine>& info);

#define INSTANTIATE_FOR_BOTH_ENGINES(suite)                                                        \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, suite, ::testing::Values(db::Engine::Sqlite, db::Engine::Postgresql), engineName)
