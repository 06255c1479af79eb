#include "sms/send_run.h"

#include "sms/gateway_client.h"
#include "sms/gateway_error.h"
#include "sms/message_history.h"
#include "sms/recipient_line.h"
#include "sms/signatures.h"

namespace sms {
namespace {

QString deliveryKey(const ComposedMessage& composed) {
    return phoneKey(composed.phone) + QLatin1Char('\n') + composed.text;
}

QString recipientLabel(const ComposedMessage& composed) {
    return QStringLiteral("%1 (%2)").arg(composed.listedName, composed.phone);
}

// One run over its lines; stops at the first failure.
class Run {
public:
    Run(const QStringList& lines, const Composition& composition, DeliveredTexts& delivered)
        : m_lines(lines), m_composition(composition), m_delivered(delivered) {
        m_result.states = QList<Delivery>(lines.size(), Delivery::Pending);
    }

    // False when the run must stop here.
    bool sendLine(int index, GatewayClient& gateway, const std::optional<QDateTime>& scheduledAt) {
        const ComposedMessage composed = compose(m_lines[index], m_composition);
        const QString key = deliveryKey(composed);
        if (m_delivered.contains(key)) {
            m_result.states[index] = Delivery::Repeated;
            return true;
        }
        QString answer;
        try {
            answer = gateway.sendMessage(composed.name, composed.phone, composed.text, scheduledAt);
        } catch (const GatewayError& error) {
            if (error.requestSent()) {
                m_delivered.insert(key);
                m_result.states[index] = Delivery::Unconfirmed;
                m_result.unconfirmed << recipientLabel(composed);
                store(composed, history::kUnconfirmed + QStringLiteral("：") + error.cause());
            }
            stop(error.text());
            return false;
        } catch (const LunmarkError& error) {
            stop(error.text());
            return false;
        }
        m_delivered.insert(key);
        m_result.states[index] = Delivery::Sent;
        return store(composed, answer);
    }

    void stop(const QString& reason) {
        if (!m_result.stopReason)
            m_result.stopReason = reason;
    }

    RunResult result() const { return m_result; }

private:
    // The message has gone: a history row that cannot be stored ends the run
    // and says whose message is missing from the history.
    bool store(const ComposedMessage& composed, const QString& memo) {
        try {
            history::record({composed.listedName, composed.phone, m_composition.message,
                             QDateTime::currentDateTime(), m_composition.signature, memo});
            return true;
        } catch (const DatabaseError& error) {
            stop(QStringLiteral("%1 的簡訊已經送出，但無法記入發送歷史：%2")
                     .arg(recipientLabel(composed), error.text()));
            return false;
        }
    }

    const QStringList& m_lines;
    const Composition& m_composition;
    DeliveredTexts& m_delivered;
    RunResult m_result;
};

} // namespace

RunResult sendToAll(GatewayClient& gateway, const QStringList& lines,
                    const Composition& composition, const std::optional<QDateTime>& scheduledAt,
                    const SendProgress& progress, DeliveredTexts* delivered) {
    DeliveredTexts ownSet;
    Run run(lines, composition, delivered ? *delivered : ownSet);
    const int count = int(lines.size());
    for (int i = 0; i < count; ++i) {
        const bool goOn = run.sendLine(i, gateway, scheduledAt);
        if (run.result().states[i] != Delivery::Pending && progress)
            progress(i + 1, count);
        if (!goOn)
            return run.result();
    }
    signatures::saveIfNew(composition.signature);
    return run.result();
}

} // namespace sms
