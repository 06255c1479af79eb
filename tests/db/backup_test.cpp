// Backups of the database and restoring them, with a second program on the
// file where the case is about sharing it.
#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/backup.h"
#include "db/sqlite_file.h"
#include "tests/support/peer_process.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QThread>
#include <csignal>

using namespace dbtest;

namespace {

class BackupTest : public SqliteDbTest {
protected:
    void setKeep(int keep) {
        QSettings ini(QDir(m_database.folder()).filePath(QStringLiteral("lunmark.ini")),
                      QSettings::IniFormat);
        ini.setValue(QStringLiteral("Backup/Keep"), keep);
    }
    // Members 1..count in one statement.
    static void addMembers(int count) {
        exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n "
                            "where i < :count) insert into Cust(id, name, Address) "
                            "select 'M' || i, 'N' || i, 'Street ' || i from n"),
             {{QStringLiteral("count"), count}});
    }
    // Every member with every column, in storage order.
    static QStringList rowsOf(const QString& path) {
        db::SqliteFile file(path, db::SqliteFile::Mode::ReadOnly);
        return file.column(QStringLiteral(
            "select quote(id) || quote(name) || quote(Address) || quote(isEnabled) from Cust "
            "order by rowid"));
    }
    static qint64 membersIn(const QString& path) {
        db::SqliteFile file(path, db::SqliteFile::Mode::ReadOnly);
        return file.column(QStringLiteral("select count(*) from Cust")).value(0).toLongLong();
    }
    QStringList backupNames() const {
        return QDir(db::backupFolder()).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(BackupTest, CopyHoldsEveryMemberAndIsOneFileInTheBackupsFolder) {
    addMembers(50);
    const QString path = db::takeBackup();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(m_database.folder()).filePath("backups"));
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(
        QStringLiteral("backup-") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_EQ(rowsOf(path), rowsOf(m_database.path()));
    EXPECT_NO_THROW(db::checkBackupFile(path));
    EXPECT_EQ(backupNames(), QStringList{QFileInfo(path).fileName()}) << "no log beside it";
    const QList<db::BackupInfo> listed = db::listBackups();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.first().members, 50);
    EXPECT_EQ(listed.first().taken.date(), QDate::currentDate());
}

TEST_F(BackupTest, CopiesAreConsistentWhileAnotherProgramWrites) {
    setKeep(1000);
    // The other program adds members fifty to a transaction: a consistent
    // copy holds a whole number of transactions.
    PeerProcess writer(m_database.path(), {QStringLiteral("add"), QStringLiteral("W"),
                                           QStringLiteral("3000"), QStringLiteral("50")});
    ASSERT_TRUE(writer.waitForLine(QStringLiteral("started")));
    // The copies start once its first transaction is in, so that they meet
    // its writes however the two processes are scheduled.
    for (int tries = 0; tries < 1000 && count("Cust") == 0; ++tries)
        QThread::msleep(5);
    QStringList copies;
    while (writer.process().state() == QProcess::Running && copies.size() < 40)
        copies.append(db::takeBackup());
    writer.finish();
    ASSERT_FALSE(copies.isEmpty());
    int partial = 0;
    for (const QString& copy : copies) {
        EXPECT_NO_THROW(db::checkBackupFile(copy));
        const qint64 members = membersIn(copy);
        EXPECT_EQ(members % 50, 0) << members << " members in " << copy.toStdString();
        partial += members > 0 && members < 3000;
    }
    EXPECT_GT(partial, 0) << "no copy was taken while the other program wrote";
}

class RotationTest : public BackupTest, public testing::WithParamInterface<int> {};

TEST_P(RotationTest, KeepsExactlyTheNewestN) {
    const int keep = GetParam();
    setKeep(keep);
    EXPECT_EQ(db::backupsToKeep(), keep);
    QStringList taken;
    for (int i = 0; i < keep + 3; ++i)
        taken.append(QFileInfo(db::takeBackup()).fileName());
    QStringList listed;
    for (const db::BackupInfo& backup : db::listBackups())
        listed.append(QFileInfo(backup.path).fileName());
    QStringList newest = taken.mid(taken.size() - keep);
    std::reverse(newest.begin(), newest.end());
    EXPECT_EQ(listed, newest);
    EXPECT_EQ(backupNames().size(), keep);
}

INSTANTIATE_TEST_SUITE_P(Keep, RotationTest, testing::Values(1, 3, 14));

TEST_F(BackupTest, KeepIsFourteenUnlessSetAndZeroStopsTheDailyBackup) {
    EXPECT_EQ(db::backupsToKeep(), 14);
    const QString first = db::takeDailyBackup();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_TRUE(db::takeDailyBackup().isEmpty()) << "one daily backup a day";
    setKeep(0);
    QFile::remove(first);
    EXPECT_TRUE(db::takeDailyBackup().isEmpty());
    EXPECT_TRUE(backupNames().isEmpty());
    // A backup before a destructive step is still taken, and stays.
    EXPECT_TRUE(QFileInfo::exists(db::takeBackup()));
    EXPECT_EQ(backupNames().size(), 1);
}

