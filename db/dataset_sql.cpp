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

// RETURNING gives the new row's identity on both engines.
qint64 insertRow(const QString& table, const ColumnValues& values) {
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
                             const std::function<void()>& write) {
    Transaction transaction(Transaction::Kind::Write);
    const QVariantMap stored = readRow(table, rowid);
    if (stored.isEmpty())
        return WriteResult::Gone;
    if (!agrees(stored, expected))
        return WriteResult::Changed;
    write();
    transaction.commit();
    return WriteResult::Written;
}

} // namespace

WriteResult updateRowIfUnchanged(const QString& table, qint64 rowid, const ColumnValues& expected,
                                 const ColumnValues& values) {
    return writeIfUnchanged(table, rowid, expected, [&] {
        QVariantMap params{{QStringLiteral(":rowid"), rowid}};
        const QString set = assignments(values, params);
        run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = :rowid").arg(quotedName(table), set),
            params);
    });
}

WriteResult deleteRowIfUnchanged(const QString& table, qint64 rowid, const ColumnValues& expected) {
    return writeIfUnchanged(table, rowid, expected, [&] {
        run(QStringLiteral("DELETE FROM %1 WHERE rowid = :rowid").arg(quotedName(table)),
            {{QStringLiteral("rowid"), rowid}});
    });
}

} // namespace db::dataset_sql
