#pragma once

#include "sms/gateway_account.h"

#include <QList>
#include <QString>
#include <optional>

// The four requests the program makes to the SMS gateway, as plain data: which
// host, which path, and the query fields in the order the gateway expects.
// Turning a request into the address that goes on the wire is the job of
// query_encoding.h.

// The gateway's two hosts: one only for sending, one for everything else.
enum class GatewayHost { Send, Account };

struct QueryField {
    QString key;
    QString value;
    QString caption; // what the value is, for messages shown to the user

    bool operator==(const QueryField&) const = default;
};

struct GatewayRequest {
    GatewayHost host = GatewayHost::Account;
    QString path;
    QList<QueryField> fields;

    bool operator==(const GatewayRequest&) const = default;
};

namespace gateway {

// Sends one message to one telephone number. name is empty or the recipient's
// name and salutation followed by ":"; scheduleText, when given, asks the
// gateway to send at that time. Blanks and control characters at the end of
// the last value are dropped (the message, or the scheduled time when given).
GatewayRequest sendMessageRequest(const GatewayAccount& account, const QString& name,
                                  const QString& phone, const QString& message,
                                  const std::optional<QString>& scheduleText);

// Asks for the remaining message credit; the answer is shown as it comes.
GatewayRequest creditRequest(const GatewayAccount& account);

// The gateway's page of send results, opened in the web browser.
GatewayRequest resultsPageRequest(const GatewayAccount& account);

// The gateway's page for buying credit, opened in the web browser.
GatewayRequest purchasePageRequest(const GatewayAccount& account);

} // namespace gateway