TEST_F(BackupTest, KillDuringABackupLeavesTheDatabaseAndOlderBackupsIntact) {
    setKeep(100000);
    addMembers(20000);
    const QStringList rows = rowsOf(m_database.path());
    const QStringList older = {db::takeBackup(), db::takeBackup()};
    db::closeConnection();

    // Kills the program that takes backups until one kill lands inside a copy
    // (its unfinished file stays behind).
    bool killedInside = false;
    for (int attempt = 0; attempt < 10 && !killedInside; ++attempt) {
        PeerProcess backups(m_database.path(), {QStringLiteral("backups")});
        ASSERT_TRUE(backups.waitForLine(QStringLiteral(".sqlite")));
        QThread::msleep(3 + attempt);
        ::kill(backups.process().processId(), SIGKILL);
        backups.process().waitForFinished();
        killedInside =
            !QDir(db::backupFolder()).entryList({QStringLiteral("*.part*")}, QDir::Files).isEmpty();
    }
    ASSERT_TRUE(killedInside);

    EXPECT_EQ(count("Cust"), 20000);
    EXPECT_EQ(column(QStringLiteral("pragma integrity_check")), QStringList{"ok"});
    EXPECT_EQ(rowsOf(m_database.path()), rows);
    for (const QString& copy : older) {
        EXPECT_NO_THROW(db::checkBackupFile(copy));
        EXPECT_EQ(rowsOf(copy), rows);
    }
    for (const db::BackupInfo& backup : db::listBackups()) {
        EXPECT_NO_THROW(db::checkBackupFile(backup.path)) << backup.path.toStdString();
        EXPECT_EQ(backup.members, 20000);
    }
}

TEST_F(BackupTest, RestoredRegisterEqualsTheBackupRowForRow) {
    addMembers(300);
    const QString backup = db::takeBackup();
    const QStringList saved = rowsOf(backup);
    exec(QStringLiteral("delete from Cust where rowid % 3 = 0"));
    exec(QStringLiteral("update Cust set name = 'changed'"));
    addMembers(5);
    const int changed = count("Cust");

    const QString former = db::restoreBackup(backup);
    EXPECT_EQ(rowsOf(m_database.path()), saved);
    EXPECT_EQ(count("Cust"), 300) << "the shared connection sees the restored register";
    EXPECT_EQ(membersIn(former), changed) << "the state before the restore is kept";
    EXPECT_EQ(PeerProcess::run(m_database.path(), {QStringLiteral("count")}),
              QStringLiteral("300"));
}

TEST_F(BackupTest, RestoreIsRefusedWhileAnotherProgramHasTheDatabaseOpen) {
    addMembers(10);
    const QString backup = db::takeBackup();
    addMembers(3);
    PeerProcess other(m_database.path(), {QStringLiteral("idle"), QStringLiteral("1000")});
    ASSERT_TRUE(other.waitForLine(QStringLiteral("open")));
    try {
        db::restoreBackup(backup);
        FAIL() << "restored under another program";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("另一個程式")))
            << error.text().toStdString();
    }
    EXPECT_EQ(count("Cust"), 13);
    EXPECT_EQ(db::listBackups().size(), 1) << "nothing was done";
    other.finish();
}

TEST_F(BackupTest, RestoreChecksTheChosenFile) {
    addMembers(2000);
    const QString damaged = db::takeBackup();
    damage(damaged);
    const QString notDatabase = QDir(m_database.folder()).filePath("notes.sqlite");
    {
        QFile file(notDatabase);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    }
    const QString foreign = QDir(m_database.folder()).filePath("other.sqlite");
    db::SqliteFile(foreign, db::SqliteFile::Mode::Create).exec("create table Cust(id text)");

    const QString workbook = QDir(m_database.folder()).filePath("members.xlsx");
    {
        QFile file(workbook);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("PK\x03\x04", 4) + QByteArray(4096, '\0'));
    }
    const QString link = QDir(m_database.folder()).filePath("link.sqlite");
    ASSERT_TRUE(QFile::link(m_database.path(), link));

    const struct {
        QString file;
        const char* says;
    } cases[] = {{damaged, "已損壞"},
                 {notDatabase, "已損壞"},
                 {workbook, "不是備份檔案"},
                 {foreign, "不是本程式的會員資料庫"},
                 {m_database.path(), "是資料庫本身"},
                 {link, "是資料庫本身"},
                 {m_database.path() + "-wal", "是資料庫本身"},
                 {QDir(m_database.folder()).filePath("missing.sqlite"), "找不到備份檔案"}};
    for (const auto& c : cases) {
        try {
            db::restoreBackup(c.file);
            ADD_FAILURE() << "restored " << c.file.toStdString();
        } catch (const DatabaseError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.says)))
                << error.text().toStdString();
        }
        EXPECT_EQ(count("Cust"), 2000);
    }
}

TEST_F(BackupTest, DamagedDatabaseIsNamedAndRestoringMovesItAside) {
    addMembers(2000);
    const QString backup = db::takeBackup();
    EXPECT_TRUE(db::databaseProblem().isEmpty());
    exec(QStringLiteral("pragma wal_checkpoint(truncate)"));
    db::closeConnection();
    damage(m_database.path());
    EXPECT_FALSE(db::databaseProblem().isEmpty());

    db::restoreBackup(backup);
    EXPECT_TRUE(db::databaseProblem().isEmpty());
    EXPECT_EQ(count("Cust"), 2000);
    EXPECT_EQ(QDir(db::backupFolder()).entryList({"damaged-*.sqlite"}, QDir::Files).size(), 1);
    EXPECT_EQ(db::listBackups().size(), 1) << "the damaged file is not offered as a backup";
}

} // namespace
