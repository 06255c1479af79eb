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
        ini.write("[Sms]\nQuietHours=" + m_quietHours + "\n[Gateway]\nSendHost=" + host.toUtf8() +
                  "\nAccountHost=" + host.toUtf8() + "\nConnectTimeout=2\nTimeout=2\n");
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
    // None unless a test sets its own: sending is tested at any hour.
    QByteArray m_quietHours;
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

// --to numbers are matched to members by telephone (the one phone rule): a
// member gives its fields and its opt-out mark, any other number only the
// --name; each history row keeps the merged text.
TEST_F(CommandLineSendTest, NumbersMatchedToMembersAreMergedAndMarkedOnesLeftOut) {
    GatewaySimProcess sim;
    pointGatewayAt(sim.host());
    const auto addMember = [](const char* id, const char* name, const char* salutation,
                              const char* mobile, const char* tel, int noSms) {
        db::run("insert into Cust(id, name, Name1, CDTel, Tel, Kind, NoSms) "
                "values(:id, :name, :s, :m, :t, 'VIP', :n)",
                {{"id", id},
                 {"name", name},
                 {"s", salutation},
                 {"m", mobile},
                 {"t", tel},
                 {"n", noSms}});
    };
    addMember("A01", "林", "先生", "0912000001", "", 0);
    addMember("A02", "王", "小姐", "0912000002", "", 1);
    addMember("A03", "陳", "", "", "04-2345 6789", 0);
    const ShellRun run =
        send({"--to", "+886 912 000 001,0912-000-002,0423456789,0912000009", "--message",
              "{姓名}{稱謂}您好({會員編號})", "--blank-empty-fields", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.output.contains("0912-000-002\t不接收簡訊﹐略過")) << run.output.toStdString();
    QStringList received;
    for (const QJsonObject& message : sim.loggedMessages())
        received << message["movetel"].toString() + ' ' + message["message"].toString();
    EXPECT_EQ(received, (QStringList{"0912000001  林先生您好(A01)", "0423456789  陳您好(A03)",
                                     "0912000009  您好()"}));
    QStringList merged;
    QSqlQuery query = db::run("select CustName, Message from MessageHistory order by ID");
    while (query.next())
        merged << query.value(0).toString() + '|' + query.value(1).toString();
    EXPECT_EQ(merged, (QStringList{"林先生|林先生您好(A01)", "陳|陳您好(A03)", "|您好()"}));
}

// Fields are refused before anything goes out: unknown ones, and ones a
// recipient has no value for unless --blank-empty-fields is given; only
// marked members leave nothing to send.
TEST_F(CommandLineSendTest, FieldsAreCheckedAndMarkedMembersAloneSendNothing) {
    GatewaySimProcess sim;
    pointGatewayAt(sim.host());
    db::run("insert into Cust(id, name, CDTel, NoSms) values('A01', '林', '0912000001', 1)");
    const struct {
        QStringList arguments;
        const char* said;
    } cases[] = {
        {{"--to", "0912000005", "--message", "{電話}"}, "不認得的欄位﹕{電話}"},
        {{"--to", "0912000005", "--message", "{姓名}{生日}", "--name", "會員"},
         "下列1位接收人的欄位沒有資料﹕\n會員(0912000005)﹕{生日}"},
        {{"--to", "0912000001", "--message", "你好"}, "沒有可以發送的接收人"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        const ShellRun run = send(c.arguments + QStringList{"--yes"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.said))) << run.errors.toStdString();
    }
    EXPECT_TRUE(sim.loggedMessages().isEmpty());
    EXPECT_TRUE(history().isEmpty());
}

// Round-the-clock quiet hours: nothing goes out unless told to ignore them.
TEST_F(CommandLineSendTest, InsideTheQuietHoursNothingIsSentUnlessIgnored) {
    GatewaySimProcess sim;
    m_quietHours = "00:00-24:00";
    pointGatewayAt(sim.host());
    const QStringList arguments{"--to", "0912000001", "--message", "你好", "--yes"};
    const ShellRun refused = send(arguments);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains("是簡訊靜默時段(00:00-24:00)﹐沒有發送"))
        << refused.errors.toStdString();
    EXPECT_TRUE(refused.errors.contains("--ignore-quiet-hours"));
    EXPECT_TRUE(sim.loggedMessages().isEmpty());
    const ShellRun sent = send(arguments + QStringList{"--ignore-quiet-hours"});
    EXPECT_EQ(sent.exitCode, 0) << sent.errors.toStdString();
    EXPECT_EQ(sim.loggedMessages().size(), 1);
}

} // namespace
