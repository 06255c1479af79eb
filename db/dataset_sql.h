#pragma once

#include "db/packed_values.h"

#include <QList>
#include <QPair>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

struct sqlite3;
struct sqlite3_stmt;

// The statements a dataset runs: its SELECT with the row identity added, and
// the INSERT, UPDATE and DELETE that write one row back by SQLite's rowid.
namespace db::dataset_sql {

// The name under which the base table's rowid is selected as first column.
inline constexpr const char* kRowidName = "lunmark_rowid";

// The statement with "<table>.rowid AS lunmark_rowid" as its first column.
// Throws DatabaseError when the statement does not begin with SELECT.
QString withRowid(const QString& statement, const QString& table);

// A SELECT run straight on SQLite with named parameters, its rows read one
// at a time into packed values: no value is made a QVariant on the way.
// Parameters are bound as the Qt driver binds them; one the statement names
// but params lacks is null. Throws DatabaseError with the database's text.
class Select {
public:
    Select(const QString& statement, const QVariantMap& params);
    ~Select();
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

    int columnCount() const;
    // The column's name as the Qt driver gives it (no quotes, no table).
    QString columnName(int column) const;
    // The column of table the column comes from (aliases resolve to their
    // column), or an empty text for expressions and columns of other tables.
    QString originColumn(int column, const QString& table) const;

    // Moves to the next row; false after the last.
    bool next();
    qint64 integer(int column) const;
    void appendValue(int column, PackedValues& values) const;

private:
    void bind(const QVariantMap& params);
    [[noreturn]] void fail();

    sqlite3* m_database = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

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
