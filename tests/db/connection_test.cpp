#include "base/errors.h"
#include "db/connection.h"
#include "tests/db/db_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

class ConnectionTest : public ::testing::Test {
protected:
    ~ConnectionTest() override { db::closeConnection(); }

    QString pathOf(const QString& name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
};

TEST_F(ConnectionTest, MissingFileIsADatabaseErrorNamingItAndIsNotCreated) {
    const QString path = pathOf(QStringLiteral("missing.sqlite"));
    db::setDatabasePath(path);
    try {
        db::run(QStringLiteral("select 1"));
        ADD_FAILURE() << "the statement ran without a database";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("missing.sqlite")))
            << error.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(ConnectionTest, CreateDatabaseRefusesAnExistingFileAndLeavesIt) {
    const QString path = pathOf(QStringLiteral("db.sqlite"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a database");
    }
    EXPECT_THROW(db::createDatabase(path), DatabaseError);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not a database"));
}

TEST_F(ConnectionTest, NewDatabaseOpensOnTheFirstStatement) {
    const QString path = pathOf(QStringLiteral("new.sqlite"));
    db::createDatabase(path);
    db::setDatabasePath(path);
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 0);
}

TEST_F(ConnectionTest, RefusedStatementCarriesTheDatabaseText) {
    const QString path = pathOf(QStringLiteral("db.sqlite"));
    db::createDatabase(path);
    db::setDatabasePath(path);
    try {
        db::run(QStringLiteral("select nosuchcolumn from Cust"));
        ADD_FAILURE() << "the statement ran";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("no such column: nosuchcolumn")))
            << error.text().toStdString();
    }
}

TEST_F(ConnectionTest, TransactionRollsBackUnlessCommitted) {
    const QString path = pathOf(QStringLiteral("db.sqlite"));
    db::createDatabase(path);
    db::setDatabasePath(path);
    {
        db::Transaction transaction;
        db::run(QStringLiteral("insert into Kinds (KindName) values ('dropped')"));
    }
    {
        db::Transaction transaction;
        db::run(QStringLiteral("insert into Kinds (KindName) values ('kept')"));
        transaction.commit();
    }
    QSqlQuery query = db::run(QStringLiteral("select group_concat(KindName) from Kinds"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("kept"));
}

} // namespace
