// Questions whose Yes deletes or overwrites answer No on Enter and on Esc,
// reached the way users reach them: from the main window's menu.
#include "app/main_window.h"
#include "base/prompt.h"
#include "db/backup.h"
#include "db/connection.h"
#include "members/import/import_hooks.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

int count(const QString& table) {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from ") + table);
    query.next();
    return query.value(0).toInt();
}

// Presses key on the next message box as soon as it shows.
void pressOnNextBox(Qt::Key key, QString* shownText, int triesLeft = 300) {
    QTimer::singleShot(10, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (triesLeft > 0)
                pressOnNextBox(key, shownText, triesLeft - 1);
            return;
        }
        *shownText = box->text();
        QTest::keyClick(box, key);
    });
}

struct KeyCase {
    Prompt::DefaultButton defaultButton;
    Qt::Key key;
    bool answer;
};

TEST(MessageBoxQuestionTest, EnterTakesTheDefaultButtonAndEscAnswersNo) {
    const KeyCase cases[] = {{Prompt::No, Qt::Key_Return, false},
                             {Prompt::No, Qt::Key_Escape, false},
                             {Prompt::Yes, Qt::Key_Return, true},
                             {Prompt::Yes, Qt::Key_Escape, false}};
    for (const KeyCase& c : cases) {
        QString shown;
        pressOnNextBox(c.key, &shown);
        EXPECT_EQ(Prompt::current().question(QStringLiteral("提示"), QStringLiteral("刪除嗎﹖"),
                                             c.defaultButton),
                  c.answer)
            << "default " << c.defaultButton << ", key " << c.key;
        EXPECT_EQ(shown.toStdString(), "刪除嗎﹖");
    }
}

TEST(MessageBoxQuestionTest, QuestionWithoutADefaultStillAnswersYesOnEnter) {
    QString shown;
    pressOnNextBox(Qt::Key_Return, &shown);
    EXPECT_TRUE(
        Prompt::current().question(QStringLiteral("會員管理"), QStringLiteral("要退出系統嗎﹖")));
}

// Runs inspect on the next modal dialog, then closes it.
void whenDialogShows(std::function<void(QDialog*)> inspect, int triesLeft = 300) {
    QTimer::singleShot(10, [inspect, triesLeft] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (triesLeft > 0)
                whenDialogShows(inspect, triesLeft - 1);
            return;
        }
        inspect(dialog);
        dialog->reject();
    });
}

class SafetyQuestionsTest : public testing::Test {
protected:
    void SetUp() override {
        db::run(QStringLiteral("insert into Cust(id, name) values('1', 'Chen'), ('2', 'Lin')"));
    }
    void TearDown() override {
        members::setImportFileChooser({});
        for (QMdiSubWindow* sub : window.mdiArea()->subWindowList())
            sub->close();
    }
    QAction* item(const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }
    static QPushButton* button(QWidget* parent, const char* name) {
        return parent->findChild<QPushButton*>(QLatin1String(name));
    }
    Prompt::DefaultButton lastDefault() const {
        return prompt.shown().isEmpty() ? Prompt::Yes : prompt.shown().last().defaultButton;
    }

    // Imports a sheet of one new member through 系統維護 › 客戶資料導入.
    void importThroughTheWindow() {
        const QString sheet = QDir(database.folder()).filePath(QStringLiteral("new.csv"));
        QFile file(sheet);
        file.open(QIODevice::WriteOnly);
        file.write("ID,Name\n3,Wang\n");
        file.close();
        members::setImportFileChooser([sheet](QWidget*, const QString&) { return sheet; });
        whenDialogShows([](QDialog* importer) {
            confirmNextImportPreview();
            button(importer, "btnExcel")->click();
        });
        item("N16")->trigger();
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain window;
};

TEST_F(SafetyQuestionsTest, DeletingAMemberDefaultsToNo) {
    item("N7")->trigger();
    QWidget* members = window.mdiArea()->activeSubWindow()->widget();
    button(members, "BitBtn1")->click(); // lists every member
    prompt.expectEnter(QStringLiteral("確實要刪除嗎﹖"));
    button(members, "SbDel")->click();
    EXPECT_EQ(lastDefault(), Prompt::No);
    EXPECT_EQ(count("Cust"), 2);
}

TEST_F(SafetyQuestionsTest, DeletingADocumentDefaultsToNo) {
    db::run(QStringLiteral("insert into File(Name, Path1) values('年會', '/docs/a.doc')"));
    whenDialogShows([this](QDialog* documents) {
        prompt.expectEnter(QStringLiteral("確定要刪除嗎﹖"));
        button(documents, "SbDel")->click();
    });
    item("Office1")->trigger();
    EXPECT_EQ(lastDefault(), Prompt::No);
    EXPECT_EQ(count("File"), 1);
}

TEST_F(SafetyQuestionsTest, EnterOnDeleteOldDataBeforeAnImportKeepsTheMembers) {
    prompt.expectEnter(QStringLiteral("是否刪除舊資料﹖"));
    prompt.expect(QStringLiteral("導入成功﹕共 1 筆"));
    importThroughTheWindow();
    ASSERT_FALSE(prompt.shown().isEmpty());
    EXPECT_EQ(prompt.shown().first().defaultButton, Prompt::No);
    EXPECT_EQ(count("Cust"), 3);
    EXPECT_TRUE(db::listBackups().isEmpty()) << "nothing was deleted, so no backup";
}

TEST_F(SafetyQuestionsTest, DeletingOldDataBeforeAnImportTakesABackupFirst) {
    prompt.expect(QStringLiteral("是否刪除舊資料﹖"), true);
    prompt.expect(QStringLiteral("導入成功﹕共 1 筆"));
    importThroughTheWindow();
    EXPECT_EQ(count("Cust"), 1);
    const QList<db::BackupInfo> backups = db::listBackups();
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(backups.first().members, 2) << "the backup holds the members before the import";
}

TEST_F(SafetyQuestionsTest, ImportStopsWhenTheBackupBeforeDeletingFails) {
    QFile blocker(db::backupFolder()); // a file where the folder should go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    prompt.expect(QStringLiteral("是否刪除舊資料﹖"), true);
    prompt.expect(QStringLiteral("刪除舊資料前無法備份資料庫﹐這次導入已取消"), true, true);
    importThroughTheWindow();
    ASSERT_FALSE(prompt.shown().isEmpty());
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Warning);
    EXPECT_EQ(count("Cust"), 2);
}

} // namespace
