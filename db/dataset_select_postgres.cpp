// A dataset's SELECT read straight from a PostgreSQL server with libpq.
#include "db/dataset_select.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/postgres.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <cstdlib>
#include <cstring>
#include <libpq-fe.h>
#include <vector>

namespace db::dataset_sql {
namespace {

// Type oids of the server's built-in types (pg_type.dat).
enum : Oid {
    kBool = 16,
    kBytea = 17,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kNumeric = 1700,
};

// The names a statement gives its columns ("MGBirthday AS b"), as written:
// the server reports them in lower case.
QHash<QString, QString> aliasSpellings(const QString& statement) {
    static const QRegularExpression alias(QStringLiteral(R"(\bAS\s+(\w+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    QHash<QString, QString> names;
    for (const QRegularExpressionMatch& match : alias.globalMatch(statement))
        names.insert(match.captured(1).toLower(), match.captured(1));
    return names;
}

class PostgresRows : public SelectRows {
public:
    PostgresRows(const QString& statement, const QVariantMap& params)
        : m_connection(postgresHandle(connection())), m_aliases(aliasSpellings(statement)) {
        QStringList names;
        const QByteArray text = positionalParameters(statement, names).toUtf8();
        std::vector<QByteArray> values;
        std::vector<const char*> pointers;
        values.reserve(size_t(names.size()));
        for (const QString& name : names) {
            const QVariant value = boundValue(params.value(name));
            values.push_back(value.isNull() ? QByteArray() : value.toString().toUtf8());
            pointers.push_back(value.isNull() ? nullptr : values.back().constData());
        }
        // A failed statement must not spoil a transaction around it.
        const bool guarded = inTransaction();
        if (guarded)
            command("SAVEPOINT lunmark_select");
        m_result = PQexecParams(m_connection, text.constData(), int(pointers.size()), nullptr,
                                pointers.data(), nullptr, nullptr, 0);
        if (PQresultStatus(m_result) != PGRES_TUPLES_OK) {
            const QString error = errorText(m_result);
            PQclear(m_result);
            m_result = nullptr;
            if (guarded && PQstatus(m_connection) == CONNECTION_OK) {
                command("ROLLBACK TO SAVEPOINT lunmark_select");
                command("RELEASE SAVEPOINT lunmark_select");
            }
            throw DatabaseError(error);
        }
        if (guarded)
            command("RELEASE SAVEPOINT lunmark_select");
        m_rowCount = PQntuples(m_result);
        // The hidden key column of a table ("select *") is no field; the
        // dataset's own row identity comes under its alias.
        for (int i = 0; i < PQnfields(m_result); ++i) {
            if (PQftable(m_result, i) == InvalidOid ||
                std::strcmp(PQfname(m_result, i), "rowid") != 0)
                m_columns.push_back(i);
        }
        readOrigins();
    }
    ~PostgresRows() override { PQclear(m_result); }
    PostgresRows(const PostgresRows&) = delete;
    PostgresRows& operator=(const PostgresRows&) = delete;

    int columnCount() const override { return int(m_columns.size()); }

    QString columnName(int index) const override {
        const int column = m_columns[size_t(index)];
        const QString name = QString::fromUtf8(PQfname(m_result, column));
        const auto alias = m_aliases.constFind(name);
        if (alias != m_aliases.cend())
            return *alias;
        const auto [table, attribute] = origin(column);
        return schemaSpelling(name, attribute == name ? table : QString());
    }

    QString originColumn(int index, const QString& table) const override {
        const auto [origin, attribute] = this->origin(m_columns[size_t(index)]);
        if (attribute.isEmpty() || origin.compare(table, Qt::CaseInsensitive) != 0)
            return {};
        return schemaSpelling(attribute, origin);
    }

    bool next() override { return ++m_row < m_rowCount; }

    qint64 integer(int index) const override {
        return std::strtoll(PQgetvalue(m_result, m_row, m_columns[size_t(index)]), nullptr, 10);
    }

    // As the SQLite reading gives them: whole numbers as integers, yes/no
    // as 0/1, a null as a null text.
    void appendValue(int index, PackedValues& values) const override {
        const int column = m_columns[size_t(index)];
        if (PQgetisnull(m_result, m_row, column)) {
            values.appendNull(QMetaType::fromType<QString>());
            return;
        }
        const char* text = PQgetvalue(m_result, m_row, column);
        switch (PQftype(m_result, column)) {
        case kInt2:
        case kInt4:
        case kInt8:
        case kOid:
            values.appendInteger(std::strtoll(text, nullptr, 10));
            break;
        case kBool:
            values.appendInteger(text[0] == 't' ? 1 : 0);
            break;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            values.appendReal(std::strtod(text, nullptr));
            break;
        case kBytea: {
            size_t size = 0;
            unsigned char* bytes =
                PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
            values.appendBlob(reinterpret_cast<const char*>(bytes), int(size));
            PQfreemem(bytes);
            break;
        }
        default:
            values.appendText(text, PQgetlength(m_result, m_row, column));
            break;
        }
    }

private:
    QString errorText(const PGresult* result) const {
        return postgresErrorText(PQresultErrorField(result, PG_DIAG_SQLSTATE),
                                 QString::fromUtf8(PQresultErrorMessage(result)),
                                 PQstatus(m_connection) == CONNECTION_BAD);
    }

    void command(const char* sql) const {
        PGresult* result = PQexec(m_connection, sql);
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        const QString error = ok ? QString() : errorText(result);
        PQclear(result);
        if (!ok)
            throw DatabaseError(error);
    }

    // The tables and columns the result's columns come from, in one
    // catalog look-up.
    void readOrigins() {
        QStringList oids;
        for (int i = 0; i < PQnfields(m_result); ++i) {
            const Oid table = PQftable(m_result, i);
            if (table != InvalidOid && !oids.contains(QString::number(table)))
                oids << QString::number(table);
        }
        if (oids.isEmpty())
            return;
        const QByteArray list = '{' + oids.join(',').toLatin1() + '}';
        const char* values[] = {list.constData()};
        PGresult* result =
            PQexecParams(m_connection,
                         "SELECT a.attrelid, c.relname, a.attnum, a.attname FROM pg_attribute a "
                         "JOIN pg_class c ON c.oid = a.attrelid WHERE a.attrelid = ANY($1::oid[]) "
                         "AND a.attnum > 0",
                         1, nullptr, values, nullptr, nullptr, 0);
        if (PQresultStatus(result) == PGRES_TUPLES_OK) {
            for (int i = 0; i < PQntuples(result); ++i) {
                const Oid table = Oid(std::strtoul(PQgetvalue(result, i, 0), nullptr, 10));
                m_tableNames.insert(table, QString::fromUtf8(PQgetvalue(result, i, 1)));
                m_origins.insert({table, std::atoi(PQgetvalue(result, i, 2))},
                                 QString::fromUtf8(PQgetvalue(result, i, 3)));
            }
        }
        PQclear(result);
    }

    // The table and column a result column comes from; empty for an
    // expression.
    std::pair<QString, QString> origin(int column) const {
        const Oid table = PQftable(m_result, column);
        if (table == InvalidOid)
            return {};
        return {m_tableNames.value(table), m_origins.value({table, PQftablecol(m_result, column)})};
    }

    PGconn* m_connection;
    PGresult* m_result = nullptr;
    int m_rowCount = 0;
    int m_row = -1;
    QHash<QString, QString> m_aliases;
    QHash<Oid, QString> m_tableNames;
    QHash<std::pair<Oid, int>, QString> m_origins;
    std::vector<int> m_columns; // the result's columns that are fields
};

} // namespace

std::unique_ptr<SelectRows> postgresSelect(const QString& statement, const QVariantMap& params) {
    return std::make_unique<PostgresRows>(statement, params);
}

} // namespace db::dataset_sql
