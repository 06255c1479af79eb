// Which backups pruning leaves: never the copy being restored, the copy just
// taken or the copy another program took before a change it is still
// making; copies dated in the future stay without pushing out today's. And a
// restore that fails on the way leaves the database as it was.
#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/sqlite_file.h"
#include "tests/support/peer_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <csignal>
#include <sys/resource.h>

using namespace dbtest;

namespace {

void setKeep(const TempDatabase& database, int keep) {
    QSettings ini(QDir(database.folder()).filePath(QStringLiteral("lunmark.ini")),
                  QSettings::IniFormat);
    ini.setValue(QStringLiteral("Backup/Keep"), keep);
}

// Members 1..count of the shared connection's database, named after tag.
void addMembers(int count, const QString& tag) {
    exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n "
                        "where i < :count) insert into Cust(id, name, Address) "
                        "select :tag || i, :tag, 'Street ' || i from n"),
         {{QStringLiteral("count"), count}, {QStringLiteral("tag"), tag}});
}

// Every member with every column, in storage order.
QStringList rowsOf(const QString& path) {
    db::SqliteFile file(path, db::SqliteFile::Mode::ReadOnly);
    return file.column(QStringLiteral("select quote(id) || quote(name) || quote(Address) || "
                                      "quote(isEnabled) from Cust order by rowid"));
}

QString backupName(const QDateTime& taken) {
    return QStringLiteral("backup-%1.sqlite")
        .arg(taken.toString(QStringLiteral("yyyy-MM-dd_HHmmss")));
}

// A copy of a register with members members, as if taken at taken (its
// name and its file's time); the clock of that day may have been set ahead.
QString plantCopy(const QDateTime& taken, int members) {
    QDir().mkpath(db::backupFolder());
    const QString path = QDir(db::backupFolder()).filePath(backupName(taken));
    {
        db::SqliteFile copy(path, db::SqliteFile::Mode::Create);
        copy.exec(QStringLiteral("PRAGMA synchronous = OFF; BEGIN;"));
        copy.exec(db::schemaSql());
        copy.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 "
                                 "from n where i < %1) insert into Cust(id, name) "
                                 "select 'P' || i, 'copy' from n; COMMIT;")
                      .arg(members));
    }
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadWrite));
    EXPECT_TRUE(file.setFileTime(taken, QFileDevice::FileModificationTime));
    return path;
}

enum class Chosen { Oldest, Newest, FromTheFuture };
enum class Clock { Right, OnceAhead };

const char* name(Chosen chosen) {
    return chosen == Chosen::Oldest ? "oldest" : chosen == Chosen::Newest ? "newest" : "future";
}

// A register with a full list of backups, one a day back to the oldest, and
// with the clock once ahead two copies dated weeks after today. Restoring
// the chosen one keeps it, makes the database equal to it and keeps the copy
// of the state before.
TEST(BackupPruning, RestoreKeepsTheChosenCopyTheCopyBeforeAndCopiesFromTheFuture) {
    const QDateTime now = QDateTime::currentDateTime();
    for (const int keep : {0, 1, 2, 14}) {
        for (const Clock clock : {Clock::Right, Clock::OnceAhead}) {
            for (const Chosen chosen : {Chosen::Oldest, Chosen::Newest, Chosen::FromTheFuture}) {
                if (chosen == Chosen::FromTheFuture && clock == Clock::Right)
                    continue;
                SCOPED_TRACE(testing::Message()
                             << "Keep=" << keep << " chosen " << name(chosen)
                             << (clock == Clock::OnceAhead ? ", clock once ahead" : ""));
                TempDatabase database(db::Engine::Sqlite);
                setKeep(database, keep);
                addMembers(7, QStringLiteral("now"));
                const QStringList current = rowsOf(database.path());

                QStringList past; // newest first
                for (int day = 1; day <= qMax(keep, 2); ++day)
                    past.append(plantCopy(now.addDays(-day), 10 + day));
                QStringList future;
                if (clock == Clock::OnceAhead)
                    future = {plantCopy(now.addDays(40), 100), plantCopy(now.addDays(20), 101)};
                const QString file = chosen == Chosen::Oldest   ? past.last()
                                     : chosen == Chosen::Newest ? past.first()
                                                                : future.last();
                const QStringList saved = rowsOf(file);

                QString former;
                try {
                    former = db::restoreBackup(file);
                } catch (const DatabaseError& error) {
                    ADD_FAILURE() << error.text().toStdString();
                    continue;
                }
                EXPECT_TRUE(QFileInfo::exists(file)) << "the restored copy is gone";
                EXPECT_EQ(rowsOf(database.path()), saved);
                ASSERT_TRUE(QFileInfo::exists(former)) << "the copy of the state before is gone";
                EXPECT_EQ(rowsOf(former), current);
                for (const QString& ahead : future)
                    EXPECT_TRUE(QFileInfo::exists(ahead)) << ahead.toStdString();
                // Pruning still prunes: of the copies up to today, the newest
                // Keep stay, and the restored one besides.
                int upToToday = 0;
                for (const db::BackupInfo& backup : db::listBackups())
                    upToToday += backup.taken < now.addDays(1);
                EXPECT_LE(upToToday, qMax(keep, 1) + 1);
            }
        }
    }
}

