#include "tests/db/both_engines.h"

void BothEnginesTest::SetUp() {
    if (onServer() && !TempDatabase::hasPostgres())
        GTEST_SKIP() << "no test server in this run (the pg. run has one)";
    m_database = std::make_unique<TempDatabase>(GetParam());
}

std::string engineName(const ::testing::TestParamInfo<db::Engine>& info) {
    return info.param == db::Engine::Sqlite ? "Sqlite" : "Postgresql";
}
