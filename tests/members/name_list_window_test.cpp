#include "app/main_window.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/name_list_window.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <class Window> class NameListTest : public testing::Test {
protected:
    void open() {
        window = std::make_unique<Window>();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    template <class T> T* child(const char* name) {
        T* widget = window->template findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void press(const char* name) {
        QPushButton* button = child<QPushButton>(name);
        ASSERT_TRUE(button->isEnabled()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(const QString& text) {
        auto* editor = child<QLineEdit>("DBEdit1");
        editor->clear();
        typeText(editor, text);
    }
    db::Dataset* query() { return child<db::Dataset>("ADOQuery1"); }

    TempDatabase database;
    ScriptedPrompt prompt;
    std::unique_ptr<Window> window;
};

QStringList salutations() {
    QSqlQuery query = db::run(QStringLiteral("select Name from CWNames order by Id"));
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

using SalutationListTest = NameListTest<TFrmName>;
using CategoryListTest = NameListTest<TFrmKind>;

TEST_F(SalutationListTest, SaveStoresAndStartsTheNextRow) {
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("稱謂建檔"));
    press("SbAdd");
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("DBEdit1"));
    type(QStringLiteral("先生"));
    press("SbSave");
    EXPECT_EQ(salutations(), QStringList{"先生"});
    EXPECT_EQ(query()->state(), db::Dataset::State::Insert);
    EXPECT_TRUE(child<QLineEdit>("DBEdit1")->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("DBEdit1"));

    prompt.expect(QStringLiteral("稱謂名稱不能為空"));
    press("SbSave");
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Warning);
    EXPECT_EQ(query()->state(), db::Dataset::State::Insert);

    prompt.expect(QStringLiteral("要取消嗎﹖"));
    press("SbCancel");
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("會員管理"));
    EXPECT_EQ(query()->state(), db::Dataset::State::Browse);
    EXPECT_TRUE(child<QWidget>("SbExit")->isEnabled());
    EXPECT_EQ(query()->rowCount(), 1);
}

TEST_F(SalutationListTest, BlankNameIsRefusedAndSpacesAroundAreKept) {
    open();
    press("SbAdd");
    type(QStringLiteral("   "));
    prompt.expect(QStringLiteral("稱謂名稱不能為空"));
    press("SbSave");
    type(QStringLiteral(" 小姐 "));
    press("SbSave");
    EXPECT_EQ(salutations(), QStringList{" 小姐 "});
}

TEST_F(SalutationListTest, TheSameNameCanBeStoredTwice) {
    open();
    press("SbAdd");
    type(QStringLiteral("先生"));
    press("SbSave");
    type(QStringLiteral("先生"));
    press("SbSave");
    EXPECT_EQ(salutations(), (QStringList{"先生", "先生"}));
}

TEST_F(SalutationListTest, DeleteRemovesWithoutAsking) {
    db::run(QStringLiteral("insert into CWNames(Name) values('甲'), ('乙')"));
    open();
    press("SbDel");
    EXPECT_EQ(salutations(), QStringList{"乙"});
}

TEST_F(SalutationListTest, EditingLocksMovementAndClosing) {
    db::run(QStringLiteral("insert into CWNames(Name) values('甲'), ('乙')"));
    open();
    press("SbEdit");
    for (const char* name :
         {"SbFirst", "SbPrevious", "SbNext", "SbLast", "SbAdd", "SbEdit", "SbDel", "SbExit"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    prompt.expect(QStringLiteral("請保存後再離開"));
    window->close();
    EXPECT_TRUE(window->isVisible());
    prompt.expect(QStringLiteral("要取消嗎﹖"));
    press("SbCancel");
    press("SbNext");
    EXPECT_EQ(query()->rowNumber(), 2);
    child<QWidget>("DBGridEh1")->setFocus();
    QTest::keyClick(child<QWidget>("DBGridEh1"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SalutationListTest, GridHidesTheIdentity) {
    open();
    auto* grid = child<QTableView>("DBGridEh1");
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("稱謂名稱"));
    EXPECT_EQ(grid->columnWidth(1), 220);
}

TEST_F(CategoryListTest, TwinDiffersInTableTitleAndMessage) {
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("類別建檔"));
    auto* grid = child<QTableView>("DBGridEh1");
    ASSERT_EQ(grid->model()->columnCount(), 1);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("類別名稱"));
    EXPECT_EQ(grid->columnWidth(0), 219);
    press("SbAdd");
    prompt.expect(QStringLiteral("類別名稱不能為空"));
    press("SbSave");
    type(QStringLiteral("一二三四五六七八九"));
    EXPECT_EQ(child<QLineEdit>("DBEdit1")->text(), QStringLiteral("一二三四五六七八"));
    press("SbSave");
    QSqlQuery stored = db::run(QStringLiteral("select KindName from Kinds"));
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.value(0).toString(), QStringLiteral("一二三四五六七八"));
}

