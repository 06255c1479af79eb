// The send run against a gateway on raw sockets that breaks the connection
// of one message in the ways real gateways do. Whatever happens, the gateway
// reads each message at most once, and a message it read is in the history
// as unconfirmed, never as sent and never taken back.
#include "db/connection.h"
#include "sms/gateway_client.h"
#include "sms/gateway_error.h"
#include "sms/send_run.h"
#include "tests/sms/raw_gateway.h"
#include "tests/sms/sms_database_fixture.h"

namespace {

using namespace std::chrono_literals;
using Fault = RawGateway::Fault;
using Then = RawGateway::Then;

class SmsSendRunWireTest : public SmsDatabaseTest {};

const QList<sms::Recipient> kLines{
    {"甲", "0911000001"}, {"乙", "0911000002"}, {"丙", "0911000003"}};
const std::string kFaulty = "0911000002";

TEST_F(SmsSendRunWireTest, AMessageTheGatewayReadIsNeitherSentAgainNorForgotten) {
    const struct {
        const char* title;
        Fault fault;
        Then then;
    } cases[] = {
        {"closed after reading, next connection answered", Fault::CloseAfterRead, Then::Answer},
        {"closed after reading, next connection refused", Fault::CloseAfterRead,
         Then::RefuseConnections},
        {"closed after reading, next connection hangs", Fault::CloseAfterRead, Then::Hang},
        {"half a status line", Fault::PartialStatusLine, Then::Answer},
        {"reset during the body", Fault::ResetDuringBody, Then::Answer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        db::run("delete from MessageHistory");
        RawGateway gateway(c.fault, c.then, kFaulty);
        GatewayClient client(gateway.config(1s));
        // The credit request leaves a kept connection for the run to meet.
        EXPECT_EQ(client.remainingCredit(), "100");
        const sms::RunResult result =
            sms::sendToAll(client, kLines, {false, "通知", false, ""}, std::nullopt, {});

        for (const auto& [phone, times] : gateway.allRead())
            EXPECT_LE(times, 1) << phone;
        EXPECT_EQ(gateway.timesRead(kFaulty), 1);
        EXPECT_EQ(result.states,
                  (QList<sms::Delivery>{sms::Delivery::Sent, sms::Delivery::Unconfirmed,
                                        sms::Delivery::Pending}));
        EXPECT_TRUE(result.stopped());
        QStringList recorded;
        for (const QVariantMap& row : rows("select Tel, Memo from MessageHistory order by ID"))
            recorded << row["Tel"].toString() + ' ' + row["Memo"].toString().left(3);
        EXPECT_EQ(recorded, (QStringList{"0911000001 OK", "0911000002 未確認"}));
    }
}

// Every failing way the gateway can meet a message, against a client whose
// earlier credit request keeps a connection open: the error always tells
// that the message may have gone out.
TEST_F(SmsSendRunWireTest, AFailureAfterTheGatewayReadTheMessageSaysItMayHaveGoneOut) {
    for (const Then then : {Then::Answer, Then::RefuseConnections, Then::Hang}) {
        SCOPED_TRACE(int(then));
        RawGateway gateway(Fault::CloseAfterRead, then, kFaulty);
        GatewayClient client(gateway.config(1s));
        client.remainingCredit();
        try {
            client.sendMessage("", QString::fromStdString(kFaulty), "x");
            ADD_FAILURE() << "no error";
        } catch (const GatewayError& error) {
            EXPECT_TRUE(error.requestSent()) << error.text().toStdString();
            EXPECT_TRUE(error.text().contains("閘道可能已經收到")) << error.text().toStdString();
        }
        EXPECT_EQ(gateway.timesRead(kFaulty), 1);
    }
}

} // namespace
