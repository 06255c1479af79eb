#include "app/start_up.h"
#include "base/errors.h"
#include "db/connection.h"
#include "tests/support/scripted_prompt.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(StartOptionsTest, ReadsTheCommandLine) {
    const StartOptions plain = parseStartOptions({QStringLiteral("lunmark")});
    EXPECT_EQ(plain.databasePath, QStringLiteral("db.sqlite"));
    EXPECT_FALSE(plain.createIfMissing);

    const StartOptions named =
        parseStartOptions({QStringLiteral("lunmark"), QStringLiteral("--database"),
                           QStringLiteral("/x/shop.sqlite"), QStringLiteral("--create-database")});
    EXPECT_EQ(named.databasePath, QStringLiteral("/x/shop.sqlite"));
    EXPECT_TRUE(named.createIfMissing);
    EXPECT_TRUE(named.error.isEmpty());

    EXPECT_EQ(parseStartOptions({QStringLiteral("lunmark"), QStringLiteral("--database=a.db")})
                  .databasePath,
              QStringLiteral("a.db"));
    EXPECT_EQ(parseStartOptions({QStringLiteral("lunmark"), QStringLiteral("--bogus")}).error,
              QStringLiteral("--bogus"));
}

StartOptions optionsFor(const QString& path, bool createIfMissing = false) {
    StartOptions options;
    options.databasePath = path;
    options.createIfMissing = createIfMissing;
    return options;
}

class MissingDatabaseTest : public testing::Test {
protected:
    void TearDown() override { db::closeConnection(); }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("db.sqlite"));
    ScriptedPrompt prompt;
};

TEST_F(MissingDatabaseTest, DecliningLeavesTheFileMissingAndTheFirstStatementFails) {
    prompt.expect(QStringLiteral("要在這裡建立一個新的空白資料庫嗎﹖"), false, true);
    prepareDatabase(optionsFor(path));
    EXPECT_FALSE(QFileInfo::exists(path));
    try {
        db::run(QStringLiteral("select * from Users"));
        FAIL() << "a missing database must fail the first statement";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(path)) << error.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(MissingDatabaseTest, AgreeingMakesAnEmptyDatabase) {
    prompt.expect(QStringLiteral("要在這裡建立一個新的空白資料庫嗎﹖"), true, true);
    prepareDatabase(optionsFor(path));
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Users"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 0);
}

TEST_F(MissingDatabaseTest, CreateOptionMakesItWithoutAsking) {
    prepareDatabase(optionsFor(path, true));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(prompt.shown().size(), 0);
}

TEST_F(MissingDatabaseTest, ExistingDatabaseIsUsedAsItIs) {
    db::createDatabase(path);
    prepareDatabase(optionsFor(path));
    db::run(QStringLiteral("insert into Kinds(KindName) values('A')"));
    EXPECT_EQ(db::databasePath(), path);
    EXPECT_EQ(prompt.shown().size(), 0);
}

} // namespace
