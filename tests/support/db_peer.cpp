// A second program on the test's database, so that tests see what two
// running programs (or two desks on one server) do to one register.
// DATABASE is what --database takes: a file or a postgresql:// address. Usage:
//   lunmark_db_peer DATABASE add PREFIX COUNT [BATCH [PAUSE]]  members PREFIX0001…
//                          through the dataset, BATCH to a transaction, PAUSE ms between
//   lunmark_db_peer DATABASE add-member ID MS       adds member ID as a desk stores a new
//                                                    member (the number tested for a
//                                                    duplicate with the write), then keeps
//                                                    the transaction open MS ms; prints
//                                                    "holding" or "refused", then "done"
//   lunmark_db_peer DATABASE count                  prints the number of members
//   lunmark_db_peer DATABASE rename ID NAME         gives member ID the name NAME through
//                                                    the dataset, as a desk saves an edit
//   lunmark_db_peer DATABASE lock-owner             prints the pid holding a lock on the
//                                                    database file, 0 when none
//   lunmark_db_peer DATABASE hold MS                holds the write lock for MS ms
//                                                    (prints "holding" once it has it)
//   lunmark_db_peer DATABASE idle MS                keeps the database open for MS ms
//                                                    (prints "open" once it is)
//   lunmark_db_peer DATABASE backups                takes backups until killed
//   lunmark_db_peer DATABASE backup MS              takes one backup, prints its path and
//                                                    runs on for MS ms, as an import that
//                                                    replaces every member after its backup
//   lunmark_db_peer DATABASE exec SQL               runs one statement
#include "base/errors.h"
#include "db/backup.h"
#include "db/change_history.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/dataset.h"
#include "members/member_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

// Posts like a user who presses save again after the busy message: the row
// stays in the dataset until it is stored.
void postUntilStored(db::Dataset& members, int& busy) {
    for (;;) {
        try {
            members.post();
            return;
        } catch (const DatabaseError& error) {
            if (error.text() != db::busyText())
                throw;
            ++busy;
        }
    }
}

int add(const QString& prefix, int count, int batch, int pause) {
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    members.open(QStringLiteral("select id, name from Cust where 0 = 1"));
    int busy = 0;
    std::printf("started\n");
    std::fflush(stdout);
    for (int n = 1; n <= count;) {
        std::optional<db::Transaction> transaction;
        if (batch > 1)
            transaction.emplace();
        for (int i = 0; i < batch && n <= count; ++i, ++n) {
            members.append();
            members.setValue(QStringLiteral("id"), prefix + QString::asprintf("%04d", n));
            members.setValue(QStringLiteral("name"), prefix);
            postUntilStored(members, busy);
        }
        if (transaction)
            transaction->commit();
        if (pause > 0)
            QThread::msleep(pause);
    }
    std::printf("added %d busy %d\n", count, busy);
    return 0;
}

int rename(const QString& id, const QString& name) {
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    members.open(QStringLiteral("select * from Cust where id = :id"), {{QStringLiteral("id"), id}});
    if (members.rowCount() != 1)
        return 1;
    members.edit();
    members.setValue(QStringLiteral("name"), name);
    members.post();
    std::printf("renamed\n");
    return 0;
}

int addMember(const QString& id, int holdMs) {
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    members.open(QStringLiteral("select id, name from Cust where 0 = 1"));
    members.addWriteCheck([&id] { return !TFrmCust::numberInUse(id); }, {});
    db::Transaction transaction(db::Transaction::Kind::Write);
    members.append();
    members.setValue(QStringLiteral("id"), id);
    members.setValue(QStringLiteral("name"), QStringLiteral("乙桌"));
    std::printf(members.post() ? "holding\n" : "refused\n");
    std::fflush(stdout);
    QThread::msleep(holdMs);
    transaction.commit();
    std::printf("done\n");
    return 0;
}

int count() {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust"));
    query.next();
    std::printf("%d\n", query.value(0).toInt());
    return 0;
}

// Asks the kernel who would stand in the way of a write lock on the whole
// file. This program holds no SQLite connection while it looks.
int lockOwner(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return 1;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const int result = ::fcntl(fd, F_GETLK, &lock);
    ::close(fd);
    if (result != 0)
        return 1;
    std::printf("%d\n", lock.l_type == F_UNLCK ? 0 : int(lock.l_pid));
    return 0;
}

// SQLite's write lock covers the file; on a server the table is locked.
int hold(int milliseconds) {
    db::Transaction transaction(db::Transaction::Kind::Write);
    if (db::engine() == db::Engine::Postgresql)
        db::run(QStringLiteral("LOCK TABLE Cust IN EXCLUSIVE MODE"));
    db::run(QStringLiteral("insert into Cust(id, name) values('held', 'held')"));
    std::printf("holding\n");
    std::fflush(stdout);
    QThread::msleep(milliseconds);
    transaction.commit();
    return 0;
}

int idle(int milliseconds) {
    count();
    std::printf("open\n");
    std::fflush(stdout);
    QThread::msleep(milliseconds);
    return 0;
}

int backups() {
    for (;;) {
        std::printf("%s\n", qPrintable(db::takeBackup()));
        std::fflush(stdout);
    }
}

int backupThenWork(int milliseconds) {
    std::printf("%s\n", qPrintable(db::takeBackup()));
    std::fflush(stdout);
    QThread::msleep(milliseconds);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString& command = args.at(2);
    if (command == QLatin1String("lock-owner"))
        return lockOwner(args.at(1));
    try {
        db::setDatabaseTarget(db::parseDatabaseArgument(args.at(1)));
        // The other desk's user, as its change history names it.
        db::history::setUser(QStringLiteral("peer"));
        if (command == QLatin1String("exec") && args.size() >= 4) {
            db::run(args.at(3));
            return 0;
        }
        if (command == QLatin1String("add") && args.size() >= 5)
            return add(args.at(3), args.at(4).toInt(), args.size() > 5 ? args.at(5).toInt() : 1,
                       args.size() > 6 ? args.at(6).toInt() : 0);
        if (command == QLatin1String("add-member") && args.size() >= 5)
            return addMember(args.at(3), args.at(4).toInt());
        if (command == QLatin1String("count"))
            return count();
        if (command == QLatin1String("rename") && args.size() >= 5)
            return rename(args.at(3), args.at(4));
        if (command == QLatin1String("hold") && args.size() >= 4)
            return hold(args.at(3).toInt());
        if (command == QLatin1String("idle") && args.size() >= 4)
            return idle(args.at(3).toInt());
        if (command == QLatin1String("backups"))
            return backups();
        if (command == QLatin1String("backup") && args.size() >= 4)
            return backupThenWork(args.at(3).toInt());
    } catch (const LunmarkError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    return 2;
}
