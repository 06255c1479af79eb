#include "admin/passwords.h"
#include "admin/users_window.h"
#include "app/main_window.h"
#include "db/connection.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class UsersWindowTest : public testing::Test {
protected:
    void SetUp() override {
        db::run(
            QStringLiteral("insert into Users(UserID, UserName, UserPwd) values "
                           "('Admin', 'Admin', ''), ('A01', 'Wang', '1'), ('A02', 'Lee', '2')"));
    }
    void open() {
        window = std::make_unique<TFrmUsers>();
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
    QStringList listedIds() {
        QAbstractItemModel* model = child<QTableView>("DBGridEh1")->model();
        QStringList ids;
        for (int row = 0; row < model->rowCount(); ++row)
            ids << model->index(row, 0).data().toString();
        return ids;
    }
    QStringList storedIds() {
        QSqlQuery query = db::run(QStringLiteral("select UserID from Users order by UserID"));
        QStringList ids;
        while (query.next())
            ids << query.value(0).toString();
        return ids;
    }
    void type(const char* editor, const QString& text) {
        QLineEdit* edit = child<QLineEdit>(editor);
        edit->clear();
        typeText(edit, text);
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    std::unique_ptr<TFrmUsers> window;
};

TEST_F(UsersWindowTest, ListsEveryUserButTheAdministrator) {
    open();
    EXPECT_EQ(listedIds(), (QStringList{QStringLiteral("A01"), QStringLiteral("A02")}));
    QAbstractItemModel* model = child<QTableView>("DBGridEh1")->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("用戶編號"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓名"));
}

TEST_F(UsersWindowTest, ButtonsAndEditorsFollowTheEditingState) {
    open();
    auto enabled = [&](const char* name) { return child<QWidget>(name)->isEnabled(); };
    const char* browsing[] = {"SbAdd", "SbEdit", "SbDel", "SbExit"};
    const char* editing[] = {"SbSave",  "SbCancel",      "DBEdit1",
                             "DBEdit3", "DBComboBoxEh1", "DBEdit8"};
    for (bool edit : {false, true}) {
        if (edit)
            press("SbEdit");
        for (const char* name : browsing)
            EXPECT_EQ(enabled(name), !edit) << name;
        for (const char* name : editing)
            EXPECT_EQ(enabled(name), edit) << name;
    }
}

TEST_F(UsersWindowTest, AddedUserIsStoredAndAnAdminRowVanishesAtTheNextOpening) {
    open();
    press("SbAdd");
    type("DBEdit1", QStringLiteral("B01"));
    type("DBEdit2", QStringLiteral("陳大文"));
    type("DBEdit3", QStringLiteral("pw"));
    child<QComboBox>("DBComboBoxEh1")->setCurrentIndex(1);
    press("SbSave");
    QSqlQuery row =
        db::run(QStringLiteral("select UserName, UserPwd, Sex from Users where UserID='B01'"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("陳大文"));
    // Stored as its hash, never as typed.
    EXPECT_TRUE(passwords::isHash(row.value(1).toString()));
    EXPECT_TRUE(passwords::matches(row.value(1).toString(), QStringLiteral("PW")));
    EXPECT_EQ(row.value(2).toString(), QStringLiteral("女"));

    press("SbAdd");
    type("DBEdit1", QStringLiteral("Admin"));
    press("SbSave");
    EXPECT_TRUE(listedIds().contains(QStringLiteral("Admin")));
    open();
    EXPECT_FALSE(listedIds().contains(QStringLiteral("Admin")));
    EXPECT_EQ(storedIds().count(QStringLiteral("Admin")), 2);
}

TEST_F(UsersWindowTest, TypingStopsAtTheColumnsByteLimit) {
    open();
    press("SbAdd");
    type("DBEdit2", QStringLiteral("一二三四五六"));
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("一二三四五"));
    type("DBEdit1", QStringLiteral("123456789"));
    EXPECT_EQ(child<QLineEdit>("DBEdit1")->text(), QStringLiteral("12345678"));
}

TEST_F(UsersWindowTest, CancelDiscardsWithoutAQuestion) {
    open();
    press("SbEdit");
    type("DBEdit2", QStringLiteral("Chang"));
    press("SbCancel");
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("Wang"));
    QSqlQuery row = db::run(QStringLiteral("select UserName from Users where UserID='A01'"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("Wang"));
}

TEST_F(UsersWindowTest, DeleteRemovesTheCurrentRowAndAnEmptyListReportsAnError) {
    open();
    child<QTableView>("DBGridEh1")->selectRow(1);
    press("SbDel");
    EXPECT_EQ(storedIds(), (QStringList{QStringLiteral("A01"), QStringLiteral("Admin")}));
    press("SbDel");
    EXPECT_EQ(storedIds(), QStringList{QStringLiteral("Admin")});
    EXPECT_TRUE(listedIds().isEmpty());

    prompt.expect(QString(), true, true); // the database layer's own text
    press("SbDel");
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Error);
    EXPECT_EQ(storedIds(), QStringList{QStringLiteral("Admin")});
}

TEST_F(UsersWindowTest, DatabaseRefusalKeepsTheRowInEditing) {
    open();
    press("SbEdit");
    // The editors cap typing, so put an over-long text in the way a paste would.
    child<QLineEdit>("DBEdit8")->setText(QString(51, QLatin1Char('x')));
    prompt.expect(QStringLiteral("CHECK constraint failed"), true, true);
    press("SbSave");
    EXPECT_TRUE(child<QPushButton>("SbSave")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("DBEdit8")->text().size(), 51);
}

// While editing Esc presses 取消 and the typed change goes; otherwise it
// closes the window.
TEST_F(UsersWindowTest, EscCancelsWhileEditingAndClosesOtherwise) {
    open();
    QApplication::setActiveWindow(window.get());
    press("SbEdit");
    child<QLineEdit>("DBEdit2")->setFocus();
    type("DBEdit2", QStringLiteral("Chen"));
    QTest::keyClick(child<QLineEdit>("DBEdit2"), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(child<QPushButton>("SbSave")->isEnabled()) << "editing cancelled";
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("Wang"));
    child<QTableView>("DBGridEh1")->setFocus();
    QTest::keyClick(child<QTableView>("DBGridEh1"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// With no user listed, 修改 says so and starts nothing; 新增 still works.
TEST_F(UsersWindowTest, EditOnAnEmptyListSaysNoUserIsSelected) {
    db::run(QStringLiteral("delete from Users where UserID <> 'Admin'"));
    open();
    ASSERT_TRUE(listedIds().isEmpty());
    prompt.expect(QStringLiteral("沒有選中的用戶﹐無法修改"));
    press("SbEdit");
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Warning);
    EXPECT_FALSE(child<QPushButton>("SbSave")->isEnabled());
    EXPECT_TRUE(listedIds().isEmpty());
    EXPECT_EQ(storedIds(), QStringList{QStringLiteral("Admin")});
    press("SbAdd");
    EXPECT_TRUE(child<QPushButton>("SbSave")->isEnabled());
    press("SbCancel");
}

TEST_F(UsersWindowTest, PasswordBoxNeverShowsTheStoredPasswordAndEmptyKeepsIt) {
    open();
    auto* password = child<QLineEdit>("DBEdit3");
    EXPECT_TRUE(password->text().isEmpty()); // A01's password is set
    EXPECT_FALSE(password->placeholderText().isEmpty());
    press("SbEdit");
    EXPECT_TRUE(password->text().isEmpty());
    type("DBEdit2", QStringLiteral("Wang2"));
    press("SbSave");
    QSqlQuery kept = db::run(QStringLiteral("select UserPwd from Users where UserID='A01'"));
    ASSERT_TRUE(kept.next());
    EXPECT_EQ(kept.value(0).toString(), QStringLiteral("1"));

    press("SbEdit");
    type("DBEdit3", QStringLiteral("new"));
    press("SbSave");
    EXPECT_TRUE(password->text().isEmpty());
    QSqlQuery changed = db::run(QStringLiteral("select UserPwd from Users where UserID='A01'"));
    ASSERT_TRUE(changed.next());
    EXPECT_TRUE(passwords::matches(changed.value(0).toString(), QStringLiteral("NEW")));
    EXPECT_TRUE(passwords::isHash(changed.value(0).toString()));
}

// Reached through the main window's menu, as users do.
TEST(UsersWindowFromTheMenu, ShowsItsCaptionAndAddStartsAtTheFirstEditor) {
    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain main;
    main.show();
    QString caption;
    QString focused;
    bool editing = false;
    whenModalShows([&](QWidget* users) {
        caption = users->windowTitle();
        QApplication::setActiveWindow(users);
        QTest::mouseClick(users->findChild<QPushButton*>(QStringLiteral("SbAdd")), Qt::LeftButton);
        editing = users->findChild<QWidget*>(QStringLiteral("SbSave"))->isEnabled();
        if (QApplication::focusWidget() != nullptr)
            focused = QApplication::focusWidget()->objectName();
    });
    main.findChild<QAction*>(QStringLiteral("N12"))->trigger();
    EXPECT_EQ(caption, QStringLiteral("用戶資料管理"));
    EXPECT_TRUE(editing);
    EXPECT_EQ(focused, QStringLiteral("DBEdit1"));
}

} // namespace
