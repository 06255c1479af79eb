#include "sms/message_composer.h"

#include "sms/recipient_line.h"

namespace sms {

ComposedMessage compose(const QString& line, const Composition& composition) {
    ComposedMessage composed;
    composed.listedName = lineName(line);
    composed.phone = linePhone(line);
    if (composition.namePrefix)
        composed.name = composed.listedName + ':';
    const QString signature = composition.withSignature ? composition.signature : QString();
    composed.text = composed.name + ' ' + composition.message + QStringLiteral("  ") + signature;
    return composed;
}

} // namespace sms
