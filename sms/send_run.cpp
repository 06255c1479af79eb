#include "sms/send_run.h"

#include "base/phone_number.h"
#include "sms/gateway_client.h"
#include "sms/gateway_error.h"
#include "sms/message_history.h"
#include "sms/signatures.h"

namespace sms {
namespace {

QString deliveryKey(const ComposedMessage& composed) {
    return phone::key(composed.phone) + QLatin1Char('\n') + composed.text;
}

QString recipientLabel(const ComposedMessage& composed) {
    return QStringLiteral("%1 (%2)").arg(composed.listedName, composed.phone);
}

// One run over its lines; stops at the first failure.
class Run {
public:
    Run(const QList<Recipient>& recipients, const Composition& composition,
        DeliveredTexts& delivered)
        : m_recipients(recipients), m_composition(composition), m_delivered(delivered) {
        m_result.states = QList<Delivery>(recipients.size(), Delivery::Pending);
        m_result.answers = QStringList(recipients.size(), QString());
    }

    // False when the run must stop here. The row goes in before the request
    // goes out, as unconfirmed, so that a program ended while it waits (by a
    // user who thinks it hangs) still leaves the message in the history.
    bool sendLine(int index, GatewayClient& gateway, const std::optional<QDateTime>& scheduledAt) {
        const ComposedMessage composed = compose(m_recipients[index], m_composition);
        const QString key = deliveryKey(composed);
        if (m_delivered.contains(key)) {
            m_result.states[index] = Delivery::Repeated;
            return true;
        }
        const std::optional<qint64> row = recordBeforeSending(composed);
        if (!row)
            return false;
        GatewayClient::SendAnswer answer;
        try {
            answer = gateway.sendMessage(composed.name, phone::key(composed.phone), composed.text,
                                         scheduledAt);
        } catch (const GatewayError& error) {
            stop(error.text());
            if (error.requestSent()) {
                m_delivered.insert(key);
                m_result.states[index] = Delivery::Unconfirmed;
                m_result.answers[index] = error.cause();
                m_result.unconfirmed << recipientLabel(composed);
                settle(composed, [&] {
                    history::setMemo(*row,
                                     history::kUnconfirmed + QStringLiteral("：") + error.cause());
                });
            } else {
                settle(composed, [&] { history::forget(*row); });
            }
            return false;
        } catch (const LunmarkError& error) {
            stop(error.text());
            settle(composed, [&] { history::forget(*row); });
            return false;
        }
        m_result.answers[index] = answer.text;
        if (answer.refused) {
            m_result.states[index] = Delivery::Refused;
            m_result.refused << recipientLabel(composed) + QStringLiteral("：") + answer.text;
            return settle(composed, [&] {
                history::setMemo(*row, history::kRefused + QStringLiteral("：") + answer.text);
            });
        }
        m_delivered.insert(key);
        m_result.states[index] = Delivery::Sent;
        return settle(composed, [&] { history::setMemo(*row, answer.text); });
    }

    void stop(const QString& reason) {
        if (!m_result.stopReason)
            m_result.stopReason = reason;
    }

    RunResult result() const { return m_result; }
    RunResult& result() { return m_result; }

private:
    // A row that cannot be stored keeps the message from going out.
    std::optional<qint64> recordBeforeSending(const ComposedMessage& composed) {
        try {
            return history::record({composed.listedName, composed.phone, composed.message,
                                    QDateTime::currentDateTime(), m_composition.signature,
                                    history::kBeingSent});
        } catch (const DatabaseError& error) {
            stop(QStringLiteral("無法記入發送歷史﹐%1 的簡訊沒有送出：%2")
                     .arg(recipientLabel(composed), error.text()));
            return std::nullopt;
        }
    }

    // Brings the row up to date with what became of the request; a row that
    // cannot be changed ends the run, saying whose row it is (unless the run
    // already stopped for another reason). Left as it was, it reads as
    // unconfirmed, which errs on the safe side.
    template <class Change> bool settle(const ComposedMessage& composed, Change change) {
        try {
            change();
            return true;
        } catch (const DatabaseError& error) {
            stop(QStringLiteral("%1 的發送歷史無法更新﹐仍記為未確認：%2")
                     .arg(recipientLabel(composed), error.text()));
            return false;
        }
    }

    const QList<Recipient>& m_recipients;
    const Composition& m_composition;
    DeliveredTexts& m_delivered;
    RunResult m_result;
};

} // namespace

RunResult sendToAll(GatewayClient& gateway, const QList<Recipient>& recipients,
                    const Composition& composition, const std::optional<QDateTime>& scheduledAt,
                    const SendProgress& progress, DeliveredTexts* delivered) {
    DeliveredTexts ownSet;
    Run run(recipients, composition, delivered ? *delivered : ownSet);
    const int count = int(recipients.size());
    for (int i = 0; i < count; ++i) {
        const bool goOn = run.sendLine(i, gateway, scheduledAt);
        if (run.result().states[i] != Delivery::Pending && progress)
            progress(i + 1, count);
        if (!goOn)
            return run.result();
    }
    try {
        signatures::saveIfNew(composition.signature);
    } catch (const LunmarkError& error) {
        run.result().signatureFailure = error.text();
    }
    return run.result();
}

} // namespace sms
