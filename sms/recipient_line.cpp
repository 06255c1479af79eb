#include "sms/recipient_line.h"

namespace sms {

QString recipientLine(const Recipient& recipient) {
    return recipient.name + '(' + recipient.phone + ')';
}

} // namespace sms
