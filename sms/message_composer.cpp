#include "sms/message_composer.h"

namespace sms {

MergeValues mergeValues(const Recipient& recipient) {
    if (!recipient.fields.isEmpty())
        return recipient.fields;
    return {{kNameField, recipient.name}};
}

ComposedMessage compose(const Recipient& recipient, const Composition& composition) {
    ComposedMessage composed;
    composed.listedName = recipient.name;
    composed.phone = recipient.phone;
    if (composition.namePrefix)
        composed.name = composed.listedName + ':';
    const QString signature = composition.withSignature ? composition.signature : QString();
    composed.message = hasFields(composition.message)
                           ? merge(composition.message, mergeValues(recipient)).text
                           : composition.message;
    composed.text = composed.name + ' ' + composed.message + QStringLiteral("  ") + signature;
    return composed;
}

} // namespace sms
