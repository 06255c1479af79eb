// What a send run leaves on the recipient lines, and what the window does
// with it afterwards: the states stay until the list is emptied or the
// window closes, whatever ended the run.
#include "sms/gateway_config.h"
#include "sms/signatures.h"
#include "tests/sms/raw_gateway.h"
#include "tests/sms/send_window_fixture.h"
#include "tests/support/refusing_trigger.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

class SmsSendWindowStates : public SmsSendWindowTest {
protected:
    void writeMessage(const QString& text) { child<QPlainTextEdit>("Memo1")->setPlainText(text); }
    QStringList toolTips() const {
        QStringList tips;
        auto* list = child<QListWidget>("ListBox1");
        for (int i = 0; i < list->count(); ++i)
            tips << list->item(i)->toolTip();
        return tips;
    }
    // The simulator's refusals, as a shop would name them in lunmark.ini.
    void nameRefusals(const QByteArray& expression) {
        QFile ini(GatewayConfig::iniPath());
        ASSERT_TRUE(ini.open(QIODevice::Append));
        ini.write("RefusedAnswer=" + expression + "\n");
    }
};

// A run that a misbehaving gateway breaks off on the second message: the
// credit box is asked again afterwards and shows what the gateway says now,
// or that it cannot say, never the figure from before the run.
TEST_F(SmsSendWindowStates, TheCreditIsAskedAgainAfterARunThatFailed) {
    using Fault = RawGateway::Fault;
    using Then = RawGateway::Then;
    const struct {
        Fault fault;
        Then then;
        const char* credit;
    } cases[] = {
        {Fault::CloseAfterRead, Then::Answer, "100"},
        {Fault::PartialStatusLine, Then::Answer, "100"},
        {Fault::ResetDuringBody, Then::Answer, "100"},
        {Fault::ResetDuringBody, Then::Hang, "(無法取得)"},
    };
    addThreeMembers();
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.fault) * 10 + int(c.then));
        RawGateway gateway(c.fault, c.then, "0900000002");
        QFile ini(GatewayConfig::iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Gateway]\nSendHost=" + gateway.host().toUtf8() +
                  "\nAccountHost=" + gateway.host().toUtf8() + "\nTimeout=1\n");
        ini.close();
        openWindow();
        addEveryMember();
        writeMessage("通知");
        auto* credit = child<QLineEdit>("Edit3");
        ASSERT_EQ(credit->text(), "100");
        credit->setText("96"); // what the box said before the run
        m_prompt.expect("發送中斷﹗", true, true);
        click("BtnSend");
        EXPECT_EQ(m_prompt.pending(), 0);
        EXPECT_EQ(credit->text(), QString::fromUtf8(c.credit));
        EXPECT_EQ(gateway.timesRead("0900000002"), 1);
    }
}

// Saving the new signature fails after every message went out: the lines
// still show what went, the credit is asked again, the report says what
// failed, and the next 發送簡訊 asks before paying twice.
TEST_F(SmsSendWindowStates, ASignatureThatCannotBeSavedLosesNothingOfTheRun) {
    addThreeMembers();
    openWindow();
    addEveryMember();
    writeMessage("通知");
    child<QComboBox>("DBComboBoxEh1")->setEditText("新署名");
    {
        RefusingTrigger busy("Sign", "insert", "database is locked");
        m_prompt.expect("發送完畢﹗\n共:3筆﹗\n新署名沒有儲存﹕", true, true);
        click("BtnSend");
    }
    EXPECT_EQ(m_prompt.shown().last().icon, Prompt::Icon::Warning);
    EXPECT_TRUE(m_prompt.shown().last().text.contains("database is locked"));
    EXPECT_EQ(toolTips(), QStringList(3, "已發送"));
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), "97");
    EXPECT_TRUE(sms::signatures::list().isEmpty());

    m_prompt.expectEnter("清單中有3位接收人已發送或可能已收到", true);
    click("BtnSend");
    EXPECT_EQ(m_sim->loggedMessages().size(), 3);
}

