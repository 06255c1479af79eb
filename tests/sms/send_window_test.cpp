#include "db/connection.h"
#include "members/drop_down_box.h"
#include "sms/gateway_config.h"
#include "sms/signatures.h"
#include "tests/sms/send_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>

namespace {

const QString kMissingAccount = QStringLiteral("請先申請簡訊帳號與密碼,否則無法發送簡訊!");
const QString kAddBeforeSearch = QStringLiteral("請先查詢﹐選擇姓名後﹐再添加﹗");

using SmsSendWindowOpening = SmsSendWindowTest;

TEST_F(SmsSendWindowOpening, CriteriaSignaturesAndCreditAreReady) {
    db::run("insert into SystemSet(CW, EnterDate, Memo1, Memo2, Memo3, Memo4, Memo5) "
            "values(' 類別 ', '入會日', '備一', '備二', '備三', '備四', '備五')");
    for (const char* name : {"舊署名", " 新署名 "})
        db::run("Insert into Sign(name) values(:Name)", {{"Name", name}});
    openWindow();

    EXPECT_EQ(caption(), "發送簡訊");
    auto* criteria = child<QComboBox>("ComboBox1");
    QStringList names;
    for (int i = 0; i < criteria->count(); ++i)
        names << criteria->itemText(i);
    EXPECT_EQ(names,
              (QStringList{"編號", "姓名", "稱謂", "電話", "行動電話", "家裡電話", " 類別 ", "生日",
                           "身份証號", "地址", "入會日", "備一", "備二", "備三", "備四", "備五"}));
    EXPECT_EQ(criteria->currentIndex(), 0);
    EXPECT_TRUE(child<QLineEdit>("Edit1")->isVisible());
    EXPECT_TRUE(child<DropDownBox>("ComboBox2")->isPlain());

    auto* signature = child<QComboBox>("DBComboBoxEh1");
    EXPECT_EQ(signature->count(), 2);
    EXPECT_EQ(signature->itemText(0), "新署名");
    EXPECT_EQ(signature->currentText(), "新署名");
    EXPECT_TRUE(child<QCheckBox>("CheckBox2")->isChecked());
    EXPECT_TRUE(signature->isEnabled());
    EXPECT_FALSE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_FALSE(child<QDateTimeEdit>("DBDateTimeEditEh1")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), "100");
    EXPECT_TRUE(child<QLineEdit>("Edit3")->isReadOnly());
    EXPECT_FALSE(child<QPushButton>("BtnContinue")->isEnabled());
    EXPECT_EQ(countLabel(), "");
}

TEST_F(SmsSendWindowOpening, WithoutAnAccountTheNoticeShowsEveryTimeAndCreditIsAskedAnyway) {
    LoginSession::current().CustID.clear();
    for (int opening = 0; opening < 2; ++opening) {
        m_prompt.expect(kMissingAccount + "\n請於上班時間撥打服務專線,告知你要申請簡訊帳號與密碼,"
                                          "本公司立即為您服務!!");
        openWindow();
        // The simulator refuses the empty account; its answer shows as it came.
        EXPECT_EQ(child<QLineEdit>("Edit3")->text(), "帳號或密碼錯誤");
    }
    EXPECT_EQ(m_prompt.shown().first().caption, "提示");
}

TEST_F(SmsSendWindowOpening, TheNoticeNamesTheServicePhoneOfTheSettingsFile) {
    LoginSession::current().CustID.clear();
    QFile ini(GatewayConfig::iniPath());
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("ServicePhone=(04)2345-6789\n");
    ini.close();
    m_prompt.expect(kMissingAccount + "\n請於上班時間撥打服務專線(04)2345-6789,"
                                      "告知你要申請簡訊帳號與密碼,本公司立即為您服務!!");
    openWindow();
}

TEST_F(SmsSendWindowOpening, AGatewayThatDoesNotAnswerLeavesTheCreditEmpty) {
    const QString host = m_sim->host();
    m_sim.reset();
    m_prompt.expect(host, true, true);
    openWindow();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), "");
    EXPECT_EQ(child<QComboBox>("ComboBox1")->count(), 16);
}

TEST_F(SmsSendWindowOpening, TheCreditButtonAsksAgain) {
    openWindow();
    child<QLineEdit>("Edit3")->setText("舊");
    click("BitBtn2");
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), "100");
}

using SmsRecipientSelection = SmsSendWindowTest;

