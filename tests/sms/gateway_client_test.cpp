#include "admin/login_session.h"
#include "base/errors.h"
#include "sms/gateway_client.h"
#include "sms/gateway_error.h"
#include "tests/sms/gateway_sim_process.h"
#include "tests/support/temp_database.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// The account the simulator checks; the session carries the same values.
const QStringList kAccountOptions = {"--supp-id",   "D01",   "--system-id", "SYS9",
                                     "--cust-id",   "C123",  "--cust-pwd",  "pw",
                                     "--cust-name", "林小姐"};

class SmsGatewayClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedSession = LoginSession::current();
        LoginSession& session = LoginSession::current();
        session.SuppID = "D01";
        session.SystemID = "SYS9";
        session.CustID = "C123";
        session.CustPwd = "pw";
        session.CustName = "林小姐";
    }
    void TearDown() override { LoginSession::current() = m_savedSession; }

    GatewaySimProcess m_sim{kAccountOptions};

private:
    LoginSession m_savedSession;
};

TEST_F(SmsGatewayClientTest, AMessageReachesTheGatewayAsTheSameText) {
    GatewayClient client(m_sim.config());
    const QString message = " 許功蓋 & 100% 滿意\r\n第二行 a+b=c #1 ?x=y";
    EXPECT_EQ(client.sendMessage("林先生:", "0900000000", message).text, "OK");

    const QList<QJsonObject> logged = m_sim.loggedMessages();
    ASSERT_EQ(logged.size(), 1);
    EXPECT_EQ(logged[0]["message"].toString(), message);
    EXPECT_EQ(logged[0]["name"].toString(), "林先生:");
    EXPECT_EQ(logged[0]["movetel"].toString(), "0900000000");
    EXPECT_FALSE(logged[0].contains("bf"));
}

TEST_F(SmsGatewayClientTest, TheScheduleDecidesWhetherTrailingBlanksReachTheGateway) {
    const struct {
        std::optional<QDateTime> scheduledAt;
        QString message;
        QString arrives;
        QString bf; // empty: no bf key at all
    } cases[] = {
        {std::nullopt, " 你好  ", " 你好", ""},
        {QDateTime(QDate(2024, 5, 1), QTime(13, 5, 9)), " 你好  ", " 你好  ",
         "2024/05/01 13:05:09"},
        {QDateTime(QDate(2024, 5, 1), QTime(0, 0)), " 你好\r\n", " 你好\r\n", "2024/05/01"},
    };
    GatewayClient client(m_sim.config());
    for (const auto& c : cases)
        client.sendMessage("", "0900000000", c.message, c.scheduledAt);

    const QList<QJsonObject> logged = m_sim.loggedMessages();
    ASSERT_EQ(logged.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(logged[i]["message"].toString(), cases[i].arrives);
        EXPECT_EQ(logged[i].contains("bf"), !cases[i].bf.isEmpty());
        EXPECT_EQ(logged[i]["bf"].toString(), cases[i].bf);
    }
}

TEST_F(SmsGatewayClientTest, CreditIsAnsweredAndEachMessageLowersIt) {
    GatewayClient client(m_sim.config());
    EXPECT_EQ(client.remainingCredit(), "100");
    client.sendMessage("", "0900000001", "一");
    client.sendMessage("", "0900000002", "二");
    EXPECT_EQ(client.remainingCredit(), "98");
}

// A kept connection that the gateway closes after reading a request makes
// libcurl write the request again on a new one; a message never takes that
// road, credit requests before and between messages notwithstanding.
TEST_F(SmsGatewayClientTest, EachMessageGoesOutOnAConnectionOfItsOwn) {
    GatewayClient client(m_sim.config());
    for (int i = 0; i < 3; ++i) {
        client.remainingCredit();
        client.sendMessage("", "0900000000", QString::number(i));
    }
    const QList<QJsonObject> logged = m_sim.loggedMessages();
    ASSERT_EQ(logged.size(), 3);
    EXPECT_GT(logged[0]["peer_port"].toInt(), 0);
    EXPECT_NE(logged[1]["peer_port"], logged[0]["peer_port"]);
    EXPECT_NE(logged[2]["peer_port"], logged[1]["peer_port"]);
    EXPECT_NE(logged[2]["peer_port"], logged[0]["peer_port"]);
}

TEST_F(SmsGatewayClientTest, AChangedSessionAppliesToTheVeryNextRequest) {
    GatewayClient client(m_sim.config());
    LoginSession::current().CustPwd = "wrong";
    // The simulator refuses in Big5, as the gateway does; the answer reads as text.
    EXPECT_EQ(client.remainingCredit(), "帳號或密碼錯誤");
    EXPECT_EQ(client.sendMessage("", "0900000000", "x").text, "帳號或密碼錯誤");
    LoginSession::current().CustPwd = "pw";
    EXPECT_EQ(client.remainingCredit(), "100");
    EXPECT_TRUE(m_sim.loggedMessages().isEmpty());
}

