// Lunmark on a server register as a shop starts it: from lunmark.ini or
// --database, made with --create-database, filled with --copy-database, and
// refusing to start on a server database without tables. The server cases
// run in the pg. run, which has a test server.
#include "app/database_start.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "base/errors.h"
#include "db/connection.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_database.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ShellRun lunmark(const QStringList& arguments) {
    return runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM), arguments);
}

qint64 count(const QString& table) {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from %1").arg(table));
    return query.next() ? query.value(0).toLongLong() : -1;
}

TEST(ServerStartOptions, HelpNamesTheServerOptions) {
    const ShellRun help = lunmark({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains(QStringLiteral("--copy-database FROM TO")))
        << help.output.toStdString();
    EXPECT_TRUE(help.output.contains(QStringLiteral("postgresql://"))) << help.output.toStdString();
}

// --database wins over lunmark.ini, which wins over db.sqlite.
TEST(ServerStartOptions, TheServerComesFromLunmarkIniUnlessTheCommandLineNamesOne) {
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    {
        QFile ini(folder.filePath(QStringLiteral("lunmark.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Database]\nDriver=postgresql\nHost=server.lan\nName=shop\nUser=desk\n");
    }
    const db::DatabaseTarget fromIni = startTarget(parseStartOptions({QStringLiteral("lunmark")}));
    EXPECT_EQ(fromIni.engine, db::Engine::Postgresql);
    EXPECT_EQ(fromIni.host, QStringLiteral("server.lan"));
    EXPECT_EQ(fromIni.name, QStringLiteral("shop"));
    const db::DatabaseTarget named = startTarget(parseStartOptions(
        {QStringLiteral("lunmark"), QStringLiteral("--database"), QStringLiteral("here.sqlite")}));
    EXPECT_EQ(named.engine, db::Engine::Sqlite);
    EXPECT_EQ(named.path, QStringLiteral("here.sqlite"));
    QFile::remove(folder.filePath(QStringLiteral("lunmark.ini")));
    EXPECT_EQ(startTarget(parseStartOptions({QStringLiteral("lunmark")})).path,
              QStringLiteral("db.sqlite"));
    QDir::setCurrent(previous);
}

class ServerStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TempDatabase::hasPostgres())
            GTEST_SKIP() << "no test server in this run (the pg. run has one)";
        m_empty = TempDatabase::createEmptyServerDatabase();
    }
    void TearDown() override {
        db::closeConnection();
        db::setDatabasePath(QStringLiteral("db.sqlite"));
        if (m_empty)
            TempDatabase::dropServerDatabase(*m_empty);
    }
    // The empty database as the command line names it.
    QString address() const { return TempDatabase::addressOf(*m_empty); }
    std::optional<db::DatabaseTarget> m_empty;
    QTemporaryDir m_folder;
};

TEST_F(ServerStartTest, StartingOnADatabaseWithoutTablesNamesCreateDatabaseAndEnds) {
    ScriptedPrompt prompt;
    prompt.expect(QStringLiteral("lunmark --create-database"), true, true);
    StartOptions options =
        parseStartOptions({QStringLiteral("lunmark"), QStringLiteral("--database"), address()});
    prepareDatabase(options);
    EXPECT_FALSE(checkDatabaseAtStart());
    EXPECT_EQ(prompt.pending(), 0);
}

TEST_F(ServerStartTest, CreateDatabaseMakesTheTablesOnceWithTheirCaptions) {
    const ShellRun made =
        lunmark({QStringLiteral("--database"), address(), QStringLiteral("--create-database")});
    EXPECT_EQ(made.exitCode, 0) << made.errors.toStdString();
    EXPECT_TRUE(made.output.contains(QStringLiteral("建立會員資料庫的資料表")))
        << made.output.toStdString();
    db::setDatabaseTarget(*m_empty);
    EXPECT_EQ(count(QStringLiteral("SystemSet")), 1); // the captions of a new register
    EXPECT_TRUE(checkDatabaseAtStart());

    const ShellRun again =
        lunmark({QStringLiteral("--database"), address(), QStringLiteral("--create-database")});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.errors.contains(QStringLiteral("已經有資料表")))
        << again.errors.toStdString();
}

TEST_F(ServerStartTest, CopyDatabaseFillsTheServerAndPrintsTheCountsOrChangesNothing) {
    const QString file = m_folder.filePath(QStringLiteral("db.sqlite"));
    db::createDatabase(file);
    db::setDatabasePath(file);
    for (const char* id : {"1", "2"})
        db::run(QStringLiteral("insert into Cust(id, name) values(:id, '王')"),
                {{QStringLiteral("id"), QString::fromUtf8(id)}});
    db::closeConnection();

    const ShellRun copied = lunmark({QStringLiteral("--copy-database"), file, address()});
    EXPECT_EQ(copied.exitCode, 0) << copied.errors.toStdString();
    EXPECT_TRUE(copied.output.contains(QStringLiteral("Cust: 2 筆")))
        << copied.output.toStdString();
    EXPECT_TRUE(copied.output.contains(QStringLiteral("複製完成")));

    // Into a register that is not empty any more: refused, nothing added.
    const ShellRun refused = lunmark({QStringLiteral("--copy-database"), file, address()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains(QStringLiteral("沒有寫入任何資料")))
        << refused.errors.toStdString();
    db::setDatabaseTarget(*m_empty);
    EXPECT_EQ(count(QStringLiteral("Cust")), 2);

    const ShellRun missing = lunmark({QStringLiteral("--copy-database"),
                                      m_folder.filePath(QStringLiteral("none.sqlite")),
                                      m_folder.filePath(QStringLiteral("out.sqlite"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.errors.contains(QStringLiteral("找不到要複製的資料庫檔案")));
    EXPECT_FALSE(QFile::exists(m_folder.filePath(QStringLiteral("out.sqlite"))));
}

// 系統維護 › 還原備份 on a server register says why it does not apply and
// how a backup goes back instead; nothing changes.
TEST_F(ServerStartTest, RestoreItemExplainsThatAServerRegisterIsNotRestoredHere) {
    db::createDatabase(*m_empty);
    db::setDatabaseTarget(*m_empty);
    db::run(QStringLiteral("insert into Cust(id, name) values('1', '王')"));
    ScriptedPrompt prompt;
    TFrmMain window;
    prompt.expect(QStringLiteral("lunmark --copy-database"), true, true);
    window.findChild<QAction*>(QStringLiteral("RestoreBackup"))->trigger();
    EXPECT_EQ(prompt.pending(), 0);
    EXPECT_EQ(count(QStringLiteral("Cust")), 1);
}

} // namespace
