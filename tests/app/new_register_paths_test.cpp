// Every way a register comes into being starts it alike: its tables and the
// settings row with the Traditional-Chinese captions. At start-up, with
// lunmark --create-database, with the command-line imports and with
// --copy-database into a new file or an empty server database (the server
// cases in the pg. run, which has a test server).
#include "app/start_up.h"
#include "db/connection.h"
#include "db/new_register.h"
#include "tests/members/import/member_list_text.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_database.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

using Settings = std::map<QString, QString>; // lower-case column, text ("<null>" for null)

// The settings rows of target, without their row identities.
std::vector<Settings> settingsOf(const db::DatabaseTarget& target) {
    db::setDatabaseTarget(target);
    std::vector<Settings> rows;
    QSqlQuery query = db::run(QStringLiteral("select * from SystemSet"));
    while (query.next()) {
        Settings row;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) {
            const QString name = record.fieldName(i).toLower();
            if (name != QLatin1String("id") && name != QLatin1String("rowid"))
                row[name] = query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString();
        }
        rows.push_back(row);
    }
    db::closeConnection();
    return rows;
}

ShellRun lunmark(const QStringList& arguments) {
    db::closeConnection();
    return runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM), arguments);
}

QString dataFile(const char* name) {
    return QStringLiteral(MEMBER_IMPORT_DATA "/") + QString::fromUtf8(name);
}

class NewRegisterPaths : public testing::Test {
public:
    void SetUp() override {
        db::DatabaseTarget reference;
        reference.path = m_folder.filePath(QStringLiteral("reference.sqlite"));
        db::createRegister(reference);
        m_reference = settingsOf(reference);
        ASSERT_EQ(m_reference.size(), 1u);
        ASSERT_EQ(m_reference.front()[QStringLiteral("name")], QStringLiteral("本公司"));
        ASSERT_EQ(m_reference.front()[QStringLiteral("cust")], QStringLiteral("會員資料"));

        QFile list(m_folder.filePath(QStringLiteral("list.txt")));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(test_files::listPage(test_files::listMembers(1, 3), 1));
    }
    void TearDown() override {
        db::closeConnection();
        db::setDatabasePath(QStringLiteral("db.sqlite"));
        for (const db::DatabaseTarget& server : m_servers)
            TempDatabase::dropServerDatabase(server);
    }

    db::DatabaseTarget newFile(const QString& name) const {
        db::DatabaseTarget target;
        target.path = m_folder.filePath(name);
        return target;
    }
    db::DatabaseTarget newServerDatabase() {
        m_servers.push_back(TempDatabase::createEmptyServerDatabase());
        return m_servers.back();
    }
    QString argument(const db::DatabaseTarget& target) const {
        return target.engine == db::Engine::Postgresql ? TempDatabase::addressOf(target)
                                                       : target.path;
    }
    // A register as older versions made them: the tables alone.
    db::DatabaseTarget registerWithoutSettings() {
        const db::DatabaseTarget old = newFile(QStringLiteral("old.sqlite"));
        db::createDatabase(old);
        db::setDatabaseTarget(old);
        db::run(QStringLiteral("insert into Cust(id, name) values('1', '王')"));
        db::closeConnection();
        return old;
    }

    QTemporaryDir m_folder;
    std::vector<Settings> m_reference;
    std::vector<db::DatabaseTarget> m_servers;
};

TEST_F(NewRegisterPaths, EveryPathMakesTheSameTablesAndSettings) {
    struct Path {
        const char* name;
        bool server;
        std::function<void(NewRegisterPaths&, const db::DatabaseTarget&)> make;
    };
    const auto run = [](const QStringList& arguments, const char* says) {
        const ShellRun result = lunmark(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
        EXPECT_TRUE(result.output.contains(QString::fromUtf8(says))) << result.output.toStdString();
    };
    const Path paths[] = {
        {"start-up", false,
         [](NewRegisterPaths&, const db::DatabaseTarget& target) {
             ScriptedPrompt prompt;
             StartOptions options;
             options.databasePath = target.path;
             options.databaseGiven = true;
             options.createIfMissing = true;
             prepareDatabase(options);
             db::closeConnection();
         }},
        {"--create-database", true,
         [run](NewRegisterPaths& test, const db::DatabaseTarget& target) {
             run({QStringLiteral("--database"), test.argument(target),
                  QStringLiteral("--create-database")},
                 "建立會員資料庫的資料表");
         }},
        {"--import", false,
         [run](NewRegisterPaths& test, const db::DatabaseTarget& target) {
             run({QStringLiteral("--import"), dataFile("shown.xls"), QStringLiteral("--database"),
                  test.argument(target), QStringLiteral("--create-database")},
                 "導入成功: 3 筆");
         }},
        {"--import", true,
         [run](NewRegisterPaths& test, const db::DatabaseTarget& target) {
             run({QStringLiteral("--import"), dataFile("shown.xls"), QStringLiteral("--database"),
                  test.argument(target), QStringLiteral("--create-database")},
                 "導入成功: 3 筆");
         }},
        {"--import-list", false,
         [run](NewRegisterPaths& test, const db::DatabaseTarget& target) {
             run({QStringLiteral("--import-list"),
                  test.m_folder.filePath(QStringLiteral("list.txt")), QStringLiteral("--database"),
                  test.argument(target), QStringLiteral("--create-database")},
                 "導入成功: 3 筆");
         }},
        {"--copy-database", false,
         [run](NewRegisterPaths& test, const db::DatabaseTarget& target) {
             run({QStringLiteral("--copy-database"), test.registerWithoutSettings().path,
                  test.argument(target)},
                 "Cust: 1 筆");
         }},
        {"--copy-database", true,
         [run](NewRegisterPaths& test, const db::DatabaseTarget& target) {
             run({QStringLiteral("--copy-database"), test.registerWithoutSettings().path,
                  test.argument(target)},
                 "Cust: 1 筆");
         }},
    };
    int made = 0;
    for (const Path& path : paths) {
        if (path.server && !TempDatabase::hasPostgres())
            continue;
        SCOPED_TRACE(std::string(path.name) + (path.server ? " on a server" : " of a file"));
        QFile::remove(m_folder.filePath(QStringLiteral("old.sqlite")));
        const db::DatabaseTarget target =
            path.server ? newServerDatabase() : newFile(QStringLiteral("new%1.sqlite").arg(++made));
        path.make(*this, target);
        db::setDatabaseTarget(target);
        EXPECT_TRUE(db::hasRegisterTables());
        db::closeConnection();
        EXPECT_EQ(settingsOf(target), m_reference);
    }
}

// The settings made by an import are there for the next step: a copy of
// the new register takes them along.
TEST_F(NewRegisterPaths, ImportedRegisterCopiesWithItsSettings) {
    const db::DatabaseTarget imported = newFile(QStringLiteral("imported.sqlite"));
    const ShellRun import =
        lunmark({QStringLiteral("--import-list"), m_folder.filePath(QStringLiteral("list.txt")),
                 QStringLiteral("--database"), imported.path, QStringLiteral("--create-database")});
    ASSERT_EQ(import.exitCode, 0) << import.errors.toStdString();
    const db::DatabaseTarget copy = newFile(QStringLiteral("copy.sqlite"));
    const ShellRun copied = lunmark({QStringLiteral("--copy-database"), imported.path, copy.path});
    EXPECT_EQ(copied.exitCode, 0) << copied.errors.toStdString();
    EXPECT_TRUE(copied.output.contains(QStringLiteral("SystemSet: 1 筆")))
        << copied.output.toStdString();
    EXPECT_EQ(settingsOf(copy), m_reference);
}

} // namespace
