#pragma once

#include "db/database_target.h"

#include <QSqlDatabase>
#include <functional>

// Making a register, the one way on both engines: its tables and the
// settings row it starts with (db/default_settings.h), in one transaction.
namespace db {

// Makes a new register at target: SQLite, a new file (refusing an existing
// one); PostgreSQL, in an existing empty database (creating the citext
// extension there; refusing a database that has tables already). fill, when
// given, runs in the same transaction on the new register's connection
// (copyDatabase() puts the copied rows there). A failure leaves nothing
// behind: no file, no tables. Throws DatabaseError.
void createRegister(const DatabaseTarget& target,
                    const std::function<void(QSqlDatabase&)>& fill = {});

} // namespace db
