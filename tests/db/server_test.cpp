// What only a server register does: its catalog against SQLite's, its
// connection failures, copying a register between the engines, and the
// backup of a server register. Skipped without a test server.
#include "tests/db/both_engines.h"
#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "db/dataset.h"
#include "db/postgres.h"
#include "db/sqlite_file.h"
#include "tests/support/peer_process.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <map>

using namespace dbtest;

namespace {

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TempDatabase::hasPostgres())
            GTEST_SKIP() << "no test server in this run (the pg. run has one)";
        m_database.emplace(db::Engine::Postgresql);
    }
    void TearDown() override {
        db::setBusyTimeout(5000);
        m_database.reset();
    }
    TempDatabase& database() { return *m_database; }

    std::optional<TempDatabase> m_database;
};

// One column as both catalogs describe it.
struct CatalogColumn {
    QString kind; // "text", "text nocase", "integer", "counter"
    int limit = 0;
    bool notNull = false;
    QString defaultValue;
    bool operator==(const CatalogColumn&) const = default;
};
using Catalog = std::map<QString, std::map<QString, CatalogColumn>>; // lower-case names

std::ostream& operator<<(std::ostream& out, const CatalogColumn& c) {
    return out << c.kind.toStdString() << " limit " << c.limit << (c.notNull ? " not null" : "")
               << " default '" << c.defaultValue.toStdString() << "'";
}

Catalog sqliteCatalog(const QString& path) {
    db::SqliteFile file(path, db::SqliteFile::Mode::ReadOnly);
    static const QRegularExpression limit(QStringLiteral(R"(length\((\w+)\)\s*<=\s*(\d+))"));
    Catalog catalog;
    for (const QString& table :
         file.column(QStringLiteral("select name from sqlite_master where type = 'table' "
                                    "and name not like 'sqlite%'"))) {
        const QString sql =
            file.column(
                    QStringLiteral("select sql from sqlite_master where name = '%1'").arg(table))
                .value(0);
        auto& columns = catalog[table.toLower()];
        const QStringList names =
            file.column(QStringLiteral("select name from pragma_table_info('%1')").arg(table));
        for (const QString& name : names) {
            const auto field = [&](const char* what) {
                return file
                    .column(QStringLiteral("select coalesce(%1, '') from pragma_table_info('%2') "
                                           "where name = '%3'")
                                .arg(QLatin1String(what), table, name))
                    .value(0);
            };
            CatalogColumn column;
            const QString line =
                sql.split('\n').filter(QRegularExpression("^\\s+" + name + "\\s")).value(0);
            const bool key = field("pk") == QLatin1String("1");
            column.kind = key                                         ? QStringLiteral("counter")
                          : field("type") == QLatin1String("INTEGER") ? QStringLiteral("integer")
                          : line.contains(QLatin1String("NOCASE")) ? QStringLiteral("text nocase")
                                                                   : QStringLiteral("text");
            const QRegularExpressionMatch match = limit.match(line);
            column.limit = match.hasMatch() ? match.captured(2).toInt() : 0;
            column.notNull = key || field("\"notnull\"") == QLatin1String("1");
            column.defaultValue = field("dflt_value");
            columns[name.toLower()] = column;
        }
    }
    return catalog;
}

