#pragma once

#include <QDateTime>

// How long the change history keeps its records: [History] KeepDays in
// lunmark.ini (db::settingsFilePath()), 3650 days when absent or
// unreadable. The records older than that are removed at the daily backup,
// after the copy that still holds them was taken.
namespace db::history {

inline constexpr int kDefaultKeepDays = 3650;

int keepDays();

// Removes the records made before now less keepDays days; the number
// removed. Throws DatabaseError.
int pruneRecords(int keepDays, const QDateTime& now = QDateTime::currentDateTime());

} // namespace db::history
