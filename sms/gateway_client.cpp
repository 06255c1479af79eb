#include "sms/gateway_client.h"

#include "admin/login_session.h"
#include "sms/answer_text.h"
#include "sms/http_client.h"
#include "sms/query_encoding.h"
#include "sms/schedule_text.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QUrl>

namespace {

GatewayAccount sessionAccount() {
    return GatewayAccount::fromSession(LoginSession::current());
}

} // namespace

GatewayClient::GatewayClient() = default;

GatewayClient::GatewayClient(GatewayConfig config) : m_fixedConfig(std::move(config)) {}

GatewayClient::~GatewayClient() = default;

GatewayClient::SendAnswer GatewayClient::sendMessage(const QString& name, const QString& phone,
                                                     const QString& message,
                                                     const std::optional<QDateTime>& scheduledAt) {
    const GatewayConfig settings = config();
    const std::optional<QRegularExpression> refusal = settings.refusal();
    std::optional<QString> when;
    if (scheduledAt) {
        when = gateway::scheduleText(*scheduledAt, settings.scheduleDateFormat,
                                     settings.scheduleTimeFormat);
    }
    // The gateway charges for each send request it reads.
    SendAnswer answer;
    answer.text = fetch(gateway::sendMessageRequest(sessionAccount(), name, phone, message, when),
                        settings, HttpClient::Delivery::AtMostOnce);
    answer.refused = refusal && refusal->match(answer.text).hasMatch();
    return answer;
}

QString GatewayClient::remainingCredit() {
    return fetch(gateway::creditRequest(sessionAccount()), config(),
                 HttpClient::Delivery::Repeatable);
}

void GatewayClient::openResultsPage() {
    open(gateway::resultsPageRequest(sessionAccount()));
}

void GatewayClient::openPurchasePage() {
    open(gateway::purchasePageRequest(sessionAccount()));
}

GatewayConfig GatewayClient::config() const {
    return m_fixedConfig ? *m_fixedConfig : GatewayConfig::load(GatewayConfig::iniPath());
}

QString GatewayClient::fetch(const GatewayRequest& request, const GatewayConfig& settings,
                             HttpClient::Delivery delivery) {
    const QString host = settings.hostFor(request.host);
    const QByteArray address = gateway::wireAddress(request, host);
    if (!m_http)
        m_http = std::make_unique<HttpClient>();
    const HttpClient::Answer answer =
        m_http->get(address, host, {settings.connectTimeout, settings.timeout}, delivery);
    return gateway::answerText(answer.body, answer.contentType);
}

void GatewayClient::open(const GatewayRequest& request) {
    const QByteArray address = gateway::wireAddress(request, config().hostFor(request.host));
    // The desktop's own answer is of no use to the user here.
    QDesktopServices::openUrl(QUrl::fromEncoded(address, QUrl::StrictMode));
}
