#include "app/main_window.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "documents/date_editor.h"
#include "documents/desktop_hooks.h"
#include "documents/file_manager_window.h"
#include "tests/documents/document_records.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class FileManagerWindowTest : public testing::Test {
protected:
    void SetUp() override {
        documents::setDocumentOpener([this](const QString& path) { opened << path; });
        documents::setFileChooser([this](QWidget*, const QString& filter, const QString& start) {
            chooserCalls << QStringList{filter, start};
            return chosenFile;
        });
    }
    void TearDown() override {
        documents::setDocumentOpener({});
        documents::setFileChooser({});
    }
    void open() {
        window = std::make_unique<TFrmFileMgr>();
        window->show();
    }
    template <class T> T* child(const char* name) {
        T* widget = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void press(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    void type(const char* editor, const QString& text) {
        auto* edit = child<QLineEdit>(editor);
        edit->clear();
        typeText(edit, text);
    }
    QStringList listedNames() { return doctest::listed(child<QTableView>("DBGridEh1"), 1); }
    void select(const QString& name) {
        auto* grid = child<QTableView>("DBGridEh1");
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            if (grid->model()->index(row, 1).data().toString() == name) {
                grid->selectRow(row);
                return;
            }
        }
        ADD_FAILURE() << "not listed: " << name.toStdString();
    }
    db::Dataset* query() { return child<db::Dataset>("Qry_File"); }

    TempDatabase database;
    ScriptedPrompt prompt;
    std::unique_ptr<TFrmFileMgr> window;
    QStringList opened;
    QList<QStringList> chooserCalls;
    QString chosenFile;
};

TEST_F(FileManagerWindowTest, ListsDateAndNameOfEveryRecord) {
    doctest::add({QStringLiteral("年度報告")});
    doctest::add({.name = QStringLiteral("會議紀錄"), .date1 = QVariant()});
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Office檔案管理"));
    auto* grid = child<QTableView>("DBGridEh1");
    EXPECT_EQ(grid->model()->columnCount(), 2);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("建檔日期"));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("檔案名稱"));
    EXPECT_EQ(listedNames(), (QStringList{QStringLiteral("年度報告"), QStringLiteral("會議紀錄")}));
    // The date shows as a date, not as its stored text "2024-03-15 00:00:00".
    EXPECT_EQ(doctest::listed(grid, 0), (QStringList{QString(), QStringLiteral("2024/03/15")}));
}

TEST_F(FileManagerWindowTest, ShowingReadsTheTableAfreshAndEmptiesTheSearchBoxes) {
    doctest::add({QStringLiteral("甲")});
    doctest::add({QStringLiteral("乙")});
    open();
    type("Edit1", QStringLiteral("甲"));
    press("BitBtn3");
    ASSERT_EQ(listedNames(), QStringList{QStringLiteral("甲")});
    doctest::add({QStringLiteral("丙")});
    window->hide();
    window->show();
    EXPECT_TRUE(child<QLineEdit>("Edit1")->text().isEmpty());
    // The search stays in force until the next search.
    EXPECT_EQ(listedNames(), QStringList{QStringLiteral("甲")});
    press("BitBtn3");
    EXPECT_EQ(listedNames(),
              (QStringList{QStringLiteral("丙"), QStringLiteral("乙"), QStringLiteral("甲")}));
}

struct QuickSearchCase {
    const char* what;
    QString name;
    QString contentNo;
    QStringList found;
};

