#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

// How grids show stored values.
namespace db {

// The date and time of a stored date value: a date or date-time variant, or
// a text in the stored ISO form "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (a "T"
// may stand for the space); nothing for any other value.
std::optional<QDateTime> storedDateTime(const QVariant& value);

// A value as a grid shows it: dates as yyyy/MM/dd, with the time only when
// it is not midnight; null as empty; anything else as its text.
QString displayText(const QVariant& value);

} // namespace db
