#include "base/errors.h"
#include "db/connection.h"
#include "sms/gateway_client.h"
#include "sms/send_checks.h"
#include "sms/send_run.h"
#include "sms/signatures.h"
#include "tests/sms/sms_database_fixture.h"
#include "tests/support/refusing_trigger.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <algorithm>
#include <optional>

namespace {

using namespace std::chrono_literals;

class SmsSendRunTest : public SmsDatabaseTest {
protected:
    QList<QVariantMap> history() {
        return rows("select CustID, CustName, Salutation, Tel, Message, SendDate, Memo, Sign "
                    "from MessageHistory order by ID");
    }
};

const QList<sms::Recipient> kThreeLines{
    {"林先生", "0900000001"}, {"許功蓋小姐", "0900000002"}, {"王", "0900000003"}};

TEST_F(SmsSendRunTest, EveryLineIsSentRecordedAndTheNewSignatureKept) {
    GatewayClient gateway(m_sim->config());
    const sms::Composition composition{true, "週末 100% 特價\r\n歡迎光臨 & 參觀", true, "小店"};
    QList<std::pair<int, int>> progress;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const sms::RunResult result =
        sms::sendToAll(gateway, kThreeLines, composition, std::nullopt, [&](int i, int n) {
            progress.append({i, n});
            // The row is stored when the progress shows.
            EXPECT_EQ(count("select count(*) from MessageHistory"), i);
        });
    EXPECT_FALSE(result.stopped());
    EXPECT_EQ(result.states, QList<sms::Delivery>(3, sms::Delivery::Sent));
    EXPECT_TRUE(result.unconfirmed.isEmpty());
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
        EXPECT_EQ(recorded[i]["Memo"].toString(), "OK"); // the gateway's answer
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
    sms::sendToAll(gateway, {{"陳", "0911"}}, composition, std::nullopt, {});
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
    sms::sendToAll(gateway, {{"陳", "0911"}}, composition,
                   QDateTime(QDate(2030, 1, 2), QTime(8, 30, 0)), {});
    const QList<QJsonObject> logged = m_sim->loggedMessages();
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0]["message"].toString(), " 你好  ");
    EXPECT_EQ(logged[0]["bf"].toString(), "2030/01/02 08:30:00");
}

TEST_F(SmsSendRunTest, AnEmptyListSendsNothingButKeepsTheSignature) {
    GatewayClient gateway(m_sim->config());
    int calls = 0;
    const sms::RunResult result = sms::sendToAll(gateway, {}, {false, "x", true, "署名甲"},
                                                 std::nullopt, [&](int, int) { ++calls; });
    EXPECT_TRUE(result.states.isEmpty());
    EXPECT_FALSE(result.stopped());
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(m_sim->loggedMessages().isEmpty());
    EXPECT_EQ(count("select count(*) from MessageHistory"), 0);
    EXPECT_EQ(sms::signatures::list(), QStringList{"署名甲"});
}

// A refused connection: nothing went out, so nothing is recorded for that
// recipient, and the run stops there.
TEST_F(SmsSendRunTest, AGatewayFailingOnTheSecondRecipientStopsTheRunThere) {
    GatewayClient gateway(m_sim->config(2s));
    QList<QJsonObject> loggedBeforeFailure;
    const QString host = m_sim->host();
    const sms::RunResult result = sms::sendToAll(
        gateway, kThreeLines, {false, "通知", true, "署名乙"}, std::nullopt, [&](int i, int) {
            if (i == 1) {
                loggedBeforeFailure = m_sim->loggedMessages();
                m_sim.reset(); // the gateway goes away
            }
        });
    EXPECT_EQ(result.states, (QList<sms::Delivery>{sms::Delivery::Sent, sms::Delivery::Pending,
                                                   sms::Delivery::Pending}));
    ASSERT_TRUE(result.stopped());
    EXPECT_TRUE(result.stopReason->startsWith("無法連線到簡訊閘道 " + host))
        << result.stopReason->toStdString();
    EXPECT_TRUE(result.unconfirmed.isEmpty());
    ASSERT_EQ(loggedBeforeFailure.size(), 1);
    EXPECT_EQ(loggedBeforeFailure[0]["movetel"].toString(), "0900000001");
    const QList<QVariantMap> recorded = history();
    ASSERT_EQ(recorded.size(), 1);
    EXPECT_EQ(recorded[0]["CustName"].toString(), "林先生");
    EXPECT_TRUE(sms::signatures::list().isEmpty());
}

