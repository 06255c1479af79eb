#include "app/errors.h"
#include "sms/gateway_client.h"
#include "sms/send_checks.h"
#include "sms/send_run.h"
#include "sms/signatures.h"
#include "tests/sms/sms_database_fixture.h"

#include <QDateTime>
#include <QJsonObject>

namespace {

using namespace std::chrono_literals;

class SmsSendRunTest : public SmsDatabaseTest {
protected:
    QList<QVariantMap> history() {
        return rows("select CustID, CustName, Salutation, Tel, Message, SendDate, Memo, Sign "
                    "from MessageHistory order by ID");
    }
};

const QStringList kThreeLines{"林先生(0900000001)", "許功蓋小姐(0900000002)", "王(0900000003)"};

TEST_F(SmsSendRunTest, EveryLineIsSentRecordedAndTheNewSignatureKept) {
    GatewayClient gateway(m_sim->config());
    const sms::Composition composition{true, "週末 100% 特價\r\n歡迎光臨 & 參觀", true, "小店"};
    QList<std::pair<int, int>> progress;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const int sent =
        sms::sendToAll(gateway, kThreeLines, composition, std::nullopt, [&](int i, int n) {
            progress.append({i, n});
            // The row is stored when the progress shows.
            EXPECT_EQ(count("select count(*) from MessageHistory"), i);
        });
    EXPECT_EQ(sent, 3);
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

    const QList<QJsonObject> logged = m_sim->loggedMessages();
    ASSERT_EQ(logged.size(), 3);
    const QStringList names{"林先生", "許功蓋小姐", "王"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(logged[i]["movetel"].toString(), QStringLiteral("090000000%1").arg(i + 1));
        EXPECT_EQ(logged[i]["name"].toString(), names[i] + ':');
        EXPECT_EQ(logged[i]["message"].toString(),
                  names[i] + ": 週末 100% 特價\r\n歡迎光臨 & 參觀  小店");
    }

    const QList<QVariantMap> recorded = history();
    ASSERT_EQ(recorded.size(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(recorded[i]["CustName"].toString(), names[i]);
        EXPECT_EQ(recorded[i]["Tel"].toString(), QStringLiteral("090000000%1").arg(i + 1));
        EXPECT_EQ(recorded[i]["Message"].toString(), composition.message);
        EXPECT_EQ(recorded[i]["Sign"].toString(), "小店");
        EXPECT_TRUE(recorded[i]["CustID"].isNull());
        EXPECT_TRUE(recorded[i]["Salutation"].isNull());
        EXPECT_TRUE(recorded[i]["Memo"].isNull());
        const QDateTime at =
            QDateTime::fromString(recorded[i]["SendDate"].toString(), "yyyy-MM-dd HH:mm:ss");
        EXPECT_TRUE(at >= before && at <= QDateTime::currentDateTime())
            << at.toString().toStdString();
    }
    EXPECT_EQ(sms::signatures::list(), QStringList{"小店"});
}

TEST_F(SmsSendRunTest, AnUntickedSignatureIsStillRecordedAndKept) {
    GatewayClient gateway(m_sim->config());
    const sms::Composition composition{false, "你好", false, " 新署名 "};
    sms::sendToAll(gateway, {"陳(0911)"}, composition, std::nullopt, {});
    const QList<QJsonObject> logged = m_sim->loggedMessages();
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0]["name"].toString(), "");
    // The two blanks before the missing signature go with the trimming.
    EXPECT_EQ(logged[0]["message"].toString(), " 你好");
    EXPECT_EQ(history().value(0)["Sign"].toString(), " 新署名 ");
    EXPECT_EQ(sms::signatures::list(), QStringList{"新署名"});
}

TEST_F(SmsSendRunTest, AScheduledRunCarriesTheTimeAndKeepsTrailingBlanks) {
    GatewayClient gateway(m_sim->config());
    const sms::Composition composition{false, "你好", false, ""};
    sms::sendToAll(gateway, {"陳(0911)"}, composition,
                   QDateTime(QDate(2030, 1, 2), QTime(8, 30, 0)), {});
    const QList<QJsonObject> logged = m_sim->loggedMessages();
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0]["message"].toString(), " 你好  ");
    EXPECT_EQ(logged[0]["bf"].toString(), "2030/01/02 08:30:00");
}

