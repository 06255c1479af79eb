// Restoring a backup: from 系統維護 › 還原備份, from the shell with
// lunmark --restore, and the offer at start-up for a damaged database.
#include "app/database_start.h"
#include "app/main_window.h"
#include "app/restore_window.h"
#include "db/backup.h"
#include "db/connection.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_database.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kQuestion = QStringLiteral("還原資料庫嗎﹖");
const QString kDone = QStringLiteral("還原完成。");

int members() {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust"));
    query.next();
    return query.value(0).toInt();
}

void addMembers(int from, int to) {
    db::run(QStringLiteral("with recursive n(i) as (select :from union all select i + 1 from n "
                           "where i < :to) insert into Cust(id, name) select i, 'N' from n"),
            {{QStringLiteral("from"), from}, {QStringLiteral("to"), to}});
}

void whenRestoreWindowShows(std::function<void(TFrmRestore*)> inspect, int triesLeft = 300) {
    QTimer::singleShot(10, [inspect, triesLeft] {
        auto* window = dynamic_cast<TFrmRestore*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            if (triesLeft > 0)
                whenRestoreWindowShows(inspect, triesLeft - 1);
            else
                ADD_FAILURE() << "the restore window never showed";
            return;
        }
        inspect(window);
        window->reject();
    });
}

class RestoreTest : public testing::Test {
protected:
    void SetUp() override {
        addMembers(1, 3);
        m_backup = db::takeBackup();
        addMembers(4, 5);
    }
    void TearDown() override {
        for (QMdiSubWindow* sub : window.mdiArea()->subWindowList())
            sub->close();
    }
    QAction* item(const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }

    TempDatabase database{db::Engine::Sqlite}; // backups and restores are of SQLite files
    ScriptedPrompt prompt;
    TFrmMain window;
    QString m_backup;
};

TEST_F(RestoreTest, WindowListsTheBackupsAndRestoresTheChosenOneAfterAskingWithNoAsDefault) {
    whenRestoreWindowShows([this](TFrmRestore* restore) {
        ASSERT_EQ(restore->BackupList->rowCount(), 1);
        const db::BackupInfo backup = db::listBackups().first();
        EXPECT_EQ(restore->BackupList->item(0, 0)->text(),
                  backup.taken.toString(QStringLiteral("yyyy/MM/dd")));
        EXPECT_EQ(restore->BackupList->item(0, 1)->text(),
                  backup.taken.toString(QStringLiteral("HH:mm:ss")));
        EXPECT_EQ(restore->BackupList->item(0, 2)->text(), QStringLiteral("3"));

        prompt.expectEnter(kQuestion, true);
        restore->BtnRestore->click();
        ASSERT_EQ(prompt.shown().size(), 1);
        EXPECT_EQ(prompt.shown().last().defaultButton, Prompt::No);
        EXPECT_EQ(members(), 5) << "Enter restores nothing";

        prompt.expect(kQuestion, true, true);
        prompt.expect(kDone, true, true);
        restore->BtnRestore->click();
        EXPECT_EQ(restore->BackupList->rowCount(), 2) << "the former state is kept as a backup";
    });
    item("RestoreBackup")->trigger();
    EXPECT_EQ(members(), 3);
}

TEST_F(RestoreTest, WindowIsRefusedWhileAChildWindowIsOpen) {
    item("N7")->trigger();
    prompt.expect(QStringLiteral("請先關閉所有打開的視窗後﹐再還原備份"));
    item("RestoreBackup")->trigger();
    EXPECT_EQ(members(), 5);
}

// lunmark --restore, as from a shell without any display.
ShellRun restoreFromShell(const QString& database, const QString& backup,
                          const QByteArray& answer) {
    return runWithoutDisplay(
        QStringLiteral(LUNMARK_PROGRAM),
        {QStringLiteral("--database"), database, QStringLiteral("--restore"), backup}, answer);
}

TEST_F(RestoreTest, ShellRestoreAsksWithNoAsDefaultAndRefusesWhileTheDatabaseIsOpen) {
    members(); // this program holds the database open
    const ShellRun refused = restoreFromShell(database.path(), m_backup, "y\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains(QStringLiteral("另一個程式")))
        << refused.errors.toStdString();
    db::closeConnection();

    const ShellRun declined = restoreFromShell(database.path(), m_backup, "\n");
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_TRUE(declined.output.contains(QStringLiteral("（3 位會員）")))
        << declined.output.toStdString();
    EXPECT_TRUE(declined.output.contains(QStringLiteral("沒有還原")));
    EXPECT_EQ(members(), 5);
    db::closeConnection();

    const ShellRun restored = restoreFromShell(database.path(), m_backup, "y\n");
    EXPECT_EQ(restored.exitCode, 0) << restored.errors.toStdString();
    EXPECT_TRUE(restored.output.contains(kDone));
    EXPECT_EQ(members(), 3);
}

// Spoils page headers of the database while no connection has it open.
void damage(const QString& path) {
    db::run(QStringLiteral("pragma wal_checkpoint(truncate)"));
    db::closeConnection();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (int page = 1; page < 8; ++page) {
        file.seek(4096 * page);
        file.write(QByteArray(12, '\x5a'));
    }
}

TEST_F(RestoreTest, DamagedDatabaseAtStartIsOfferedTheNewestBackupWithNoAsDefault) {
    addMembers(6, 2000); // enough pages to damage
    damage(database.path());
    prompt.expectEnter(QStringLiteral("已損壞"), true);
    EXPECT_FALSE(checkDatabaseAtStart()) << "declined: the program ends";
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown().last().defaultButton, Prompt::No);
    EXPECT_FALSE(db::databaseProblem().isEmpty()) << "the file is left as it was";

    prompt.expect(QStringLiteral("已損壞"), true, true);
    prompt.expect(kDone, true, true);
    EXPECT_TRUE(checkDatabaseAtStart());
    EXPECT_EQ(members(), 3);
}

TEST_F(RestoreTest, DamagedDatabaseWithoutBackupsIsReportedAndNotOpened) {
    addMembers(6, 2000);
    QFile::remove(m_backup);
    damage(database.path());
    prompt.expect(QStringLiteral("沒有備份可以還原"), true, true);
    EXPECT_FALSE(checkDatabaseAtStart());
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Error);
}

TEST_F(RestoreTest, SoundDatabaseAtStartGetsTheDaysFirstBackupOnly) {
    QFile::remove(m_backup);
    EXPECT_TRUE(checkDatabaseAtStart());
    EXPECT_TRUE(checkDatabaseAtStart());
    ASSERT_EQ(db::listBackups().size(), 1);
    EXPECT_EQ(db::listBackups().first().members, 5);
}

} // namespace
