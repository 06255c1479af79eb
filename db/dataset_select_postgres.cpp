// A dataset's SELECT read straight from a PostgreSQL server with libpq.
#include "db/dataset_select.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/postgres.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <cstdlib>
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
    }
    ~PostgresRows() override { PQclear(m_result); }
    PostgresRows(const PostgresRows&) = delete;
    PostgresRows& operator=(const PostgresRows&) = delete;

    int columnCount() const override { return PQnfields(m_result); }

    QString columnName(int column) const override {
        const QString name = QString::fromUtf8(PQfname(m_result, column));
        const auto alias = m_aliases.constFind(name);
        return alias != m_aliases.cend() ? *alias : schemaSpelling(name);
    }

    QString originColumn(int column, const QString& table) const override {
        const Oid origin = PQftable(m_result, column);
        if (origin == InvalidOid || origin != tableOid(table))
            return {};
        return schemaSpelling(attributeName(origin, PQftablecol(m_result, column)));
    }

    bool next() override { return ++m_row < m_rowCount; }

    qint64 integer(int column) const override {
        return std::strtoll(PQgetvalue(m_result, m_row, column), nullptr, 10);
    }

    // As the SQLite reading gives them: whole numbers as integers, yes/no
    // as 0/1, a null as a null text.
    void appendValue(int column, PackedValues& values) const override {
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

    // One catalog look-up per statement for the base table and its columns.
    Oid tableOid(const QString& table) const {
        if (!m_tableLooked) {
            m_tableLooked = true;
            const QByteArray name = quotedName(table).toUtf8();
            const char* values[] = {name.constData()};
            PGresult* result =
                PQexecParams(m_connection,
                             "SELECT a.attrelid, a.attnum, a.attname FROM pg_attribute a "
                             "WHERE a.attrelid = to_regclass($1) AND a.attnum > 0",
                             1, nullptr, values, nullptr, nullptr, 0);
            if (PQresultStatus(result) == PGRES_TUPLES_OK) {
                for (int i = 0; i < PQntuples(result); ++i) {
                    m_tableOid = Oid(std::strtoul(PQgetvalue(result, i, 0), nullptr, 10));
                    m_columns.insert(std::atoi(PQgetvalue(result, i, 1)),
                                     QString::fromUtf8(PQgetvalue(result, i, 2)));
                }
            }
            PQclear(result);
        }
        return m_tableOid;
    }

    QString attributeName(Oid, int number) const { return m_columns.value(number); }

    PGconn* m_connection;
    PGresult* m_result = nullptr;
    int m_rowCount = 0;
    int m_row = -1;
    QHash<QString, QString> m_aliases;
    mutable bool m_tableLooked = false;
    mutable Oid m_tableOid = InvalidOid;
    mutable QHash<int, QString> m_columns;
};

} // namespace

std::unique_ptr<SelectRows> postgresSelect(const QString& statement, const QVariantMap& params) {
    return std::make_unique<PostgresRows>(statement, params);
}

} // namespace db::dataset_sql