TEST_F(FileManagerWindowTest, QuickSearchMatchesBothTextsAnywhere) {
    doctest::add(
        {.name = QStringLiteral("年度報告"), .contentNo = QStringLiteral("府文字第1120001號")});
    doctest::add({.name = QStringLiteral("會議紀錄"), .contentNo = QStringLiteral("")});
    doctest::add({.name = QStringLiteral("預算書"), .contentNo = QVariant()});
    doctest::add({.name = QVariant(), .contentNo = QStringLiteral("X-1")});
    doctest::add({.name = QStringLiteral("100% 達成"), .contentNo = QStringLiteral("A-1")});
    doctest::add({.name = QStringLiteral("1000 達成"), .contentNo = QStringLiteral("A-2")});
    doctest::add({.name = QStringLiteral("O'Brien 計畫"), .contentNo = QStringLiteral("B-1")});
    doctest::add({.name = QStringLiteral("O Brien 計畫"), .contentNo = QStringLiteral("B-2")});
    doctest::add({.name = QStringLiteral("C:\\備份"), .contentNo = QStringLiteral("C-1")});
    const QString all[] = {QStringLiteral("1000 達成"),    QStringLiteral("100% 達成"),
                           QStringLiteral("C:\\備份"),     QStringLiteral("O Brien 計畫"),
                           QStringLiteral("O'Brien 計畫"), QStringLiteral("年度報告"),
                           QStringLiteral("會議紀錄")};
    const QuickSearchCase cases[] = {
        {"empty boxes skip null names and numbers",
         {},
         {},
         QStringList(std::begin(all), std::end(all))},
        {"middle of a number", {}, QStringLiteral("112000"), {QStringLiteral("年度報告")}},
        {"trimmed name", QStringLiteral("  報告 "), {}, {QStringLiteral("年度報告")}},
        {"both boxes", QStringLiteral("達成"), QStringLiteral("2"), {QStringLiteral("1000 達成")}},
        {"per-cent is a wildcard",
         QStringLiteral("1%成"),
         {},
         {QStringLiteral("1000 達成"), QStringLiteral("100% 達成")}},
        {"apostrophe is a character", QStringLiteral("o'b"), {}, {QStringLiteral("O'Brien 計畫")}},
        {"backslash is a character", QStringLiteral(":\\"), {}, {QStringLiteral("C:\\備份")}},
        {"nothing found", QStringLiteral("不存在"), {}, {}},
    };
    open();
    for (const QuickSearchCase& c : cases) {
        child<QLineEdit>("Edit1")->setText(c.name);
        child<QLineEdit>("Edit2")->setText(c.contentNo);
        press("BitBtn3");
        QStringList expected = c.found;
        expected.sort();
        EXPECT_EQ(listedNames(), expected) << c.what;
    }
}

TEST_F(FileManagerWindowTest, ControlsFollowTheEditingState) {
    doctest::add({QStringLiteral("甲")});
    open();
    const char* browsing[] = {"SbAdd", "SbEdit", "SbDel", "SbSearch", "SbExit", "BitBtn3"};
    const char* editing[] = {"SbSave",  "SbCancel", "BtnBrowse", "DBEdit1", "DBEdit2",
                             "DBEdit3", "DBEdit4",  "DBMemo1",   "DBEdit5", "DBDateTimeEditEh1"};
    const char* always[] = {"BtnEdit", "BtnCopyMemo", "Edit1", "Edit2", "DBGridEh1"};
    auto check = [&](bool edit, const char* when) {
        for (const char* name : browsing)
            EXPECT_EQ(child<QWidget>(name)->isEnabled(), !edit) << name << " " << when;
        for (const char* name : editing)
            EXPECT_EQ(child<QWidget>(name)->isEnabled(), edit) << name << " " << when;
        for (const char* name : always)
            EXPECT_TRUE(child<QWidget>(name)->isEnabled()) << name << " " << when;
    };
    check(false, "on opening");
    press("SbEdit");
    check(true, "editing");
    press("SbCancel");
    check(false, "after cancel");
    press("SbAdd");
    check(true, "inserting");
    press("SbSave");
    check(false, "after save");
}

