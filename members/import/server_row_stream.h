#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <deque>
#include <vector>

struct pg_conn;
struct pg_result;

// Rows inserted on a PostgreSQL server without a round trip each: libpq's
// pipeline mode sends statements one after another inside the transaction
// already open, and the server answers them in the order sent. Rows of one
// insert go in batches, each one statement of many rows, since the server
// prepares its checks once a statement; the answers to one batch are read
// while the server works on the next. Each row keeps its row number, cells
// and values until its batch is answered, so that a refused row is named as
// if it had been stored alone: the batch is undone to a savepoint and its
// rows are stored one at a time up to the refused one. After a refusal the
// server stores nothing more in the transaction, which the caller then
// rolls back.
namespace members {

// A row the database refused: its row number, its cells and the reason.
struct RefusedRow {
    int row = 0;
    QStringList cells;
    QString error;
};

// An insert prepared on the server as single, whose text (with $1, $2, ...
// parameters) ends in a VALUES list; batches of batchRows rows (none when
// 0) go as a statement of their own, prepared as batch with the first one.
struct ServerInsert {
    QByteArray single;
    QString text;
    int parameters = 0;
    std::vector<unsigned int> types; // of the parameters; empty: as the server infers them
    int batchRows = 0;
    QByteArray batch;
};

// The insert of rows rows at once: the VALUES list at the end of text
// repeated, its parameters numbered on; empty when text does not end so.
QByteArray batchStatement(const QString& text, int parameters, int rows);

class ServerRowStream {
public:
    explicit ServerRowStream(pg_conn* server);
    ~ServerRowStream();
    ServerRowStream(const ServerRowStream&) = delete;
    ServerRowStream& operator=(const ServerRowStream&) = delete;

    pg_conn* server() const { return m_server; }

    // Takes the row of insert with values (insert.parameters of them, null
    // for null), row number row and cells, to be sent with the rows after
    // it. False when a row taken before was refused (refused() tells which);
    // nothing is taken then. insert must stay until finish().
    bool send(ServerInsert& insert, const std::vector<const char*>& values, int row,
              const QList<QStringView>& cells);

    // Sends the rows still kept, waits for every answer and leaves pipeline
    // mode, so that other statements can run on the connection. False as
    // send.
    bool finish();

    const RefusedRow& refused() const { return m_refused; }
    bool wasRefused() const { return m_wasRefused; }

private:
    // Rows with their numbers, cells and values, all cells in one text and
    // all values in one byte array, so that a row costs no allocation.
    struct Rows {
        std::vector<int> numbers;
        QString text;
        std::vector<qsizetype> cellEnds; // the end of each cell in text
        std::vector<size_t> rowEnds;     // the end of each row in cellEnds
        QByteArray values;
        std::vector<qsizetype> valueStarts; // -1 for a null
        size_t size() const { return numbers.size(); }
        void add(int row, const QList<QStringView>& cells,
                 const std::vector<const char*>& rowValues);
        QStringList cells(size_t index) const;
        // The values of rows [first, first + count) in a row, for libpq.
        std::vector<const char*> parameters(size_t first, size_t count, int perRow) const;
    };
    // Statements sent whose answers are not read yet: one batch statement
    // between a savepoint and its release, or single rows.
    struct Group {
        ServerInsert* insert = nullptr;
        bool batched = false;
        Rows rows;
        size_t answers = 0; // the statements sent for it
    };

    bool enterPipeline();
    void sendKept(bool batched);
    // Reads the answers of the oldest group, keeping the first refusal.
    void readAnswers();
    void readSync();
    // Finds the refused row of a refused batch: undoes the batch to its
    // savepoint and stores its rows one at a time.
    void findRefusedRow();
    void refuse(int row, QStringList cells, const QString& error);

    pg_conn* m_server;
    bool m_inPipeline = false;
    ServerInsert* m_keptInsert = nullptr;
    Rows m_kept;              // taken, not yet sent
    std::deque<Group> m_sent; // sent, answers not yet read
    Group m_refusedBatch;     // a batch the server refused as a whole
    QString m_batchError;
    RefusedRow m_refused;
    bool m_wasRefused = false;
};

// The server's refusal of a statement in the words SQLite uses for it
// ("CHECK constraint failed: length(name) <= 10"), so that it is read the
// same way; without a result, the connection's own error.
QString serverRefusalText(pg_conn* server, const pg_result* result);

// The cells as texts of their own, to keep beyond the row.
QStringList textsOf(const QList<QStringView>& cells);

} // namespace members
