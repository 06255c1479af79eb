#pragma once

#include <QString>

// The one reading of a telephone number typed by a user: blanks, dashes and
// dots are spacing, and Taiwan's country code before a mobile number stands
// for its leading 0, so "+886 912-345.678", "886912345678" and "0912345678"
// are one handset.
namespace phone {

// The number as compared: the spacing left out, "+8869…" and "8869…" read
// as "09…". Any other text is kept as it is, without its spacing.
QString key(const QString& typed);

// True when the number can be given to an SMS gateway: after the spacing
// is left out, digits only (a leading "+" allowed), at least eight of them.
bool isDialable(const QString& typed);

// The marks a stored number may be written with that are left out when part
// of a number is searched for: the spacing, and the brackets round an area
// code ("(02) 2345-6789").
inline constexpr QLatin1String kSearchMarks(" -.()");

// Part of a number as searched for: without its spacing and brackets, so
// that "0912-345", "(0912)345" and "0912 345" all find "0912345678". The
// country code is kept as written: part of a number cannot tell it apart.
QString searchKey(const QString& typed);

} // namespace phone
