#pragma once

#include "db/packed_values.h"

#include <QList>
#include <QPair>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

// The statements a dataset runs: its SELECT with the row identity added, and
// the INSERT, UPDATE and DELETE that write one row back by it. Both engines
// call the row identity rowid: SQLite's own, and on a server a hidden key
// column of that name in every table.
namespace db::dataset_sql {

// The name under which the base table's rowid is selected as first column.
inline constexpr const char* kRowidName = "lunmark_rowid";

// The statement with "<table>.rowid AS lunmark_rowid" as its first column.
// Throws DatabaseError when the statement does not begin with SELECT.
QString withRowid(const QString& statement, const QString& table);

// A SELECT run straight on the engine's client library with named
// parameters, its rows read one at a time into packed values: no value is
// made a QVariant on the way. Parameters are bound as db::run binds them;
// one the statement names but params lacks is null. Throws DatabaseError
// with the database's text.
class SelectRows;
class Select {
public:
    Select(const QString& statement, const QVariantMap& params);
    ~Select();
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

    int columnCount() const;
    // The column's name (no quotes, no table) as the schema spells it.
    QString columnName(int column) const;
    // The column of table the column comes from (aliases resolve to their
    // column), or an empty text for expressions and columns of other tables.
    QString originColumn(int column, const QString& table) const;

    // Moves to the next row; false after the last.
    bool next();
    qint64 integer(int column) const;
    void appendValue(int column, PackedValues& values) const;

private:
    std::unique_ptr<SelectRows> m_rows;
};

using ColumnValues = QList<QPair<QString, QVariant>>;

// A check a write runs in its transaction, with the table's write lock held,
// just before writing; false refuses the write. An empty one checks nothing.
using WriteCheck = std::function<bool()>;

// Told inside a write's transaction, just after the write: the row's rowid
// and the stored row before it (empty for an insert), so that what it
// writes (the change history) commits or rolls back with the write. An
// empty one is not told.
using AfterWrite = std::function<void(qint64 rowid, const QVariantMap& before)>;

// Takes the write lock that a table's checked writes take first (on a
// server a transaction-level advisory lock named after the table; SQLite's
// writer holds the whole file already). Inside a transaction.
void holdWriteLock(const QString& table);

// Inserts one row with the given columns (the others take their defaults)
// and returns its rowid; nothing when check refused it.
std::optional<qint64> insertRow(const QString& table, const ColumnValues& values,
                                const WriteCheck& check = {}, const AfterWrite& after = {});

// The stored row of table with that rowid, keyed by lower-case column name;
// empty when it is gone. Inside a transaction on a server the row stays
// locked until the transaction ends.
QVariantMap readRow(const QString& table, qint64 rowid);

// What became of a write that first compares the stored row with the values
// the dataset read.
enum class WriteResult { Written, Changed, Gone, Refused };

// In one transaction: reads the stored row (locked), compares the columns
// of expected with it, and writes only when they all agree and check (when
// given) passes. Values compare as the engines give them back (a number and
// its text alike).
WriteResult updateRowIfUnchanged(const QString& table, qint64 rowid, const ColumnValues& expected,
                                 const ColumnValues& values, const WriteCheck& check = {},
                                 const AfterWrite& after = {});
WriteResult deleteRowIfUnchanged(const QString& table, qint64 rowid, const ColumnValues& expected,
                                 const AfterWrite& after = {});

} // namespace db::dataset_sql
