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
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
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
        const QString name = QFileInfo(backup.path).fileName();
        EXPECT_TRUE(name.contains(QLatin1Char('_'))) << qPrintable(name);
        EXPECT_TRUE(prompt.shown().last().text.contains(QStringLiteral(" %1（").arg(name)))
            << qPrintable(prompt.shown().last().text);
        EXPECT_EQ(members(), 5) << "Enter restores nothing";

        prompt.expect(kQuestion, true, true);
        prompt.expect(kDone, true, true);
        restore->BtnRestore->click();
        EXPECT_EQ(restore->BackupList->rowCount(), 2) << "the former state is kept as a backup";
    });
    item("RestoreBackup")->trigger();
    EXPECT_EQ(members(), 3);
}

// Two weeks of daily copies with Keep=14: the bottom row, the oldest copy,
// is restored, stays in the list and on disk, and the state before the
// restore is listed on top.
TEST_F(RestoreTest, WindowRestoresTheBottomRowAndKeepsIt) {
    QSettings(QFileInfo(database.path()).dir().filePath(QStringLiteral("lunmark.ini")),
              QSettings::IniFormat)
        .setValue(QStringLiteral("Backup/Keep"), 14);
    const QDateTime now = QDateTime::currentDateTime();
    QString oldest;
    for (int day = 1; day <= 14; ++day) {
        const QDateTime taken = now.addDays(-day);
        oldest = QDir(db::backupFolder())
                     .filePath(QStringLiteral("backup-%1.sqlite")
                                   .arg(taken.toString(QStringLiteral("yyyy-MM-dd_HHmmss"))));
        ASSERT_TRUE(QFile::copy(m_backup, oldest));
        QFile file(oldest);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(taken, QFileDevice::FileModificationTime));
    }
    QFile::remove(m_backup); // two weeks of copies, all of 3 members
    whenRestoreWindowShows([&](TFrmRestore* restore) {
        ASSERT_EQ(restore->BackupList->rowCount(), 14);
        restore->BackupList->selectRow(13);
        prompt.expect(kQuestion, true, true);
        prompt.expect(kDone, true, true);
        restore->BtnRestore->click();
        ASSERT_EQ(restore->BackupList->rowCount(), 15);
        EXPECT_EQ(restore->BackupList->item(0, 2)->text(), QStringLiteral("5"))
            << "the state before, on top";
        EXPECT_EQ(restore->BackupList->item(14, 0)->data(Qt::UserRole).toString(),
                  QFileInfo(oldest).absoluteFilePath());
    });
    item("RestoreBackup")->trigger();
    EXPECT_TRUE(QFileInfo::exists(oldest));
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

// lunmark --restore of the register itself or of a file that is no backup
// answers in Chinese without asking, and changes nothing.
TEST_F(RestoreTest, ShellRestoreRefusesTheRegisterItselfAndFilesThatAreNoBackup) {
    const QString notes = QFileInfo(database.path()).dir().filePath(QStringLiteral("notes.txt"));
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("members to call back\n");
    }
    const struct {
        QString file;
        const char* says;
    } cases[] = {{database.path(), "是資料庫本身"},
                 {QStringLiteral("db.sqlite"), "是資料庫本身"},
                 {notes, "不是備份檔案"},
                 {notes + QStringLiteral(".missing"), "找不到備份檔案"}};
    for (const auto& c : cases) {
        db::closeConnection();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QFileInfo(database.path()).absolutePath());
        const ShellRun refused = restoreFromShell(database.path(), c.file, "y\n");
        QDir::setCurrent(previous);
        EXPECT_EQ(refused.exitCode, 1) << c.says;
        EXPECT_TRUE(refused.errors.contains(QString::fromUtf8(c.says)))
            << refused.errors.toStdString();
        EXPECT_FALSE(refused.output.contains(kQuestion)) << "asked about " << c.says;
        EXPECT_EQ(members(), 5);
    }
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