// The gateway takes the second message after the client gave up: the history
// holds it as unconfirmed, and continuing sends only the third.
TEST_F(SmsSendRunTest, AMessageAnsweredTooLateIsRecordedUnconfirmedAndNotSentAgain) {
    m_sim.emplace(accountOptions() + QStringList{"--delay-ms", "3000", "--slow-messages", "2"});
    GatewayClient gateway(m_sim->config(1s));
    const sms::Composition composition{true, "週年慶", true, "小店"};
    sms::DeliveredTexts delivered;
    const sms::RunResult first =
        sms::sendToAll(gateway, kThreeLines, composition, std::nullopt, {}, &delivered);
    EXPECT_EQ(first.states, (QList<sms::Delivery>{sms::Delivery::Sent, sms::Delivery::Unconfirmed,
                                                  sms::Delivery::Pending}));
    EXPECT_EQ(first.unconfirmed, QStringList{"許功蓋小姐 (0900000002)"});
    ASSERT_TRUE(first.stopped());
    EXPECT_TRUE(first.stopReason->contains("沒有回應")) << first.stopReason->toStdString();
    EXPECT_TRUE(sms::signatures::list().isEmpty());

    // Only what was left, with what the first part delivered remembered.
    const sms::RunResult rest =
        sms::sendToAll(gateway, {kThreeLines[2]}, composition, std::nullopt, {}, &delivered);
    EXPECT_EQ(rest.states, QList<sms::Delivery>{sms::Delivery::Sent});
    EXPECT_EQ(sms::signatures::list(), QStringList{"小店"});

    // The slow gateway did deliver the second message, once it was done.
    const QList<QJsonObject> logged = m_sim->waitForMessages(3);
    const QList<QVariantMap> recorded = history();
    ASSERT_EQ(logged.size(), 3);
    ASSERT_EQ(recorded.size(), 3);
    const QStringList memos{"OK", "未確認：等候回應逾時", "OK"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QString phone = recorded[i]["Tel"].toString();
        const auto match = std::find_if(logged.begin(), logged.end(), [&](const QJsonObject& m) {
            return m["movetel"].toString() == phone;
        });
        ASSERT_NE(match, logged.end()) << phone.toStdString();
        EXPECT_EQ((*match)["message"].toString(),
                  recorded[i]["CustName"].toString() + ": 週年慶  小店");
        EXPECT_EQ(recorded[i]["Memo"].toString(), memos[i]);
    }
    QStringList phones;
    for (const QJsonObject& m : logged)
        phones << m["movetel"].toString();
    phones.sort();
    EXPECT_EQ(phones, (QStringList{"0900000001", "0900000002", "0900000003"}));
}

// A connection closed while waiting for the answer may have delivered too.
TEST_F(SmsSendRunTest, AConnectionDroppedWhileWaitingLeavesAnUnconfirmedRow) {
    m_sim.emplace(accountOptions() + QStringList{"--drop"});
    GatewayClient gateway(m_sim->config(2s));
    const sms::RunResult result =
        sms::sendToAll(gateway, kThreeLines, {false, "通知", false, ""}, std::nullopt, {});
    EXPECT_EQ(result.states,
              (QList<sms::Delivery>{sms::Delivery::Unconfirmed, sms::Delivery::Pending,
                                    sms::Delivery::Pending}));
    EXPECT_EQ(result.unconfirmed, QStringList{"林先生 (0900000001)"});
    const QList<QVariantMap> recorded = history();
    ASSERT_EQ(recorded.size(), 1);
    EXPECT_EQ(recorded[0]["Tel"].toString(), "0900000001");
    EXPECT_EQ(recorded[0]["Memo"].toString(), "未確認：連線中斷");
}

