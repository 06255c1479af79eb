#include "db/sqlite_file.h"

#include "base/errors.h"
#include "db/connection.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace db {

QString sqliteProblem(int code) {
    switch (code & 0xff) {
    case SQLITE_CANTOPEN:
        return QStringLiteral("檔案無法開啟（不存在﹐或沒有權限）");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("沒有使用這個檔案的權限");
    case SQLITE_READONLY:
        return QStringLiteral("檔案不能寫入");
    case SQLITE_FULL:
        return QStringLiteral("磁碟已滿");
    case SQLITE_IOERR:
        return QStringLiteral("讀寫檔案時發生錯誤");
    case SQLITE_CORRUPT:
        return QStringLiteral("檔案的內容已被破壞");
    case SQLITE_NOTADB:
        return QStringLiteral("這不是資料庫檔案﹐或檔案的開頭已被破壞");
    case SQLITE_NOMEM:
        return QStringLiteral("記憶體不足");
    case SQLITE_NOLFS:
    case SQLITE_TOOBIG:
        return QStringLiteral("檔案太大");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("資料不符合資料表的規定");
    case SQLITE_ERROR:
        return QStringLiteral("檔案裡沒有預期的資料表或欄位");
    default:
        return QStringLiteral("檔案無法讀取（錯誤代碼 %1）").arg(code);
    }
}

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
    const int extended = m_handle ? sqlite3_extended_errcode(m_handle) : code;
    throw DatabaseError(
        QStringLiteral("資料庫錯誤: %1 (%2)")
            .arg(sqliteProblem((extended & 0xff) == (code & 0xff) ? extended : code),
                 QDir::toNativeSeparators(m_path)));
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

void SqliteFile::copyFrom(const SqliteFile& from, int pagesPerStep) {
    sqlite3_backup* backup = sqlite3_backup_init(m_handle, "main", from.handle(), "main");
    if (backup == nullptr)
        fail(sqlite3_errcode(m_handle));
    int code = SQLITE_OK;
    while ((code = sqlite3_backup_step(backup, pagesPerStep)) == SQLITE_OK)
        ;
    sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE)
        fail(code);
}

} // namespace db
