#pragma once

#include <QHash>
#include <QString>

// One recipient of a send run, as the recipient list carries it: the name
// (with the salutation, as the history keeps it) and the telephone. The
// line the list shows, name "(" telephone ")", is only for the eye; nothing
// reads it back.
namespace sms {

struct Recipient {
    QString name;
    QString phone;
    // A member's values for the message's fields (sms/merge_fields.h); empty
    // for a line typed in or taken from the history, which has only {姓名}.
    QHash<QString, QString> fields{};
    bool operator==(const Recipient&) const = default;
};

// The text the list shows for a recipient.
QString recipientLine(const Recipient& recipient);

} // namespace sms
