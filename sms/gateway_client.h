#pragma once

#include "sms/gateway_config.h"
#include "sms/gateway_requests.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

class HttpClient;

// What the SMS windows ask of the gateway. Each request takes the account
// values from LoginSession::current() when it is made. One client keeps one
// connection, so a send run made through one client reuses it.
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

    // Sends one message and returns the gateway's answer, which the caller
    // keeps but does not judge. scheduledAt asks the gateway to send later.
    QString sendMessage(const QString& name, const QString& phone, const QString& message,
                        const std::optional<QDateTime>& scheduledAt = std::nullopt);

    // The gateway's answer to the credit request, to be shown unchanged.
    QString remainingCredit();

    // Open the gateway's pages in the web browser; a browser that does not
    // open is not reported.
    void openResultsPage();
    void openPurchasePage();

private:
    GatewayConfig config() const;
    QString fetch(const GatewayRequest& request, const GatewayConfig& config);
    void open(const GatewayRequest& request);

    std::optional<GatewayConfig> m_fixedConfig;
    std::unique_ptr<HttpClient> m_http;
};