TEST_F(FileManagerWindowTest, NewRecordStartsEmptyAndStoresWhatWasEntered) {
    doctest::add({QStringLiteral("舊檔")});
    open();
    press("SbAdd");
    for (const char* name : {"DBEdit1", "DBEdit2", "DBEdit3", "DBEdit4", "DBEdit5"})
        EXPECT_TRUE(child<QLineEdit>(name)->text().isEmpty()) << name;
    EXPECT_TRUE(child<QPlainTextEdit>("DBMemo1")->toPlainText().isEmpty());
    EXPECT_TRUE(child<DateEditor>("DBDateTimeEditEh1")->isEmpty());

    type("DBEdit1", QStringLiteral("新計畫書"));
    type("DBEdit2", QStringLiteral("企劃"));
    type("DBEdit3", QStringLiteral("企字第7號"));
    type("DBEdit4", QStringLiteral("春季活動"));
    typeText(child<QPlainTextEdit>("DBMemo1"), QStringLiteral("第一行"));
    child<DateEditor>("DBDateTimeEditEh1")->setValue(QDate(2024, 4, 1));
    chosenFile = QStringLiteral("/home/office/計畫書.doc");
    press("BtnBrowse");
    EXPECT_EQ(child<QLineEdit>("DBEdit5")->text(), chosenFile);
    press("SbSave");

    const std::pair<const char*, QString> expected[] = {
        {"Kind", QStringLiteral("企劃")},
        {"ContentNo", QStringLiteral("企字第7號")},
        {"ContentName", QStringLiteral("春季活動")},
        {"Memo", QStringLiteral("第一行")},
        {"Path1", chosenFile},
        {"Date1", QStringLiteral("2024-04-01 00:00:00")}};
    for (const auto& [column, value] : expected) {
        EXPECT_EQ(doctest::stored(QStringLiteral("新計畫書"), QLatin1String(column)).toString(),
                  value)
            << column;
    }
    EXPECT_TRUE(listedNames().contains(QStringLiteral("新計畫書")));
}

TEST_F(FileManagerWindowTest, RecordSavedUntouchedHasNoValues) {
    open();
    press("SbAdd");
    press("SbSave");
    QSqlQuery row = db::run(QStringLiteral(
        "select count(*) from File where Name is null and Kind is null and ContentNo is null "
        "and ContentName is null and Memo is null and Path1 is null and Date1 is null"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toInt(), 1);
    EXPECT_EQ(doctest::storedNames().size(), 1);
}

TEST_F(FileManagerWindowTest, DeleteAsksFirst) {
    doctest::add({QStringLiteral("甲")});
    doctest::add({QStringLiteral("乙")});
    open();
    select(QStringLiteral("乙"));
    prompt.expect(QStringLiteral("確定要刪除嗎﹖"), false);
    press("SbDel");
    EXPECT_EQ(doctest::storedNames(), (QStringList{QStringLiteral("乙"), QStringLiteral("甲")}));
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("提示"));

    prompt.expect(QStringLiteral("確定要刪除嗎﹖"), true);
    press("SbDel");
    EXPECT_EQ(doctest::storedNames(), QStringList{QStringLiteral("甲")});
    EXPECT_EQ(listedNames(), QStringList{QStringLiteral("甲")});
}

TEST_F(FileManagerWindowTest, BrowseOffersWordExcelAndAllFilesAndKeepsThePathWhenCancelled) {
    doctest::add({QStringLiteral("甲")});
    open();
    press("SbEdit");
    chosenFile.clear();
    press("BtnBrowse");
    ASSERT_EQ(chooserCalls.size(), 1);
    EXPECT_EQ(chooserCalls[0][0],
              QStringLiteral("Word 檔案 (*.doc);;Excel 檔案 (*.xls);;所有檔案 (*.*)"));
    EXPECT_EQ(chooserCalls[0][1], QStringLiteral("/docs/a.doc"));
    EXPECT_EQ(child<QLineEdit>("DBEdit5")->text(), QStringLiteral("/docs/a.doc"));
    press("SbSave");
    EXPECT_EQ(doctest::stored(QStringLiteral("甲"), QStringLiteral("Path1")).toString(),
              QStringLiteral("/docs/a.doc"));
}

