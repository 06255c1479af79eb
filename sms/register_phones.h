#pragma once

#include "sms/recipient_line.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// The register read by telephone (phone::key, the one reading of a typed
// number): which handsets belong to members who asked for no SMS (Cust.NoSms),
// and which member a number typed elsewhere belongs to. A member's mobile,
// telephone and home telephone all count.
namespace sms {

// The keys of every telephone of a member marked 不接收簡訊, enabled or not.
QSet<QString> optedOutPhones();

// The recipients whose telephone is among optedOut, and the rest.
struct OptOutSplit {
    QList<Recipient> kept;
    QList<Recipient> left;
};
OptOutSplit splitOptedOut(const QList<Recipient>& recipients, const QSet<QString>& optedOut);

struct RegisterMember {
    QString listedName; // name and salutation, as the recipient list shows it
    QHash<QString, QString> fields;
    bool noSms = false;
};

// The enabled members by the key of each of their telephones; where two
// share a number, the one whose mobile it is comes first, then the lower
// member number.
QHash<QString, RegisterMember> membersByPhone();

} // namespace sms
