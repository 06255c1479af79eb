#include "db/sqlite_file.h"

#include "base/errors.h"
#include "db/connection.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace db {

SqliteFile::SqliteFile(const QString& path, Mode mode, int busyTimeout) : m_path(path) {
    const int flags = mode == Mode::ReadOnly    ? SQLITE_OPEN_READONLY
                      : mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE
                                                : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int code =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_handle, flags, nullptr);
    if (code != SQLITE_OK)
        fail(code);
    sqlite3_busy_timeout(m_handle, busyTimeout);
}

SqliteFile::~SqliteFile() {
    sqlite3_close_v2(m_handle);
}

void SqliteFile::fail(int code) const {
    if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED)
        throw DatabaseError(busyText());
    const QString text = m_handle ? QString::fromUtf8(sqlite3_errmsg(m_handle))
                                  : QString::fromUtf8(sqlite3_errstr(code));
    throw DatabaseError(
        QStringLiteral("資料庫錯誤: %1 (%2)").arg(text, QDir::toNativeSeparators(m_path)));
}

void SqliteFile::exec(const QString& sql) {
    const int code = sqlite3_exec(m_handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(code);
}

QStringList SqliteFile::column(const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(m_handle, sql.toUtf8().constData(), -1, &statement, nullptr);
    if (code != SQLITE_OK)
        fail(code);
    QStringList values;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW)
        values.append(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
    sqlite3_finalize(statement);
    if (code != SQLITE_DONE)
        fail(code);
    return values;
}

} // namespace db
