#include "db/connection.h"
#include "members/salutations.h"
#include "tests/support/temp_database.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

QStringList stored() {
    QSqlQuery query = db::run(QStringLiteral("select Name from CWNames order by Id"));
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

TEST(SalutationsTest, AddsOnlyANameNoRowHasIgnoringLetterCase) {
    TempDatabase database;
    members::insertSalutationIfAbsent(QStringLiteral("先生"));
    members::insertSalutationIfAbsent(QStringLiteral("先生"));
    members::insertSalutationIfAbsent(QStringLiteral("Mr"));
    members::insertSalutationIfAbsent(QStringLiteral("MR"));
    members::insertSalutationIfAbsent(QStringLiteral("O'Brien"));
    EXPECT_EQ(stored(), (QStringList{"先生", "Mr", "O'Brien"}));
}

TEST(SalutationsTest, RunsInsideTheCallersTransaction) {
    TempDatabase database;
    {
        db::Transaction transaction;
        members::insertSalutationIfAbsent(QStringLiteral("小姐"));
    }
    EXPECT_TRUE(stored().isEmpty());
}

} // namespace