// With RefusedAnswer set, the gateway's refusal is 被拒: recorded with its
// text, not counted, and offered again by 繼續發送; the run goes on.
TEST_F(SmsSendWindowStates, ARefusedMessageIsRecordedAsSuchAndOfferedAgain) {
    m_sim.emplace(accountOptions() + QStringList{"--credit", "1"});
    pointGatewayAt(*m_sim);
    nameRefusals("^(點數不足|帳號或密碼錯誤)$");
    addThreeMembers();
    openWindow();
    addEveryMember();
    writeMessage("通知");
    m_prompt.expect("本次發送共需3則簡訊﹐簡訊剩餘通數只有1則", true, true);
    m_prompt.expect("發送完畢﹗\n共:1筆﹗  被拒:2筆\n許功蓋小姐 (0900000002)：點數不足 被拒\n"
                    "王 (0900000003)：點數不足 被拒");
    click("BtnSend");
    EXPECT_EQ(toolTips()[0], "已發送");
    EXPECT_TRUE(toolTips()[1].contains("被拒"));
    EXPECT_TRUE(toolTips()[2].contains("被拒"));
    QStringList memos;
    for (const QVariantMap& row : rows("select Memo from MessageHistory order by ID"))
        memos << row["Memo"].toString();
    EXPECT_EQ(memos, (QStringList{"OK", "被拒：點數不足", "被拒：點數不足"}));

    // 繼續發送 offers exactly the two refused lines again.
    auto* again = child<QPushButton>("BtnContinue");
    ASSERT_TRUE(again->isEnabled());
    m_prompt.expect("本次發送共需2則簡訊﹐簡訊剩餘通數只有0則", true, true);
    m_prompt.expect("發送完畢﹗\n共:0筆﹗  被拒:2筆", true, true);
    click("BtnContinue");
    EXPECT_EQ(count("select count(*) from MessageHistory where Tel = '0900000001'"), 1);
    EXPECT_EQ(count("select count(*) from MessageHistory where Tel <> '0900000001'"), 4);
}

// Without RefusedAnswer every answer counts as sent; a setting that is no
// regular expression stops the run before anything goes out.
TEST_F(SmsSendWindowStates, ABrokenRefusedAnswerSendsNothing) {
    nameRefusals("(未完成");
    addThreeMembers();
    openWindow();
    addEveryMember();
    writeMessage("通知");
    m_prompt.expect("發送中斷﹗\n已發送:0筆  未確認:0筆  未發送:3筆", true, true);
    click("BtnSend");
    EXPECT_TRUE(m_prompt.shown().last().text.contains("RefusedAnswer=(未完成 不是有效的規則運算式"))
        << m_prompt.shown().last().text.toStdString();
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
    EXPECT_EQ(count("select count(*) from MessageHistory"), 0);
}

// 關閉 after a run with lines left unsent asks, No by default; without a run
// or with nothing left it closes at once.
TEST_F(SmsSendWindowStates, ClosingWithUnsentLinesLeftAsksFirst) {
    addThreeMembers();
    openWindow();
    addEveryMember();
    click("BtnCancel");
    EXPECT_FALSE(m_window->isVisible()); // no run yet: nothing to lose

    openWindow();
    search(0);
    clickMark(0);
    click("BitBtn1");
    writeMessage("通知");
    m_prompt.expect("發送完畢﹗\n共:1筆﹗");
    click("BtnSend");
    m_window->addRecipient({"陳", "0900000009"});
    m_prompt.expectEnter("清單中還有1位接收人尚未發送﹐關閉後不會發送給他們。\n確定要關閉嗎﹖");
    click("BtnCancel");
    EXPECT_EQ(m_prompt.shown().last().defaultButton, Prompt::No);
    EXPECT_TRUE(m_window->isVisible());
    m_prompt.expect("清單中還有1位接收人尚未發送", true, true);
    m_window->close(); // the close box
    EXPECT_FALSE(m_window->isVisible());
}

} // namespace
