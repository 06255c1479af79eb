#include "base/errors.h"
#include "sms/gateway_config.h"
#include "tests/support/temp_database.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class SmsGatewayConfigTest : public ::testing::Test {
protected:
    void writeIni(const QByteArray& text) {
        QFile file(GatewayConfig::iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    TempDatabase m_database;
};

TEST_F(SmsGatewayConfigTest, TheSettingsFileLivesBesideTheDatabase) {
    EXPECT_EQ(GatewayConfig::iniPath(), QDir(m_database.folder()).filePath("lunmark.ini"));
}

TEST_F(SmsGatewayConfigTest, GatewaySectionIsRead) {
    writeIni("[Gateway]\n"
             "SendHost = sms.example.com\n"
             "AccountHost=127.0.0.1:8080\n"
             "ScheduleDateFormat=dd MMM, yyyy\n"
             "ScheduleTimeFormat=hh:mm AP\n"
             "ConnectTimeout=2\n"
             "Timeout=1.5\n");
    const GatewayConfig config = GatewayConfig::load(GatewayConfig::iniPath());
    EXPECT_EQ(config.hostFor(GatewayHost::Send), "sms.example.com");
    EXPECT_EQ(config.hostFor(GatewayHost::Account), "127.0.0.1:8080");
    EXPECT_EQ(config.scheduleDateFormat, "dd MMM, yyyy");
    EXPECT_EQ(config.scheduleTimeFormat, "hh:mm AP");
    EXPECT_EQ(config.connectTimeout, 2000ms);
    EXPECT_EQ(config.timeout, 1500ms);
    EXPECT_TRUE(config.servicePhone.isEmpty());
}

TEST_F(SmsGatewayConfigTest, TheServicePhoneIsRead) {
    writeIni("[Gateway]\nServicePhone=(04)2345-6789\n");
    EXPECT_EQ(GatewayConfig::load(GatewayConfig::iniPath()).servicePhone, "(04)2345-6789");
}

TEST_F(SmsGatewayConfigTest, AHostMayCarryHttpsButNoOtherScheme) {
    const struct {
        QByteArray host;
        bool usable;
    } cases[] = {
        {"sms.example.com", true},
        {"https://sms.example.com", true},
        {"HTTPS://sms.example.com:8443", true},
        {"http://sms.example.com", true},
        {"ftp://sms.example.com", false},
        {"file:///etc/passwd", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host.toStdString());
        writeIni("[Gateway]\nSendHost=" + c.host + "\n");
        const GatewayConfig config = GatewayConfig::load(GatewayConfig::iniPath());
        if (c.usable) {
            EXPECT_EQ(config.hostFor(GatewayHost::Send), QString(c.host));
            continue;
        }
        try {
            config.hostFor(GatewayHost::Send);
            ADD_FAILURE() << "no error";
        } catch (const TransferError& error) {
            EXPECT_TRUE(error.text().contains("SendHost=" + QString(c.host)))
                << error.text().toStdString();
            EXPECT_TRUE(error.text().contains("https://"));
        }
    }
}

TEST_F(SmsGatewayConfigTest, MissingOrUnusableValuesKeepTheDefaults) {
    writeIni("[Gateway]\nSendHost=sms.example.com\nTimeout=soon\nConnectTimeout=-1\n");
    const GatewayConfig config = GatewayConfig::load(GatewayConfig::iniPath());
    const GatewayConfig defaults;
    EXPECT_EQ(config.scheduleDateFormat, "yyyy/MM/dd");
    EXPECT_EQ(config.scheduleTimeFormat, "HH:mm:ss");
    EXPECT_EQ(config.timeout, defaults.timeout);
    EXPECT_EQ(config.connectTimeout, defaults.connectTimeout);
    EXPECT_TRUE(config.accountHost.isEmpty());
}

TEST_F(SmsGatewayConfigTest, AHostNotConfiguredIsRefusedSayingWhereToSetIt) {
    const struct {
        QByteArray ini;
        GatewayHost host;
        QString key;
    } cases[] = {
        {"", GatewayHost::Send, "SendHost"},
        {"[Gateway]\nSendHost=sms.example.com\n", GatewayHost::Account, "AccountHost"},
        {"[Gateway]\nAccountHost=account.example.com\nSendHost=\n", GatewayHost::Send, "SendHost"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini.toStdString());
        writeIni(c.ini);
        const GatewayConfig config = GatewayConfig::load(GatewayConfig::iniPath());
        try {
            config.hostFor(c.host);
            ADD_FAILURE() << "no error";
        } catch (const TransferError& error) {
            EXPECT_TRUE(error.text().contains(QDir::toNativeSeparators(GatewayConfig::iniPath())))
                << error.text().toStdString();
            EXPECT_TRUE(error.text().contains("[Gateway]"));
            EXPECT_TRUE(error.text().contains(c.key));
        }
    }
}

} // namespace
