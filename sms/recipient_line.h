#pragma once

#include <QString>

// A line of the send window's recipient list: name, "(", telephone, ")". The
// send run reads it back by its first "(": the name is what stands before it,
// the telephone what follows it without the closing ")".
namespace sms {

QString recipientLine(const QString& name, const QString& phone);

// The text before the first "("; the whole line when there is none.
QString lineName(const QString& line);

// The text after the first "(" without its last character; without a "(",
// the whole line without its last character.
QString linePhone(const QString& line);

// The telephone as compared for duplicates: without blanks and dashes, so
// "0912-345 678" and "0912345678" are one number.
QString phoneKey(const QString& phone);

} // namespace sms
