// A whole first use, driven through the real windows: sign in, set the SMS
// account, add two members in the member window, find and add them in the
// send window, send to the gateway simulator, and find the messages in its
// log and in the history window.
#include "admin/login_session.h"
#include "app/main_window.h"
#include "db/connection.h"
#include "sms/gateway_config.h"
#include "tests/sms/gateway_sim_process.h"
#include "tests/sms/next_modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void type(QWidget* window, const char* editor, const QString& text) {
    auto* line = part<QLineEdit>(window, editor);
    line->clear();
    typeText(line, text);
}

class SmsEndToEnd : public ::testing::Test {
protected:
    SmsEndToEnd() : m_savedSession(LoginSession::current()), m_savedDir(QDir::currentPath()) {
        LoginSession::current() = LoginSession{};
        QDir::setCurrent(m_database.folder());
        pointGatewayAt(m_sim, "5");
    }
    ~SmsEndToEnd() override {
        QDir::setCurrent(m_savedDir);
        LoginSession::current() = m_savedSession;
    }

    static void pointGatewayAt(const GatewaySimProcess& sim, const QByteArray& timeout) {
        QFile ini(GatewayConfig::iniPath());
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Gateway]\nSendHost=" + sim.host().toUtf8() +
                  "\nAccountHost=" + sim.host().toUtf8() + "\nTimeout=" + timeout + "\n");
    }

    QAction* item(const char* name) {
        auto* action = m_main.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }

    void signIn() {
        onNextModal([](QWidget* login) {
            part<QComboBox>(login, "DBComboBoxEh2")->setEditText("Admin");
            press(login, "BtnOK");
        });
        ASSERT_TRUE(m_main.signIn());
        m_main.show();
    }

    void registerAccount() {
        onNextModal([](QWidget* account) {
            press(account, "SbEdit");
            type(account, "DBEdit17", "C123");
            type(account, "DBEdit18", "pw");
            type(account, "DBEdit19", "林小姐");
            press(account, "SbSave");
            press(account, "SbExit");
        });
        item("N15")->trigger();
    }

    void addMember(QWidget* members, const QString& id, const QString& name,
                   const QString& salutation, const QString& mobile) {
        press(members, "SbAdd");
        type(members, "DBEdit1", id);
        type(members, "DBEdit2", name);
        auto* salutationBox = part<QComboBox>(members, "DBComboBox2");
        salutationBox->clearEditText();
        typeText(salutationBox->lineEdit(), salutation);
        type(members, "DBEdit4", mobile);
        m_prompt.expect("保存成功﹕共 1 筆");
        press(members, "SbSave");
    }

    static QStringList account() {
        return {"--cust-id", "C123", "--cust-pwd", "pw", "--cust-name", "林小姐"};
    }

    TempDatabase m_database;
    GatewaySimProcess m_sim{account()};
    ScriptedPrompt m_prompt;
    TFrmMain m_main;

private:
    LoginSession m_savedSession;
    QString m_savedDir;
};

TEST_F(SmsEndToEnd, TwoNewMembersReceiveAMessageThatTheHistoryShows) {
    signIn();
    registerAccount();

    item("N7")->trigger();
    ASSERT_EQ(m_main.mdiArea()->subWindowList().size(), 1);
    QWidget* members = m_main.mdiArea()->subWindowList().first()->widget();
    addMember(members, "M001", "林志明", "先生", "0911000111");
    addMember(members, "M002", "許美蓋", "小姐", "0922000222");
    press(members, "SbExit");
    ASSERT_TRUE(m_main.mdiArea()->subWindowList().isEmpty());

    const QString message = "本週六會員大會﹐敬請出席";
    QStringList historyNames;
    QStringList historyMessages;
    onNextModal([&](QWidget* send) {
        EXPECT_EQ(part<QLineEdit>(send, "Edit3")->text(), "100");
        press(send, "btnSearch");
        press(send, "BtnSelectAll");
        press(send, "BitBtn1");
        EXPECT_EQ(part<QListWidget>(send, "ListBox1")->count(), 2);
        typeText(part<QPlainTextEdit>(send, "Memo1"), message);
        QTest::mouseClick(part<QCheckBox>(send, "CheckBox1"), Qt::LeftButton);
        auto* signature = part<QComboBox>(send, "DBComboBoxEh1");
        signature->clearEditText();
        typeText(signature->lineEdit(), "會員中心");
        m_prompt.expect("發送完畢﹗\n共:2筆﹗");
        press(send, "BtnSend");
        EXPECT_EQ(send->windowTitle(), "發送簡訊");
        EXPECT_EQ(part<QLineEdit>(send, "Edit3")->text(), "98"); // asked again after the run

        onNextModal([&](QWidget* history) {
            press(history, "BitBtn1");
            auto* grid = part<QTableView>(history, "DBGridEh1");
            for (int row = 0; row < grid->model()->rowCount(); ++row) {
                historyNames << grid->model()->index(row, 0).data().toString();
                historyMessages << grid->model()->index(row, 3).data().toString();
            }
            history->close();
        });
        press(send, "btnSendHistory");
        press(send, "BtnCancel");
    });
    item("N14")->trigger();

    const QList<QJsonObject> logged = m_sim.loggedMessages();
    ASSERT_EQ(logged.size(), 2);
    EXPECT_EQ(logged[0]["movetel"].toString(), "0911000111");
    EXPECT_EQ(logged[0]["message"].toString(), "林志明先生: " + message + "  會員中心");
    EXPECT_EQ(logged[1]["movetel"].toString(), "0922000222");
    EXPECT_EQ(logged[1]["message"].toString(), "許美蓋小姐: " + message + "  會員中心");
    historyNames.sort();
    EXPECT_EQ(historyNames, (QStringList{"林志明先生", "許美蓋小姐"}));
    EXPECT_EQ(historyMessages, (QStringList{message, message}));
}

