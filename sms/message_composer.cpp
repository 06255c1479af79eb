#include "sms/message_composer.h"

namespace sms {

ComposedMessage compose(const Recipient& recipient, const Composition& composition) {
    ComposedMessage composed;
    composed.listedName = recipient.name;
    composed.phone = recipient.phone;
    if (composition.namePrefix)
        composed.name = composed.listedName + ':';
    const QString signature = composition.withSignature ? composition.signature : QString();
    composed.text = composed.name + ' ' + composition.message + QStringLiteral("  ") + signature;
    return composed;
}

} // namespace sms
