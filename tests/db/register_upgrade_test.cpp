// A register made by an earlier Lunmark: opening it adds the tables, columns
// and indexes it lacks and keeps every row; copying it gives the new
// columns their defaults.
#include "tests/db/db_fixture.h"

#include "db/connection.h"
#include "db/copy_database.h"
#include "db/register_upgrade.h"
#include "tests/support/peer_process.h"

#include <QSqlDatabase>
#include <QTemporaryDir>

using namespace dbtest;

namespace {

// What an earlier register looked like: no Sign table, no photo column,
// no index by name. One member and one category are stored.
void makeOlder() {
    addMember(QStringLiteral("007"), QStringLiteral("王小明"), QStringLiteral("金卡"));
    exec(QStringLiteral("drop index CustByName"));
    exec(QStringLiteral("drop table Sign"));
    exec(QStringLiteral("alter table Cust drop column photo"));
    db::closeConnection();
}

db::RegisterShape currentShape() {
    QSqlDatabase database = db::connection();
    return db::readRegisterShape(database, db::engine());
}

} // namespace

TEST_F(DbTest, OpeningAnOlderRegisterAddsWhatItLacksAndKeepsItsRows) {
    {
        QSqlDatabase database = db::connection();
        EXPECT_TRUE(
            db::upgradeStatements(db::readRegisterShape(database, db::engine()), db::engine())
                .isEmpty())
            << "a new register needs nothing";
    }
    makeOlder();

    const db::RegisterShape shape = currentShape(); // the first statement opens it
    EXPECT_TRUE(shape.hasTable(QStringLiteral("Sign")));
    EXPECT_TRUE(shape.hasColumn(QStringLiteral("Cust"), QStringLiteral("photo")));
    EXPECT_TRUE(shape.indexes.contains(QStringLiteral("custbyname")));
    EXPECT_TRUE(db::upgradeStatements(shape, db::engine()).isEmpty());

    EXPECT_EQ(column(QStringLiteral("select id || name || Kind from Cust")),
              QStringList{QStringLiteral("007王小明金卡")});
    exec(QStringLiteral("update Cust set photo = 'a.jpg'"));
    exec(QStringLiteral("insert into Sign(Name) values('本店')"));
    EXPECT_EQ(count(QStringLiteral("Sign")), 1);

    // Opening it again changes nothing.
    db::closeConnection();
    EXPECT_EQ(column(QStringLiteral("select photo from Cust")),
              QStringList{QStringLiteral("a.jpg")});
}

TEST_F(DbTest, AnOlderRegisterCopiesWithTheNewColumnsEmpty) {
    makeOlder();
    // Copied straight from the file or server, without opening it first.
    QTemporaryDir folder;
    db::DatabaseTarget target;
    target.path = folder.filePath(QStringLiteral("copy.sqlite"));
    const QList<db::TableCount> counts = db::copyDatabase(m_database.target(), target);
    for (const db::TableCount& count : counts)
        EXPECT_EQ(count.source, count.copied) << count.table.toStdString();

    db::setDatabaseTarget(target);
    EXPECT_EQ(column(QStringLiteral("select id || name || coalesce(photo, '-') from Cust")),
              QStringList{QStringLiteral("007王小明-")});
    EXPECT_EQ(count(QStringLiteral("Sign")), 0);
    db::closeConnection();
    db::setDatabaseTarget(m_database.target());
}

TEST_F(DbTest, TwoProgramsOpeningAnOlderRegisterAtOnceAddEverythingOnce) {
    makeOlder();
    PeerProcess first(m_database.path(), {QStringLiteral("count")});
    PeerProcess second(m_database.path(), {QStringLiteral("count")});
    EXPECT_EQ(first.finish(), QStringLiteral("1"));
    EXPECT_EQ(second.finish(), QStringLiteral("1"));
    EXPECT_TRUE(db::upgradeStatements(currentShape(), db::engine()).isEmpty());
}
