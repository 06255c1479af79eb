// The send window's merge fields, cost line and quiet hours, as a user
// meets them.
#include "db/connection.h"
#include "sms/gateway_config.h"
#include "tests/sms/next_modal.h"
#include "tests/sms/send_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace {

class SmsSendWindowMergeTest : public SmsSendWindowTest {
protected:
    void addMembersWithFields() {
        addThreeMembers();
        db::run("update Cust set MGBirthday='60/05/03', Kind='VIP', Memo='大華' where id='A01'");
        db::run("update Cust set MGBirthday='70/12/31', Kind='一般', Memo='' where id='A02'");
        db::run("update Cust set MGBirthday='', Kind='VIP', Memo='小店' where id='A03'");
    }
    void type(const QString& message) { child<QPlainTextEdit>("Memo1")->setPlainText(message); }
    QStringList history() {
        QStringList messages;
        for (const QVariantMap& row : rows("select Tel, Message from MessageHistory order by ID"))
            messages << row["Tel"].toString() + ' ' + row["Message"].toString();
        return messages;
    }
    void writeQuietHours(const QByteArray& line) {
        QFile ini(GatewayConfig::iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Gateway]\nSendHost=" + m_sim->host().toUtf8() +
                  "\nAccountHost=" + m_sim->host().toUtf8() + "\n" + line);
    }
};

TEST_F(SmsSendWindowMergeTest, InsertFieldPutsTheChosenFieldAtTheCursor) {
    // Captions left empty show their defaults, as fields too.
    db::run("insert into SystemSet(CW, EnterDate, Memo1) values('分類', '入會日', '公司')");
    openWindow();
    auto* fields = child<QComboBox>("cbInsertField");
    QStringList offered;
    for (int i = 0; i < fields->count(); ++i)
        offered << fields->itemText(i);
    EXPECT_EQ(offered, (QStringList{"插入欄位", "{姓名}", "{稱謂}", "{會員編號}", "{生日}",
                                    "{類別}", "{分類}", "{入會日}", "{其他日期}", "{公司}",
                                    "{備註二}", "{備註三}", "{備註四}", "{備註五}"}));
    auto* memo = child<QPlainTextEdit>("Memo1");
    memo->setPlainText("您好");
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(0);
    memo->setTextCursor(cursor);
    fields->setCurrentIndex(1);
    emit fields->activated(1);
    fields->setCurrentIndex(9);
    emit fields->activated(9);
    EXPECT_EQ(memo->toPlainText(), "{姓名}{公司}您好");
    EXPECT_EQ(fields->currentIndex(), 0);
}

// Each member gets its own values; the history keeps what each received.
TEST_F(SmsSendWindowMergeTest, EachMemberReceivesAndTheHistoryKeepsItsOwnText) {
    addMembersWithFields();
    openWindow();
    addEveryMember();
    type("{姓名}{稱謂}({類別})生日{生日}");
    // A recipient without a birthday is refused, listed by name.
    m_prompt.expect("下列1位接收人的欄位沒有資料﹕\n王(0900000003)﹕{稱謂}{生日}", true, true);
    click("BtnSend");
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());

    child<QCheckBox>("CheckBoxBlank")->setChecked(true);
    m_prompt.expect("發送完畢﹗\n共:3筆﹗");
    click("BtnSend");
    EXPECT_EQ(history(),
              (QStringList{"0900000001 林先生(VIP)生日60/05/03",
                           "0900000002 許功蓋小姐(一般)生日70/12/31", "0900000003 王(VIP)生日"}));
}

TEST_F(SmsSendWindowMergeTest, UnknownFieldsAreRefusedByName) {
    addMembersWithFields();
    openWindow();
    addEveryMember();
    type("{姓名} {電話} {姓名 }");
    m_prompt.expect("簡訊內容有不認得的欄位﹕{電話}、{姓名 }", true, true);
    click("BtnSend");
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
}

