#include "members/import/member_insert.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/postgres.h"
#include "db/sql_functions.h"

#include <QStringList>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace members {
namespace {

QString errorOf(sqlite3* database) {
    return QString::fromUtf8(sqlite3_errmsg(database));
}

// The stream of rows of the server connection, shared by the inserts that
// run on it at the same time, since its answers come in the order sent.
std::shared_ptr<ServerRowStream> streamOf(PGconn* server) {
    static std::weak_ptr<ServerRowStream> current;
    std::shared_ptr<ServerRowStream> stream = current.lock();
    if (!stream || stream->server() != server) {
        stream = std::make_shared<ServerRowStream>(server);
        current = stream;
    }
    return stream;
}

// Rows of a batch: as many as a statement of the server may bind.
constexpr int kBatchRows = 1000;
constexpr int kMostParameters = 65535;

// Prepares text on the server under name, with the parameters' types
// (none: as the server infers them). Throws DatabaseError.
void prepare(PGconn* server, const QByteArray& name, const QByteArray& text, int parameters,
             const std::vector<Oid>& types = {}) {
    PGresult* result = PQprepare(server, name.constData(), text.constData(), parameters,
                                 types.empty() ? nullptr : types.data());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    const QString error = ok ? QString() : serverRefusalText(server, result);
    PQclear(result);
    if (!ok)
        throw DatabaseError(QStringLiteral("資料庫錯誤: %1").arg(error));
}

// The types the server gives the parameters of the statement name, with
// text for citext: the server reads a text with a function of its own, but
// a citext with the extension's, which it looks up anew for every value;
// a text goes into a citext column as it is. Empty when no parameter is a
// citext.
std::vector<Oid> parameterTypes(PGconn* server, const QByteArray& name) {
    constexpr Oid kText = 25;
    PGresult* citext = PQexec(server, "select oid from pg_type where typname = 'citext'");
    const Oid citextType = PQresultStatus(citext) == PGRES_TUPLES_OK && PQntuples(citext) == 1
                               ? Oid(QByteArray(PQgetvalue(citext, 0, 0)).toUInt())
                               : 0;
    PQclear(citext);
    PGresult* described = PQdescribePrepared(server, name.constData());
    std::vector<Oid> types;
    bool anyCitext = false;
    if (PQresultStatus(described) == PGRES_COMMAND_OK) {
        for (int parameter = 0; parameter < PQnparams(described); ++parameter) {
            const Oid type = PQparamtype(described, parameter);
            anyCitext = anyCitext || (citextType != 0 && type == citextType);
            types.push_back(type == citextType && citextType != 0 ? kText : type);
        }
    }
    PQclear(described);
    return anyCitext ? types : std::vector<Oid>();
}

} // namespace

MemberInsert::MemberInsert(const QString& sql) {
    if (db::engine() == db::Engine::Postgresql) {
        prepareOnServer(sql);
        return;
    }
    m_database = db::sqliteHandle(db::connection());
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_database, text.constData(), int(text.size()), &m_statement, nullptr) !=
        SQLITE_OK)
        throw DatabaseError(QStringLiteral("資料庫錯誤: %1").arg(errorOf(m_database)));
    m_utf8.resize(size_t(sqlite3_bind_parameter_count(m_statement)));
}

void MemberInsert::prepareOnServer(const QString& sql) {
    m_server = db::postgresHandle(db::connection());
    m_stream = streamOf(m_server);
    m_stream->finish(); // a statement is prepared outside the pipeline
    QStringList names;
    const QString text = db::positionalParameters(sql, names);
    static int counter = 0;
    const QByteArray name = "lunmark_insert_" + QByteArray::number(++counter);
    m_insert.parameters = int(names.size());
    m_insert.single = name;
    prepare(m_server, name, text.toUtf8(), m_insert.parameters);
    m_insert.types = parameterTypes(m_server, name);
    if (!m_insert.types.empty()) {
        PQclear(PQexec(m_server, ("DEALLOCATE " + name).constData()));
        prepare(m_server, name, text.toUtf8(), m_insert.parameters, m_insert.types);
    }
    m_insert.text = text;
    if (m_insert.parameters > 0 && !batchStatement(text, m_insert.parameters, 1).isEmpty())
        m_insert.batchRows = qMin(kBatchRows, kMostParameters / m_insert.parameters);
    m_utf8.resize(size_t(names.size()));
    m_values.assign(size_t(names.size()), nullptr);
}

