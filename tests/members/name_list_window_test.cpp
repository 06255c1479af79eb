#include "db/connection.h"
#include "db/dataset.h"
#include "members/name_list_window.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
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

} // namespace
