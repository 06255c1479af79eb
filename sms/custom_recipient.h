#pragma once

#include <QDateTime>
#include <QString>

// A recipient typed into the custom-recipient window is also registered as a
// member, numbered by the time of registration.
namespace sms {

// The widest name and mobile number the member table keeps (Cust.name,
// Cust.CDTel).
inline constexpr int kMemberNameLength = 10;
inline constexpr int kMemberPhoneLength = 15;

// The member number for a registration at when: "yyMMddHHmmss", twelve digits.
QString memberNumberAt(const QDateTime& when);

// Inserts the member (number, name, mobile number, category "其它"; the other
// columns take their defaults). Member numbers are unique, so a second
// registration within the same second is refused with DatabaseError and
// nothing is stored.
void registerMember(const QString& name, const QString& phone, const QDateTime& when);

} // namespace sms
