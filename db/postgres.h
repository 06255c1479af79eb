#pragma once

#include "db/database_target.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

struct pg_conn;
using PGconn = pg_conn;

// What only a PostgreSQL server needs: opening a connection to one, its
// error texts, and the schema derived from the one description of the
// tables. Everything else runs the same SQL on both engines.
namespace db {

// Opens (or opens again) connectionName on the server of target, with the
// busy time-out as lock_timeout. Throws DatabaseError with a Chinese text
// for an unreachable server, a refused login or a missing database.
QSqlDatabase openPostgres(const QString& connectionName, const DatabaseTarget& target,
                          int busyTimeout);

// The libpq connection under an open PostgreSQL connection. Throws
// DatabaseError when it is not one.
PGconn* postgresHandle(const QSqlDatabase& database);

// True when the server connection under database has gone (server
// restarted, network gone): the next statement must connect again.
bool connectionLost(const QSqlDatabase& database);

// The text shown for a failed statement: busyText() for a lock wait that
// ran out, lostConnectionText() when the connection has gone, else the
// server's own text.
QString postgresErrorText(const QSqlError& error, bool lost);
QString postgresErrorText(const char* sqlState, const QString& message, bool lost);
QString lostConnectionText();

// The PostgreSQL statements for the schema: citext for text that ignores
// case, bigint for whole numbers and counters, and a hidden key column
// rowid first in every table.
QString postgresSchema(const QString& schema);
// year(), month() and day() with the results of the SQLite functions.
QString postgresFunctions();

// A name as schema.sql spells it ("isEnabled" for the server's
// "isenabled"): the column of table when given, else the first table or
// column of that name; name itself when the schema has none.
QString schemaSpelling(const QString& name, const QString& table = QString());

// The statement with its ":Name" parameters as libpq's $1, $2, ... (one
// number for each name, however often it occurs, in the order SQLite numbers
// them); names receives the names in that order. Square brackets around
// names go as in serverStatement(); texts in quotes and "::" casts stay.
QString positionalParameters(const QString& sql, QStringList& names);

// The statement without the square brackets around names, which the server
// does not know.
QString serverStatement(const QString& sql);

// The condition of schema.sql behind a check the server names
// ("cust_name_check" gives "length(name) <= 10"); empty when unknown.
QString schemaCheck(const QString& constraintName);

// The statements that make the tables in an empty database: the citext
// extension, the functions and the schema.
QStringList postgresCreateStatements();

} // namespace db
