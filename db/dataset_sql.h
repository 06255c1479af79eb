#pragma once

#include <QList>
#include <QPair>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// The statements a dataset runs: its SELECT with the row identity added, and
// the INSERT, UPDATE and DELETE that write one row back by SQLite's rowid.
namespace db::dataset_sql {

// The name under which the base table's rowid is selected as first column.
inline constexpr const char* kRowidName = "lunmark_rowid";

// The statement with "<table>.rowid AS lunmark_rowid" as its first column.
// Throws DatabaseError when the statement does not begin with SELECT.
QString withRowid(const QString& statement, const QString& table);

// Runs a SELECT forward-only (the rows are read once) with named parameters.
QSqlQuery select(const QString& statement, const QVariantMap& params);

// For each column of the open query: the column of table it comes from
// (aliases resolve to their column), or an empty text for expressions and
// columns of other tables.
QStringList originColumns(const QSqlQuery& query, const QString& table);

using ColumnValues = QList<QPair<QString, QVariant>>;

// Inserts one row with the given columns (the others take their defaults)
// and returns its rowid.
qint64 insertRow(const QString& table, const ColumnValues& values);

// The stored row of table with that rowid, keyed by lower-case column name.
QVariantMap readRow(const QString& table, qint64 rowid);

// Each returns the number of rows changed (0 when the row is gone).
int updateRow(const QString& table, qint64 rowid, const ColumnValues& values);
int deleteRow(const QString& table, qint64 rowid);

} // namespace db::dataset_sql