TEST_F(SmsSendRunTest, AnEmptyListSendsNothingButKeepsTheSignature) {
    GatewayClient gateway(m_sim->config());
    int calls = 0;
    EXPECT_EQ(sms::sendToAll(gateway, {}, {false, "x", true, "署名甲"}, std::nullopt,
                             [&](int, int) { ++calls; }),
              0);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
    EXPECT_EQ(count("select count(*) from MessageHistory"), 0);
    EXPECT_EQ(sms::signatures::list(), QStringList{"署名甲"});
}

TEST_F(SmsSendRunTest, AGatewayFailingOnTheSecondRecipientStopsTheRunThere) {
    GatewayClient gateway(m_sim->config(2s));
    QList<QJsonObject> loggedBeforeFailure;
    try {
        sms::sendToAll(gateway, kThreeLines, {false, "通知", true, "署名乙"}, std::nullopt,
                       [&](int i, int) {
                           if (i == 1) {
                               loggedBeforeFailure = m_sim->loggedMessages();
                               m_sim.reset(); // the gateway goes away
                           }
                       });
        ADD_FAILURE() << "the run did not fail";
    } catch (const TransferError& error) {
        EXPECT_FALSE(error.text().isEmpty());
    }
    ASSERT_EQ(loggedBeforeFailure.size(), 1);
    EXPECT_EQ(loggedBeforeFailure[0]["movetel"].toString(), "0900000001");
    const QList<QVariantMap> recorded = history();
    ASSERT_EQ(recorded.size(), 1);
    EXPECT_EQ(recorded[0]["CustName"].toString(), "林先生");
    EXPECT_TRUE(sms::signatures::list().isEmpty());
}

TEST_F(SmsSendRunTest, AKnownSignatureIsNotStoredTwice) {
    GatewayClient gateway(m_sim->config());
    sms::signatures::saveIfNew("Shop");
    sms::sendToAll(gateway, {}, {false, "", true, "shop"}, std::nullopt, {});
    sms::sendToAll(gateway, {}, {false, "", true, "   "}, std::nullopt, {});
    EXPECT_EQ(sms::signatures::list(), QStringList{"Shop"});
}

TEST(SmsSendChecks, ARunThatCouldNotBeRecordedOrEncodedIsRefusedBeforehand) {
    const QString longName(51, QChar(0x6797));
    const struct {
        const char* title;
        QStringList lines;
        sms::Composition composition;
        QString refusal; // empty: the run may go
    } cases[] = {
        {"ordinary", {"林先生(0900)"}, {true, "你好", true, "店"}, ""},
        {"fifty-character name", {QString(50, QChar(0x6797)) + "(0900)"}, {}, ""},
        {"long name",
         {"王(09)", longName + "(0900)"},
         {},
         "第2位接收人「" + longName +
             "(0900)」的姓名超過50個字﹐無法記入發送歷史﹐請修改後再發送﹗"},
        {"long phone",
         {"王(" + QString(51, '9') + ")"},
         {},
         "第1位接收人「王(" + QString(51, '9') +
             ")」的電話超過50個字﹐無法記入發送歷史﹐請修改後再發送﹗"},
        {"long signature",
         {"王(09)"},
         {false, "", false, QString(51, 'x')},
         "署名超過50個字﹐無法記入發送歷史﹐請修改後再發送﹗"},
        {"long signature, nobody to send to", {}, {false, "", false, QString(51, 'x')}, ""},
        {"simplified message",
         {"王(09)"},
         {false, "简体", false, ""},
         "第1位接收人「王(09)」的簡訊含有無法以Big5發送的字﹕简﹐請修改後再發送﹗"},
        {"simplified name with prefix",
         {"王(09)", "刘(09)"},
         {true, "你好", false, ""},
         "第2位接收人「刘(09)」的簡訊含有無法以Big5發送的字﹕刘﹐請修改後再發送﹗"},
        {"simplified name without prefix", {"刘(09)"}, {false, "你好", false, ""}, ""},
        {"unticked simplified signature", {"王(09)"}, {false, "你好", false, "签"}, ""},
        {"ticked simplified signature",
         {"王(09)"},
         {false, "你好", true, "签"},
         "第1位接收人「王(09)」的簡訊含有無法以Big5發送的字﹕签﹐請修改後再發送﹗"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const std::optional<QString> refusal = sms::sendRefusal(c.lines, c.composition);
        EXPECT_EQ(refusal.value_or(QString()), c.refusal);
    }
}

} // namespace
