// Recipient lines carry their name and telephone as data: what the list
// shows is never read back, so a name holding brackets cannot become the
// number, and a member without a mobile number never becomes a line.
#include "db/connection.h"
#include "sms/select_single_window.h"
#include "tests/sms/next_modal.h"
#include "tests/sms/send_window_fixture.h"
#include "tests/support/typing.h"

#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

using SmsRecipientData = SmsSendWindowTest;

TEST_F(SmsRecipientData, TheRunSendsToTheNumberTheLineCarriesWhateverTheNameHolds) {
    addMember("A01", "陳大文(Peter)", "先生", "0912345678");
    addMember("A02", "王小明", "先生", "");
    addMember("A03", "林(小)", "", "  ");
    addMember("A04", "許功蓋", "小姐", "0912-ABC");
    addMember("A05", "歐陽", "", "+886 922000001");
    addMember("A06", "歐陽二", "", "0922000001"); // the same handset as A05
    openWindow();
    m_prompt.expect("3 位會員沒有手機號碼﹐未加入\n1位會員的電話已在接收人清單中﹐沒有再加入。");
    addEveryMember();
    EXPECT_EQ(lines(), (QStringList{"陳大文(Peter)先生(0912345678)", "歐陽(+886 922000001)"}));
    QStringList carried;
    for (const sms::Recipient& recipient : m_window->recipients())
        carried << recipient.name + '|' + recipient.phone + '|' +
                       recipient.fields.value("會員編號") + '|' + recipient.fields.value("姓名");
    EXPECT_EQ(carried, (QStringList{"陳大文(Peter)先生|0912345678|A01|陳大文(Peter)",
                                    "歐陽|+886 922000001|A05|歐陽"}));
    EXPECT_EQ(countLabel(), "共﹕2人");

    child<QPlainTextEdit>("Memo1")->setPlainText("通知");
    m_prompt.expect("發送完畢﹗\n共:2筆﹗");
    click("BtnSend");
    const QList<QJsonObject> logged = m_sim->loggedMessages();
    ASSERT_EQ(logged.size(), 2);
    EXPECT_EQ(logged[0]["movetel"].toString(), "0912345678");
    EXPECT_EQ(logged[1]["movetel"].toString(), "0922000001"); // as the one rule reads it
    const QList<QVariantMap> recorded =
        rows("select CustName, Tel from MessageHistory order by ID");
    ASSERT_EQ(recorded.size(), 2);
    EXPECT_EQ(recorded[0]["CustName"].toString(), "陳大文(Peter)先生");
    EXPECT_EQ(recorded[0]["Tel"].toString(), "0912345678");
    EXPECT_EQ(recorded[1]["Tel"].toString(), "+886 922000001");
}

// A line added from the history carries the row's name and number, brackets
// in the name notwithstanding, and one handset is listed once.
TEST_F(SmsRecipientData, ALineFromTheHistoryCarriesItsRowsNameAndNumber) {
    openWindow();
    EXPECT_TRUE(m_window->addRecipient({"陳大文(Peter)先生", "0912345678"}));
    EXPECT_FALSE(m_window->addRecipient({"別名", "+886912345678"}));
    EXPECT_EQ(m_window->recipients(), (QList<sms::Recipient>{{"陳大文(Peter)先生", "0912345678"}}));
}

using SmsCustomRecipientChecks = SmsSendWindowTest;

// The custom-recipient window takes only numbers a gateway can take, and no
// more than the member table keeps.
TEST_F(SmsCustomRecipientChecks, AMalformedNumberIsRefusedInChineseAndNothingIsAdded) {
    openWindow();
    const struct {
        QString typed;
        bool added;
    } cases[] = {
        {"0912-ABC-678", false},  {"0912", false},        {"0912345678#1", false},
        {"+886 933000111", true}, {"0933.000.222", true},
    };
    onNextModal([&](QWidget* window) {
        auto* single = dynamic_cast<TFrmSelectSingle*>(window);
        ASSERT_NE(single, nullptr);
        int second = 0;
        single->setClock([&] { return QDateTime(QDate(2024, 7, 8), QTime(9, 10, second++)); });
        auto* name = single->findChild<QLineEdit*>("Edit1");
        auto* phone = single->findChild<QLineEdit*>("Edit2");
        EXPECT_EQ(name->maxLength(), 10);
        EXPECT_EQ(phone->maxLength(), 15);
        typeText(name, "一二三四五六七八九十多");
        EXPECT_EQ(name->text(), "一二三四五六七八九十"); // Cust.name keeps ten
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed.toStdString());
            phone->setText(c.typed);
            if (!c.added)
                m_prompt.expect("手機號碼「" + c.typed + "」無法發送簡訊", true, true);
            QTest::mouseClick(single->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
            EXPECT_EQ(phone->text(), c.typed); // the typed number stays to be corrected
        }
        QTest::mouseClick(single->findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    });
    click("BtnSelectSingle");
    EXPECT_EQ(lines(), (QStringList{"一二三四五六七八九十(+886 933000111)",
                                    "一二三四五六七八九十(0933.000.222)"}));
    EXPECT_EQ(count("select count(*) from Cust"), 2);
}

} // namespace
