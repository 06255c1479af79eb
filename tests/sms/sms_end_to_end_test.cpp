// A whole first use, driven through the real windows: sign in, set the SMS
// account, add two members in the member window, find and add them in the
// send window, send to the gateway simulator, and find the messages in its
// log and in the history window.
#include "admin/login_session.h"
#include "app/main_window.h"
#include "sms/gateway_config.h"
#include "tests/sms/gateway_sim_process.h"
#include "tests/sms/next_modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

template <class T> T* part(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void press(QWidget* window, const char* button) {
    QTest::mouseClick(part<QPushButton>(window, button), Qt::LeftButton);
}

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
        QFile ini(GatewayConfig::iniPath());
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Gateway]\nSendHost=" + m_sim.host().toUtf8() +
                  "\nAccountHost=" + m_sim.host().toUtf8() + "\nTimeout=5\n");
    }
    ~SmsEndToEnd() override {
        QDir::setCurrent(m_savedDir);
        LoginSession::current() = m_savedSession;
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
        m_prompt.expect("保存成功!");
        press(members, "SbSave");
    }

    TempDatabase m_database;
    GatewaySimProcess m_sim{{"--cust-id", "C123", "--cust-pwd", "pw", "--cust-name", "林小姐"}};
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

} // namespace
