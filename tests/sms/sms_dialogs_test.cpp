#include "app/main_window.h"
#include "db/connection.h"
#include "sms/cust_register_window.h"
#include "sms/message_history.h"
#include "sms/normal_window.h"
#include "sms/select_single_window.h"
#include "sms/send_history_window.h"
#include "tests/sms/next_modal.h"
#include "tests/sms/send_window_fixture.h"
#include "tests/support/refusing_trigger.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

namespace {

using SmsCustomRecipientWindow = SmsSendWindowTest;

TEST_F(SmsCustomRecipientWindow, TypedPeopleBecomeLinesAndMembers) {
    openWindow();
    const QDateTime now(QDate(2024, 7, 8), QTime(9, 10, 11));
    onNextModal([&](QWidget* window) {
        auto* single = dynamic_cast<TFrmSelectSingle*>(window);
        ASSERT_NE(single, nullptr);
        EXPECT_EQ(single->windowTitle(), "加入接收人");
        single->setClock([&] { return now; });
        auto* name = part<QLineEdit>(single, "Edit1");
        auto* phone = part<QLineEdit>(single, "Edit2");
        EXPECT_TRUE(name->text().isEmpty());
        EXPECT_EQ(single->focusWidget(), name);

        m_prompt.expect("請輸入姓名﹗");
        press(single, "BitBtn1");
        typeText(name, " ");
        m_prompt.expect("請輸入手機號碼﹗");
        press(single, "BitBtn1");
        name->clear();
        typeText(name, "李四");
        typeText(phone, "0933111222");
        press(single, "BitBtn1");
        // A second person in the same second: the line is added, the member
        // number is taken, and the error says so.
        name->setText("趙五");
        phone->setText("0933000000");
        m_prompt.expect("240708091011", true, true);
        press(single, "BitBtn1");
        EXPECT_EQ(name->text(), "趙五"); // the window stays as typed
        press(single, "BitBtn2");
    });
    click("BtnSelectSingle");

    EXPECT_EQ(lines(), (QStringList{"李四(0933111222)", "趙五(0933000000)"}));
    EXPECT_EQ(countLabel(), "共﹕2人");
    const QList<QVariantMap> members = rows("select id, name, CDTel, Kind from Cust");
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0]["id"].toString(), "240708091011");
    EXPECT_EQ(members[0]["name"].toString(), "李四");
    EXPECT_EQ(members[0]["CDTel"].toString(), "0933111222");
    EXPECT_EQ(members[0]["Kind"].toString(), "其它");
}

TEST_F(SmsCustomRecipientWindow, ANumberAlreadyListedIsNeitherListedNorRegisteredAgain) {
    openWindow();
    m_window->addRecipient({"林先生", "0933-111 222"});
    onNextModal([&](QWidget* window) {
        auto* single = dynamic_cast<TFrmSelectSingle*>(window);
        ASSERT_NE(single, nullptr);
        single->setClock([] { return QDateTime(QDate(2024, 7, 8), QTime(9, 10, 11)); });
        part<QLineEdit>(single, "Edit1")->setText("李四");
        part<QLineEdit>(single, "Edit2")->setText("0933111222");
        m_prompt.expect("電話 0933111222 已在接收人清單中﹐沒有再加入。");
        press(single, "BitBtn1");
        press(single, "BitBtn2");
    });
    click("BtnSelectSingle");
    EXPECT_EQ(lines(), QStringList{"林先生(0933-111 222)"});
    EXPECT_EQ(count("select count(*) from Cust"), 0);
}

using SmsPhrasePicking = SmsSendWindowTest;

TEST_F(SmsPhrasePicking, APickedPhraseIsAppendedAsANewLastLine) {
    for (const char* phrase : {"早安", "祝 生日快樂"})
        db::run("insert into Normal(Normal) values(:p)", {{"p", phrase}});
    openWindow();
    auto* message = child<QPlainTextEdit>("Memo1");
    message->setPlainText("親愛的會員");
    const auto pick = [&](int row, const char* button) {
        onNextModal([&, row, button](QWidget* window) {
            EXPECT_EQ(window->windowTitle(), "常用片語管理");
            for (const char* hidden : {"SbAdd", "SbEdit", "SbDel", "SbSave", "SbCancel", "SbExit"})
                EXPECT_FALSE(part<QPushButton>(window, hidden)->isVisible()) << hidden;
            EXPECT_FALSE(part<QPlainTextEdit>(window, "DBMemo1")->isEnabled());
            auto* grid = part<QTableView>(window, "DBGridEh1");
            grid->setCurrentIndex(grid->model()->index(row, 0));
            press(window, button);
        });
        click("BtnNormal");
    };
    pick(1, "BtnSelect");
    pick(1, "BtnSelect");
    pick(0, "BtnExit");
    EXPECT_EQ(message->toPlainText(), "親愛的會員\n祝 生日快樂\n祝 生日快樂");
}