Catalog serverCatalog() {
    static const QRegularExpression limit(
        QStringLiteral(R"(length\(\(?(\w+)\)?(?:::text)?\)\s*<=\s*(\d+))"));
    Catalog catalog;
    QSqlQuery columns = db::run(QStringLiteral(
        "select table_name, column_name, udt_name, is_nullable, coalesce(column_default, ''), "
        "is_identity, coalesce(collation_name, '') from information_schema.columns "
        "where table_schema = current_schema() and column_name <> 'rowid'"));
    while (columns.next()) {
        CatalogColumn column;
        const QString type = columns.value(2).toString();
        column.kind =
            columns.value(5).toString() == QLatin1String("YES") ? QStringLiteral("counter")
            : type == QLatin1String("int8")                     ? QStringLiteral("integer")
            // NOCASE's order is byte order: a citext in the
            // locale's order is not the same column.
            : type == QLatin1String("citext") && columns.value(6).toString() == u"C"
                ? QStringLiteral("text nocase")
            : type == QLatin1String("citext") ? QStringLiteral("text in the locale's order")
                                              : QStringLiteral("text");
        column.notNull = columns.value(3).toString() == QLatin1String("NO");
        column.defaultValue = columns.value(4).toString();
        // A negative default comes back as a cast text: '-1'::integer.
        static const QRegularExpression castNumber(QStringLiteral(R"(^'(-?\d+)'::\w+$)"));
        if (const QRegularExpressionMatch number = castNumber.match(column.defaultValue);
            number.hasMatch())
            column.defaultValue = number.captured(1);
        catalog[columns.value(0).toString()][columns.value(1).toString()] = column;
    }
    QSqlQuery checks =
        db::run(QStringLiteral("select c.relname, pg_get_constraintdef(k.oid) from pg_constraint k "
                               "join pg_class c on c.oid = k.conrelid where k.contype = 'c'"));
    while (checks.next()) {
        const QRegularExpressionMatch match = limit.match(checks.value(1).toString());
        if (match.hasMatch())
            catalog[checks.value(0).toString()][match.captured(1)].limit =
                match.captured(2).toInt();
    }
    return catalog;
}

QStringList indexes(const QString& sql) {
    QStringList names;
    for (const QString& name : column(sql))
        names << name.toLower();
    names.sort();
    return names;
}

// Both are made from one description; this keeps them from drifting apart.
TEST_F(ServerTest, CatalogMatchesTheSqliteOneTableByTableColumnByColumn) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("db.sqlite"));
    db::createDatabase(file);
    const Catalog sqlite = sqliteCatalog(file);
    const Catalog server = serverCatalog();
    ASSERT_EQ(sqlite.size(), size_t(db::schemaTables().size()));
    for (const auto& [table, columns] : sqlite) {
        SCOPED_TRACE(table.toStdString());
        ASSERT_EQ(server.count(table), 1u);
        EXPECT_EQ(server.at(table).size(), columns.size());
        for (const auto& [name, column] : columns) {
            SCOPED_TRACE(name.toStdString());
            ASSERT_EQ(server.at(table).count(name), 1u);
            EXPECT_EQ(server.at(table).at(name), column);
        }
    }
    EXPECT_EQ(server.size(), sqlite.size());
    db::SqliteFile sqliteFile(file, db::SqliteFile::Mode::ReadOnly);
    QStringList sqliteIndexes;
    for (const QString& name : sqliteFile.column(QStringLiteral(
             "select name from sqlite_master where type = 'index' and sql is not null")))
        sqliteIndexes << name.toLower();
    sqliteIndexes.sort();
    EXPECT_EQ(indexes(QStringLiteral("select indexname from pg_indexes where schemaname = "
                                     "current_schema() and indexname not like '%_pkey' and "
                                     "indexname not like '%_key'")),
              sqliteIndexes);
}

TEST_F(ServerTest, MakingTheSchemaTwiceIsRefusedAndChangesNothing) {
    addMember("1", "Chen");
    try {
        db::createDatabase(database().target());
        ADD_FAILURE() << "a database with tables took a second schema";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("已經有資料表")))
            << error.text().toStdString();
    }
    EXPECT_EQ(count("Cust"), 1);
}

TEST_F(ServerTest, ServersThatCannotBeUsedSaySoInChinese) {
    struct Case {
        const char* name;
        std::function<void(db::DatabaseTarget&)> change;
        const char* text;
    };
    const Case cases[] = {
        {"NoServerThere", [](db::DatabaseTarget& t) { t.port = 1; }, "無法連線到資料庫伺服器"},
        {"NoServerOnTheHost",
         [](db::DatabaseTarget& t) {
             t.host = QStringLiteral("127.0.0.1");
             t.port = 1;
         },
         "無法連線到資料庫伺服器"},
        {"UnknownLogin", [](db::DatabaseTarget& t) { t.user = QStringLiteral("nosuchdesk"); },
         "拒絕登入"},
        {"MissingDatabase", [](db::DatabaseTarget& t) { t.name = QStringLiteral("nosuchshop"); },
         "沒有資料庫 nosuchshop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::DatabaseTarget target = database().target();
        c.change(target);
        db::setDatabaseTarget(target);
        try {
            db::run(QStringLiteral("select count(*) from Cust"));
            ADD_FAILURE() << "the statement ran";
        } catch (const DatabaseError& error) {
            EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.text)))
                << error.text().toStdString();
        }
    }
    db::setDatabaseTarget(database().target());
    EXPECT_EQ(count("Cust"), 0);
}

