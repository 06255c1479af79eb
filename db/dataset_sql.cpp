#include "db/dataset_sql.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/sql_functions.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <sqlite3.h>

namespace db::dataset_sql {
namespace {

QString quoted(const QString& identifier) {
    QString text = identifier;
    return '"' + text.replace('"', QStringLiteral("\"\"")) + '"';
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

Select::Select(const QString& statement, const QVariantMap& params)
    : m_database(sqliteHandle(connection())) {
    const QByteArray text = statement.toUtf8();
    if (sqlite3_prepare_v2(m_database, text.constData(), int(text.size()), &m_statement, nullptr) !=
        SQLITE_OK)
        fail();
    bind(params);
}

Select::~Select() {
    sqlite3_finalize(m_statement);
}

// The statement is of no further use, so it goes at once (also when the
// constructor fails, where no destructor runs).
void Select::fail() {
    const QString text = QString::fromUtf8(sqlite3_errmsg(m_database));
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    throw DatabaseError(QStringLiteral("資料庫錯誤: %1").arg(text));
}

// As the Qt driver binds: null as null, yes/no and numbers as numbers, a
// date and time as ISO text with milliseconds, bytes as a blob, anything else
// as its text.
void Select::bind(const QVariantMap& params) {
    const int count = sqlite3_bind_parameter_count(m_statement);
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(m_statement, i);
        if (name == nullptr)
            continue;
        const QVariant value = params.value(QString::fromUtf8(name + 1));
        int result = SQLITE_OK;
        if (value.isNull()) {
            result = sqlite3_bind_null(m_statement, i);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
                result = sqlite3_bind_int(m_statement, i, value.toInt());
                break;
            case QMetaType::Double:
                result = sqlite3_bind_double(m_statement, i, value.toDouble());
                break;
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                result = sqlite3_bind_int64(m_statement, i, value.toLongLong());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                result = sqlite3_bind_blob(m_statement, i, bytes.constData(), int(bytes.size()),
                                           SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString text = value.typeId() == QMetaType::QDateTime
                                         ? value.toDateTime().toString(Qt::ISODateWithMs)
                                         : value.toString();
                const QByteArray utf8 = text.toUtf8();
                result = sqlite3_bind_text(m_statement, i, utf8.constData(), int(utf8.size()),
                                           SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (result != SQLITE_OK)
            fail();
    }
}

int Select::columnCount() const {
    return sqlite3_column_count(m_statement);
}

QString Select::columnName(int column) const {
    QString name = QString::fromUtf8(sqlite3_column_name(m_statement, column));
    name.remove('"');
    return name.mid(name.lastIndexOf('.') + 1);
}

QString Select::originColumn(int column, const QString& table) const {
    const char* origin = sqlite3_column_table_name(m_statement, column);
    const char* name = sqlite3_column_origin_name(m_statement, column);
    const bool fromTable = origin != nullptr && name != nullptr &&
                           QString::fromUtf8(origin).compare(table, Qt::CaseInsensitive) == 0;
    return fromTable ? QString::fromUtf8(name) : QString();
}

bool Select::next() {
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    fail();
}

qint64 Select::integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

// As the Qt driver reads them: a null is a null text.
void Select::appendValue(int column, PackedValues& values) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        values.appendInteger(sqlite3_column_int64(m_statement, column));
        break;
    case SQLITE_FLOAT:
        values.appendReal(sqlite3_column_double(m_statement, column));
        break;
    case SQLITE_TEXT:
        values.appendText(reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
        break;
    case SQLITE_BLOB:
        values.appendBlob(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                          sqlite3_column_bytes(m_statement, column));
        break;
    default:
        values.appendNull(QMetaType::fromType<QString>());
        break;
    }
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
