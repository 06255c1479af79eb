// lunmark --send: the send run from a shell without any display, against the
// simulator and against a gateway on raw sockets that breaks a connection.
#include "db/connection.h"
#include "sms/gateway_config.h"
#include "tests/sms/gateway_sim_process.h"
#include "tests/sms/raw_gateway.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_database.h"

#include <QFile>
#include <QJsonObject>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class CommandLineSendTest : public ::testing::Test {
protected:
    void pointGatewayAt(const QString& host) {
        QFile ini(GatewayConfig::iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Gateway]\nSendHost=" + host.toUtf8() + "\nAccountHost=" + host.toUtf8() +
                  "\nConnectTimeout=2\nTimeout=2\n");
    }
    ShellRun send(const QStringList& arguments, const QByteArray& answer = {}) {
        db::closeConnection(); // the program opens the register itself
        return runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM),
                                 QStringList{"--send", "--database", m_database.path()} + arguments,
                                 answer);
    }
    QStringList history() {
        QStringList rows;
        QSqlQuery query = db::run("select CustName, Tel, Memo from MessageHistory order by ID");
        while (query.next())
            rows << query.value(0).toString() + '|' + query.value(1).toString() + '|' +
                        query.value(2).toString();
        return rows;
    }

    TempDatabase m_database;
};

TEST_F(CommandLineSendTest, EveryMessageSentPrintsItsLineAndExitsZero) {
    GatewaySimProcess sim;
    pointGatewayAt(sim.host());
    const ShellRun run = send({"--to", "0912000001,+886 912 000 002", "--message", "週年慶",
                               "--name", "會員", "--sign", "小店", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.output.contains("0912000001\t已發送\tOK")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("+886 912 000 002\t已發送\tOK"));
    EXPECT_TRUE(run.output.contains("已發送:2筆  未確認:0筆  被拒:0筆  未發送:0筆"));
    const QList<QJsonObject> logged = sim.loggedMessages();
    ASSERT_EQ(logged.size(), 2);
    EXPECT_EQ(logged[1]["movetel"].toString(), "0912000002");
    EXPECT_EQ(logged[0]["message"].toString(), "會員: 週年慶  小店");
    EXPECT_EQ(history(), (QStringList{"會員|0912000001|OK", "會員|+886 912 000 002|OK"}));
}

// A gateway that reads the second message and closes: it reads it once, the
// program says 未確認 and exits 3.
TEST_F(CommandLineSendTest, AMessageThatMayHaveGoneOutIsUnconfirmedAndExitsThree) {
    RawGateway gateway(RawGateway::Fault::CloseAfterRead, RawGateway::Then::Answer, "0912000002");
    pointGatewayAt(gateway.host());
    const ShellRun run =
        send({"--to", "0912000001,0912000002,0912000003", "--message", "通知", "--yes"});
    EXPECT_EQ(run.exitCode, 3) << run.errors.toStdString();
    EXPECT_TRUE(run.output.contains("0912000002\t未確認")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("0912000003\t未發送"));
    EXPECT_EQ(gateway.timesRead("0912000002"), 1);
    EXPECT_EQ(gateway.timesRead("0912000003"), 0);
    const QStringList rows = history();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[1].startsWith("|0912000002|未確認")) << rows[1].toStdString();
}

// Before sending: a bad command line, a number no gateway takes, and a No
// (the default) to the question each send nothing and exit 1.
TEST_F(CommandLineSendTest, NothingIsSentWithoutAYesOrWithBadInput) {
    GatewaySimProcess sim;
    pointGatewayAt(sim.host());
    const struct {
        QStringList arguments;
        QByteArray answer;
        QString said;
        bool onOutput;
    } cases[] = {
        {{"--to", "0912000001", "--message", "你好"}, "\n", "簡訊剩餘通數﹕100", true},
        {{"--to", "0912000001", "--message", "你好"}, "n\n", "沒有發送", true},
        {{"--to", "0912-ABC", "--message", "你好", "--yes"}, {}, "手機號碼「0912-ABC」", false},
        {{"--to", "0912000001", "--yes"}, {}, "請以 --message 給簡訊內容", false},
        {{"--to", "0912000001", "--message", "简体", "--yes"}, {}, "無法以Big5發送", false},
        {{"--message", "你好", "--yes"}, {}, "請以 --to", false},
        {{"--to", "0912000001", "--message", "x", "--bogus"}, {}, "不認得的參數 --bogus", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ShellRun run = send(c.arguments, c.answer);
        EXPECT_EQ(run.exitCode, 1);
        const QString& where = c.onOutput ? run.output : run.errors;
        EXPECT_TRUE(where.contains(c.said)) << where.toStdString();
    }
    EXPECT_TRUE(sim.loggedMessages().isEmpty());
    EXPECT_TRUE(history().isEmpty());
}

} // namespace
