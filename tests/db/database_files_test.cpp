#include "tests/db/db_fixture.h"

#include "db/database_files.h"
#include "tests/support/peer_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace dbtest;

namespace {

class DatabaseFilesTest : public SqliteDbTest {
protected:
    QString inFolder(const char* name) const { return QDir(m_database.folder()).filePath(name); }
};

TEST_F(DatabaseFilesTest, KnowsTheDatabaseFilesUnderEveryName) {
    count("Cust"); // the log and the index now exist
    ASSERT_TRUE(QFile::link(m_database.path(), inFolder("link.sqlite")));
    QFile other(inFolder("members.csv"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    const struct {
        QString path;
        bool isDatabase;
    } cases[] = {
        {m_database.path(), true},
        {inFolder("db.sqlite-wal"), true},
        {inFolder("db.sqlite-shm"), true},
        {inFolder("db.sqlite-journal"), true}, // absent: known by its name
        {inFolder("sub/../db.sqlite"), true},
        {inFolder("link.sqlite"), true},
        {inFolder("members.csv"), false},
        {inFolder("db.sqlite.bak"), false},
        {QString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(db::isDatabaseFile(c.path), c.isDatabase) << c.path.toStdString();
}

TEST_F(DatabaseFilesTest, FindsTheOtherProgramsThatHaveTheDatabaseOpen) {
    count("Cust");
    EXPECT_TRUE(db::otherProgramsUsing(m_database.path()).isEmpty()) << "this program is not other";
    PeerProcess other(m_database.path(), {QStringLiteral("idle"), QStringLiteral("500")});
    ASSERT_TRUE(other.waitForLine(QStringLiteral("open")));
    EXPECT_EQ(db::otherProgramsUsing(m_database.path()),
              QList<qint64>{other.process().processId()});
    other.finish();
    EXPECT_TRUE(db::otherProgramsUsing(m_database.path()).isEmpty());
}

} // namespace