TEST_F(SmsPhrasePicking, AnEmptyListAppendsAnEmptyLine) {
    openWindow();
    child<QPlainTextEdit>("Memo1")->setPlainText("你好");
    onNextModal([](QWidget* window) { press(window, "BtnSelect"); });
    click("BtnNormal");
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "你好\n");
    click("BitBtn4");
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "");
}

class SmsPhraseMaintenance : public ::testing::Test {
protected:
    QStringList phrases() {
        QSqlQuery query = db::run("select Normal from Normal");
        QStringList list;
        while (query.next())
            list << query.value(0).toString();
        return list;
    }
    TempDatabase m_database;
    ScriptedPrompt m_prompt;
};

TEST_F(SmsPhraseMaintenance, PhrasesAreAddedEditedAndDeleted) {
    TFrmNormal window(TFrmNormal::Maintenance);
    window.show();
    EXPECT_FALSE(part<QPushButton>(&window, "BtnSelect")->isVisible());
    EXPECT_FALSE(part<QPushButton>(&window, "BtnExit")->isVisible());
    auto* phrase = part<QPlainTextEdit>(&window, "DBMemo1");
    auto* save = part<QPushButton>(&window, "SbSave");
    EXPECT_FALSE(phrase->isEnabled());
    EXPECT_FALSE(save->isEnabled());

    press(&window, "SbDel"); // an empty list: nothing happens
    press(&window, "SbAdd");
    EXPECT_TRUE(phrase->isEnabled());
    EXPECT_FALSE(part<QPushButton>(&window, "SbExit")->isEnabled());
    phrase->setPlainText("歡迎光臨");
    press(&window, "SbSave");
    EXPECT_FALSE(phrase->isEnabled());
    press(&window, "SbEdit");
    phrase->setPlainText("歡迎再度光臨");
    press(&window, "SbSave");
    press(&window, "SbAdd");
    phrase->setPlainText("不要的");
    press(&window, "SbCancel");
    EXPECT_EQ(phrases(), QStringList{"歡迎再度光臨"});

    // The close box does not drop a phrase being typed.
    press(&window, "SbAdd");
    m_prompt.expect("請保存後再離開");
    window.close();
    EXPECT_TRUE(window.isVisible());
    press(&window, "SbCancel");
    press(&window, "SbDel");
    EXPECT_TRUE(phrases().isEmpty());
}

TEST_F(SmsPhraseMaintenance, TheMenuOpensTheListForMaintenance) {
    TFrmMain main;
    bool opened = false;
    onNextModal([&](QWidget* window) {
        opened = true;
        EXPECT_EQ(window->objectName(), "FrmNormal");
        EXPECT_TRUE(part<QPushButton>(window, "SbAdd")->isVisible());
        EXPECT_FALSE(part<QPushButton>(window, "BtnSelect")->isVisible());
        press(window, "SbExit");
    });
    main.findChild<QAction*>("N3")->trigger();
    EXPECT_TRUE(opened);
}

using SmsHistoryResend = SmsSendWindowTest;

