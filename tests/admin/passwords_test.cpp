#include "admin/login_session.h"
#include "admin/login_window.h"
#include "admin/passwords.h"
#include "app/main_window.h"
#include "db/connection.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kPasswordEmpty = QStringLiteral("用戶密碼不能為空!");
const QString kLoginFailed = QStringLiteral("輸入的用戶名或密碼錯誤﹐請重新輸入!");

TEST(PasswordHash, SaltedArgon2idOfThePasswordFoldedToLowerCase) {
    const QString first = passwords::hash(QStringLiteral("Secret"));
    const QString second = passwords::hash(QStringLiteral("Secret"));
    EXPECT_TRUE(first.startsWith(QLatin1String("$argon2id$"))) << first.toStdString();
    EXPECT_TRUE(passwords::isHash(first));
    EXPECT_NE(first, second); // each has its own salt
    struct Case {
        const char* typed;
        bool matches;
    };
    const Case cases[] = {{"Secret", true},   {"secret", true}, {"SECRET", true},
                          {"Secret ", false}, {"", false},      {"Secre", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(passwords::matches(first, QString::fromUtf8(c.typed)), c.matches) << c.typed;
        // An older plain password matches the same way.
        EXPECT_EQ(passwords::matches(QStringLiteral("Secret"), QString::fromUtf8(c.typed)),
                  c.matches)
            << c.typed;
    }
    EXPECT_FALSE(passwords::isHash(QStringLiteral("Secret")));
    EXPECT_TRUE(passwords::matches(QString(), QString()));
}

QString storedPassword(const QString& user) {
    QSqlQuery row = db::run(QStringLiteral("select UserPwd from Users where UserID=:u"),
                            {{QStringLiteral("u"), user}});
    return row.next() ? row.value(0).toString() : QStringLiteral("<no row>");
}

void addUser(const QString& id, const QString& password) {
    db::run(QStringLiteral("insert into Users(UserID, UserName, UserPwd) values(:i, :i, :p)"),
            {{QStringLiteral("i"), id}, {QStringLiteral("p"), password}});
}

// Signs in through the sign-in window as a user would; true when it closed
// signed in.
bool signInWindow(ScriptedPrompt& prompt, const QString& user, const QString& password,
                  const QString& refusal = {}) {
    LoginSession::current() = LoginSession{};
    TFrmLogin login;
    login.show();
    login.findChild<QComboBox*>(QStringLiteral("DBComboBoxEh2"))->setEditText(user);
    login.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(password);
    if (!refusal.isEmpty())
        prompt.expect(refusal);
    QTest::mouseClick(login.findChild<QPushButton*>(QStringLiteral("BtnOK")), Qt::LeftButton);
    return login.result() == QDialog::Accepted && !login.isVisible();
}

class PasswordSignInTest : public testing::Test {
protected:
    void SetUp() override {
        m_previous = QDir::currentPath();
        QDir::setCurrent(database.folder()); // the last-user file goes there
    }
    void TearDown() override { QDir::setCurrent(m_previous); }

    TempDatabase database;
    ScriptedPrompt prompt;

private:
    QString m_previous;
};

TEST_F(PasswordSignInTest, PlainPasswordIsUpgradedAtTheNextSignIn) {
    addUser(QStringLiteral("A01"), QStringLiteral("Secret"));
    EXPECT_FALSE(
        signInWindow(prompt, QStringLiteral("A01"), QStringLiteral("wrong"), kLoginFailed));
    EXPECT_EQ(storedPassword(QStringLiteral("A01")), QStringLiteral("Secret")); // not yet
    ASSERT_TRUE(signInWindow(prompt, QStringLiteral("a01"), QStringLiteral("SECRET")));
    const QString stored = storedPassword(QStringLiteral("A01"));
    EXPECT_TRUE(passwords::isHash(stored)) << stored.toStdString();
    EXPECT_FALSE(stored.contains(QLatin1String("ecret")));
    EXPECT_TRUE(signInWindow(prompt, QStringLiteral("A01"), QStringLiteral("secret")));
    EXPECT_EQ(storedPassword(QStringLiteral("A01")), stored); // upgraded once
    EXPECT_FALSE(
        signInWindow(prompt, QStringLiteral("A01"), QStringLiteral("Secre"), kLoginFailed));
}

// Through the main window's 修改密碼: Admin's first password ends the
// empty-password sign-in.
TEST_F(PasswordSignInTest, AdminWithAPasswordNoLongerSignsInWithoutOne) {
    ASSERT_TRUE(signInWindow(prompt, QStringLiteral("Admin"), QString())); // the bootstrap
    TFrmMain main;
    main.showSignedInUser();
    EXPECT_EQ(main.findChild<QWidget*>(QStringLiteral("StatusUser"))->property("text").toString(),
              QStringLiteral("登入用戶﹕Admin"));
    QString caption;
    whenModalShows([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        auto edit = [&](const char* name) {
            return dialog->findChild<QLineEdit*>(QLatin1String(name));
        };
        edit("Edit2")->setText(QStringLiteral("NewPass"));
        edit("Edit3")->setText(QStringLiteral("NewPas"));
        prompt.expect(QStringLiteral("兩次輸入的新密碼不一致﹐請重新輸入!"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BtnOK")), Qt::LeftButton);
        edit("Edit3")->setText(QStringLiteral("NewPass"));
        edit("Edit1")->setText(QStringLiteral("guess"));
        prompt.expect(QStringLiteral("目前密碼輸入錯誤﹐請重新輸入!"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BtnOK")), Qt::LeftButton);
        edit("Edit1")->clear(); // Admin had none
        prompt.expect(QStringLiteral("密碼已修改!"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BtnOK")), Qt::LeftButton);
    });
    main.findChild<QAction*>(QStringLiteral("N17"))->trigger();
    EXPECT_EQ(caption, QStringLiteral("修改密碼"));
    EXPECT_EQ(prompt.pending(), 0);
    EXPECT_TRUE(passwords::isHash(storedPassword(QStringLiteral("Admin"))));

    EXPECT_FALSE(signInWindow(prompt, QStringLiteral("Admin"), QString(), kPasswordEmpty));
    EXPECT_TRUE(signInWindow(prompt, QStringLiteral("Admin"), QStringLiteral("newpass")));
}

// The second process of the next test: signs in through the window on the
// register its parent names.
TEST(SecondProcess, SignsInOnTheNamedRegister) {
    const QString path = qEnvironmentVariable("LUNMARK_TEST_REGISTER");
    if (path.isEmpty())
        GTEST_SKIP() << "run by OlderRegister.SignInInASecondProcessWidensAndUpgrades";
    QDir::setCurrent(QFileInfo(path).absolutePath());
    db::setDatabasePath(path);
    ScriptedPrompt prompt;
    EXPECT_TRUE(signInWindow(prompt, QStringLiteral("A01"), QStringLiteral("Secret")));
    db::closeConnection();
}

// A register made before hashes limits UserPwd to 16 characters. Another
// running program signs in on it while this one holds its connection open.
TEST(OlderRegister, SignInInASecondProcessWidensAndUpgrades) {
    TempDatabase database(db::Engine::Sqlite); // registers from before were SQLite files
    db::run(QStringLiteral("drop table Users"));
    QString users = db::schemaSql();
    users = users.mid(users.indexOf(QLatin1String("CREATE TABLE Users")));
    users = users.left(users.indexOf(QLatin1String(");")) + 2);
    users.replace(QStringLiteral("length(UserPwd) <= 128"),
                  QStringLiteral("length(UserPwd) <= 16"));
    db::run(users);
    addUser(QStringLiteral("A01"), QStringLiteral("Secret"));
    addUser(QStringLiteral("B02"), QStringLiteral("other"));
    EXPECT_ANY_THROW(db::run(QStringLiteral("update Users set UserPwd=:p"),
                             {{QStringLiteral("p"), passwords::hash(QStringLiteral("x"))}}));

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUNMARK_TEST_REGISTER"), database.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=SecondProcess.SignsInOnTheNamedRegister")});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardOutput().toStdString();

    // This program's connection sees the widened table, the hash and both rows.
    const QString stored = storedPassword(QStringLiteral("A01"));
    EXPECT_TRUE(passwords::isHash(stored)) << stored.toStdString();
    EXPECT_EQ(storedPassword(QStringLiteral("B02")), QStringLiteral("other"));
    EXPECT_TRUE(passwords::checkSignIn(QStringLiteral("A01"), QStringLiteral("SECRET")));
    EXPECT_TRUE(passwords::checkSignIn(QStringLiteral("B02"), QStringLiteral("Other")));
    EXPECT_TRUE(passwords::isHash(storedPassword(QStringLiteral("B02"))));
}

} // namespace