TEST_F(SmsRecipientSelection, MarksComeFromTheTableAndAreNeverStored) {
    addMember("A01", "林", "先生", "0900000001");
    addMember("A02", "王", "小姐", "0900000002");
    addMember("A03", "陳", "先生", "0900000003", false);
    db::run("insert into Cust(id, name, CDTel, IsSelected) values('A04', '張', '0900000004', 1)");
    openWindow();
    search(0);
    auto* grid = child<QTableView>("DBGridEh1");
    ASSERT_EQ(grid->model()->rowCount(), 3); // the disabled member is left out
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "選擇");
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "姓名");
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "電話");

    click("BitBtn1"); // only the stored mark
    EXPECT_EQ(lines(), QStringList{"張(0900000004)"});
    clickMark(0);
    clickMark(2);
    click("BitBtn1");
    EXPECT_EQ(lines(), (QStringList{"張(0900000004)", "林先生(0900000001)"}));
    // Those already listed are not added again, and the user is told.
    click("BtnSelectAll");
    m_prompt.expect("2位會員的電話已在接收人清單中﹐沒有再加入。");
    click("BitBtn1");
    click("BtnSelectNone");
    click("BitBtn1");
    EXPECT_EQ(lines(), (QStringList{"張(0900000004)", "林先生(0900000001)", "王小姐(0900000002)"}));
    EXPECT_EQ(countLabel(), "共﹕3人");

    QSqlQuery stored = db::run("select id, IsSelected from Cust order by id");
    QStringList marks;
    while (stored.next())
        marks << stored.value(0).toString() + '=' + stored.value(1).toString();
    EXPECT_EQ(marks, (QStringList{"A01=0", "A02=0", "A03=0", "A04=1"}));

    // A new search shows the stored marks again.
    click("BtnSelectAll");
    search(1, "林");
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(SmsRecipientSelection, AddingNeedsASuccessfulSearch) {
    addMember("A01", "林", "先生", "0900000001");
    openWindow();
    m_prompt.expect(kAddBeforeSearch);
    click("BitBtn1");
    chooseCriterion(7);
    child<QComboBox>("ComboBox3")->setEditText("x");
    m_prompt.expect("'x' 不是有效的整數值");
    click("btnSearch");
    m_prompt.expect(kAddBeforeSearch);
    click("BitBtn1");
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(m_prompt.shown().first().caption, "提示");
}

TEST_F(SmsRecipientSelection, CriterionShowsItsInputsAndKeepsTheTypedValue) {
    for (const char* name : {" 先生 ", "小姐"})
        db::run("insert into CWNames(Name) values(:n)", {{"n", name}});
    openWindow();
    auto* value = child<DropDownBox>("ComboBox2");
    value->setEditText("林");
    const struct {
        int index;
        bool plain;
        bool range;
        bool dates;
        int width;
    } cases[] = {
        {2, false, false, false, 185}, {7, true, false, true, 185},  {0, true, true, false, 100},
        {9, true, false, false, 185},  {10, true, false, true, 185},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        chooseCriterion(c.index);
        EXPECT_EQ(child<QWidget>("Panel1")->isVisible(), c.dates);
        EXPECT_EQ(value->isVisible(), !c.dates);
        EXPECT_EQ(child<QLineEdit>("Edit1")->isVisible(), c.range);
        if (!c.dates) {
            EXPECT_EQ(value->isPlain(), c.plain);
            EXPECT_EQ(value->width(), c.width);
        }
        EXPECT_EQ(value->currentText(), "林");
    }
    chooseCriterion(2);
    EXPECT_EQ(value->count(), 2);
    EXPECT_EQ(value->itemText(0), "先生");
    chooseCriterion(10);
    auto* years = child<QComboBox>("ComboBox3");
    ASSERT_EQ(years->count(), 101);
    EXPECT_EQ(years->itemText(0), "00");
    EXPECT_EQ(years->itemText(9), "09");
    EXPECT_EQ(years->itemText(100), "100");
    EXPECT_EQ(child<QComboBox>("ComboBox4")->count(), 12);
    EXPECT_EQ(child<QComboBox>("ComboBox5")->count(), 31);
}

