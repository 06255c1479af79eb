#pragma once

#include "db/database_target.h"

#include <QSet>
#include <QSqlDatabase>
#include <QString>

// A register made by an earlier Lunmark lacks the tables, columns and
// indexes added since. Opening it adds them, on both engines, and nothing
// else changes: stored rows stay as they are and a program that does not
// know the new columns goes on working beside one that does.
namespace db {

// The tables, columns and indexes a register has, by lower-case name
// ("cust", "cust.nosms", "custbyid").
struct RegisterShape {
    QSet<QString> tables;
    QSet<QString> columns;
    QSet<QString> indexes;

    bool hasTable(const QString& table) const { return tables.contains(table.toLower()); }
    bool hasColumn(const QString& table, const QString& column) const {
        return columns.contains(table.toLower() + '.' + column.toLower());
    }
};

RegisterShape readRegisterShape(QSqlDatabase& database, Engine engine);

// The statements that bring a register of this shape up to schema.sql, in
// the engine's words: missing tables with their indexes, then missing
// columns, then missing indexes of older tables. Empty when it is current.
QStringList upgradeStatements(const RegisterShape& shape, Engine engine);

// Adds what the register on database lacks, in one transaction that holds
// the register's write lock, so that two programs opening an older register
// at once add everything once. A database without the register's tables is
// left alone. Throws DatabaseError; a failure changes nothing.
void upgradeRegister(QSqlDatabase& database, Engine engine);

} // namespace db