// The ways a user stores the row in 簡訊註冊: Ctrl+S in the editor, Enter
// on the focused 保存, a click on it. Each stores the same way.
struct SaveWay {
    const char* name;
    void (*save)(QPushButton* saveButton, QLineEdit* editor);
};

void PrintTo(const SaveWay& way, std::ostream* out) {
    *out << way.name;
}

class SmsAccountSaved : public SmsEndToEnd, public ::testing::WithParamInterface<SaveWay> {};

// The account typed in 簡訊註冊 is the one the next send uses, however it
// was stored: the session read an outdated account at sign-in, which the
// gateway refuses. Enter presses the focused button, Esc cancels while
// editing and closes the window otherwise; no button is the default.
TEST_P(SmsAccountSaved, TheNextSendUsesTheStoredAccount) {
    db::run("insert into SystemSet(CustID, CustPwd, CustName) values('C123', 'old', '林小姐')");
    db::run("insert into Cust(id, name, CDTel, isEnabled) values('M1', '王小明', '0912000001', 1)");
    signIn();
    ASSERT_EQ(LoginSession::current().CustPwd, "old");

    bool closedByEsc = false;
    onNextModal([&](QWidget* account) {
        account->activateWindow(); // the window manager's part
        ASSERT_TRUE(QTest::qWaitForWindowActive(account));
        auto* edit = part<QPushButton>(account, "SbEdit");
        auto* save = part<QPushButton>(account, "SbSave");
        for (auto* button : account->findChildren<QPushButton*>())
            EXPECT_FALSE(button->isDefault() || button->autoDefault())
                << button->objectName().toStdString();
        auto* password = part<QLineEdit>(account, "DBEdit18");

        // Typed and then dropped with Esc: nothing changes.
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        ASSERT_TRUE(save->isEnabled());
        password->setFocus();
        password->clear();
        typeText(password, "wrong");
        QTest::keyClick(password, Qt::Key_Escape);
        EXPECT_FALSE(save->isEnabled());
        EXPECT_TRUE(account->isVisible());
        EXPECT_EQ(password->text(), "old");

        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        password->setFocus();
        password->clear();
        typeText(password, "pw");
        GetParam().save(save, password);
        EXPECT_FALSE(save->isEnabled()); // stored, no longer editing
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        closedByEsc = !account->isVisible();
    });
    item("N15")->trigger();
    EXPECT_TRUE(closedByEsc);
    QSqlQuery stored = db::run("select CustPwd from SystemSet");
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.value(0).toString(), "pw");

    onNextModal([&](QWidget* send) {
        press(send, "btnSearch");
        press(send, "BtnSelectAll");
        press(send, "BitBtn1");
        EXPECT_EQ(part<QListWidget>(send, "ListBox1")->count(), 1);
        typeText(part<QPlainTextEdit>(send, "Memo1"), "週年慶");
        m_prompt.expect("發送完畢﹗\n共:1筆﹗");
        press(send, "BtnSend");
        press(send, "BtnCancel");
    });
    item("N14")->trigger();

    const QList<QJsonObject> logged = m_sim.loggedMessages();
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0]["movetel"].toString(), "0912000001");
}

