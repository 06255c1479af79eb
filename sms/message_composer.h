#pragma once

#include "sms/merge_fields.h"
#include "sms/recipient_line.h"

#include <QString>

// What the send run sends to one recipient: the name prefix, the telephone
// and the composed text "P M  S".
namespace sms {

// The composition controls of the send window.
struct Composition {
    bool namePrefix = false;    // "名字+稱謂": the recipient's name goes in front
    QString message;            // the message box, line breaks included
    bool withSignature = false; // "署名﹕": the signature goes at the end
    QString signature;          // the signature box, ticked or not
    // The field names the message may use in braces, and whether a field
    // without a value is left empty rather than refused (留空).
    QStringList fieldNames = fixedFieldNames();
    bool blankEmptyFields = false;
};

// The values a recipient's message is merged with: a member's own, or only
// {姓名} for a line that is not a member's.
MergeValues mergeValues(const Recipient& recipient);

struct ComposedMessage {
    QString name;       // the request's name: empty, or the recipient's name and ":"
    QString phone;      // the recipient's telephone as listed
    QString text;       // name prefix, one blank, message, two blanks, signature
    QString message;    // the message with the recipient's fields filled in
    QString listedName; // the recipient's name without the colon, as the history keeps it
};

// The message is merged with the recipient's values (a field without one
// left empty: the checks before sending refuse it unless that was chosen).
// Nothing is trimmed: the blank after the prefix and the two before the
// signature stand even when the prefix or the signature is empty.
ComposedMessage compose(const Recipient& recipient, const Composition& composition);

} // namespace sms
