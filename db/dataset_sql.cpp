#include "db/dataset_sql.h"

#include "app/errors.h"
#include "db/connection.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlResult>
#include <sqlite3.h>

namespace db::dataset_sql {
namespace {

QString quoted(const QString& identifier) {
    QString text = identifier;
    return '"' + text.replace('"', QStringLiteral("\"\"")) + '"';
}

sqlite3_stmt* statementHandle(const QSqlQuery& query) {
    const QSqlResult* result = query.result();
    const QVariant handle = result != nullptr ? result->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}

QString assignments(const ColumnValues& values, QVariantMap& params) {
    QStringList parts;
    for (int i = 0; i < values.size(); ++i) {
        const QString name = QStringLiteral(":v%1").arg(i);
        parts << quoted(values[i].first) + " = " + name;
        params.insert(name, values[i].second);
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString withRowid(const QString& statement, const QString& table) {
    static const QRegularExpression select(QStringLiteral("^\\s*select\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = select.match(statement);
    if (!match.hasMatch())
        throw DatabaseError(QStringLiteral("資料庫錯誤: 可編輯的資料集只接受 SELECT 敘述: %1")
                                .arg(statement.trimmed()));
    const QString column = QStringLiteral(" %1.rowid AS %2,").arg(quoted(table), kRowidName);
    QString result = statement;
    return result.insert(match.capturedEnd(), column);
}

QSqlQuery select(const QString& statement, const QVariantMap& params) {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        raise(query.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.bindValue(it.key().startsWith(':') ? it.key() : ':' + it.key(), it.value());
    if (!query.exec())
        raise(query.lastError());
    return query;
}

QStringList originColumns(const QSqlQuery& query, const QString& table) {
    QStringList columns;
    sqlite3_stmt* statement = statementHandle(query);
    const int count = query.record().count();
    for (int i = 0; i < count; ++i) {
        const char* origin = statement ? sqlite3_column_table_name(statement, i) : nullptr;
        const char* column = statement ? sqlite3_column_origin_name(statement, i) : nullptr;
        const bool fromTable = origin != nullptr && column != nullptr &&
                               QString::fromUtf8(origin).compare(table, Qt::CaseInsensitive) == 0;
        columns << (fromTable ? QString::fromUtf8(column) : QString());
    }
    return columns;
}

qint64 insertRow(const QString& table, const ColumnValues& values) {
    QStringList columns;
    QStringList names;
    QVariantMap params;
    for (int i = 0; i < values.size(); ++i) {
        columns << quoted(values[i].first);
        names << QStringLiteral(":v%1").arg(i);
        params.insert(names.last(), values[i].second);
    }
    const QString sql = values.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quoted(table), columns.join(QStringLiteral(", ")),
                                       names.join(QStringLiteral(", ")));
    return run(sql, params).lastInsertId().toLongLong();
}

QVariantMap readRow(const QString& table, qint64 rowid) {
    QSqlQuery query =
        run(QStringLiteral("SELECT * FROM %1 WHERE rowid = :rowid").arg(quoted(table)),
            {{QStringLiteral("rowid"), rowid}});
    QVariantMap row;
    if (!query.next())
        return row;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        row.insert(record.fieldName(i).toLower(), query.value(i));
    return row;
}

int updateRow(const QString& table, qint64 rowid, const ColumnValues& values) {
    QVariantMap params{{QStringLiteral(":rowid"), rowid}};
    const QString set = assignments(values, params);
    return run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = :rowid").arg(quoted(table), set),
               params)
        .numRowsAffected();
}

int deleteRow(const QString& table, qint64 rowid) {
    return run(QStringLiteral("DELETE FROM %1 WHERE rowid = :rowid").arg(quoted(table)),
               {{QStringLiteral("rowid"), rowid}})
        .numRowsAffected();
}

} // namespace db::dataset_sql