TEST_F(SmsRecipientSelection, DeleteOneAndDeleteAll) {
    openWindow();
    m_window->addRecipients({{"甲", "1"}, {"乙", "2"}, {"丙", "3"}});
    EXPECT_EQ(countLabel(), "共﹕3人");
    auto* list = child<QListWidget>("ListBox1");
    list->clearSelection();
    click("BtnDel"); // nothing selected: nothing goes
    EXPECT_EQ(lines().size(), 3);
    list->item(1)->setSelected(true);
    click("BtnDel");
    EXPECT_EQ(lines(), (QStringList{"甲(1)", "丙(3)"}));
    EXPECT_EQ(countLabel(), "共﹕2人");
    EXPECT_EQ(m_window->focusWidget(), list);
    // Nothing stays selected: a second press deletes no one.
    EXPECT_TRUE(list->selectedItems().isEmpty());
    click("BtnDel");
    EXPECT_EQ(lines(), (QStringList{"甲(1)", "丙(3)"}));
    list->setCurrentRow(0); // as the keyboard selects
    click("BtnDel");
    EXPECT_EQ(lines(), QStringList{"丙(3)"});
    EXPECT_TRUE(list->selectedItems().isEmpty());
    click("BtnDelAll");
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(countLabel(), "共﹕0人");
}

class SmsSendRun : public SmsSendWindowTest {
protected:
    QList<QVariantMap> history() {
        return rows("select CustName, Tel, Message, Sign from MessageHistory order by ID");
    }
    void writeMessage(const QString& text) { child<QPlainTextEdit>("Memo1")->setPlainText(text); }
};

TEST_F(SmsSendRun, ThreeMembersAreSentRecordedAndSummarised) {
    addThreeMembers();
    openWindow();
    addEveryMember();
    writeMessage("許功蓋 週年慶\n全館 8 折 & 滿 100% 送");
    QTest::mouseClick(child<QCheckBox>("CheckBox1"), Qt::LeftButton);
    child<QComboBox>("DBComboBoxEh1")->setEditText("小店 敬上");
    QStringList captions;
    QObject::connect(m_window.get(), &QWidget::windowTitleChanged,
                     [&](const QString& title) { captions << title; });
    m_prompt.expect("發送完畢﹗\n共:3筆﹗");
    click("BtnSend");

    // The progress shows while the run lasts; then the caption is the window's own.
    EXPECT_EQ(captions, (QStringList{"正在發送第1條﹐共3條﹗", "正在發送第2條﹐共3條﹗",
                                     "正在發送第3條﹐共3條﹗", "發送簡訊"}));
    EXPECT_EQ(caption(), "發送簡訊");
    const QStringList names{"林先生", "許功蓋小姐", "王"};
    const QString message = "許功蓋 週年慶\r\n全館 8 折 & 滿 100% 送";
    const QList<QJsonObject> logged = m_sim->loggedMessages();
    const QList<QVariantMap> recorded = history();
    ASSERT_EQ(logged.size(), 3);
    ASSERT_EQ(recorded.size(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QString phone = QStringLiteral("090000000%1").arg(i + 1);
        EXPECT_EQ(logged[i]["movetel"].toString(), phone);
        EXPECT_EQ(logged[i]["name"].toString(), names[i] + ':');
        EXPECT_EQ(logged[i]["message"].toString(), names[i] + ": " + message + "  小店 敬上");
        EXPECT_EQ(recorded[i]["CustName"].toString(), names[i]);
        EXPECT_EQ(recorded[i]["Tel"].toString(), phone);
        EXPECT_EQ(recorded[i]["Message"].toString(), message);
        EXPECT_EQ(recorded[i]["Sign"].toString(), "小店 敬上");
    }
    EXPECT_EQ(sms::signatures::list(), QStringList{"小店 敬上"});
    // The window keeps its content after the run.
    EXPECT_EQ(lines().size(), 3);
    EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(),
              "許功蓋 週年慶\n全館 8 折 & 滿 100% 送");

    // The next send window offers the new signature first.
    openWindow();
    EXPECT_EQ(child<QComboBox>("DBComboBoxEh1")->currentText(), "小店 敬上");
}