// The answer is not judged, but it is kept: a refusal can be read later.
TEST_F(SmsSendRunTest, EveryAnswerIsKeptInTheMemo) {
    m_sim.emplace(accountOptions() + QStringList{"--credit", "1"});
    GatewayClient gateway(m_sim->config());
    const sms::Composition composition{false, "通知", false, ""};
    sms::sendToAll(gateway, {kThreeLines[0], kThreeLines[1]}, composition, std::nullopt, {});
    LoginSession::current().CustPwd = "舊密碼";
    const sms::RunResult refused =
        sms::sendToAll(gateway, {kThreeLines[2]}, composition, std::nullopt, {});
    EXPECT_EQ(refused.states, QList<sms::Delivery>{sms::Delivery::Sent});
    QStringList memos;
    for (const QVariantMap& row : history())
        memos << row["Memo"].toString();
    EXPECT_EQ(memos, (QStringList{"OK", "點數不足", "帳號或密碼錯誤"}));
}

TEST_F(SmsSendRunTest, TheSameTextGoesToOneNumberOnlyOnceARun) {
    const QList<sms::Recipient> lines{
        {"林", "0911-222 333"}, {"林", "0911222333"}, {"王", "0911222333"}, {"陳", "0922"}};
    const struct {
        bool prefix;
        QList<sms::Delivery> states;
    } cases[] = {
        // Without the prefix every text is the same.
        {false,
         {sms::Delivery::Sent, sms::Delivery::Repeated, sms::Delivery::Repeated,
          sms::Delivery::Sent}},
        // With it, 王's text differs from 林's.
        {true,
         {sms::Delivery::Sent, sms::Delivery::Repeated, sms::Delivery::Sent, sms::Delivery::Sent}},
    };
    GatewayClient gateway(m_sim->config());
    int logged = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefix);
        QList<int> progress;
        const sms::RunResult result =
            sms::sendToAll(gateway, lines, {c.prefix, "通知", false, ""}, std::nullopt,
                           [&](int i, int) { progress << i; });
        EXPECT_EQ(result.states, c.states);
        EXPECT_EQ(progress, (QList<int>{1, 2, 3, 4}));
        logged += result.count(sms::Delivery::Sent);
        EXPECT_EQ(m_sim->loggedMessages().size(), logged);
        EXPECT_EQ(count("select count(*) from MessageHistory"), logged);
    }
}

// The row goes in before the request: a row that cannot be stored keeps the
// message from leaving; one that cannot be brought up to date afterwards
// stays unconfirmed. Either way the run stops and names the recipient.
TEST_F(SmsSendRunTest, AHistoryThatRefusesTheRowStopsTheRunNamingTheRecipient) {
    const struct {
        const char* refusing;
        QList<sms::Delivery> states;
        QString reason;
        int logged;
        QStringList memos;
    } cases[] = {
        {"insert",
         {sms::Delivery::Pending, sms::Delivery::Pending, sms::Delivery::Pending},
         "無法記入發送歷史﹐林先生 (0900000001) 的簡訊沒有送出",
         0,
         {}},
        {"update",
         {sms::Delivery::Sent, sms::Delivery::Pending, sms::Delivery::Pending},
         "林先生 (0900000001) 的發送歷史無法更新﹐仍記為未確認",
         1,
         {"未確認：送出中"}},
    };
    int loggedBefore = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusing);
        db::run("delete from MessageHistory");
        std::optional<RefusingTrigger> noRoom;
        noRoom.emplace(QStringLiteral("MessageHistory"), QString::fromLatin1(c.refusing),
                       QStringLiteral("database or disk is full"));
        GatewayClient gateway(m_sim->config());
        const sms::RunResult result =
            sms::sendToAll(gateway, kThreeLines, {false, "通知", false, ""}, std::nullopt, {});
        noRoom.reset();
        EXPECT_EQ(result.states, c.states);
        ASSERT_TRUE(result.stopped());
        EXPECT_TRUE(result.stopReason->startsWith(c.reason)) << result.stopReason->toStdString();
        EXPECT_EQ(m_sim->loggedMessages().size(), loggedBefore + c.logged);
        loggedBefore += c.logged;
        QStringList memos;
        for (const QVariantMap& row : history())
            memos << row["Memo"].toString();
        EXPECT_EQ(memos, c.memos);
    }
}