// The server ends this program's session (a restart, a network cut): the
// statement then fails with a clear text and the next one connects again.
TEST_F(ServerTest, LostConnectionSaysSoAndTheNextStatementConnectsAgain) {
    addMember("1", "Chen");
    const QString session = scalar(QStringLiteral("select pg_backend_pid()")).toString();
    PeerProcess::run(
        database().path(),
        {QStringLiteral("exec"), QStringLiteral("select pg_terminate_backend(%1)").arg(session)});
    try {
        db::run(QStringLiteral("select count(*) from Cust"));
        ADD_FAILURE() << "a statement ran on a lost connection";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.text(), db::lostConnectionText());
    }
    EXPECT_EQ(count("Cust"), 1);
    EXPECT_NE(scalar(QStringLiteral("select pg_backend_pid()")).toString(), session);
}

TEST_F(ServerTest, BusyServerSaysSoInChineseAndKeepsTheRowForTheNextSave) {
    db::setBusyTimeout(200);
    db::Dataset members;
    members.setBaseTable(QStringLiteral("Cust"));
    members.open(QStringLiteral("select id, name from Cust where 1 = 0"));
    PeerProcess peer(database().path(), {QStringLiteral("hold"), QStringLiteral("1500")});
    ASSERT_TRUE(peer.waitForLine(QStringLiteral("holding")));
    members.append();
    members.setValue(QStringLiteral("id"), QStringLiteral("A1"));
    try {
        members.post();
        ADD_FAILURE() << "the post must wait for the other desk's lock and then fail";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.text(), db::busyText());
    }
    EXPECT_EQ(members.state(), db::Dataset::State::Insert);
    peer.finish();
    ASSERT_TRUE(members.post());
    EXPECT_EQ(column(QStringLiteral("select id from Cust order by id")),
              (QStringList{QStringLiteral("A1"), QStringLiteral("held")}));
}

// A register with gaps in its row numbers and counters.
void fillRegister() {
    for (const char* id : {"1", "2", "3"})
        addMember(QString::fromUtf8(id), QStringLiteral("會員") + QString::fromUtf8(id));
    exec(QStringLiteral("delete from Cust where id = '2'"));
    for (const char* sign : {"甲", "乙", "丙"})
        exec(QStringLiteral("insert into Sign(Name) values(:n)"), {{"n", QString::fromUtf8(sign)}});
    exec(QStringLiteral("delete from Sign where Name = '甲'"));
    exec(QStringLiteral("insert into Users(UserID, UserPwd) values('Admin', '')"));
    exec(QStringLiteral("insert into CustHistory(ChangeTime, CustID, Action, Field, OldValue, "
                        "NewValue) values('2026-01-02 10:00:00', '1', 'update', 'name', '甲', "
                        "'會員1')"));
}

QStringList rows(const QString& table, const QString& columns) {
    return column(
        QStringLiteral("select rowid || ':' || %1 from %2 order by rowid").arg(columns, table));
}