TEST_F(SmsSendRun, AGatewayFailingOnTheSecondOfThreeStopsTheRunThere) {
    addThreeMembers();
    openWindow();
    addEveryMember();
    writeMessage("通知");
    child<QComboBox>("DBComboBoxEh1")->setEditText("新署名");
    QList<QJsonObject> loggedBeforeFailure;
    QObject::connect(m_window.get(), &QWidget::windowTitleChanged, [&](const QString& title) {
        if (title.contains("第1條")) {
            loggedBeforeFailure = m_sim->loggedMessages();
            m_sim.reset(); // the gateway goes away after the first message
        }
    });
    const QString host = m_sim->host();
    m_prompt.expect("發送中斷﹗\n已發送:1筆  未確認:0筆  未發送:2筆\n原因﹕無法連線到簡訊閘道 " +
                        host,
                    true, true);
    click("BtnSend");

    EXPECT_EQ(m_prompt.shown().last().icon, Prompt::Icon::Warning);
    EXPECT_TRUE(m_prompt.shown().last().text.endsWith(
        "尚未發送的2位接收人留在清單中﹐按「繼續發送」即可發送給他們。"));
    EXPECT_EQ(caption(), "發送簡訊");
    // The credit is asked again after the run; the gateway is gone.
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), "(無法取得)");
    EXPECT_TRUE(child<QPushButton>("BtnContinue")->isEnabled());
    ASSERT_EQ(loggedBeforeFailure.size(), 1);
    EXPECT_EQ(loggedBeforeFailure[0]["movetel"].toString(), "0900000001");
    const QList<QVariantMap> recorded = history();
    ASSERT_EQ(recorded.size(), 1);
    EXPECT_EQ(recorded[0]["CustName"].toString(), "林先生");
    EXPECT_TRUE(sms::signatures::list().isEmpty());
}

// The gateway takes the second message after the client gave up. The run
// stops, names that recipient, and continuing sends only the third; the
// history and the gateway's log agree message by message.
TEST_F(SmsSendRun, AStoppedRunContinuesWithOnlyThoseNotYetSent) {
    m_sim.emplace(accountOptions() + QStringList{"--delay-ms", "3000", "--slow-messages", "2"});
    QFile ini(GatewayConfig::iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Gateway]\nSendHost=" + m_sim->host().toUtf8() +
              "\nAccountHost=" + m_sim->host().toUtf8() + "\nTimeout=1\n");
    ini.close();
    addThreeMembers();
    openWindow();
    addEveryMember();
    writeMessage("通知");
    m_prompt.expect("發送中斷﹗\n已發送:1筆  未確認:1筆  未發送:1筆\n"
                    "許功蓋小姐 (0900000002) 可能已收到\n原因﹕簡訊閘道 " +
                        m_sim->host() + " 在時限內沒有回應",
                    true, true);
    // The caption is the window's own again before the report shows.
    QStringList captionsBeforeReport;
    QObject::connect(m_window.get(), &QWidget::windowTitleChanged, [&](const QString& title) {
        if (m_prompt.shown().isEmpty())
            captionsBeforeReport << title;
    });
    click("BtnSend");
    EXPECT_EQ(captionsBeforeReport.value(captionsBeforeReport.size() - 1), "發送簡訊");
    EXPECT_EQ(caption(), "發送簡訊");
    auto* list = child<QListWidget>("ListBox1");
    EXPECT_EQ(list->item(0)->toolTip(), "已發送");
    EXPECT_TRUE(list->item(1)->toolTip().contains("可能已收到"));
    EXPECT_EQ(list->item(2)->toolTip(), "");
    auto* again = child<QPushButton>("BtnContinue");
    EXPECT_TRUE(again->isEnabled());
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), "99"); // asked again after the stop

    // The slow gateway delivers the second message in its own time.
    ASSERT_EQ(m_sim->waitForMessages(2).size(), 2);
    // Sending the whole list again asks first, No by default; Enter sends nothing.
    m_prompt.expectEnter("清單中有2位接收人已發送或可能已收到", true);
    click("BtnSend");
    EXPECT_EQ(m_prompt.shown().last().defaultButton, Prompt::No);
    EXPECT_EQ(m_sim->loggedMessages().size(), 2);

    m_prompt.expect("發送完畢﹗\n共:1筆﹗");
    click("BtnContinue");
    EXPECT_FALSE(again->isEnabled());
    // The finished run leaves every line its state, so the whole list is not
    // sent again unasked, however many runs came before.
    EXPECT_EQ(list->item(0)->toolTip(), "已發送");
    EXPECT_TRUE(list->item(1)->toolTip().contains("可能已收到"));
    EXPECT_EQ(list->item(2)->toolTip(), "已發送");
    m_prompt.expectEnter("清單中有3位接收人已發送或可能已收到", true);
    click("BtnSend");
    EXPECT_EQ(m_prompt.shown().last().defaultButton, Prompt::No);

    const QList<QJsonObject> logged = m_sim->loggedMessages();
    const QList<QVariantMap> recorded =
        rows("select CustName, Tel, Message, Memo from MessageHistory order by ID");
    ASSERT_EQ(logged.size(), 3);
    ASSERT_EQ(recorded.size(), 3);
    const QStringList memos{"OK", "未確認：等候回應逾時", "OK"};
    QStringList phones;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        phones << logged[i]["movetel"].toString();
        EXPECT_EQ(recorded[i]["Tel"].toString(), QStringLiteral("090000000%1").arg(i + 1));
        EXPECT_EQ(recorded[i]["Memo"].toString(), memos[i]);
        EXPECT_EQ(recorded[i]["Message"].toString(), "通知");
    }
    phones.sort();
    EXPECT_EQ(phones, (QStringList{"0900000001", "0900000002", "0900000003"}));
}

