#pragma once

#include "sms/message_composer.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QStringList>
#include <functional>
#include <optional>

class GatewayClient;

// The send run: one message per recipient line, each recorded in the history
// as soon as the gateway has answered, then the signature kept for next
// time.
namespace sms {

// What became of one recipient line.
enum class Delivery {
    Pending,     // not sent: the run stopped before it
    Sent,        // the gateway answered; recorded with its answer in Memo
    Unconfirmed, // the request went out but no answer came; recorded as 未確認
    Repeated,    // the same text had already gone to the same number in this run
};

struct RunResult {
    QList<Delivery> states; // one for each line given, in order
    // "name (telephone)" of each unconfirmed line: they may have received it.
    QStringList unconfirmed;
    // Why the run ended before its last line; nothing when it went through.
    std::optional<QString> stopReason;

    bool stopped() const { return stopReason.has_value(); }
    int count(Delivery state) const { return int(states.count(state)); }
};

// Called after line index (1-based) of count has been dealt with.
using SendProgress = std::function<void(int index, int count)>;

// The texts that went, or may have gone, to which number during one run. A
// run continued after a stop passes the same set again, so nothing of the
// first part is sent twice.
using DeliveredTexts = QSet<QString>;

// Sends to every line in order. A line whose composed text already went to
// the same number in this run is skipped. The first failure ends the run:
// a request that had gone out is recorded as unconfirmed, one that never
// left records nothing, and the lines after are left pending; the signature
// is then not saved. The history rows keep the gateway's answers, and the
// run carries on whatever they say.
RunResult sendToAll(GatewayClient& gateway, const QStringList& lines,
                    const Composition& composition, const std::optional<QDateTime>& scheduledAt,
                    const SendProgress& progress, DeliveredTexts* delivered = nullptr);

} // namespace sms
