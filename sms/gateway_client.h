#pragma once

#include "sms/gateway_config.h"
#include "sms/gateway_requests.h"
#include "sms/http_client.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

// What the SMS windows ask of the gateway. Each request takes the account
// values from LoginSession::current() when it is made. The credit request
// keeps its connection for the next one; each send request goes out once,
// on a connection of its own, so that no message is ever written twice.
//
// Failures are not caught here: TransferError when a host is not configured;
// GatewayError (a TransferError that tells whether the request had gone out)
// when the transfer fails or the gateway answers with a status other than
// 2xx; ConversionError when a value holds a character Big5 cannot carry
// (nothing is sent then). All carry the text for the general error report.
class GatewayClient {
public:
    // Reads the [Gateway] settings from lunmark.ini at every request, so an
    // edited file applies without a restart.
    GatewayClient();
    // Uses the given settings for every request.
    explicit GatewayClient(GatewayConfig config);
    ~GatewayClient();
    GatewayClient(const GatewayClient&) = delete;
    GatewayClient& operator=(const GatewayClient&) = delete;

    struct SendAnswer {
        QString text;         // the gateway's answer as it came
        bool refused = false; // it matches [Gateway] RefusedAnswer
    };

    // Sends one message and returns the gateway's answer. Without a
    // RefusedAnswer setting no answer is taken as a refusal. scheduledAt asks
    // the gateway to send later. A RefusedAnswer that is no regular
    // expression is refused before anything goes out.
    SendAnswer sendMessage(const QString& name, const QString& phone, const QString& message,
                           const std::optional<QDateTime>& scheduledAt = std::nullopt);

    // The gateway's answer to the credit request, to be shown unchanged.
    QString remainingCredit();

    // Open the gateway's pages in the web browser; a browser that does not
    // open is not reported.
    void openResultsPage();
    void openPurchasePage();

private:
    GatewayConfig config() const;
    QString fetch(const GatewayRequest& request, const GatewayConfig& config,
                  HttpClient::Delivery delivery);
    void open(const GatewayRequest& request);

    std::optional<GatewayConfig> m_fixedConfig;
    std::unique_ptr<HttpClient> m_http;
};
