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
}

MemberInsert::~MemberInsert() {
    sqlite3_finalize(m_statement);
}

void MemberInsert::bindText(int index, const QString& text) {
    static const char16_t empty = 0;
    const void* data = text.isNull() ? &empty : static_cast<const void*>(text.utf16());
    sqlite3_bind_text16(m_statement, index, data, int(text.size() * 2), SQLITE_STATIC);
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
