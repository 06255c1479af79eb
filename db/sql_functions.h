#pragma once

#include <QSqlDatabase>

namespace db {

// Registers year(), month() and day() on a connection. They read the leading
// "YYYY-MM-DD" of a date text and give null for null or unreadable input.
void registerSqlFunctions(QSqlDatabase& database);

} // namespace db
