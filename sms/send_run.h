#pragma once

#include "sms/message_composer.h"
#include "sms/recipient_line.h"

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
    Refused,     // the gateway answered with a refusal; recorded as 被拒, not sent
};

struct RunResult {
    QList<Delivery> states; // one for each recipient given, in order
    // For each recipient, the gateway's answer, or for an unconfirmed one
    // the few words on why no answer came; empty when nothing was sent.
    QStringList answers;
    // "name (telephone)" of each unconfirmed line: they may have received it.
    QStringList unconfirmed;
    // "name (telephone): answer" of each refused line.
    QStringList refused;
    // Why the run ended before its last line; nothing when it went through.
    std::optional<QString> stopReason;
    // Why the new signature was not kept, when saving it failed.
    std::optional<QString> signatureFailure;

    bool stopped() const { return stopReason.has_value(); }
    int count(Delivery state) const { return int(states.count(state)); }
};

// Called after line index (1-based) of count has been dealt with.
using SendProgress = std::function<void(int index, int count)>;

// The texts that went, or may have gone, to which number during one run. A
// run continued after a stop passes the same set again, so nothing of the
// first part is sent twice.
using DeliveredTexts = QSet<QString>;

// Sends to every recipient in order, the telephone as phone::key reads it.
// A recipient whose composed text already went to the same handset in this
// run is skipped. The first failure ends the run:
// a request that had gone out is recorded as unconfirmed, one that never
// left records nothing, and the lines after are left pending; the signature
// is then not saved. The history rows keep the gateway's answers; an answer
// the settings name a refusal ([Gateway] RefusedAnswer) leaves the line
// refused and the run goes on, every other answer counts as sent. Nothing
// that fails once the first request went out escapes as an exception: it is
// in the result.
RunResult sendToAll(GatewayClient& gateway, const QList<Recipient>& recipients,
                    const Composition& composition, const std::optional<QDateTime>& scheduledAt,
                    const SendProgress& progress, DeliveredTexts* delivered = nullptr);

} // namespace sms
