#include "admin/keypad_window.h"
#include "admin/login_window.h"
#include "admin/user_combo_box.h"
#include "db/connection.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kPasswordEmpty = QStringLiteral("用戶密碼不能為空!");
const QString kLoginFailed = QStringLiteral("輸入的用戶名或密碼錯誤﹐請重新輸入!");
const QString kUserIdEmpty = QStringLiteral("收銀員編號不能為空!");

// A fresh database as the working directory, and a shown sign-in window.
class LoginTest : public testing::Test {
protected:
    void SetUp() override {
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(database.folder());
        LoginSession::current() = LoginSession{};
    }
    void TearDown() override {
        TFrmInputString::closeIfOpen();
        QDir::setCurrent(m_previousDir);
    }

    void addUser(const QString& id, const QString& name, const QString& password) {
        db::run(QStringLiteral("insert into Users(UserID, UserName, UserPwd) values(:i, :n, :p)"),
                {{QStringLiteral("i"), id},
                 {QStringLiteral("n"), name},
                 {QStringLiteral("p"), password}});
    }
    int adminRows() {
        QSqlQuery query =
            db::run(QStringLiteral("select count(*) from Users where UserID='Admin'"));
        query.next();
        return query.value(0).toInt();
    }
    template <class T> T* child(const char* name) {
        T* widget = login->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    UserComboBox* user() { return child<UserComboBox>("DBComboBoxEh2"); }
    QLineEdit* password() { return child<QLineEdit>("Edit2"); }
    void showLogin() {
        login = std::make_unique<TFrmLogin>();
        login->show();
    }
    // Types the entries and presses OK as a user would.
    void signIn(const QString& id, const QString& pwd) {
        user()->setEditText(id);
        password()->setText(pwd);
        QTest::mouseClick(child<QPushButton>("BtnOK"), Qt::LeftButton);
    }
    bool signedIn() const { return login->result() == QDialog::Accepted && !login->isVisible(); }

    TempDatabase database;
    ScriptedPrompt prompt;
    std::unique_ptr<TFrmLogin> login;

private:
    QString m_previousDir;
};

TEST_F(LoginTest, FirstAdminSignInCreatesTheAdministratorOnce) {
    showLogin();
    signIn(QStringLiteral("Admin"), QString());
    EXPECT_TRUE(signedIn());
    EXPECT_EQ(adminRows(), 1);
    QSqlQuery row = db::run(QStringLiteral("select UserName, UserPwd from Users"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.value(0).toString(), QStringLiteral("Admin"));
    EXPECT_EQ(row.value(1).toString(), QString());
    EXPECT_EQ(LoginSession::current().UserID, QStringLiteral("Admin"));

    // Blanks around Admin pass the empty-password check, but no row has that id.
    showLogin();
    prompt.expect(kLoginFailed);
    signIn(QStringLiteral(" Admin "), QString());
    EXPECT_EQ(adminRows(), 1);
    EXPECT_FALSE(signedIn());
}

TEST_F(LoginTest, RefusalsShowTheirMessageAndKeepTheWindowOpen) {
    addUser(QStringLiteral("A01"), QStringLiteral("Wang"), QStringLiteral("secret"));
    struct Case {
        QString id;
        QString pwd;
        QString message;
        const char* focus;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("x"), kUserIdEmpty, "DBComboBoxEh2"},
        {QStringLiteral("A01"), QString(), kPasswordEmpty, "Edit2"},
        {QStringLiteral("admin"), QString(), kPasswordEmpty, "Edit2"},
        {QStringLiteral("admin"), QStringLiteral("x"), kLoginFailed, "DBComboBoxEh2"},
        {QStringLiteral("A01"), QStringLiteral("wrong"), kLoginFailed, "DBComboBoxEh2"},
        {QStringLiteral("B99"), QStringLiteral("secret"), kLoginFailed, "DBComboBoxEh2"},
        {QStringLiteral("A01"), QStringLiteral("secret12345678901"), kLoginFailed, "DBComboBoxEh2"},
    };
    showLogin();
    for (const Case& c : cases) {
        prompt.expect(c.message);
        signIn(c.id, c.pwd);
        EXPECT_TRUE(login->isVisible()) << c.id.toStdString();
        EXPECT_EQ(login->focusWidget()->objectName(), QLatin1String(c.focus)) << c.id.toStdString();
        EXPECT_EQ(user()->currentText(), c.id);
        EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("提示"));
    }
    EXPECT_TRUE(LoginSession::current().UserID.isEmpty());
}

