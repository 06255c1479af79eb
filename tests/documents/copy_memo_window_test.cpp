#include "documents/file_manager_window.h"
#include "tests/documents/document_records.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CopyMemoWindowTest : public testing::Test {
protected:
    void SetUp() override {
        doctest::add({.name = QStringLiteral("甲"), .memo = QStringLiteral("第一行\n第二行")});
        window.show();
    }
    // Opens the copy window from the document window and runs inspect in it.
    void openCopyWindow(const std::function<void(QWidget*)>& inspect) {
        whenModalShows(inspect);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("BtnCopyMemo")),
                          Qt::LeftButton);
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmFileMgr window;
};

TEST_F(CopyMemoWindowTest, ShowsTheSummaryAndCopiesItToTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
    QString caption;
    QString shown;
    bool readOnly = false;
    QStringList labels;
    int lists = 0;
    openCopyWindow([&](QWidget* modal) {
        caption = modal->windowTitle();
        auto* memo = modal->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        shown = memo->toPlainText();
        readOnly = memo->isReadOnly();
        for (const QLabel* label : modal->findChildren<QLabel*>())
            labels << label->text();
        lists = int(modal->findChildren<QListWidget*>().size());
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BtnCopy")),
                          Qt::LeftButton);
    });
    EXPECT_EQ(caption, QStringLiteral("複製摘要"));
    EXPECT_EQ(shown, QStringLiteral("第一行\n第二行"));
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(labels.contains(QStringLiteral("摘要內容")));
    EXPECT_EQ(lists, 2);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("第一行\n第二行"));
}

TEST_F(CopyMemoWindowTest, ExitClosesWithoutCopying) {
    QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
    bool closed = false;
    openCopyWindow([&](QWidget* modal) {
        auto* exit = modal->findChild<QPushButton*>(QStringLiteral("BtnExit"));
        EXPECT_EQ(exit->text(), QStringLiteral("退出"));
        QTest::mouseClick(exit, Qt::LeftButton);
        closed = !modal->isVisible();
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("earlier"));
}

} // namespace
