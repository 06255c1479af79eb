#include "members/import/member_insert.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/sql_functions.h"

#include <sqlite3.h>

namespace members {
namespace {

QString errorOf(sqlite3* database) {
    return QString::fromUtf8(sqlite3_errmsg(database));
}

} // namespace

MemberInsert::MemberInsert(const QString& sql) : m_database(db::sqliteHandle(db::connection())) {
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_database, text.constData(), int(text.size()), &m_statement, nullptr) !=
        SQLITE_OK)
        throw DatabaseError(QStringLiteral("資料庫錯誤: %1").arg(errorOf(m_database)));
    m_utf8.resize(size_t(sqlite3_bind_parameter_count(m_statement)));
}

MemberInsert::~MemberInsert() {
    sqlite3_finalize(m_statement);
}

void MemberInsert::bindText(int index, QStringView text) {
    if (index < 1 || size_t(index) > m_utf8.size())
        return; // the statement has no such parameter: nothing to bind
    QByteArray& utf8 = m_utf8[size_t(index - 1)];
    // At least one byte, so that an empty text has an address and stays a
    // text rather than a null.
    utf8.resize(qMax<qsizetype>(1, m_encoder.requiredSpace(text.size())));
    const char* end = m_encoder.appendToBuffer(utf8.data(), text);
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(end - utf8.constData()),
                      SQLITE_STATIC);
}

void MemberInsert::bindNull(int index) {
    sqlite3_bind_null(m_statement, index);
}

void MemberInsert::bindInt(int index, int value) {
    sqlite3_bind_int(m_statement, index, value);
}

bool MemberInsert::execute() {
    const int result = sqlite3_step(m_statement);
    if (result != SQLITE_DONE)
        m_error = errorOf(m_database);
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    return result == SQLITE_DONE;
}

} // namespace members