TEST_F(LoginTest, PasswordsMatchWithoutRegardToCase) {
    addUser(QStringLiteral("A01"), QStringLiteral("Wang"), QStringLiteral("Secret"));
    showLogin();
    signIn(QStringLiteral("a01"), QStringLiteral("sECRET"));
    EXPECT_TRUE(signedIn());
    EXPECT_EQ(LoginSession::current().UserID, QStringLiteral("a01"));
}

TEST_F(LoginTest, SessionTakesTheSmsAccountFromTheSettings) {
    addUser(QStringLiteral("A01"), QStringLiteral("Wang"), QStringLiteral("1"));
    showLogin();
    signIn(QStringLiteral("A01"), QStringLiteral("1"));
    ASSERT_TRUE(signedIn());
    const LoginSession& empty = LoginSession::current();
    EXPECT_TRUE(empty.SystemID.isEmpty() && empty.SuppID.isEmpty() && empty.CustID.isEmpty() &&
                empty.CustName.isEmpty() && empty.CustPwd.isEmpty());
    EXPECT_TRUE(empty.AppPath.endsWith('/'));

    db::run(QStringLiteral("insert into SystemSet(SystemID, SuppID, CustID, CustName, CustPwd) "
                           "values('S', 'P', 'C', '名', 'W')"));
    showLogin();
    signIn(QStringLiteral("A01"), QStringLiteral("1"));
    const LoginSession& filled = LoginSession::current();
    EXPECT_EQ(filled.SystemID, QStringLiteral("S"));
    EXPECT_EQ(filled.SuppID, QStringLiteral("P"));
    EXPECT_EQ(filled.CustID, QStringLiteral("C"));
    EXPECT_EQ(filled.CustName, QStringLiteral("名"));
    EXPECT_EQ(filled.CustPwd, QStringLiteral("W"));
}

