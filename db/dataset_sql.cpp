#include "db/dataset_sql.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/dataset_select.h"

#include <QRegularExpression>
#include <QSqlRecord>
#include <functional>

namespace db::dataset_sql {
namespace {

QString assignments(const ColumnValues& values, QVariantMap& params) {
    QStringList parts;
    for (int i = 0; i < values.size(); ++i) {
        const QString name = QStringLiteral(":v%1").arg(i);
        parts << quotedName(values[i].first) + " = " + name;
        params.insert(name, values[i].second);
    }
    return parts.join(QStringLiteral(", "));
}

// A value as the stored row and the dataset's reading compare: engines give
// a whole number back as a number or as its text alike.
QString comparable(const QVariant& value) {
    return boundValue(value).toString();
}

bool agrees(const QVariantMap& stored, const ColumnValues& expected) {
    for (const auto& [column, value] : expected) {
        const auto it = stored.constFind(column.toLower());
        if (it == stored.cend())
            continue; // a column the table does not have is never written
        if (it->isNull() != value.isNull() ||
            (!value.isNull() && comparable(*it) != comparable(value)))
            return false;
    }
    return true;
}

} // namespace

QString withRowid(const QString& statement, const QString& table) {
    static const QRegularExpression select(QStringLiteral("^\\s*select\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = select.match(statement);
    if (!match.hasMatch())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 可編輯的資料集只接受 SELECT 敘述: %1")
                                .arg(statement.trimmed()));
    const QString column = QStringLiteral(" %1.rowid AS %2,").arg(quotedName(table), kRowidName);
    QString result = statement;
    return result.insert(match.capturedEnd(), column);
}

Select::Select(const QString& statement, const QVariantMap& params)
    : m_rows(engine() == Engine::Postgresql ? postgresSelect(statement, params)
                                            : sqliteSelect(statement, params)) {}

Select::~Select() = default;

int Select::columnCount() const {
    return m_rows->columnCount();
}

QString Select::columnName(int column) const {
    return m_rows->columnName(column);
}

QString Select::originColumn(int column, const QString& table) const {
    return m_rows->originColumn(column, table);
}

bool Select::next() {
    return m_rows->next();
}

qint64 Select::integer(int column) const {
    return m_rows->integer(column);
}

void Select::appendValue(int column, PackedValues& values) const {
    m_rows->appendValue(column, values);
}

// A write with a check holds the table's write lock while it checks: on
// SQLite the writer's lock on the whole file (BEGIN IMMEDIATE), on a server
// a transaction-level advisory lock named after the table, which every
// checked write of that table takes first, so the checks and writes of two
// desks follow one another. Rows are not locked this way against inserts.
void holdWriteLock(const QString& table) {
    if (engine() == Engine::Postgresql)
        run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(:name))"),
            {{QStringLiteral("name"), QStringLiteral("lunmark write ") + table.toLower()}});
}

namespace {

// RETURNING gives the new row's identity on both engines.
qint64 runInsert(const QString& table, const ColumnValues& values) {
    QStringList columns;
    QStringList names;
    QVariantMap params;
    for (int i = 0; i < values.size(); ++i) {
        columns << quotedName(values[i].first);
        names << QStringLiteral(":v%1").arg(i);
        params.insert(names.last(), values[i].second);
    }
    const QString sql =
        values.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING rowid").arg(quotedName(table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING rowid")
                  .arg(quotedName(table), columns.join(QStringLiteral(", ")),
                       names.join(QStringLiteral(", ")));
    QSqlQuery query = run(sql, params);
    if (!query.next())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 新增的資料列沒有傳回編號"));
    return query.value(0).toLongLong();
}

} // namespace

std::optional<qint64> insertRow(const QString& table, const ColumnValues& values,
                                const WriteCheck& check, const AfterWrite& after) {
    if (!check && !after)
        return runInsert(table, values);
    Transaction transaction(Transaction::Kind::Write);
    if (check)
        holdWriteLock(table);
    if (check && !check())
        return std::nullopt;
    const qint64 rowid = runInsert(table, values);
    if (after)
        after(rowid, {});
    transaction.commit();
    return rowid;
}

QVariantMap readRow(const QString& table, qint64 rowid) {
    QSqlQuery query = run(QStringLiteral("SELECT * FROM %1 WHERE rowid = :rowid%2")
                              .arg(quotedName(table), lockRowsClause()),
                          {{QStringLiteral("rowid"), rowid}});
    QVariantMap row;
    if (!query.next())
        return row;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        row.insert(record.fieldName(i).toLower(), query.value(i));
    return row;
}

namespace {

// In one transaction that holds the write lock: compares the stored row
// with expected and, when they agree, runs the write and commits.
WriteResult writeIfUnchanged(const QString& table, qint64 rowid, const ColumnValues& expected,
                             const std::function<void()>& write, const WriteCheck& check,
                             const AfterWrite& after) {
    Transaction transaction(Transaction::Kind::Write);
    if (check)
        holdWriteLock(table);
    const QVariantMap stored = readRow(table, rowid);
    if (stored.isEmpty())
        return WriteResult::Gone;
    if (!agrees(stored, expected))
        return WriteResult::Changed;
    if (check && !check())
        return WriteResult::Refused;
    write();
    if (after)
        after(rowid, stored);
    transaction.commit();
    return WriteResult::Written;
}

} // namespace

WriteResult updateRowIfUnchanged(const QString& table, qint64 rowid, const ColumnValues& expected,
                                 const ColumnValues& values, const WriteCheck& check,
                                 const AfterWrite& after) {
    return writeIfUnchanged(
        table, rowid, expected,
        [&] {
            QVariantMap params{{QStringLiteral(":rowid"), rowid}};
            const QString set = assignments(values, params);
            run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = :rowid").arg(quotedName(table), set),
                params);
        },
        check, after);
}

WriteResult deleteRowIfUnchanged(const QString& table, qint64 rowid, const ColumnValues& expected,
                                 const AfterWrite& after) {
    return writeIfUnchanged(
        table, rowid, expected,
        [&] {
            run(QStringLiteral("DELETE FROM %1 WHERE rowid = :rowid").arg(quotedName(table)),
                {{QStringLiteral("rowid"), rowid}});
        },
        {}, after);
}

} // namespace db::dataset_sql