// 類別建檔 as users open it, from the main window's menu.
class CategoryMenuTest : public testing::Test {
protected:
    QMdiSubWindow* openFromMenu() {
        main.resize(1600, 1000);
        main.show();
        QApplication::setActiveWindow(&main);
        auto* item = main.findChild<QAction*>(QStringLiteral("N8"));
        EXPECT_NE(item, nullptr);
        if (item != nullptr)
            item->trigger();
        return main.mdiArea()->activeSubWindow();
    }
    static QStringList categories() {
        QSqlQuery query = db::run(QStringLiteral("select KindName from Kinds"));
        QStringList names;
        while (query.next())
            names << query.value(0).toString();
        names.sort();
        return names;
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain main;
};

TEST_F(CategoryMenuTest, OpensAtTheSizeOfItsContentNotTheWholeArea) {
    QMdiSubWindow* frame = openFromMenu();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_LT(frame->width(), main.mdiArea()->viewport()->width() / 2);
    EXPECT_LT(frame->height(), main.mdiArea()->viewport()->height() / 2);
    // Nothing of it is cut off.
    EXPECT_GE(frame->widget()->width(), frame->widget()->minimumSizeHint().width());
    EXPECT_GE(frame->widget()->height(), frame->widget()->minimumSizeHint().height());
    auto* grid = frame->widget()->findChild<QTableView*>(QStringLiteral("DBGridEh1"));
    ASSERT_NE(grid, nullptr);
    // The name column is not cut off.
    EXPECT_GE(grid->viewport()->width(), grid->columnWidth(0));
}

TEST_F(CategoryMenuTest, AddsTheCategoriesMembersUseThatTheListLacksOnce) {
    db::run(QStringLiteral("insert into Kinds(KindName) values('一般')"));
    db::run(QStringLiteral("insert into Cust(id, name, Kind) values('1', '甲', '金卡'), "
                           "('2', '乙', '一般'), ('3', '丙', 'VIP'), ('4', '丁', '金卡'), "
                           "('5', '戊', ''), ('6', '己', null)"));
    QMdiSubWindow* frame = openFromMenu();
    ASSERT_NE(frame, nullptr);
    auto* button = frame->widget()->findChild<QPushButton*>(QStringLiteral("BtnAddMissing"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("加入會員已使用的類別"));
    ASSERT_TRUE(button->isEnabled());
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(categories(), (QStringList{"VIP", "一般", "金卡"}));
    auto* grid = frame->widget()->findChild<QTableView*>(QStringLiteral("DBGridEh1"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_FALSE(button->isEnabled());

    // Deleting a category members still use offers the button again.
    db::run(QStringLiteral("insert into Cust(id, name, Kind) values('7', '庚', '白金')"));
    auto* del = frame->widget()->findChild<QPushButton*>(QStringLiteral("SbDel"));
    ASSERT_NE(del, nullptr);
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(categories().size(), 2);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(categories(), (QStringList{"VIP", "一般", "白金", "金卡"}));
}

TEST_F(CategoryMenuTest, SalutationsOfferNoSuchButton) {
    main.show();
    main.findChild<QAction*>(QStringLiteral("N9"))->trigger();
    QMdiSubWindow* frame = main.mdiArea()->activeSubWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->widget()->objectName(), QStringLiteral("FrmName"));
    EXPECT_EQ(frame->widget()->findChild<QPushButton*>(QStringLiteral("BtnAddMissing")), nullptr);
}

} // namespace