// The answer's Content-Type decides how it reads: the same refusal in UTF-8.
TEST(SmsGatewayClientAnswers, AnAnswerInUtf8ReadsAsTheCharsetSays) {
    GatewaySimProcess sim({"--utf8-answers", "--cust-id", "C123"});
    const LoginSession saved = LoginSession::current();
    LoginSession::current() = LoginSession{};
    GatewayClient client(sim.config());
    EXPECT_EQ(client.remainingCredit(), "帳號或密碼錯誤");
    LoginSession::current().CustID = "C123";
    EXPECT_EQ(client.sendMessage("", "0900000000", "x").text, "OK");
    EXPECT_EQ(client.remainingCredit(), "99");
    LoginSession::current() = saved;
}

TEST_F(SmsGatewayClientTest, TextBig5CannotCarryIsRefusedAndNothingIsSent) {
    GatewayClient client(m_sim.config());
    EXPECT_THROW(client.sendMessage("", "0900000000", "简体字"), ConversionError);
    LoginSession::current().CustName = "José";
    EXPECT_THROW(client.remainingCredit(), ConversionError);
    LoginSession::current().CustName = "林小姐";
    EXPECT_EQ(client.remainingCredit(), "100");
    EXPECT_TRUE(m_sim.loggedMessages().isEmpty());
}

// A gateway that fails: the error says in Chinese what happened to which
// host, keeps libcurl's words as detail, and tells whether the request had
// gone out. A slow gateway takes the message after the client gave up.
TEST(SmsGatewayClientFailure, FailedTransfersSayWhatHappenedAndWhetherTheRequestWentOut) {
    const struct {
        QStringList options;
        QString said;
        bool requestSent;
        int loggedInTheEnd; // messages the simulator took, once it is done
    } cases[] = {
        {{"--delay-ms", "2500"}, "在時限內沒有回應", true, 1},
        {{"--status", "500"}, "HTTP 500", true, 0},
        {{"--status", "404"}, "HTTP 404", true, 0},
        {{"--drop"}, "的連線在回應完成前中斷", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        GatewaySimProcess sim(c.options);
        GatewayClient client(sim.config(1s));
        for (const auto& request :
             {std::function<void()>([&] { client.remainingCredit(); }),
              std::function<void()>([&] { client.sendMessage("", "09", "x"); })}) {
            try {
                request();
                ADD_FAILURE() << "no error";
            } catch (const GatewayError& error) {
                EXPECT_TRUE(error.text().contains(sim.host())) << error.text().toStdString();
                EXPECT_TRUE(error.text().contains(c.said)) << error.text().toStdString();
                EXPECT_EQ(error.requestSent(), c.requestSent);
                EXPECT_FALSE(error.cause().isEmpty());
            }
        }
        EXPECT_EQ(sim.waitForMessages(c.loggedInTheEnd, 5s).size(), c.loggedInTheEnd);
    }
}

TEST(SmsGatewayClientFailure, NothingGoesOutToAHostThatCannotBeReached) {
    QString closedHost;
    {
        GatewaySimProcess gone;
        closedHost = gone.host();
    }
    GatewaySimProcess plain; // no TLS: an https:// host fails in the handshake
    const struct {
        QString host;
        QString said;
    } cases[] = {
        {closedHost, "無法連線到簡訊閘道 " + closedHost},
        {"no-such-gateway.invalid", "找不到簡訊閘道的主機 no-such-gateway.invalid"},
        {"https://" + plain.host(), "無法與簡訊閘道 https://" + plain.host() + " 建立加密連線"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host.toStdString());
        GatewayConfig config;
        config.sendHost = c.host;
        config.accountHost = c.host;
        config.connectTimeout = 2s;
        config.timeout = 2s;
        GatewayClient client(config);
        try {
            client.sendMessage("", "09", "x");
            ADD_FAILURE() << "no error";
        } catch (const GatewayError& error) {
            EXPECT_TRUE(error.text().startsWith(c.said)) << error.text().toStdString();
            EXPECT_FALSE(error.requestSent());
            // libcurl's own English words are the detail, never the text.
            EXPECT_FALSE(error.detail().isEmpty());
            EXPECT_FALSE(error.text().contains(error.detail())) << error.text().toStdString();
            QString withoutHost = error.text();
            withoutHost.remove(c.host);
            EXPECT_FALSE(withoutHost.contains(QRegularExpression("[A-Za-z]{3,}")))
                << error.text().toStdString();
        }
    }
    EXPECT_TRUE(plain.loggedMessages().isEmpty());
}

// The settings file beside the database decides where requests go.
TEST_F(SmsGatewayClientTest, HostsComeFromTheSettingsFileAtEachRequest) {
    TempDatabase database;
    QFile ini(GatewayConfig::iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Gateway]\nAccountHost=" + m_sim.host().toUtf8() + "\n");
    ini.close();

    GatewayClient client;
    EXPECT_EQ(client.remainingCredit(), "100");
    try {
        client.sendMessage("", "0900000000", "x");
        ADD_FAILURE() << "sent without a send host";
    } catch (const TransferError& error) {
        EXPECT_TRUE(error.text().contains("SendHost")) << error.text().toStdString();
        EXPECT_TRUE(error.text().contains("lunmark.ini"));
    }

    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("SendHost=" + m_sim.host().toUtf8() + "\n");
    ini.close();
    EXPECT_EQ(client.sendMessage("", "0900000000", "x").text, "OK");
    EXPECT_EQ(m_sim.loggedMessages().size(), 1);
}

} // namespace