// The count follows the longest merged text; the cost line sets the total
// against the credit, and the preview shows every recipient's text.
TEST_F(SmsSendWindowMergeTest, TheCountAndPreviewFollowTheMergedTexts) {
    addMembersWithFields();
    openWindow();
    addEveryMember();
    child<QCheckBox>("CheckBox2")->setChecked(false);
    type("{姓名}{稱謂}" + QString(62, QChar(0x6797)));
    // " 許功蓋小姐" + 62 = 68 characters; every text one part.
    EXPECT_EQ(child<QLabel>("lblParts")->text(), "字數﹕68  則數﹕1  全部接收人共﹕3則");
    EXPECT_EQ(child<QLabel>("lblCost")->text(), "簡訊剩餘通數﹕100  發送後剩﹕97");
    type("{姓名}{稱謂}" + QString(66, QChar(0x6797)));
    // 72 characters for 許功蓋小姐, 70 for 林先生, 68 for 王.
    EXPECT_EQ(child<QLabel>("lblParts")->text(), "字數﹕72  則數﹕2  全部接收人共﹕4則");

    onNextModal([](QWidget* window) {
        auto* grid = window->findChild<QTableWidget*>("GridPreview");
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->rowCount(), 3);
        EXPECT_EQ(grid->item(1, 0)->text(), "許功蓋小姐(0900000002)");
        EXPECT_EQ(grid->item(1, 1)->text(), " 許功蓋小姐" + QString(66, QChar(0x6797)));
        EXPECT_EQ(grid->item(1, 2)->text(), "72");
        EXPECT_EQ(grid->item(1, 3)->text(), "2");
        EXPECT_EQ(grid->item(1, 4)->text(), "");
        EXPECT_EQ(grid->item(2, 4)->text(), "沒有資料﹕{稱謂}");
        QTest::keyClick(window, Qt::Key_Escape);
    });
    click("BtnPreview");
}

// More parts than the credit, or more than a hundred, are confirmed first
// with the total; No sends nothing.
TEST_F(SmsSendWindowMergeTest, ALargeOrUncoveredRunIsConfirmedWithItsTotal) {
    const struct {
        const char* title;
        const char* credit;
        const char* question;
    } cases[] = {
        {"more than the credit", "100", "本次發送共需105則簡訊﹐簡訊剩餘通數只有100則"},
        {"more than a hundred", "1000", "本次發送給3位接收人﹐共需105則簡訊"},
    };
    addMembersWithFields();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        m_sim.emplace(accountOptions() + QStringList{"--credit", c.credit});
        pointGatewayAt(*m_sim);
        openWindow();
        addEveryMember();
        type(QString(67 * 35 - 1, 'x')); // " " + the text: 35 parts each
        m_prompt.expect(QString::fromUtf8(c.question), false, true);
        click("BtnSend");
        EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
        EXPECT_EQ(m_prompt.pending(), 0);
    }
}

// Inside the quiet hours sending asks, No by default; No offers the
// scheduled-sending box set to the next allowed time.
TEST_F(SmsSendWindowMergeTest, SendingInsideTheQuietHoursAsksAndOffersTheNextAllowedTime) {
    addMembersWithFields();
    writeQuietHours(""); // the default hours
    openWindow();
    m_window->setClock([] { return QDateTime(QDate(2026, 12, 11), QTime(21, 30)); });
    addEveryMember();
    type("晚安");
    m_prompt.expectEnter("2026/12/11 21:30 在簡訊靜默時段(21:00-09:00,12:30-13:30)內", true);
    click("BtnSend");
    EXPECT_EQ(m_prompt.shown().last().defaultButton, Prompt::No);
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
    EXPECT_TRUE(child<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_EQ(child<QDateTimeEdit>("DBDateTimeEditEh1")->dateTime(),
              QDateTime(QDate(2026, 12, 12), QTime(9, 0)));

    // Scheduled for the allowed time, it goes without a question.
    m_prompt.expect("發送完畢﹗\n共:3筆﹗");
    click("BtnSend");
    EXPECT_EQ(m_sim->loggedMessages().size(), 3);

    // Outside the hours nothing is asked; inside, Yes sends now.
    child<QCheckBox>("CheckBox3")->setChecked(false);
    m_window->setClock([] { return QDateTime(QDate(2026, 12, 11), QTime(12, 45)); });
    // The quiet hours are asked about before sending again is.
    m_prompt.expect("12:45 在簡訊靜默時段", true, true);
    m_prompt.expect("確定要全部重新發送嗎", true, true);
    m_prompt.expect("發送完畢﹗\n共:3筆﹗");
    click("BtnSend");
    EXPECT_EQ(m_sim->loggedMessages().size(), 6);
}

} // namespace