TEST_F(SmsHistoryResend, ADoubleClickedRowIsPreparedAgain) {
    const QDateTime now = QDateTime::currentDateTime();
    sms::history::record({"林先生", "0900000001", "第一則", now.addSecs(-60), "小店", "OK"});
    sms::history::record({"王小姐", "0900000002", "第二則\r\n次行", now, "本店", "OK"});
    sms::history::record(
        {"陳", "0900000003", "上月", QDateTime(QDate(2000, 1, 1), QTime()), "", "OK"});
    // The same number again: the recipient is listed once.
    sms::history::record({"王小姐", "0900-000002", "更早", now.addSecs(-120), "小店", "OK"});
    openWindow();
    child<QPlainTextEdit>("Memo1")->setPlainText("原有");
    onNextModal([&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "發送歷史簡訊(雙擊﹐可以重發選中列的簡訊)");
        EXPECT_EQ(part<QDateEdit>(window, "DBDateTimeEditEh1")->date(),
                  QDate(now.date().year(), now.date().month(), 1));
        EXPECT_EQ(part<QDateEdit>(window, "DBDateTimeEditEh2")->date(), now.date());
        auto* grid = part<QTableView>(window, "DBGridEh1");
        // A double click as the desktop delivers it: press and release,
        // then the double click.
        const auto doubleClick = [grid](int row) {
            const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        };
        doubleClick(0); // closed result: nothing happens
        press(window, "BitBtn1");
        ASSERT_EQ(grid->model()->rowCount(), 3);
        EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "王小姐");
        doubleClick(0);
        doubleClick(1);
        m_prompt.expect("「王小姐(0900-000002)」的電話已在接收人清單中﹐略過1位﹐沒有再加入。");
        doubleClick(2);
        window->close();
    });
    click("btnSendHistory");

    EXPECT_EQ(lines(), (QStringList{"王小姐(0900000002)", "林先生(0900000001)"}));
    EXPECT_EQ(countLabel(), "共﹕2人");
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "原有\n第二則\n次行\n第一則\n更早");
    EXPECT_EQ(child<QComboBox>("DBComboBoxEh1")->currentText(), "小店");
    // Sent again, each message goes out with the line breaks it had.
    EXPECT_EQ(m_window->composition().message, "原有\r\n第二則\r\n次行\r\n第一則\r\n更早");
}

using SmsAccountSettings = SmsDatabaseTest;

TEST_F(SmsAccountSettings, SavedValuesReachTheSessionAndTheNextRequest) {
    TFrmCustRegister window;
    window.show();
    EXPECT_EQ(window.windowTitle(), "簡訊註冊");
    auto* account = part<QLineEdit>(&window, "DBEdit17");
    auto* password = part<QLineEdit>(&window, "DBEdit18");
    auto* name = part<QLineEdit>(&window, "DBEdit19");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(account->isEnabled());
    EXPECT_FALSE(part<QPushButton>(&window, "SbSave")->isEnabled());

    // An empty table gets its first row.
    press(&window, "SbEdit");
    EXPECT_TRUE(account->isEnabled());
    EXPECT_FALSE(part<QPushButton>(&window, "SbExit")->isEnabled());
    account->setText("C900");
    password->setText("新密碼");
    name->setText(" 新名稱 ");
    press(&window, "SbCancel");
    EXPECT_EQ(LoginSession::current().CustID, "C123");
    EXPECT_EQ(count("select count(*) from SystemSet"), 0);

    press(&window, "SbEdit");
    account->setText("C900");
    password->setText("pw2");
    name->setText(" 新名稱 ");
    press(&window, "SbSave");
    const QList<QVariantMap> stored = rows("select CustID, CustPwd, CustName from SystemSet");
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0]["CustID"].toString(), "C900");
    EXPECT_EQ(stored[0]["CustName"].toString(), " 新名稱 ");
    EXPECT_EQ(LoginSession::current().CustID, "C900");
    EXPECT_EQ(LoginSession::current().CustPwd, "pw2");
    EXPECT_EQ(LoginSession::current().CustName, " 新名稱 ");

    // The next request carries them: a simulator expecting them answers.
    GatewaySimProcess sim({"--supp-id", "D01", "--system-id", "SYS9", "--cust-id", "C900",
                           "--cust-pwd", "pw2", "--cust-name", " 新名稱 ", "--credit", "7"});
    GatewayClient client(sim.config());
    EXPECT_EQ(client.remainingCredit(), "7");

    // A new opening shows the stored values.
    TFrmCustRegister again;
    again.show();
    EXPECT_EQ(part<QLineEdit>(&again, "DBEdit17")->text(), "C900");
}

TEST_F(SmsAccountSettings, ARefusedRowLeavesTheSessionAsItWas) {
    db::run("insert into SystemSet(CustID) values('C123')");
    RefusingTrigger locked(QStringLiteral("SystemSet"), QStringLiteral("update"),
                           QStringLiteral("設定被鎖定"));
    TFrmCustRegister window;
    window.show();
    press(&window, "SbEdit");
    part<QLineEdit>(&window, "DBEdit17")->setText("C555");
    m_prompt.expect("設定被鎖定", true, true);
    press(&window, "SbSave");
    EXPECT_EQ(LoginSession::current().CustID, "C123");
    EXPECT_TRUE(part<QPushButton>(&window, "SbSave")->isEnabled()); // still editing
}

} // namespace
