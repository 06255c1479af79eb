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

} // namespace phone