// While the request is out, another program on the same file already finds
// the message in the history, as unconfirmed.
TEST_F(SmsSendRunTest, TheRowIsInTheHistoryWhileTheRequestIsOut) {
    m_sim.emplace(accountOptions() + QStringList{"--delay-ms", "5000"});
    QProcess reader;
    reader.start(LUNMARK_HISTORY_READER, {m_database.path(), "1000"});
    ASSERT_TRUE(reader.waitForStarted());
    GatewayClient gateway(m_sim->config(3s)); // the reader reads in the middle
    const sms::RunResult result =
        sms::sendToAll(gateway, {kThreeLines[0]}, {false, "通知", false, ""}, std::nullopt, {});
    EXPECT_EQ(result.states, QList<sms::Delivery>{sms::Delivery::Unconfirmed});
    ASSERT_TRUE(reader.waitForFinished(10'000));
    const QJsonObject seen = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    EXPECT_EQ(seen["Tel"].toString(), "0900000001");
    EXPECT_EQ(seen["Memo"].toString(), "未確認：送出中");
    EXPECT_EQ(history().value(0)["Memo"].toString(), "未確認：等候回應逾時");
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
        QList<sms::Recipient> lines;
        sms::Composition composition;
        QString refusal; // empty: the run may go
    } cases[] = {
        {"ordinary", {{"林先生", "0900"}}, {true, "你好", true, "店"}, ""},
        {"fifty-character name", {{QString(50, QChar(0x6797)), "0900"}}, {}, ""},
        {"long name",
         {{"王", "09"}, {longName, "0900"}},
         {},
         "第2位接收人「" + longName +
             "(0900)」的姓名超過50個字﹐無法記入發送歷史﹐請修改後再發送﹗"},
        {"long phone",
         {{"王", QString(51, '9')}},
         {},
         "第1位接收人「王(" + QString(51, '9') +
             ")」的電話超過50個字﹐無法記入發送歷史﹐請修改後再發送﹗"},
        {"long signature",
         {{"王", "09"}},
         {false, "", false, QString(51, 'x')},
         "署名超過50個字﹐無法記入發送歷史﹐請修改後再發送﹗"},
        {"long signature, nobody to send to", {}, {false, "", false, QString(51, 'x')}, ""},
        {"simplified message",
         {{"王", "09"}},
         {false, "简体", false, ""},
         "第1位接收人「王(09)」的簡訊含有無法以Big5發送的字﹕简﹐請修改後再發送﹗"},
        {"simplified name with prefix",
         {{"王", "09"}, {"刘", "09"}},
         {true, "你好", false, ""},
         "第2位接收人「刘(09)」的簡訊含有無法以Big5發送的字﹕刘﹐請修改後再發送﹗"},
        {"simplified name without prefix", {{"刘", "09"}}, {false, "你好", false, ""}, ""},
        {"unticked simplified signature", {{"王", "09"}}, {false, "你好", false, "签"}, ""},
        {"ticked simplified signature",
         {{"王", "09"}},
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