INSTANTIATE_TEST_SUITE_P(Ways, SmsAccountSaved,
                         ::testing::Values(SaveWay{"CtrlS",
                                                   [](QPushButton*, QLineEdit* editor) {
                                                       QTest::keyClick(editor, Qt::Key_S,
                                                                       Qt::ControlModifier);
                                                   }},
                                           SaveWay{"EnterOnSave",
                                                   [](QPushButton* button, QLineEdit*) {
                                                       button->setFocus();
                                                       QTest::keyClick(button, Qt::Key_Return);
                                                   }},
                                           SaveWay{"Click",
                                                   [](QPushButton* button, QLineEdit*) {
                                                       QTest::mouseClick(button, Qt::LeftButton);
                                                   }}),
                         [](const ::testing::TestParamInfo<SaveWay>& info) {
                             return std::string(info.param.name);
                         });

// A gateway that answers the second message only after the client gave up:
// the run stops naming that recipient, 加入接收人 pressed again adds no one
// twice, continuing sends only the third, and the history (with the
// gateway's answers) agrees with what the gateway logged.
TEST_F(SmsEndToEnd, AStoppedRunIsContinuedWithoutSendingAnyoneTwice) {
    GatewaySimProcess slow(account() + QStringList{"--delay-ms", "3000", "--slow-messages", "2"});
    pointGatewayAt(slow, "1");
    signIn();
    registerAccount();
    const QStringList names{"王小明", "李大同", "陳美玲"};
    for (int i = 0; i < 3; ++i)
        db::run("insert into Cust(id, name, CDTel, isEnabled) values(:id, :name, :tel, 1)",
                {{"id", QStringLiteral("M%1").arg(i)},
                 {"name", names[i]},
                 {"tel", QStringLiteral("091200000%1").arg(i + 1)}});

    QStringList historyMemos;
    QList<QJsonObject> seenElsewhere;
    onNextModal([&](QWidget* send) {
        EXPECT_EQ(send->parentWidget(), &m_main);
        press(send, "btnSearch");
        press(send, "BtnSelectAll");
        press(send, "BitBtn1");
        m_prompt.expect("3位會員的電話已在接收人清單中﹐沒有再加入。");
        press(send, "BitBtn1");
        EXPECT_EQ(part<QListWidget>(send, "ListBox1")->count(), 3);
        typeText(part<QPlainTextEdit>(send, "Memo1"), "週年慶");
        m_prompt.expect("發送中斷﹗\n已發送:1筆  未確認:1筆  未發送:1筆\n"
                        "李大同 (0912000002) 可能已收到",
                        true, true);
        press(send, "BtnSend");
        EXPECT_EQ(send->windowTitle(), "發送簡訊");
        EXPECT_EQ(slow.waitForMessages(2).size(), 2);
        m_prompt.expect("發送完畢﹗\n共:1筆﹗");
        press(send, "BtnContinue");
        // Another desk on the same file sees every row while this one is open.
        QProcess reader;
        reader.start(LUNMARK_HISTORY_READER, {m_database.path()});
        ASSERT_TRUE(reader.waitForFinished(10'000));
        EXPECT_EQ(reader.exitCode(), 0);
        for (const QByteArray& line : reader.readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                seenElsewhere << QJsonDocument::fromJson(line).object();
        }

        onNextModal([&](QWidget* history) {
            press(history, "BitBtn1");
            auto* grid = part<QTableView>(history, "DBGridEh1");
            for (int row = 0; row < grid->model()->rowCount(); ++row)
                historyMemos << grid->model()->index(row, 6).data().toString();
            history->close();
        });
        press(send, "btnSendHistory");
        press(send, "BtnCancel");
    });
    item("N14")->trigger();

    historyMemos.sort();
    EXPECT_EQ(historyMemos, (QStringList{"OK", "OK", "未確認：等候回應逾時"}));
    const QList<QJsonObject> logged = slow.loggedMessages();
    ASSERT_EQ(logged.size(), 3);
    ASSERT_EQ(seenElsewhere.size(), 3);
    const QStringList memos{"OK", "未確認：等候回應逾時", "OK"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seenElsewhere[i]["CustName"].toString(), names[i]);
        EXPECT_EQ(seenElsewhere[i]["Tel"].toString(), logged[i]["movetel"].toString());
        EXPECT_EQ(seenElsewhere[i]["Message"].toString(), "週年慶");
        EXPECT_EQ(seenElsewhere[i]["Memo"].toString(), memos[i]);
        EXPECT_EQ(logged[i]["message"].toString(), " 週年慶");
    }
}

} // namespace
