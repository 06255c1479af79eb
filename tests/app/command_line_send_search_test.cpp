// lunmark --send --search: the enabled members a saved search finds receive
// the message, each under their own name; members without a mobile number
// are counted, a search that is not there sends nothing.
#include "db/connection.h"
#include "members/saved_search.h"
#include "sms/gateway_config.h"
#include "tests/sms/gateway_sim_process.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_database.h"

#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

class CommandLineSendSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* const members[][4] = {{"1", "陳一", "先生", "0912000001"},
                                          {"2", "林二", "小姐", ""},
                                          {"3", "王三", "先生", "0912000003"},
                                          {"4", "陳四", "小姐", "0912000004"}};
        for (const auto& m : members)
            db::run(QStringLiteral("insert into Cust(id, name, Name1, CDTel, isEnabled) "
                                   "values(:id, :name, :Name1, :CDTel, :on)"),
                    {{"id", QString::fromUtf8(m[0])},
                     {"name", QString::fromUtf8(m[1])},
                     {"Name1", QString::fromUtf8(m[2])},
                     {"CDTel", QString::fromUtf8(m[3])},
                     {"on", QString::fromUtf8(m[0]) != QLatin1String("4")}});
        members::saved::SavedSearch search;
        search.name = QStringLiteral("陳林");
        search.input.criterion = members::search::Number;
        search.input.value = QStringLiteral("1");
        search.input.upper = QStringLiteral("4");
        members::saved::saveSearch(search, false);
        db::run(QStringLiteral("update SavedSearch set Criterion = 1, Value = '陳'"));
    }

    ShellRun send(const QStringList& arguments) {
        QFile ini(GatewayConfig::iniPath());
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Gateway]\nSendHost=" + m_sim.host().toUtf8() +
                  "\nAccountHost=" + m_sim.host().toUtf8() + "\nConnectTimeout=2\nTimeout=2\n");
        ini.close();
        db::closeConnection(); // the program opens the register itself
        return runWithoutDisplay(QStringLiteral(LUNMARK_PROGRAM),
                                 QStringList{"--send", "--database", m_database.path()} +
                                     arguments);
    }

    TempDatabase m_database;
    GatewaySimProcess m_sim;
};

TEST_F(CommandLineSendSearchTest, EnabledMembersTheSearchFindsReceiveTheMessage) {
    const ShellRun run =
        send({"--search", "陳林", "--message", "生日快樂", "--name", "x", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QList<QJsonObject> logged = m_sim.loggedMessages();
    ASSERT_EQ(logged.size(), 1) << run.output.toStdString(); // 陳四 is not enabled
    EXPECT_EQ(logged[0]["movetel"].toString(), "0912000001");
    EXPECT_EQ(logged[0]["message"].toString(), QStringLiteral("陳一先生: 生日快樂"));
}

TEST_F(CommandLineSendSearchTest, MembersWithoutMobileAreCountedAndUnknownSearchSendsNothing) {
    db::run(QStringLiteral("update SavedSearch set Criterion = 0, Value = '', Upper = ''"));
    const ShellRun run = send({"--search", "陳林", "--message", "通知", "--yes"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("1 位會員沒有手機號碼﹐未加入")))
        << run.errors.toStdString();
    EXPECT_EQ(m_sim.loggedMessages().size(), 2);

    const ShellRun unknown = send({"--search", "沒有", "--message", "通知", "--yes"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.errors.contains(QStringLiteral("找不到常用查詢「沒有」")))
        << unknown.errors.toStdString();
    EXPECT_EQ(m_sim.loggedMessages().size(), 2);
}

} // namespace