// The copy a program took before replacing every member stays while that
// program runs, however many backups others take meanwhile; once it has
// ended, pruning takes it like any other.
TEST(BackupPruning, CopyOfAProgramStillAtWorkIsNotPrunedByAnother) {
    TempDatabase database(db::Engine::Sqlite);
    setKeep(database, 1);
    addMembers(20, QStringLiteral("m"));
    db::closeConnection();
    PeerProcess importing(database.path(), {QStringLiteral("backup"), QStringLiteral("3000")});
    ASSERT_TRUE(importing.waitForLine(QStringLiteral(".sqlite")));
    ASSERT_EQ(db::listBackups().size(), 1);
    const QString before = db::listBackups().first().path;
    for (int i = 0; i < 3; ++i)
        db::takeBackup();
    EXPECT_TRUE(QFileInfo::exists(before)) << "pruned while its program was at work";
    importing.finish();
    const QString last = db::takeBackup();
    EXPECT_FALSE(QFileInfo::exists(before));
    EXPECT_TRUE(QFileInfo::exists(last));
}

// Copies taken with the clock set ahead stay, and a new copy is not pushed
// out by them: with Keep=2 and two of them, both today's copies stay.
TEST(BackupPruning, CopiesFromTheFutureDoNotPushOutTodays) {
    TempDatabase database(db::Engine::Sqlite);
    setKeep(database, 2);
    addMembers(5, QStringLiteral("m"));
    const QDateTime now = QDateTime::currentDateTime();
    const QStringList ahead = {plantCopy(now.addDays(3), 1), plantCopy(now.addYears(1), 2)};
    const QString yesterday = plantCopy(now.addDays(-1), 3);
    const QString older = plantCopy(now.addDays(-2), 4);
    const QString first = db::takeBackup();
    const QString second = db::takeBackup();
    for (const QString& kept : ahead + QStringList{first, second})
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
    EXPECT_FALSE(QFileInfo::exists(yesterday));
    EXPECT_FALSE(QFileInfo::exists(older));
    // The list shows them newest first, the ones from the future on top.
    QStringList listed;
    for (const db::BackupInfo& backup : db::listBackups())
        listed.append(backup.path);
    EXPECT_EQ(listed, (QStringList{ahead.at(1), ahead.at(0), second, first}));
}

// Files of the process may grow to limit bytes only, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limited = m_before;
        limited.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_before{};
    void (*m_handler)(int) = nullptr;
};

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The disk fills while the backup is copied in: the restore says so in
// Chinese and the database stays as it was, sound or damaged (never an
// empty register in its place).
TEST(FailedRestore, LeavesTheDatabaseAsItWas) {
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged ? "damaged database" : "sound database");
        TempDatabase database(db::Engine::Sqlite);
        addMembers(damaged ? 3000 : 10, QStringLiteral("now"));
        const QString big = plantCopy(QDateTime::currentDateTime().addDays(-1), 6000);
        const QStringList before = rowsOf(database.path());
        if (damaged) {
            exec(QStringLiteral("pragma wal_checkpoint(truncate)"));
            db::closeConnection();
            damage(database.path());
        }
        const QByteArray bytes = bytesOf(database.path());
        db::closeConnection();
        try {
            const FileSizeLimit full(QFileInfo(big).size() / 2);
            db::restoreBackup(big);
            ADD_FAILURE() << "restored beyond the limit";
        } catch (const DatabaseError& error) {
            EXPECT_TRUE(error.text().contains(QStringLiteral("資料庫保持原狀")))
                << error.text().toStdString();
            EXPECT_FALSE(error.text().contains(QStringLiteral("disk")))
                << error.text().toStdString();
        }
        if (damaged) {
            EXPECT_EQ(bytesOf(database.path()), bytes);
            EXPECT_FALSE(db::databaseProblem().isEmpty()) << "still the damaged file";
        } else {
            EXPECT_EQ(rowsOf(database.path()), before);
            EXPECT_EQ(column(QStringLiteral("pragma integrity_check")), QStringList{"ok"});
        }
        EXPECT_TRUE(QFileInfo::exists(big));
        const QStringList leftovers =
            QDir(database.folder()).entryList({QStringLiteral("*restoring*")}, QDir::Files);
        EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(' ').toStdString();
    }
}

// A copy made with another page size (by another program, or an older
// version) goes back into the database, whose log needs one page size.
TEST(Restore, BringsBackACopyWithAnotherPageSize) {
    TempDatabase database(db::Engine::Sqlite);
    addMembers(40, QStringLiteral("now"));
    QDir().mkpath(db::backupFolder());
    const QString copy =
        QDir(db::backupFolder()).filePath(backupName(QDateTime::currentDateTime().addDays(-1)));
    {
        db::SqliteFile file(copy, db::SqliteFile::Mode::Create);
        file.exec(QStringLiteral("PRAGMA page_size = 1024"));
        file.exec(db::schemaSql());
        file.exec(QStringLiteral("insert into Cust(id, name) values('1', 'one'), ('2', 'two')"));
    }
    const QStringList saved = rowsOf(copy);
    db::restoreBackup(copy);
    EXPECT_EQ(rowsOf(database.path()), saved);
    EXPECT_EQ(count(QStringLiteral("Cust")), 2);
    EXPECT_EQ(column(QStringLiteral("pragma journal_mode")), QStringList{"wal"});
}

} // namespace
