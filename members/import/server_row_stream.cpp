#include "members/import/server_row_stream.h"

#include "db/postgres.h"

#include <QRegularExpression>
#include <cstring>
#include <libpq-fe.h>
#include <utility>

namespace members {
namespace {

const char kSavepoint[] = "SAVEPOINT lunmark_rows";
const char kRelease[] = "RELEASE SAVEPOINT lunmark_rows";
const char kRollback[] = "ROLLBACK TO SAVEPOINT lunmark_rows";

bool sendText(PGconn* server, const char* sql) {
    return PQsendQueryParams(server, sql, 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
}

} // namespace

QString serverRefusalText(PGconn* server, const PGresult* result) {
    const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* message = result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(server);
    return db::postgresErrorText(state, QString::fromUtf8(message),
                                 PQstatus(server) == CONNECTION_BAD)
        .remove(QStringLiteral("資料庫錯誤: "));
}

QByteArray batchStatement(const QString& text, int parameters, int rows) {
    const qsizetype values = text.lastIndexOf(QLatin1String("values"), -1, Qt::CaseInsensitive);
    const qsizetype open = text.indexOf(QLatin1Char('('), values);
    const qsizetype close = text.lastIndexOf(QLatin1Char(')'));
    if (values < 0 || open < 0 || close < open ||
        !QStringView(text).mid(values + 6, open - values - 6).trimmed().isEmpty() ||
        !QStringView(text).mid(close + 1).trimmed().isEmpty())
        return {};
    static const QRegularExpression parameter(QStringLiteral("\\$(\\d+)"));
    const QString list = text.mid(open, close - open + 1);
    QString sql = text.left(open);
    for (int row = 0; row < rows; ++row) {
        if (row > 0)
            sql += QLatin1Char(',');
        qsizetype done = 0;
        for (QRegularExpressionMatchIterator it = parameter.globalMatch(list); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            sql += QStringView(list).mid(done, match.capturedStart() - done);
            sql += QLatin1Char('$') + QString::number(match.captured(1).toInt() + row * parameters);
            done = match.capturedEnd();
        }
        sql += QStringView(list).mid(done);
    }
    return sql.toUtf8();
}

QStringList textsOf(const QList<QStringView>& cells) {
    QStringList texts;
    texts.reserve(cells.size());
    for (const QStringView cell : cells)
        texts.append(cell.toString());
    return texts;
}

void ServerRowStream::Rows::add(int row, const QList<QStringView>& cells,
                                const std::vector<const char*>& rowValues) {
    numbers.push_back(row);
    for (const QStringView cell : cells) {
        text.append(cell);
        cellEnds.push_back(text.size());
    }
    rowEnds.push_back(cellEnds.size());
    for (const char* value : rowValues) {
        if (value == nullptr) {
            valueStarts.push_back(-1);
            continue;
        }
        valueStarts.push_back(values.size());
        values.append(value, qsizetype(std::strlen(value)) + 1); // with its terminating zero
    }
}

QStringList ServerRowStream::Rows::cells(size_t index) const {
    const size_t first = index == 0 ? 0 : rowEnds[index - 1];
    qsizetype start = first == 0 ? 0 : cellEnds[first - 1];
    QStringList list;
    for (size_t cell = first; cell < rowEnds[index]; ++cell) {
        list.append(text.mid(start, cellEnds[cell] - start));
        start = cellEnds[cell];
    }
    return list;
}

std::vector<const char*> ServerRowStream::Rows::parameters(size_t first, size_t count,
                                                           int perRow) const {
    std::vector<const char*> list;
    list.reserve(count * size_t(perRow));
    for (size_t value = first * size_t(perRow); value < (first + count) * size_t(perRow); ++value) {
        const qsizetype start = valueStarts[value];
        list.push_back(start < 0 ? nullptr : values.constData() + start);
    }
    return list;
}

ServerRowStream::ServerRowStream(PGconn* server) : m_server(server) {}

ServerRowStream::~ServerRowStream() {
    finish();
}

bool ServerRowStream::send(ServerInsert& insert, const std::vector<const char*>& values, int row,
                           const QList<QStringView>& cells) {
    if (m_wasRefused)
        return false;
    if (!enterPipeline()) {
        refuse(row, textsOf(cells), serverRefusalText(m_server, nullptr));
        return false;
    }
    if (m_kept.size() > 0 && m_keptInsert != &insert)
        sendKept(false); // rows of another insert go before, in their order
    m_keptInsert = &insert;
    m_kept.add(row, cells, values);
    if (insert.batchRows > 0 && int(m_kept.size()) < insert.batchRows)
        return true;
    sendKept(insert.batchRows > 0);
    // The server works on the group just sent while the answers to the
    // ones before are read.
    while (m_sent.size() > 1 && !m_wasRefused && m_refusedBatch.rows.size() == 0)
        readAnswers();
    if (m_wasRefused || m_refusedBatch.rows.size() > 0) {
        finish();
        return false;
    }
    return true;
}

bool ServerRowStream::finish() {
    if (!m_inPipeline)
        return !m_wasRefused;
    if (!m_wasRefused && m_refusedBatch.rows.size() == 0 && m_kept.size() > 0)
        sendKept(false); // too few for a batch: one at a time
    m_kept = Rows();
    m_keptInsert = nullptr;
    if (PQpipelineSync(m_server) == 1) {
        while (!m_sent.empty())
            readAnswers();
        readSync();
    } else if (!m_wasRefused && !m_sent.empty()) {
        const Rows& rows = m_sent.front().rows;
        refuse(rows.numbers.front(), rows.cells(0), serverRefusalText(m_server, nullptr));
    }
    m_sent.clear();
    PQexitPipelineMode(m_server);
    m_inPipeline = false;
    if (!m_wasRefused && m_refusedBatch.rows.size() > 0)
        findRefusedRow();
    m_refusedBatch = Group();
    return !m_wasRefused;
}

bool ServerRowStream::enterPipeline() {
    if (m_inPipeline)
        return true;
    m_inPipeline = PQenterPipelineMode(m_server) == 1;
    return m_inPipeline;
}

void ServerRowStream::sendKept(bool batched) {
    Group group{m_keptInsert, batched, std::move(m_kept), 0};
    m_kept = Rows();
    ServerInsert& insert = *group.insert;
    const Rows& rows = group.rows;
    bool sent = true;
    if (batched) {
        if (insert.batch.isEmpty()) {
            // The batch statement is prepared with the first batch, so that
            // an import of a few rows does without it.
            insert.batch = insert.single + "_batch";
            const QByteArray text =
                batchStatement(insert.text, insert.parameters, insert.batchRows);
            std::vector<Oid> types;
            for (int row = 0; row < insert.batchRows; ++row)
                types.insert(types.end(), insert.types.cbegin(), insert.types.cend());
            sent = PQsendPrepare(m_server, insert.batch.constData(), text.constData(),
                                 insert.parameters * insert.batchRows,
                                 types.empty() ? nullptr : types.data()) == 1;
            ++group.answers;
        }
        const std::vector<const char*> values = rows.parameters(0, rows.size(), insert.parameters);
        sent = sent && sendText(m_server, kSavepoint) &&
               PQsendQueryPrepared(m_server, insert.batch.constData(), int(values.size()),
                                   values.data(), nullptr, nullptr, 0) == 1 &&
               sendText(m_server, kRelease);
        group.answers += 3;
    } else {
        for (size_t row = 0; sent && row < rows.size(); ++row) {
            const std::vector<const char*> values = rows.parameters(row, 1, insert.parameters);
            sent = PQsendQueryPrepared(m_server, insert.single.constData(), int(values.size()),
                                       values.data(), nullptr, nullptr, 0) == 1;
        }
        group.answers = rows.size();
    }
    sent = sent && PQsendFlushRequest(m_server) == 1 && PQflush(m_server) == 0;
    if (!sent && !m_wasRefused)
        refuse(rows.numbers.front(), rows.cells(0), serverRefusalText(m_server, nullptr));
    m_sent.push_back(std::move(group));
}

void ServerRowStream::readAnswers() {
    Group group = std::move(m_sent.front());
    m_sent.pop_front();
    const Rows& rows = group.rows;
    bool batchRefused = false;
    for (size_t answer = 0; answer < group.answers; ++answer) {
        const size_t row = group.batched ? 0 : answer;
        PGresult* result = PQstatus(m_server) == CONNECTION_BAD ? nullptr : PQgetResult(m_server);
        if (result == nullptr) {
            // No answer where one was due: the connection has gone.
            if (!m_wasRefused)
                refuse(rows.numbers[row], rows.cells(row), serverRefusalText(m_server, nullptr));
            return;
        }
        const ExecStatusType status = PQresultStatus(result);
        const bool first = !m_wasRefused && !batchRefused && m_refusedBatch.rows.size() == 0;
        if (status == PGRES_FATAL_ERROR && first) {
            if (group.batched && PQstatus(m_server) != CONNECTION_BAD) {
                batchRefused = true;
                m_batchError = serverRefusalText(m_server, result);
            } else {
                refuse(rows.numbers[row], rows.cells(row), serverRefusalText(m_server, result));
            }
        }
        PQclear(result);
        // Each statement's answer ends with a null result.
        while (PGresult* extra = PQgetResult(m_server))
            PQclear(extra);
    }
    if (batchRefused)
        m_refusedBatch = std::move(group);
}

void ServerRowStream::readSync() {
    // After the rows' answers comes the one to the sync; a lost connection
    // ends the wait with nulls.
    for (int nulls = 0; nulls < 2 && PQstatus(m_server) != CONNECTION_BAD;) {
        PGresult* result = PQgetResult(m_server);
        if (result == nullptr) {
            ++nulls;
            continue;
        }
        nulls = 0;
        const ExecStatusType status = PQresultStatus(result);
        PQclear(result);
        if (status == PGRES_PIPELINE_SYNC)
            return;
    }
}

void ServerRowStream::findRefusedRow() {
    const Rows& rows = m_refusedBatch.rows;
    const ServerInsert& insert = *m_refusedBatch.insert;
    PGresult* result = PQexec(m_server, kRollback);
    const bool undone = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    for (size_t row = 0; undone && row < rows.size(); ++row) {
        const std::vector<const char*> values = rows.parameters(row, 1, insert.parameters);
        result = PQexecPrepared(m_server, insert.single.constData(), int(values.size()),
                                values.data(), nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            refuse(rows.numbers[row], rows.cells(row), serverRefusalText(m_server, result));
            PQclear(result);
            return;
        }
        PQclear(result);
    }
    // Stored alone, every row went in: the batch's own refusal, at its first row.
    refuse(rows.numbers.front(), rows.cells(0), m_batchError);
}

void ServerRowStream::refuse(int row, QStringList cells, const QString& error) {
    m_refused = {row, std::move(cells), error};
    m_wasRefused = true;
}

} // namespace members