TEST_F(SmsSendRun, AnEmptyListReportsNoneAndKeepsTheSignature) {
    openWindow();
    child<QComboBox>("DBComboBoxEh1")->setEditText("只存署名");
    QTest::mouseClick(child<QCheckBox>("CheckBox2"), Qt::LeftButton); // unticked still saves
    m_prompt.expect("發送完畢﹗\n共:0筆﹗");
    click("BtnSend");
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
    EXPECT_EQ(count("select count(*) from MessageHistory"), 0);
    EXPECT_EQ(sms::signatures::list(), QStringList{"只存署名"});
    EXPECT_EQ(caption(), "發送簡訊");
}

TEST_F(SmsSendRun, ScheduledSendingCarriesTheFieldsTime) {
    addMember("A01", "林", "先生", "0900000001");
    openWindow();
    addEveryMember();
    writeMessage("預約");
    QTest::mouseClick(child<QCheckBox>("CheckBox2"), Qt::LeftButton);
    EXPECT_FALSE(child<QComboBox>("DBComboBoxEh1")->isEnabled());
    QTest::mouseClick(child<QCheckBox>("CheckBox3"), Qt::LeftButton);
    auto* when = child<QDateTimeEdit>("DBDateTimeEditEh1");
    EXPECT_TRUE(when->isEnabled());
    EXPECT_LE(std::abs(when->dateTime().secsTo(QDateTime::currentDateTime())), 5);
    when->setDateTime(QDateTime(QDate(2031, 2, 3), QTime(4, 5, 6)));
    m_prompt.expect("發送完畢﹗\n共:1筆﹗");
    click("BtnSend");
    const QList<QJsonObject> logged = m_sim->loggedMessages();
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0]["bf"].toString(), "2031/02/03 04:05:06");
    EXPECT_EQ(logged[0]["message"].toString(), " 預約  ");
    EXPECT_EQ(logged[0]["name"].toString(), "");
}

TEST_F(SmsSendRun, TextBig5CannotCarryIsRefusedBeforeAnythingGoes) {
    addThreeMembers();
    openWindow();
    addEveryMember();
    m_window->addRecipient({"刘", "0911"});
    writeMessage("你好");
    QTest::mouseClick(child<QCheckBox>("CheckBox1"), Qt::LeftButton);
    m_prompt.expect("第4位接收人「刘(0911)」的簡訊含有無法以Big5發送的字﹕刘﹐請修改後再發送﹗");
    click("BtnSend");
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
    EXPECT_EQ(count("select count(*) from MessageHistory"), 0);
    EXPECT_EQ(caption(), "發送簡訊");
}

TEST_F(SmsSendRun, PartsAreCountedLiveAndCheckedAgainstThePlainCredit) {
    addThreeMembers();
    openWindow();
    addEveryMember();
    child<QComboBox>("DBComboBoxEh1")->setEditText("");
    writeMessage(QString(70, QChar(0x6797)));
    // " " + 70 characters: 71, two parts for each of three recipients.
    EXPECT_EQ(child<QLabel>("lblParts")->text(), "字數﹕71  則數﹕2  全部接收人共﹕6則");

    auto* credit = child<QLineEdit>("Edit3");
    const struct {
        QString credit;
        bool asked;
        bool answer;
        int sent; // messages the simulator logged in all
    } cases[] = {
        {"5", true, false, 0},
        {"帳號或密碼錯誤", false, false, 3},
        {"6", false, false, 6},
        {"5", true, true, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.credit.toStdString());
        credit->setText(c.credit);
        // Once a run reached the three, each further run over them asks first.
        if (!m_sim->loggedMessages().isEmpty())
            m_prompt.expect("清單中有3位接收人已發送或可能已收到", true, true);
        if (c.asked)
            m_prompt.expect("本次發送共需6則簡訊﹐簡訊剩餘通數只有5則﹐確定要發送嗎﹖", c.answer);
        if (!c.asked || c.answer)
            m_prompt.expect("發送完畢﹗\n共:3筆﹗");
        click("BtnSend");
        EXPECT_EQ(m_sim->loggedMessages().size(), c.sent);
    }
}

} // namespace
