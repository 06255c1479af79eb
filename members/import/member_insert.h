#pragma once

#include "members/import/server_row_stream.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QStringView>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One prepared insert on the shared connection, bound by position and run
// row after row: the imports store many thousands of rows, and binding
// through the statement directly costs a fraction of binding named values.
// It runs inside whatever transaction the connection has open, on SQLite
// through its own statement and on a server as a statement prepared with
// libpq; a refusal reads alike on both. Rows given to send() do not wait
// for the server's answer each (see server_row_stream.h); the inserts of one
// connection share that stream.
namespace members {

class MemberInsert {
public:
    // Prepares sql (with ? parameters). Throws DatabaseError.
    explicit MemberInsert(const QString& sql);
    ~MemberInsert();
    MemberInsert(const MemberInsert&) = delete;
    MemberInsert& operator=(const MemberInsert&) = delete;

    // Binds parameter index (from 1) to a text; a null text is bound as an
    // empty text, not a null. The text is copied, as the database's UTF-8.
    void bindText(int index, QStringView text);
    void bindNull(int index);
    void bindInt(int index, int value);

    // Stores the bound row; false when the database refuses it, with its
    // reason in error(). The bindings are cleared either way. Rows sent
    // before are answered first.
    bool execute();
    const QString& error() const { return m_error; }

    // Stores the bound row, which is row of a sheet with cells, without
    // waiting for the server's answer. False when the database refused this
    // row or one sent before it by any insert on the connection; refused()
    // then names that row with its cells and the reason, and nothing more
    // is stored: the transaction must be rolled back. The bindings are
    // cleared either way.
    bool send(int row, const QList<QStringView>& cells);

    // Waits for the answers to every row sent; false as send(). Other
    // statements may run on the connection only after this.
    bool finish();
    const RefusedRow& refused() const;

private:
    void prepareOnServer(const QString& sql);
    bool executeOnServer();

    sqlite3* m_database = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    pg_conn* m_server = nullptr;
    std::shared_ptr<ServerRowStream> m_stream; // the connection's rows in flight
    ServerInsert m_insert;                     // the statements prepared there
    std::vector<const char*> m_values;         // the server's parameters; null for null
    QString m_error;
    RefusedRow m_refused; // on SQLite, of this statement's rows
    // Each parameter's text in UTF-8: the database keeps its texts so, and
    // handing them over ready saves it a conversion and an allocation of
    // its own for every value.
    std::vector<QByteArray> m_utf8;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

} // namespace members