MemberInsert::~MemberInsert() {
    sqlite3_finalize(m_statement);
    if (m_stream)
        m_stream->finish();
    if (m_server != nullptr && PQstatus(m_server) == CONNECTION_OK) {
        // Inside a transaction that a refusal has spoiled the server refuses
        // this too; the statement then stays until the connection closes.
        for (const QByteArray& name : {m_insert.single, m_insert.batch}) {
            if (!name.isEmpty())
                PQclear(PQexec(m_server, ("DEALLOCATE " + name).constData()));
        }
    }
}

void MemberInsert::bindText(int index, QStringView text) {
    if (index < 1 || size_t(index) > m_utf8.size())
        return; // the statement has no such parameter: nothing to bind
    QByteArray& utf8 = m_utf8[size_t(index - 1)];
    // At least one byte, so that an empty text has an address and stays a
    // text rather than a null.
    utf8.resize(qMax<qsizetype>(1, m_encoder.requiredSpace(text.size()) + 1));
    char* end = m_encoder.appendToBuffer(utf8.data(), text);
    if (m_server != nullptr) {
        *end = '\0'; // libpq reads texts up to their terminating zero
        m_values[size_t(index - 1)] = utf8.constData();
        return;
    }
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(end - utf8.constData()),
                      SQLITE_STATIC);
}

void MemberInsert::bindNull(int index) {
    if (m_server != nullptr) {
        if (index >= 1 && size_t(index) <= m_values.size())
            m_values[size_t(index - 1)] = nullptr;
        return;
    }
    sqlite3_bind_null(m_statement, index);
}

void MemberInsert::bindInt(int index, int value) {
    if (m_server != nullptr) {
        if (index < 1 || size_t(index) > m_utf8.size())
            return;
        m_utf8[size_t(index - 1)] = QByteArray::number(value);
        m_values[size_t(index - 1)] = m_utf8[size_t(index - 1)].constData();
        return;
    }
    sqlite3_bind_int(m_statement, index, value);
}

bool MemberInsert::execute() {
    if (m_server != nullptr)
        return executeOnServer();
    const int result = sqlite3_step(m_statement);
    if (result != SQLITE_DONE)
        m_error = errorOf(m_database);
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    return result == SQLITE_DONE;
}

bool MemberInsert::executeOnServer() {
    if (!m_stream->finish()) {
        m_error = m_stream->refused().error;
        m_values.assign(m_values.size(), nullptr);
        return false;
    }
    PGresult* result = PQexecPrepared(m_server, m_insert.single.constData(), int(m_values.size()),
                                      m_values.data(), nullptr, nullptr, 0);
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok)
        m_error = serverRefusalText(m_server, result);
    PQclear(result);
    m_values.assign(m_values.size(), nullptr);
    return ok;
}

bool MemberInsert::send(int row, const QList<QStringView>& cells) {
    if (m_server != nullptr) {
        const bool sent = m_stream->send(m_insert, m_values, row, cells);
        m_values.assign(m_values.size(), nullptr);
        return sent;
    }
    if (execute())
        return true;
    m_refused = {row, textsOf(cells), m_error};
    return false;
}

bool MemberInsert::finish() {
    return m_stream ? m_stream->finish() : m_refused.row == 0;
}

const RefusedRow& MemberInsert::refused() const {
    return m_stream ? m_stream->refused() : m_refused;
}

} // namespace members