TEST_F(FileManagerWindowTest, OpenHandsThePathBoxTextToTheDesktop) {
    doctest::add({.name = QStringLiteral("甲"), .path = QStringLiteral("/docs/甲.xls")});
    doctest::add({.name = QStringLiteral("乙"), .path = QVariant()});
    open();
    select(QStringLiteral("甲"));
    press("BtnEdit");
    select(QStringLiteral("乙"));
    press("BtnEdit"); // no path: nothing to report
    select(QStringLiteral("甲"));
    press("SbEdit");
    type("DBEdit5", QStringLiteral("/docs/typed.doc"));
    press("BtnEdit"); // what the box shows, before it is saved
    EXPECT_EQ(opened, (QStringList{QStringLiteral("/docs/甲.xls"), QString(),
                                   QStringLiteral("/docs/typed.doc")}));
}

TEST_F(FileManagerWindowTest, RefusedSaveKeepsTheRecordInEditing) {
    doctest::add({QStringLiteral("甲")});
    open();
    press("SbEdit");
    // The editors cap typing, so the over-long text comes the way a paste would.
    child<QLineEdit>("DBEdit1")->setText(QString(201, QLatin1Char('x')));
    prompt.expect(QStringLiteral("CHECK constraint failed"), true, true);
    press("SbSave");
    EXPECT_EQ(query()->state(), db::Dataset::State::Edit);
    EXPECT_FALSE(child<QPushButton>("SbSearch")->isEnabled());
    EXPECT_EQ(doctest::storedNames(), QStringList{QStringLiteral("甲")});
}

TEST_F(FileManagerWindowTest, TypingStopsAtTheColumnsByteLimit) {
    open();
    press("SbAdd");
    type("DBEdit2", QString(26, QChar(0x6587))); // 52 bytes
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QString(25, QChar(0x6587)));
    type("DBEdit1", QString(201, QLatin1Char('a')));
    EXPECT_EQ(child<QLineEdit>("DBEdit1")->text().size(), 200);
}

TEST_F(FileManagerWindowTest, EnterInTheSummaryMovesOnWithoutALineBreak) {
    doctest::add({QStringLiteral("甲")});
    open();
    QApplication::setActiveWindow(window.get());
    press("SbEdit");
    auto* memo = child<QPlainTextEdit>("DBMemo1");
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("摘要"));
    EXPECT_FALSE(memo->hasFocus());
}

TEST_F(FileManagerWindowTest, DetailedSearchPutsItsResultIntoTheList) {
    const QString thisMonth = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    doctest::add({.name = QStringLiteral("本月甲"), .date1 = thisMonth});
    doctest::add(
        {.name = QStringLiteral("本月乙"), .kind = QStringLiteral("合約"), .date1 = thisMonth});
    doctest::add({.name = QStringLiteral("舊合約"),
                  .kind = QStringLiteral("合約"),
                  .date1 = QStringLiteral("2001-01-01 00:00:00")});
    open();
    QString caption;
    whenModalShows([&](QWidget* modal) {
        caption = modal->windowTitle();
        modal->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("合約"));
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                          Qt::LeftButton);
    });
    press("SbSearch");
    EXPECT_EQ(caption, QStringLiteral("檔案查詢"));
    EXPECT_EQ(listedNames(), QStringList{QStringLiteral("本月乙")});
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("合約"));
}

TEST_F(FileManagerWindowTest, HiddenMenuItemOpensTheRegisterModally) {
    TFrmMain main;
    QString name;
    bool modal = false;
    whenModalShows([&](QWidget* window) {
        name = window->objectName();
        modal = window->isModal();
    });
    main.findChild<QAction*>(QStringLiteral("Office1"))->trigger();
    EXPECT_EQ(name, QStringLiteral("FrmFileMgr"));
    EXPECT_TRUE(modal);
}

} // namespace
