// Copying a register into a new one (lunmark --copy-database): the tables,
// the settings and the rows go in together, so a copy that fails leaves no
// trace and runs again once its source is put right; into a new SQLite
// file, and into an empty server database in the pg. run.
#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "db/sqlite_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace dbtest;

namespace {

// A one-desk register with its own settings, a category and two members,
// the second with a name longer than its column allows (written past the
// check, as by an older program).
db::DatabaseTarget registerWithABadRow(const QTemporaryDir& folder) {
    db::DatabaseTarget source;
    source.path = folder.filePath(QStringLiteral("old.sqlite"));
    db::createDatabase(source);
    db::SqliteFile file(source.path, db::SqliteFile::Mode::ReadWrite);
    file.exec(QStringLiteral("insert into SystemSet(Name, Cust) values('老店', '客戶'); "
                             "insert into Kinds(KindName) values('A'); "
                             "insert into Cust(id, name) values('1', '王'); "
                             "PRAGMA ignore_check_constraints = 1; "
                             "insert into Cust(id, name) values('2', 'a name far too long')"));
    return source;
}

QStringList rowsOf(const QString& table, const QString& columns) {
    return column(QStringLiteral("select %1 from %2 order by 1").arg(columns, table));
}

TEST(CopyRegister, FailedCopyLeavesNothingAndTheFixedSourceCopiesCleanly) {
    for (const bool server : {false, true}) {
        if (server && !TempDatabase::hasPostgres())
            continue; // the pg. run has a test server
        SCOPED_TRACE(server ? "into an empty server database" : "into a new SQLite file");
        QTemporaryDir folder;
        const db::DatabaseTarget source = registerWithABadRow(folder);
        db::DatabaseTarget target;
        if (server)
            target = TempDatabase::createEmptyServerDatabase();
        else
            target.path = folder.filePath(QStringLiteral("new.sqlite"));

        try {
            db::copyDatabase(source, target);
            ADD_FAILURE() << "the over-long name was copied";
        } catch (const DatabaseError& error) {
            EXPECT_TRUE(error.text().contains(QStringLiteral("length(name) <= 10")))
                << error.text().toStdString();
        }
        if (server) {
            db::setDatabaseTarget(target);
            EXPECT_FALSE(db::hasRegisterTables());
            EXPECT_EQ(scalar(QStringLiteral("select count(*) from information_schema.tables "
                                            "where table_schema = current_schema()"))
                          .toInt(),
                      0)
                << "a desk starting now finds no half-made register";
            db::closeConnection();
        } else {
            EXPECT_FALSE(QFileInfo::exists(target.path));
            EXPECT_TRUE(QDir(folder.path())
                            .entryList({QStringLiteral("new.sqlite*")}, QDir::Files)
                            .isEmpty());
        }

        db::SqliteFile(source.path, db::SqliteFile::Mode::ReadWrite)
            .exec(QStringLiteral("update Cust set name = '李' where id = '2'"));
        QList<db::TableCount> counts;
        try {
            counts = db::copyDatabase(source, target);
        } catch (const DatabaseError& error) {
            ADD_FAILURE() << "the copy after the fix: " << error.text().toStdString();
        }
        ASSERT_EQ(counts.size(), db::schemaTables().size());
        for (const db::TableCount& count : counts)
            EXPECT_EQ(count.copied, count.source) << count.table.toStdString();
        db::setDatabaseTarget(target);
        EXPECT_EQ(rowsOf(QStringLiteral("Cust"), QStringLiteral("id || name")),
                  (QStringList{QStringLiteral("1王"), QStringLiteral("2李")}));
        EXPECT_EQ(rowsOf(QStringLiteral("SystemSet"), QStringLiteral("Name || Cust")),
                  QStringList{QStringLiteral("老店客戶")})
            << "the source's settings, in place of a new register's";
        db::closeConnection();
        if (server)
            TempDatabase::dropServerDatabase(target);
    }
}

} // namespace