TEST_F(LoginTest, LastUserIsOfferedNextTimeWithFocusOnThePassword) {
    addUser(QStringLiteral("A01"), QStringLiteral("Wang"), QStringLiteral("1"));
    showLogin();
    EXPECT_EQ(login->focusWidget(), user());
    signIn(QStringLiteral("A01"), QStringLiteral("1"));
    ASSERT_TRUE(signedIn());
    QFile file(QStringLiteral("ServerIP.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("A01\n"));

    showLogin();
    EXPECT_EQ(user()->currentText(), QStringLiteral("A01"));
    EXPECT_TRUE(password()->text().isEmpty());
    EXPECT_EQ(login->focusWidget(), password());
}

TEST_F(LoginTest, UserListLeavesOutTheAdministrator) {
    addUser(QStringLiteral("Admin"), QStringLiteral("Admin"), QString());
    addUser(QStringLiteral("A01"), QStringLiteral("Wang"), QStringLiteral("1"));
    db::run(QStringLiteral("insert into Users(UserID) values('B02')"));
    QStringList users = TFrmLogin::userList();
    users.sort();
    EXPECT_EQ(users, (QStringList{QString(), QStringLiteral("A01.Wang")}));
}

TEST_F(LoginTest, PickingAUserKeepsOnlyTheIdBeforeTheDot) {
    addUser(QStringLiteral("A01"), QStringLiteral("Wang"), QStringLiteral("1"));
    showLogin();
    user()->showPopup();
    ASSERT_EQ(user()->count(), 1);
    user()->hidePopup();
    user()->setCurrentIndex(0);
    EXPECT_EQ(user()->currentText(), QStringLiteral("A01"));
    user()->setEditText(QString());
    QTest::keyClicks(user()->lineEdit(), QStringLiteral("B2.x"));
    EXPECT_EQ(user()->currentText(), QStringLiteral("B2x"));
}

TEST_F(LoginTest, MissingDatabaseIsReportedAndTheWindowStaysOpen) {
    db::setDatabasePath(database.folder() + QStringLiteral("/missing.sqlite"));
    showLogin();
    prompt.expect(QStringLiteral("missing.sqlite"), true, true);
    signIn(QStringLiteral("Admin"), QString());
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Error);
    EXPECT_FALSE(QFile::exists(database.folder() + QStringLiteral("/missing.sqlite")));
}

TEST_F(LoginTest, EscCancelsTheSignIn) {
    showLogin();
    QTest::keyClick(user()->lineEdit(), Qt::Key_Escape);
    EXPECT_TRUE(LoginSession::current().Cancelled);
    EXPECT_FALSE(login->isVisible());
}

TEST_F(LoginTest, KeypadTypesDigitsAndSignsIn) {
    addUser(QStringLiteral("A01"), QStringLiteral("Wang"), QStringLiteral("123"));
    showLogin();
    user()->setEditText(QStringLiteral("A01"));
    QTest::mouseClick(child<QPushButton>("BitBtn2"), Qt::LeftButton);
    TFrmInputString* keypad = TFrmInputString::find();
    ASSERT_NE(keypad, nullptr);
    EXPECT_TRUE(keypad->isVisible());
    auto press = [&](const char* key) {
        QTest::mouseClick(keypad->findChild<QPushButton*>(QLatin1String(key)), Qt::LeftButton);
    };
    press("Btn9");
    press("BtnClear");
    EXPECT_TRUE(password()->text().isEmpty());

    // A wrong password: the refusal shows and the keypad stays open.
    press("Btn4");
    prompt.expect(kLoginFailed);
    press("BitOK");
    EXPECT_TRUE(keypad->isVisible());
    EXPECT_EQ(password()->text(), QStringLiteral("4"));

    press("BtnClear");
    press("Btn1");
    press("Btn2");
    press("Btn3");
    EXPECT_EQ(password()->text(), QStringLiteral("123"));
    press("BitOK");
    EXPECT_TRUE(signedIn());
    EXPECT_FALSE(keypad->isVisible());
}

TEST_F(LoginTest, KeypadAppendsPastTheTypingLimit) {
    showLogin();
    password()->setCursorPosition(0);
    QTest::mouseClick(child<QPushButton>("BitBtn2"), Qt::LeftButton);
    TFrmInputString* keypad = TFrmInputString::find();
    ASSERT_NE(keypad, nullptr);
    for (int i = 0; i < 20; ++i)
        QTest::mouseClick(keypad->findChild<QPushButton*>(QStringLiteral("Btn7")), Qt::LeftButton);
    EXPECT_EQ(password()->text(), QString(20, QLatin1Char('7')));
    // Typing by hand stops at 18 bytes.
    password()->clear();
    QTest::keyClicks(password(), QString(20, QLatin1Char('5')));
    EXPECT_EQ(password()->text().size(), 18);
}

TEST_F(LoginTest, TypedUserIdIsNotCompletedFromTheList) {
    addUser(QStringLiteral("A10"), QStringLiteral("Ten"), QStringLiteral("10"));
    addUser(QStringLiteral("A1"), QStringLiteral("One"), QStringLiteral("1"));
    showLogin();
    login->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(login.get()));
    user()->showPopup(); // fills the list, as the drop-down button does
    user()->hidePopup();
    ASSERT_EQ(user()->count(), 2);
    user()->setFocus();
    QTest::keyClicks(user()->lineEdit(), QStringLiteral("A1"));
    EXPECT_EQ(user()->currentText(), QStringLiteral("A1"));
    password()->setText(QStringLiteral("1"));
    QTest::mouseClick(child<QPushButton>("BtnOK"), Qt::LeftButton);
    EXPECT_TRUE(signedIn());
    EXPECT_EQ(LoginSession::current().UserID, QStringLiteral("A1"));
}

} // namespace

namespace {

// What a button looks like on screen.
QImage look(QWidget* widget) {
    return widget->grab().toImage();
}

// A keyboard user sees where the focus is: the focused default button and a
// focused check box look different from the same control without the focus.
TEST_F(LoginTest, FocusedButtonAndCheckBoxShowAFocusFrame) {
    showLogin();
    login->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(login.get()));
    auto* ok = child<QPushButton>("BtnOK");
    password()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(ok->isDefault());
    const QImage without = look(ok);
    ok->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(ok->hasFocus());
    EXPECT_NE(look(ok), without);

    QCheckBox box(QStringLiteral("有效會員"), login.get());
    box.show();
    password()->setFocus(Qt::TabFocusReason);
    const QImage boxWithout = look(&box);
    box.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(box.hasFocus());
    EXPECT_NE(look(&box), boxWithout);
}

} // namespace
