#include "sms/send_run.h"

#include "sms/gateway_client.h"
#include "sms/message_history.h"
#include "sms/signatures.h"

namespace sms {

int sendToAll(GatewayClient& gateway, const QStringList& lines, const Composition& composition,
              const std::optional<QDateTime>& scheduledAt, const SendProgress& progress) {
    const int count = int(lines.size());
    for (int i = 0; i < count; ++i) {
        const ComposedMessage composed = compose(lines[i], composition);
        // The gateway's answer is not judged: a message it answered is sent.
        gateway.sendMessage(composed.name, composed.phone, composed.text, scheduledAt);
        history::record({composed.listedName, composed.phone, composition.message,
                         QDateTime::currentDateTime(), composition.signature});
        if (progress)
            progress(i + 1, count);
    }
    signatures::saveIfNew(composition.signature);
    return count;
}

} // namespace sms
