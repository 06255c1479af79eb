#include "admin/login_session.h"
#include "base/errors.h"
#include "sms/gateway_client.h"
#include "sms/http_client.h"
#include "sms/query_encoding.h"
#include "tests/sms/gateway_sim_process.h"

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// Stands in for the web browser: keeps the addresses the desktop is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler("http", this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler("http"); }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

class SmsBrowserPagesTest : public ::testing::Test {
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

    GatewaySimProcess m_sim{{"--supp-id", "D01", "--system-id", "SYS9", "--cust-id", "C123",
                             "--cust-pwd", "pw", "--cust-name", "林小姐"}};
    UrlCatcher m_browser;

private:
    LoginSession m_savedSession;
};

TEST_F(SmsBrowserPagesTest, PagesOpenAtAddressesTheGatewayAccepts) {
    const struct {
        void (GatewayClient::*open)();
        GatewayRequest (*request)(const GatewayAccount&);
        const char* title;
    } cases[] = {
        {&GatewayClient::openResultsPage, gateway::resultsPageRequest, "簡訊發送結果"},
        {&GatewayClient::openPurchasePage, gateway::purchasePageRequest, "購買點數"},
    };
    GatewayClient client(m_sim.config());
    HttpClient http;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        m_browser.opened.clear();
        (client.*c.open)();
        ASSERT_EQ(m_browser.opened.size(), 1);
        const QByteArray address = m_browser.opened[0].toEncoded();
        EXPECT_EQ(address, gateway::wireAddress(
                               c.request(GatewayAccount::fromSession(LoginSession::current())),
                               m_sim.host()));
        // Fetch the page the browser would show: the account values arrived intact.
        const QString page = QString::fromUtf8(http.get(address, m_sim.host(), {5s, 5s}).body);
        EXPECT_TRUE(page.contains(QStringLiteral("<h1>%1</h1>").arg(c.title)))
            << page.toStdString();
        EXPECT_FALSE(page.contains("帳號或密碼錯誤")) << page.toStdString();
    }
}

TEST_F(SmsBrowserPagesTest, NoPageOpensWhenTheAccountHostIsNotConfigured) {
    GatewayConfig config = m_sim.config();
    config.accountHost.clear();
    GatewayClient client(config);
    EXPECT_THROW(client.openResultsPage(), TransferError);
    EXPECT_THROW(client.openPurchasePage(), TransferError);
    EXPECT_TRUE(m_browser.opened.isEmpty());
}

} // namespace

#include "browser_pages_test.moc"