TEST_F(ServerTest, CopyToSqliteAndBackKeepsEveryRowWithItsRowidAndCounters) {
    fillRegister();
    const QStringList members = rows("Cust", "id || name");
    const QStringList signs = rows("Sign", "ID || Name");
    const QStringList changes = rows("CustHistory", "ID || CustID || OldValue || NewValue");
    ASSERT_EQ(changes.size(), 1);
    QTemporaryDir folder;
    db::DatabaseTarget file;
    file.path = folder.filePath(QStringLiteral("copy.sqlite"));
    const QList<db::TableCount> counts = db::copyDatabase(database().target(), file);
    ASSERT_EQ(counts.size(), db::schemaTables().size());
    for (const db::TableCount& count : counts)
        EXPECT_EQ(count.source, count.copied) << count.table.toStdString();

    db::setDatabaseTarget(file);
    EXPECT_EQ(rows("Cust", "id || name"), members);
    EXPECT_EQ(rows("Sign", "ID || Name"), signs);
    EXPECT_EQ(rows("CustHistory", "ID || CustID || OldValue || NewValue"), changes);

    const db::DatabaseTarget back = TempDatabase::createEmptyServerDatabase();
    db::copyDatabase(file, back);
    db::setDatabaseTarget(back);
    EXPECT_EQ(rows("Cust", "id || name"), members);
    EXPECT_EQ(rows("Sign", "ID || Name"), signs);
    EXPECT_EQ(rows("CustHistory", "ID || CustID || OldValue || NewValue"), changes);
    // New rows continue after the copied ones.
    exec(QStringLiteral("insert into Sign(Name) values('丁')"));
    EXPECT_EQ(scalar(QStringLiteral("select ID from Sign where Name = '丁'")).toInt(), 4);
    addMember("4", "Wu");
    EXPECT_GT(scalar(QStringLiteral("select rowid from Cust where id = '4'")).toInt(), 3);
    db::closeConnection();
    TempDatabase::dropServerDatabase(back);
}

// A row the server refuses half-way: nothing of the copy stays, not even
// its tables.
TEST_F(ServerTest, CopyThatFailsLeavesTheTargetWithoutRows) {
    QTemporaryDir folder;
    db::DatabaseTarget file;
    file.path = folder.filePath(QStringLiteral("old.sqlite"));
    db::createDatabase(file);
    {
        db::SqliteFile old(file.path, db::SqliteFile::Mode::ReadWrite);
        old.exec(QStringLiteral("insert into Kinds(KindName) values('A'); "
                                "PRAGMA ignore_check_constraints = 1; "
                                "insert into Cust(id, name) values('1', 'a name far too long')"));
    }
    db::closeConnection();
    const db::DatabaseTarget target = TempDatabase::createEmptyServerDatabase();
    try {
        db::copyDatabase(file, target);
        ADD_FAILURE() << "the copy went through";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("length(name) <= 10")))
            << error.text().toStdString();
    }
    db::setDatabaseTarget(target);
    EXPECT_FALSE(db::hasRegisterTables()) << "the tables went with the rows";
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from information_schema.tables "
                                    "where table_schema = current_schema()"))
                  .toInt(),
              0);
    db::closeConnection();
    TempDatabase::dropServerDatabase(target);

    // A source without a register is named, and no target file is made.
    const db::DatabaseTarget empty = TempDatabase::createEmptyServerDatabase();
    db::DatabaseTarget copy;
    copy.path = folder.filePath(QStringLiteral("copy.sqlite"));
    try {
        db::copyDatabase(empty, copy);
        ADD_FAILURE() << "a database without tables was copied";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("沒有會員資料庫的資料表")))
            << error.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(copy.path));
    TempDatabase::dropServerDatabase(empty);

    db::DatabaseTarget existing;
    existing.path = file.path;
    EXPECT_THROW(db::copyDatabase(database().target(), existing), DatabaseError);
    EXPECT_TRUE(QFileInfo::exists(file.path));
}

// The backup before a destructive import: an SQLite copy in backups/ of the
// working directory, listed with its members; the SQLite-only checks and
// the restore do not apply to a server.
TEST_F(ServerTest, BackupIsAnSqliteCopyInTheBackupsFolder) {
    fillRegister();
    const QString path = db::takeBackup();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(database().folder()).filePath("backups"));
    db::SqliteFile copy(path, db::SqliteFile::Mode::ReadOnly);
    EXPECT_EQ(copy.column(QStringLiteral("select count(*) from Cust")), QStringList{"2"});
    const QList<db::BackupInfo> backups = db::listBackups();
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(backups.first().members, 2);
    EXPECT_TRUE(db::takeDailyBackup().isEmpty());
    EXPECT_TRUE(db::databaseProblem().isEmpty());
    try {
        db::restoreBackup(path);
        ADD_FAILURE() << "a server register was restored from a file";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("--copy-database")))
            << error.text().toStdString();
    }
    EXPECT_EQ(count("Cust"), 2);
}

} // namespace
