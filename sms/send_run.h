#pragma once

#include "sms/message_composer.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <optional>

class GatewayClient;

// The send run: one message per recipient line, each recorded in the history
// as soon as the gateway has accepted it, then the signature kept for next
// time.
namespace sms {

// Called after the row of line index (1-based) of count is stored.
using SendProgress = std::function<void(int index, int count)>;

// Sends to every line in order and returns how many went out. A failure of
// the gateway or the database ends the run with its error: the lines before
// were sent and recorded, nothing after is sent, and the signature is not
// saved.
int sendToAll(GatewayClient& gateway, const QStringList& lines, const Composition& composition,
              const std::optional<QDateTime>& scheduledAt, const SendProgress& progress);

} // namespace sms
